#pragma once
#include <cstdint>

// Numbers that the system fixes. They live here so that the core can use them
// without windows.h; the Windows build asserts every one against the system
// headers (platform/win32/constants_check.cpp). The names differ from the
// system macros on purpose, so that both can be visible in one file.

namespace wm {
inline constexpr unsigned kNull = 0x0000;
inline constexpr unsigned kCreate = 0x0001;
inline constexpr unsigned kDestroy = 0x0002;
inline constexpr unsigned kClose = 0x0010;
inline constexpr unsigned kEndSession = 0x0016;
inline constexpr unsigned kContextMenu = 0x007B;
inline constexpr unsigned kCopyData = 0x004A;
inline constexpr unsigned kCommand = 0x0111;
inline constexpr unsigned kTimer = 0x0113;
inline constexpr unsigned kInitMenuPopup = 0x0117;
inline constexpr unsigned kHotKey = 0x0312;
inline constexpr unsigned kMouseMove = 0x0200;
inline constexpr unsigned kLButtonDown = 0x0201;
inline constexpr unsigned kLButtonUp = 0x0202;
inline constexpr unsigned kLButtonDblClk = 0x0203;
inline constexpr unsigned kRButtonDown = 0x0204;
inline constexpr unsigned kRButtonUp = 0x0205;
inline constexpr unsigned kRButtonDblClk = 0x0206;
inline constexpr unsigned kUser = 0x0400;
inline constexpr unsigned kApp = 0x8000;
// The tray icon's callback message to the main frame.
inline constexpr unsigned kTrayNotify = kApp + 10;
// The callback of a hidden window's own icon (wParam: the icon's identifier).
inline constexpr unsigned kWindowIconNotify = kApp + 11;
// The mouse hook's gesture, posted to the frame (wParam: the window).
inline constexpr unsigned kMinimizeGesture = kApp + 12;
}  // namespace wm

// Hot-key modifier bits, stored in the profile exactly as the system takes them.
namespace mod {
inline constexpr unsigned kAlt = 0x0001;
inline constexpr unsigned kControl = 0x0002;
inline constexpr unsigned kShift = 0x0004;
inline constexpr unsigned kWin = 0x0008;
}  // namespace mod

// Shell_NotifyIcon messages, flags and states.
namespace nim {
inline constexpr unsigned kAdd = 0;
inline constexpr unsigned kModify = 1;
inline constexpr unsigned kDelete = 2;
inline constexpr unsigned kSetVersion = 4;
}  // namespace nim
namespace nif {
inline constexpr unsigned kMessage = 0x01;
inline constexpr unsigned kIcon = 0x02;
inline constexpr unsigned kTip = 0x04;
inline constexpr unsigned kState = 0x08;
inline constexpr unsigned kInfo = 0x10;
}  // namespace nif
// The balloon's icon.
namespace niif {
inline constexpr unsigned kNone = 0x0;
inline constexpr unsigned kInfo = 0x1;
inline constexpr unsigned kWarning = 0x2;
inline constexpr unsigned kError = 0x3;
}  // namespace niif
// What an icon that has set its version hears besides the mouse: the
// keyboard's selection (Enter, Space) and, before it, the mouse's.
namespace nin {
inline constexpr unsigned kSelect = wm::kUser + 0;
inline constexpr unsigned kKeySelect = kSelect | 0x1;
}  // namespace nin
namespace nis {
inline constexpr unsigned kHidden = 0x01;
}  // namespace nis
inline constexpr unsigned kNotifyIconVersion = 3;

// Virtual-key codes the hot-key code names and captures.
namespace vk {
inline constexpr unsigned kBack = 0x08;
inline constexpr unsigned kShift = 0x10;
inline constexpr unsigned kControl = 0x11;
inline constexpr unsigned kMenu = 0x12;
inline constexpr unsigned kEscape = 0x1B;
inline constexpr unsigned kSpace = 0x20;
inline constexpr unsigned kPrior = 0x21;
inline constexpr unsigned kNext = 0x22;
inline constexpr unsigned kEnd = 0x23;
inline constexpr unsigned kHome = 0x24;
inline constexpr unsigned kLeft = 0x25;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kRight = 0x27;
inline constexpr unsigned kDown = 0x28;
inline constexpr unsigned kInsert = 0x2D;
inline constexpr unsigned kDelete = 0x2E;
inline constexpr unsigned kLWin = 0x5B;
inline constexpr unsigned kRWin = 0x5C;
inline constexpr unsigned kNumpad0 = 0x60;
inline constexpr unsigned kNumpad9 = 0x69;
inline constexpr unsigned kMultiply = 0x6A;
inline constexpr unsigned kAdd = 0x6B;
inline constexpr unsigned kSeparator = 0x6C;
inline constexpr unsigned kSubtract = 0x6D;
inline constexpr unsigned kDecimal = 0x6E;
inline constexpr unsigned kDivide = 0x6F;
inline constexpr unsigned kF1 = 0x70;
inline constexpr unsigned kF12 = 0x7B;
}  // namespace vk

// Registry value types.
namespace reg {
inline constexpr std::uint32_t kSz = 1;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
}  // namespace reg
