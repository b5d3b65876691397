#include "app/main_frame.h"

#include "platform/win32/convert.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

namespace {
// A style bit of the frame's own, kept in the window style as before.
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;
}  // namespace

CMainFrame::~CMainFrame() {
    if (m_hWnd) DestroyWindow();
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    // Exactly caption, sizing frame and the title bit: a frame that exists but
    // is never visible, not even for an instant.
    cs.style = WS_CAPTION | WS_THICKFRAME | FWS_ADDTOTITLE;
    return true;
}

bool CMainFrame::LoadFrame(HINSTANCE instance, DWORD style) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof(existing);
    if (!::GetClassInfoExA(instance, kClassName, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &CMainFrame::Thunk;
        wc.hInstance = instance;
        wc.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kClassName;
        if (!::RegisterClassExA(&wc)) return false;
    }
    CREATESTRUCTA cs{};
    cs.style = style;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    cs.hInstance = instance;
    cs.lpszClass = kClassName;
    cs.lpszName = theResource.Load(IDR_MAINFRAME);
    if (!PreCreateWindow(cs)) return false;
    HWND hwnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  nullptr, nullptr, instance, this);
    return hwnd != nullptr;
}

BOOL CMainFrame::DestroyWindow() {
    // The engine goes before the window: its tear-down removes the tray icon
    // and unregisters the hot-keys bound to this window. Hidden windows stay
    // hidden.
    m_pKernel.reset();
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CALLBACK CMainFrame::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<CMainFrame*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        self->m_hWnd = hwnd;
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<CMainFrame*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);
    return self->WindowProc(message, wParam, lParam);
}

int CMainFrame::OnCreate(const CREATESTRUCTA&) {
    m_pKernel = std::make_unique<CAppKernel>(m_Platform);
    m_pKernel->Init(FromHwnd(m_hWnd));
    return 0;
}

// Every message goes to the engine first; the engine says whether the
// frame's own handling follows.
LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) return OnCreate(*reinterpret_cast<CREATESTRUCTA*>(lParam));
    if (!m_pKernel) return DefaultProc(message, wParam, lParam);
    if (m_pKernel->ProcessMessage(message, wParam, static_cast<std::intptr_t>(lParam)))
        return DefaultProc(message, wParam, lParam);
    return 0;
}

LRESULT CMainFrame::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            DestroyWindow();
            return 0;
        case WM_ENDSESSION:
            // The session really ends: take the icon and hot-keys down now,
            // the process may be ended without another message.
            if (wParam) DestroyWindow();
            return 0;
        case WM_NCDESTROY: {
            const LRESULT result = ::DefWindowProcA(m_hWnd, message, wParam, lParam);
            ::SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
            m_hWnd = nullptr;
            // The main window is gone: the program ends.
            ::PostQuitMessage(0);
            return result;
        }
        default:
            return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
    }
}
