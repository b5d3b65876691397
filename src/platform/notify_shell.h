#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/window_handle.h"

namespace platform {

// The notification-icon record in the shape the shell takes it. The Win32
// layer copies it field by field into NOTIFYICONDATAA and hands the shell
// exactly cbSize bytes of it, so the generation of the record is kept.
struct NotifyIconData {
    std::uint32_t cbSize = 0;
    WindowHandle hWnd;
    unsigned uID = 0;
    unsigned uFlags = 0;
    unsigned uCallbackMessage = 0;
    IconHandle hIcon;
    std::array<char, 128> szTip{};
    unsigned dwState = 0;
    unsigned dwStateMask = 0;
    unsigned uVersion = 0;  // shares its place with uTimeout
};

// The shell's notification area and the hidden icon window that hears the
// taskbar being re-created.
class INotifyShell {
public:
    virtual ~INotifyShell() = default;

    // GetVersionEx's major version; empty when the call fails.
    virtual std::optional<unsigned> OsMajorVersion() = 0;
    // DllGetVersion of the already loaded shell library; empty when it cannot
    // be asked.
    virtual std::optional<unsigned> ShellMajorVersion() = 0;

    virtual bool NotifyIcon(unsigned message, const NotifyIconData& data) = 0;

    // Creates the hidden top-level icon window, which runs onTaskbarCreated
    // when it hears "TaskbarCreated"; null when it cannot be created.
    virtual WindowHandle CreateIconWindow(std::function<void()> onTaskbarCreated) = 0;
    // Sends WM_CLOSE to the icon window and returns once it was handled.
    virtual void CloseIconWindow(WindowHandle window) = 0;
};

}  // namespace platform
