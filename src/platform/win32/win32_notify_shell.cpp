#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/win32/convert.h"
#include "platform/win32/diagnostics.h"
#include "platform/win32/message_filter.h"
#include "platform/win32/win32_platform.h"
#include "platform/win32/window_binding.h"

const UINT WM_TASKBARCREATED = ::RegisterWindowMessageA("TaskbarCreated");

namespace {

constexpr const char* kIconWindowClass = "TrayNotifyIconClass";
constexpr const char* kIconWindowTitle = "CTrayNotifyIcon Helper Window";

// How long a window may take to name its icon: a busy program delays a
// hide by this much per family at most, and a hung one not at all.
constexpr UINT kIconAnswerMs = 50;

// A copy at the notification area's size, owned by this process whichever
// process made the original; null when there is nothing to copy.
HICON SmallCopy(HICON icon) {
    if (!icon) return nullptr;
    return static_cast<HICON>(::CopyImage(icon, IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                                          ::GetSystemMetrics(SM_CYSMICON), 0));
}

// The window's own small icon, or the one the system makes from its large
// one (ICON_SMALL2). SMTO_BLOCK: no other message reaches this thread
// meanwhile, so no command can run in the middle of the one that asks.
HICON OwnIcon(HWND window) {
    DWORD_PTR icon = 0;
    if (!::SendMessageTimeoutA(window, WM_GETICON, ICON_SMALL2, 0, SMTO_ABORTIFHUNG | SMTO_BLOCK, kIconAnswerMs,
                               &icon))
        return nullptr;
    return SmallCopy(reinterpret_cast<HICON>(icon));
}

HICON ClassIcon(HWND window) {
    for (int index : {GCLP_HICONSM, GCLP_HICON})
        if (HICON copy = SmallCopy(reinterpret_cast<HICON>(::GetClassLongPtrA(window, index)))) return copy;
    return nullptr;
}

// The first icon of the window's executable, extracted as a small icon of
// our own.
HICON ProgramIcon(HWND window) {
    DWORD pid = 0;
    if (!::GetWindowThreadProcessId(window, &pid) || !pid) return nullptr;
    // The icon is a nicety: a program that cannot be asked goes unreported.
    const std::optional<std::string> path = ProcessImagePath(pid, false);
    if (!path) return nullptr;
    HICON small = nullptr;
    if (::ExtractIconExA(path->c_str(), 0, nullptr, &small, 1) == 0) return nullptr;
    return small;
}

const char* NotifyMessageName(unsigned message) {
    switch (message) {
        case NIM_ADD: return "NIM_ADD";
        case NIM_MODIFY: return "NIM_MODIFY";
        case NIM_DELETE: return "NIM_DELETE";
        case NIM_SETVERSION: return "NIM_SETVERSION";
        default: return "NIM_?";
    }
}

}  // namespace

// The hidden top-level window that hears "TaskbarCreated" for the tray icon.
// Top-level, because broadcasts skip message-only windows.
class IconWindow {
public:
    explicit IconWindow(std::function<void()> onTaskbarCreated) : m_OnTaskbarCreated(std::move(onTaskbarCreated)) {}
    IconWindow(const IconWindow&) = delete;
    IconWindow& operator=(const IconWindow&) = delete;

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        // The registered number is not a constant, so it cannot be a case label.
        if (message == WM_TASKBARCREATED && message != 0) {
            m_OnTaskbarCreated();
            return 0;
        }
        return ::DefWindowProcA(hwnd, message, wParam, lParam);
    }

private:
    std::function<void()> m_OnTaskbarCreated;
};

Win32NotifyShell::Win32NotifyShell(HINSTANCE instance) : m_instance(instance) {}

Win32NotifyShell::~Win32NotifyShell() = default;

bool Win32NotifyShell::NotifyIcon(unsigned message, const platform::NotifyIconData& data) {
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof(nid);
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
    static_assert(sizeof(nid.szInfo) == std::tuple_size_v<decltype(data.szInfo)>);
    static_assert(sizeof(nid.szInfoTitle) == std::tuple_size_v<decltype(data.szInfoTitle)>);
    std::memcpy(nid.szInfo, data.szInfo.data(), sizeof(nid.szInfo));
    nid.szInfo[sizeof(nid.szInfo) - 1] = '\0';
    std::memcpy(nid.szInfoTitle, data.szInfoTitle.data(), sizeof(nid.szInfoTitle));
    nid.szInfoTitle[sizeof(nid.szInfoTitle) - 1] = '\0';
    nid.dwInfoFlags = data.dwInfoFlags;
    // The shell answers through another process and need not set an error.
    ::SetLastError(ERROR_SUCCESS);
    if (::Shell_NotifyIconA(message, &nid)) return true;
    const DWORD error = ::GetLastError();
    diag::Failed(std::string("Shell_NotifyIcon(") + NotifyMessageName(message) + ") of icon " +
                     std::to_string(nid.uID) + " for " + diag::Handle(nid.hWnd),
                 error);
    return false;
}

std::optional<platform::ScreenRect> Win32NotifyShell::IconRect(WindowHandle owner, unsigned id) {
    // Windows 7 and later: the shell knows the icon's place. Loaded by name
    // because older shells lack it; Wine 8 exports it but answers E_NOTIMPL.
    using GetRect = HRESULT(WINAPI*)(const NOTIFYICONIDENTIFIER*, RECT*);
    if (HMODULE shell = ::GetModuleHandleA("SHELL32.DLL")) {
        if (auto get = reinterpret_cast<GetRect>(
                reinterpret_cast<void (*)()>(::GetProcAddress(shell, "Shell_NotifyIconGetRect")))) {
            NOTIFYICONIDENTIFIER icon{};
            icon.cbSize = sizeof(icon);
            icon.hWnd = ToHwnd(owner);
            icon.uID = id;
            RECT r{};
            if (SUCCEEDED(get(&icon, &r)) && r.right > r.left && r.bottom > r.top)
                return platform::ScreenRect{r.left, r.top, r.right, r.bottom};
        }
    }
    // Older Windows: the notification area itself, a strip a few icons wide
    // inside the taskbar. Wine's taskbar has no such child, and then there
    // is no place to name.
    if (HWND taskbar = ::FindWindowA("Shell_TrayWnd", nullptr)) {
        if (HWND area = ::FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr)) {
            RECT r{};
            if (::GetWindowRect(area, &r) && r.right > r.left && r.bottom > r.top)
                return platform::ScreenRect{r.left, r.top, r.right, r.bottom};
        }
    }
    return std::nullopt;
}

// Other programs' icons are theirs to destroy, and may go with them: the
// notification area is given copies. Under Wine 8 neither WM_GETICON nor the
// class's icon answers across processes, so there the program's icon, or
// the system's, stands for the window.
IconHandle Win32NotifyShell::CopyWindowIcon(WindowHandle window) {
    const HWND h = ToHwnd(window);
    for (HICON (*source)(HWND) : {&OwnIcon, &ClassIcon, &ProgramIcon})
        if (HICON copy = source(h)) return FromHicon(copy);
    HICON copy = SmallCopy(::LoadIconA(nullptr, IDI_APPLICATION));
    if (!copy) {
        const DWORD error = ::GetLastError();
        diag::Failed("CopyImage(IDI_APPLICATION) for the icon of " + diag::Window(h), error);
    }
    return FromHicon(copy);
}

void Win32NotifyShell::DestroyIconCopy(IconHandle icon) { UniqueIcon owned(ToHicon(icon)); }

WindowHandle Win32NotifyShell::CreateIconWindow(std::function<void()> onTaskbarCreated) {
    if (!win32::RegisterWindowClass<IconWindow>(m_instance, kIconWindowClass, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS))
        return WindowHandle{};
    // The object outlives its window: the shell keeps every one it made.
    m_IconWindows.push_back(std::make_unique<IconWindow>(std::move(onTaskbarCreated)));
    HWND hwnd = ::CreateWindowExA(0, kIconWindowClass, kIconWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, m_instance,
                                  m_IconWindows.back().get());
    if (!hwnd) {
        const DWORD error = ::GetLastError();
        diag::Failed("CreateWindowEx(" + diag::Quoted(kIconWindowClass) + ")", error);
    }
    // The taskbar that announces itself runs without administrator rights.
    if (hwnd) AcceptFromLowerRights(hwnd, {WM_TASKBARCREATED});
    return FromHwnd(hwnd);
}

void Win32NotifyShell::CloseIconWindow(WindowHandle window) {
    ::SendMessageA(ToHwnd(window), WM_CLOSE, 0, 0);
}
