#include "app/main_frame.h"

#include "app/command_line_win32.h"
#include "platform/win32/convert.h"
#include "platform/win32/window_binding.h"
#include "res/resource.h"

namespace {
// The frame's title bit, kept in the window style: caption, sizing frame and
// this bit make a frame that exists but is never visible, not even for an
// instant.
constexpr DWORD kFrameStyle = WS_CAPTION | WS_THICKFRAME | 0x00008000;
}  // namespace

CMainFrame::~CMainFrame() {
    if (m_hWnd) DestroyWindow();
}

bool CMainFrame::LoadFrame(HINSTANCE instance) {
    if (!win32::RegisterWindowClass<CMainFrame>(instance, kClassName, CS_DBLCLKS,
                                                ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME))))
        return false;
    char title[64] = "";
    ::LoadStringA(instance, IDR_MAINFRAME, title, sizeof(title));
    HWND hwnd = ::CreateWindowExA(0, kClassName, title, kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, this);
    return hwnd != nullptr;
}

BOOL CMainFrame::DestroyWindow() {
    // The engine goes before the window: its tear-down removes the tray icon
    // and unregisters the hot-keys bound to this window. Hidden windows stay
    // hidden. The rules go first: no event may reach a gone engine.
    m_NotingWindows.SetRules(nullptr);
    m_pAutoHide.reset();
    m_pKernel.reset();
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

int CMainFrame::OnCreate() {
    m_pKernel = std::make_unique<CAppKernel>(m_Platform);
    m_pKernel->Init(FromHwnd(m_hWnd));
    // phase 2: a stand-in that hides the whole group rather than the one
    // window's family, and never learns what the user showed.
    m_pAutoHide = std::make_unique<AutoHideRules>(
        m_Platform.windows, m_WindowEvents, [this](unsigned char c) { return m_Platform.module.IsLeadByte(c); },
        [this](WindowHandle, std::int32_t groupId) {
            const CGroupList& groups = m_pKernel->Groups();
            for (std::size_t i = 0; i < groups.size(); ++i)
                if (groups.At(i)->m_nID == groupId) return m_pKernel->Commands().HideGroup(static_cast<int>(i));
            return false;
        });
    m_pAutoHide->SetGroups(m_pKernel->Groups());
    m_NotingWindows.SetRules(m_pAutoHide.get());
    // Posted, not run here: the frame's creation is not complete until
    // CreateWindowEx returns, and a command may open a prompt.
    if (m_StartCommand) ::PostMessageA(m_hWnd, kRunStartCommand, 0, 0);
    return 0;
}

LRESULT CMainFrame::OnCopyData(const COPYDATASTRUCT* data) {
    if (!data) return static_cast<LRESULT>(RemoteResult::Usage);
    const auto command = DecodeRemoteCommand(data->dwData, data->lpData, data->cbData, ValidInCodePage);
    if (!command) return static_cast<LRESULT>(RemoteResult::Usage);
    return static_cast<LRESULT>(RunRemoteCommand(*command));
}

// phase 2: the engine's IRemoteCommands::RunRemoteCommand replaces this
// stand-in, which cannot see a refused password and so answers Done.
RemoteResult CMainFrame::RunRemoteCommand(const RemoteCommand& command) {
    if (!m_pKernel) return RemoteResult::Refused;
    if (m_pKernel->Dialogs().Gate().IsWaiting()) return RemoteResult::Refused;
    const auto menu = [&](unsigned id) {
        if (m_pKernel->ProcessMessage(WM_COMMAND, id, 0)) DefaultProc(WM_COMMAND, id, 0);
        return RemoteResult::Done;
    };
    int group = -1;
    if (TakesGroup(command.verb)) {
        const CGroupList& groups = m_pKernel->Groups();
        for (std::size_t i = 0; i < groups.size() && group < 0; ++i)
            if (groups.At(i)->m_strName == command.group) group = static_cast<int>(i);
        if (group < 0) return RemoteResult::NoSuchGroup;
    }
    switch (command.verb) {
        case RemoteVerb::HideWindow: return menu(ID_HIDE_WINDOW);
        case RemoteVerb::ShowWindow: return menu(ID_SHOW_WINDOW);
        case RemoteVerb::HideAll: return menu(ID_HIDE_ALL);
        case RemoteVerb::ShowAll: return menu(ID_SHOW_ALL);
        case RemoteVerb::ToggleWindow: return menu(ID_TOGGLE_WINDOW);
        case RemoteVerb::HideGroup: m_pKernel->Commands().HideGroup(group); return RemoteResult::Done;
        case RemoteVerb::ShowGroup: m_pKernel->Commands().ShowGroup(group); return RemoteResult::Done;
        case RemoteVerb::ToggleGroup: m_pKernel->Commands().ToggleGroup(group); return RemoteResult::Done;
        case RemoteVerb::Exit:
            // After the answer: the sender is not kept waiting on the tear-down.
            ::PostMessageA(m_hWnd, WM_COMMAND, ID_APP_EXIT, 0);
            return RemoteResult::Done;
    }
    return RemoteResult::Usage;
}

// Every message goes to the engine first; the engine says whether the
// frame's own handling follows.
LRESULT CMainFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: m_hWnd = hwnd; break;
        case WM_CREATE: return OnCreate();
        case WM_COPYDATA: return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
        case kRunStartCommand:
            if (m_StartCommand) {
                const RemoteCommand command = *m_StartCommand;
                m_StartCommand.reset();
                RunRemoteCommand(command);
            }
            return 0;
        default: break;
    }
    if (m_pKernel && !m_pKernel->ProcessMessage(message, wParam, static_cast<std::intptr_t>(lParam))) {
        // phase 2: the engine re-reads the rules when it replaces the groups.
        if (message == WM_COMMAND && wParam == ID_WINDOWS_GROUPS && m_pAutoHide && m_pKernel)
            m_pAutoHide->SetGroups(m_pKernel->Groups());
    m_NotingWindows.SetRules(m_pAutoHide.get());
        return 0;
    }
    return DefaultProc(message, wParam, lParam);
}

LRESULT CMainFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Exit closes the frame the way the close box would, so WM_CLOSE
            // passes the engine (and its close password) first.
            if (wParam == ID_APP_EXIT) ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
            return 0;
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        case WM_ENDSESSION:
            // The engine lets this through only when the session really ends
            // and no nested loop of ours still needs it (its modal gate
            // decides): the icon and hot-keys go now.
            if (wParam) DestroyWindow();
            return 0;
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
