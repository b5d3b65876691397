#pragma once
#include <functional>

#include "platform/window_handle.h"

namespace platform {

// What other programs do to their top-level windows, as the system reports
// it: a window was shown, was hidden, its caption changed, or it is being
// minimized. Only whole windows arrive (no child objects: carets, scroll
// bars, list items), and none of this program's own.
enum class WindowEventKind { Shown, Hidden, CaptionChanged, Minimized };
using WindowEventCallback = std::function<void(WindowEventKind, WindowHandle)>;

// The system's window events (SetWinEventHook out of context): delivered on
// the thread that started them, from its message loop, never while it runs
// other code.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    // Sets the hooks; true when they are set. Starting again replaces the
    // callback and keeps the hooks.
    virtual bool Start(WindowEventCallback callback) = 0;
    // Removes the hooks; no event arrives afterwards.
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
    // The hook of windows being minimized (EVENT_SYSTEM_MINIMIZESTART), set
    // and removed apart from the others: its events arrive as Minimized, to
    // this callback.
    virtual bool StartMinimize(WindowEventCallback callback) = 0;
    virtual void StopMinimize() = 0;
    virtual bool MinimizeRunning() const = 0;
};

}  // namespace platform
