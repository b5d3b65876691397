#pragma once
#include "platform/window_handle.h"

namespace platform {

// A right click on the minimize button of another program's top-level
// window, seen by a low-level mouse hook in this process (nothing is loaded
// into other programs). The hook runs on a thread of its own, so that a
// busy user-interface thread or one of its modal loops never delays the
// system's mouse input; it hands each such window to the frame as a posted
// message and never calls the engine itself.
class IMinimizeGesture {
public:
    virtual ~IMinimizeGesture() = default;
    // Sets the hook. From then on a right press on such a button, and its
    // release, are kept from the window (no system menu opens), and message
    // is posted to frame with the top-level window in wParam. True when the
    // hook is set; starting again keeps it.
    virtual bool Start(WindowHandle frame, unsigned message) = 0;
    // Removes the hook and ends its thread; no message is posted afterwards.
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
};

}  // namespace platform
