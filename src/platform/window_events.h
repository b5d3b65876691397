#pragma once
#include <functional>

#include "platform/window_handle.h"

namespace platform {

// What other programs do to their top-level windows, as the system reports
// it: a window was shown, was hidden, its caption changed, it was destroyed,
// or it is being minimized. Only whole windows arrive (no child objects:
// carets, scroll bars, list items), and none of this program's own.
enum class WindowEventKind { Shown, Hidden, CaptionChanged, Destroyed, Minimized };
using WindowEventCallback = std::function<void(WindowEventKind, WindowHandle)>;

// The events a listener asks for, as bits of one kind each; the system is
// asked for those alone, for that listener.
namespace window_events {
inline constexpr unsigned kDestroyed = 0x1;
inline constexpr unsigned kShown = 0x2;
inline constexpr unsigned kHidden = 0x4;
inline constexpr unsigned kCaptions = 0x8;  // CaptionChanged
inline constexpr unsigned kMinimized = 0x10;
inline constexpr unsigned kShowHide = kShown | kHidden;
}  // namespace window_events

// The system's window events (SetWinEventHook out of context) for one
// listener: delivered on the thread that started them, from its message
// loop, never while it runs other code. Several listeners may run at once,
// each with hooks of its own.
class IWindowEvents {
public:
    virtual ~IWindowEvents() = default;
    // Sets the hooks of the events asked for (window_events bits); true when
    // they are set. Starting again replaces the callback and keeps the hooks.
    virtual bool Start(unsigned events, WindowEventCallback callback) = 0;
    // Removes the hooks; no event arrives afterwards.
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

}  // namespace platform
