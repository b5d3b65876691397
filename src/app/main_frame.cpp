#include "app/main_frame.h"

#include "platform/win32/convert.h"
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
    char title[64] = "";
    ::LoadStringA(instance, IDR_MAINFRAME, title, sizeof(title));
    HWND hwnd = ::CreateWindowExA(0, kClassName, title, kFrameStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, this);
    return hwnd != nullptr;
}

BOOL CMainFrame::DestroyWindow() {
    // The engine goes before the window: its tear-down removes the tray icon
    // and unregisters the hot-keys bound to this window. Hidden windows stay
    // hidden.
    m_pKernel.reset();
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

int CMainFrame::OnCreate() {
    m_pKernel = std::make_unique<CAppKernel>(m_Platform);
    m_pKernel->Init(FromHwnd(m_hWnd));
    return 0;
}

// Every message goes to the engine first; the engine says whether the
// frame's own handling follows.
LRESULT CMainFrame::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE: m_hWnd = hwnd; break;
        case WM_CREATE: return OnCreate();
        default: break;
    }
    if (m_pKernel && !m_pKernel->ProcessMessage(message, wParam, static_cast<std::intptr_t>(lParam))) return 0;
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
