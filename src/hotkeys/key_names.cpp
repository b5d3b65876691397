#include "hotkeys/key_names.h"

#include "platform/win_constants.h"

const ModifierPrefix kModifierPrefixes[4] = {
    {mod::kControl, "Ctrl + "},
    {mod::kShift, "Shift + "},
    {mod::kAlt, "Alt + "},
    {mod::kWin, "Win + "},
};

namespace {

// Digits and letters are named by their own character, and the keypad digits
// share the main digits' names; one table of single characters serves all.
constexpr std::string_view kCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr std::string_view kFunctionKeys[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                              "F7", "F8", "F9", "F10", "F11", "F12"};

std::string_view Character(unsigned offset) { return kCharacters.substr(offset, 1); }

}  // namespace

std::string_view KeyName(unsigned key) {
    if (key >= '0' && key <= '9') return Character(key - '0');
    if (key >= 'A' && key <= 'Z') return Character(10 + key - 'A');
    if (key >= vk::kNumpad0 && key <= vk::kNumpad9) return Character(key - vk::kNumpad0);
    if (key >= vk::kF1 && key <= vk::kF12) return kFunctionKeys[key - vk::kF1];
    switch (key) {
        case vk::kEscape: return "Esc";
        case vk::kSpace: return "Space";
        case vk::kPrior: return "PageUp";
        case vk::kNext: return "PageDown";
        case vk::kEnd: return "End";
        case vk::kHome: return "Home";
        case vk::kLeft: return "Left";
        case vk::kUp: return "Up";
        case vk::kRight: return "Right";
        case vk::kDown: return "Down";
        case vk::kInsert: return "Insert";
        case vk::kMultiply: return "*";
        case vk::kAdd: return "+";
        case vk::kSeparator: return "?";
        case vk::kSubtract: return "-";
        case vk::kDecimal: return ".";
        case vk::kDivide: return "/";
        default: return {};
    }
}
