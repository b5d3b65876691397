#pragma once

namespace platform {

// A point and a rectangle in screen coordinates (pixels of the virtual
// screen; the primary monitor's top left is 0, 0).
struct ScreenPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
    bool Empty() const { return right <= left || bottom <= top; }
    ScreenPoint Centre() const { return {left + (right - left) / 2, top + (bottom - top) / 2}; }
};

}  // namespace platform
