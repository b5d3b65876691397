#pragma once
#include <string_view>

// Virtual-key codes the hot-key code needs, as the system numbers them. The
// Windows build checks each against the system headers.
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

// The display name of a virtual key; empty for a key that has none (and 0).
std::string_view KeyName(unsigned key);

// A key that the capture control takes as the main key: exactly the keys
// that have a name.
inline bool IsCapturableKey(unsigned key) { return !KeyName(key).empty(); }

// Modifier prefixes in the order they are shown: Ctrl, Shift, Alt, Win.
struct ModifierPrefix {
    unsigned bit;
    std::string_view text;
};
extern const ModifierPrefix kModifierPrefixes[4];
