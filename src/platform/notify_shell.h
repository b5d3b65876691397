#pragma once
#include <array>
#include <functional>
#include <optional>

#include "platform/geometry.h"
#include "platform/window_handle.h"

namespace platform {

// The notification-icon record in the shape the shell takes it. The Win32
// layer copies it field by field into a whole NOTIFYICONDATAA, the record of
// every shell since Windows Vista, and sets its size itself.
struct NotifyIconData {
    WindowHandle hWnd;
    unsigned uID = 0;
    unsigned uFlags = 0;
    unsigned uCallbackMessage = 0;
    IconHandle hIcon;
    std::array<char, 128> szTip{};
    unsigned dwState = 0;
    unsigned dwStateMask = 0;
    unsigned uVersion = 0;  // shares its place with uTimeout
    // The balloon (NIF_INFO): text, title and icon.
    std::array<char, 256> szInfo{};
    std::array<char, 64> szInfoTitle{};
    unsigned dwInfoFlags = 0;
};

// The shell's notification area: any number of icons, each named by its
// owner and identifier, the copies of other windows' icons they show, and the
// hidden icon window that hears the taskbar being re-created.
class INotifyShell {
public:
    virtual ~INotifyShell() = default;

    virtual bool NotifyIcon(unsigned message, const NotifyIconData& data) = 0;

    // Where the icon (owner, id) is on the screen: the shell's own answer
    // where it gives one, otherwise the notification area that holds it;
    // nothing when neither can be found (then no place can honestly be
    // called the icon's).
    virtual std::optional<ScreenRect> IconRect(WindowHandle owner, unsigned id) = 0;

    // A copy of the small icon that stands for window: its own (WM_GETICON,
    // never waiting long on its thread), else its class's, else its
    // program's, else the system's icon of an application. The caller owns
    // the copy and gives it back with DestroyIconCopy; null when none could
    // be made.
    virtual IconHandle CopyWindowIcon(WindowHandle window) = 0;
    virtual void DestroyIconCopy(IconHandle icon) = 0;

    // Creates the hidden top-level icon window, which runs onTaskbarCreated
    // when it hears "TaskbarCreated"; null when it cannot be created.
    virtual WindowHandle CreateIconWindow(std::function<void()> onTaskbarCreated) = 0;
    // Sends WM_CLOSE to the icon window and returns once it was handled.
    virtual void CloseIconWindow(WindowHandle window) = 0;
};

}  // namespace platform
