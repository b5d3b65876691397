#include "hotkeys/key_names.h"

#include "platform/win_constants.h"

const ModifierWord kModifierWords[4] = {
    {mod::kControl, KeyWord::Ctrl},
    {mod::kShift, KeyWord::Shift},
    {mod::kAlt, KeyWord::Alt},
    {mod::kWin, KeyWord::Win},
};

namespace {

constexpr KeyWords English() {
    return {"Ctrl", "Shift", "Alt",  "Win",  "Esc",   "Space", "PageUp", "PageDown",
            "End",  "Home",  "Left", "Up",   "Right", "Down",  "Insert", "No"};
}

KeyWords g_words = English();

// Digits and letters are named by their own character, and the keypad digits
// share the main digits' names; one table of single characters serves all.
constexpr std::string_view kCharacters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr std::string_view kFunctionKeys[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                                              "F7", "F8", "F9", "F10", "F11", "F12"};

std::string_view Character(unsigned offset) { return kCharacters.substr(offset, 1); }

}  // namespace

std::string_view KeyWordText(KeyWord word) { return g_words[static_cast<std::size_t>(word)]; }

void SetKeyWords(const KeyWords& words) {
    g_words = English();
    for (std::size_t i = 0; i < kKeyWordCount; ++i)
        if (!words[i].empty()) g_words[i] = words[i];
}

std::string_view KeyName(unsigned key) {
    if (key >= '0' && key <= '9') return Character(key - '0');
    if (key >= 'A' && key <= 'Z') return Character(10 + key - 'A');
    if (key >= vk::kNumpad0 && key <= vk::kNumpad9) return Character(key - vk::kNumpad0);
    if (key >= vk::kF1 && key <= vk::kF12) return kFunctionKeys[key - vk::kF1];
    switch (key) {
        case vk::kEscape: return KeyWordText(KeyWord::Esc);
        case vk::kSpace: return KeyWordText(KeyWord::Space);
        case vk::kPrior: return KeyWordText(KeyWord::PageUp);
        case vk::kNext: return KeyWordText(KeyWord::PageDown);
        case vk::kEnd: return KeyWordText(KeyWord::End);
        case vk::kHome: return KeyWordText(KeyWord::Home);
        case vk::kLeft: return KeyWordText(KeyWord::Left);
        case vk::kUp: return KeyWordText(KeyWord::Up);
        case vk::kRight: return KeyWordText(KeyWord::Right);
        case vk::kDown: return KeyWordText(KeyWord::Down);
        case vk::kInsert: return KeyWordText(KeyWord::Insert);
        case vk::kMultiply: return "*";
        case vk::kAdd: return "+";
        case vk::kSeparator: return "?";
        case vk::kSubtract: return "-";
        case vk::kDecimal: return ".";
        case vk::kDivide: return "/";
        default: return {};
    }
}
