#include "app/main_frame.h"

#include <vector>

#include "engine/command_line.h"
#include "platform/win_constants.h"
#include "platform/win32/convert.h"
#include "platform/win32/diagnostics.h"
#include "platform/win32/message_filter.h"
#include "platform/win32/window_binding.h"
#include "res/resource.h"

namespace {
// Without WS_VISIBLE and never shown: the frame exists (it owns the dialogs
// and receives the commands) but is never seen, not even for an instant.
constexpr DWORD kFrameStyle = WS_CAPTION | WS_THICKFRAME;
}  // namespace

CMainFrame::~CMainFrame() {
    if (m_hWnd) DestroyWindow();
}

bool CMainFrame::LoadFrame(HINSTANCE instance) {
    if (!win32::RegisterWindowClass<CMainFrame>(instance, kClassName, CS_DBLCLKS,
                                                ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME))))
        return false;
    const std::string title = win32::LoadText(instance, IDR_MAINFRAME);
    HWND hwnd = ::CreateWindowExA(0, kClassName, title.c_str(), kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, this);
    if (hwnd) return true;
    const DWORD error = ::GetLastError();
    diag::Failed("CreateWindowEx(" + diag::Quoted(kClassName) + ")", error);
    return false;
}

BOOL CMainFrame::DestroyWindow() {
    // The engine goes before the window: its tear-down removes the tray icon
    // and unregisters the hot-keys bound to this window. Hidden windows stay
    // hidden.
    m_pKernel.reset();
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

int CMainFrame::OnCreate() {
    // Before the tray icon exists and before another copy can find the
    // frame: run as administrator, Tarnvell still hears the tray and the
    // commands of the user's own programs. The frame hears nothing else of
    // theirs; the commands ask for the password as the menu does.
    AcceptFromLowerRights(m_hWnd, {WM_COPYDATA, wm::kTrayNotify});
    m_pKernel = std::make_unique<CAppKernel>(m_Platform);
    m_pKernel->Init(FromHwnd(m_hWnd));
    // Posted, not run here: the frame's creation is not complete until
    // CreateWindowEx returns, and a command may open a prompt.
    if (m_StartCommand) ::PostMessageA(m_hWnd, kRunStartCommand, 0, 0);
    return 0;
}

// The program's own command goes the way a handed-over one goes, record and
// all, so that both meet the same checks and the same engine path.
void CMainFrame::RunStartCommand() {
    if (!m_StartCommand) return;
    std::vector<std::uint8_t> record = EncodeRemoteCommand(*m_StartCommand);
    m_StartCommand.reset();
    COPYDATASTRUCT data{};
    data.dwData = kCopyDataMagic;
    data.cbData = static_cast<DWORD>(record.size());
    data.lpData = record.data();
    ::SendMessageA(m_hWnd, WM_COPYDATA, reinterpret_cast<WPARAM>(m_hWnd), reinterpret_cast<LPARAM>(&data));
}

// Every message goes to the engine first; the engine says whether the
// frame's own handling follows.
LRESULT CMainFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: m_hWnd = hwnd; break;
        case WM_CREATE: return OnCreate();
        case kRunStartCommand: RunStartCommand(); return 0;
        default: break;
    }
    if (m_pKernel) {
        const MessageReply reply = m_pKernel->ProcessMessage(message, wParam, static_cast<std::intptr_t>(lParam));
        if (reply.endProgram) {
            // A sender waiting in SendMessage (another copy's /exit) gets its
            // answer now, before the tear-down; for a posted message, or one
            // the frame sent itself, this does nothing.
            ::ReplyMessage(static_cast<LRESULT>(reply.result));
            DestroyWindow();
            return static_cast<LRESULT>(reply.result);
        }
        if (reply.handled) return static_cast<LRESULT>(reply.result);
    }
    return DefaultProc(message, wParam, lParam);
}

LRESULT CMainFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: return 0;
        // Without an engine (before its creation or after the frame went)
        // the frame simply goes.
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        // No engine: nothing ran, and 0 would tell the sender it had.
        case WM_COPYDATA: return static_cast<LRESULT>(CommandResult::NoAnswer);
        case WM_NCDESTROY: {
            const LRESULT result = ::DefWindowProcA(m_hWnd, message, wParam, lParam);
            m_hWnd = nullptr;
            // The main window is gone: the program ends.
            ::PostQuitMessage(0);
            return result;
        }
        default:
            return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}
