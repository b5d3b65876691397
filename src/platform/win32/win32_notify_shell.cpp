#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/convert.h"
#include "platform/win32/win32_platform.h"

const UINT WM_TASKBARCREATED = ::RegisterWindowMessageA("TaskbarCreated");

namespace {

constexpr const char* kIconWindowClass = "TrayNotifyIconClass";
constexpr const char* kIconWindowTitle = "CTrayNotifyIcon Helper Window";

// The hidden top-level window that hears "TaskbarCreated" for the tray icon.
// Top-level, because broadcasts skip message-only windows.
class IconWindow {
public:
    static bool RegisterClassOnce(HINSTANCE instance) {
        WNDCLASSEXA existing{};
        existing.cbSize = sizeof(existing);
        if (::GetClassInfoExA(instance, kIconWindowClass, &existing)) return true;
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
        wc.lpfnWndProc = &IconWindow::Thunk;
        wc.hInstance = instance;
        wc.hCursor = ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = kIconWindowClass;
        return ::RegisterClassExA(&wc) != 0;
    }

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* listener = reinterpret_cast<platform::ITaskbarListener*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        if (message == WM_NCDESTROY) ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        // The registered number is not a constant, so it cannot be a case label.
        if (listener && message == WM_TASKBARCREATED && message != 0) {
            listener->OnTaskbarRestart();
            return 0;
        }
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }
};

}  // namespace

std::optional<unsigned> Win32NotifyShell::OsMajorVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!::GetVersionExA(&info)) return std::nullopt;
#pragma GCC diagnostic pop
    return info.dwMajorVersion;
}

std::optional<unsigned> Win32NotifyShell::ShellMajorVersion() {
    // Asked of the library already loaded into the process; it is not loaded
    // just for this.
    HMODULE shell = ::GetModuleHandleA("SHELL32.DLL");
    if (!shell) return std::nullopt;
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void (*)()>(::GetProcAddress(shell, "DllGetVersion")));
    if (!get) return std::nullopt;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (get(&info) < 0) return std::nullopt;
    return info.dwMajorVersion;
}

bool Win32NotifyShell::NotifyIcon(unsigned message, const platform::NotifyIconData& data) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = data.cbSize;
    nid.hWnd = ToHwnd(data.hWnd);
    nid.uID = data.uID;
    nid.uFlags = data.uFlags;
    nid.uCallbackMessage = data.uCallbackMessage;
    nid.hIcon = ToHicon(data.hIcon);
    static_assert(sizeof(nid.szTip) == std::tuple_size_v<decltype(data.szTip)>);
    std::memcpy(nid.szTip, data.szTip.data(), sizeof(nid.szTip));
    nid.szTip[sizeof(nid.szTip) - 1] = '\0';
    nid.dwState = data.dwState;
    nid.dwStateMask = data.dwStateMask;
    nid.uVersion = data.uVersion;
    return ::Shell_NotifyIconA(message, &nid) != FALSE;
}

WindowHandle Win32NotifyShell::CreateIconWindow(platform::ITaskbarListener& listener) {
    if (!IconWindow::RegisterClassOnce(m_instance)) return WindowHandle{};
    HWND hwnd = ::CreateWindowExA(0, kIconWindowClass, kIconWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, m_instance, &listener);
    return FromHwnd(hwnd);
}

void Win32NotifyShell::CloseIconWindow(WindowHandle window) {
    ::SendMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}
