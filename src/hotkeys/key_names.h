#pragma once
#include <array>
#include <string>
#include <string_view>

// The display name of a virtual key; empty for a key that has none (and 0).
// The view stays good until the next SetKeyWords.
std::string_view KeyName(unsigned key);

// A key that the capture control takes as the main key: exactly the keys
// that have a name.
inline bool IsCapturableKey(unsigned key) { return !KeyName(key).empty(); }

// The words of key names that a language says its own way ("Strg" for Ctrl
// in German): the modifiers, in the order a name shows them, and the named
// keys, then what a hot-key field shows while it holds no key. Letters,
// digits, F-keys and the keypad's signs read the same in every language. The
// string table holds them in this order from IDS_KEY_WORDS on.
enum class KeyWord {
    Ctrl, Shift, Alt, Win,
    Esc, Space, PageUp, PageDown, End, Home, Left, Up, Right, Down, Insert,
    NoKey,
};
inline constexpr std::size_t kKeyWordCount = static_cast<std::size_t>(KeyWord::NoKey) + 1;
using KeyWords = std::array<std::string, kKeyWordCount>;

// The words every name is made of from now on; an empty word keeps its
// English one. The names are the program's display language, as process-wide
// as the language itself, so this is set where the language is chosen.
void SetKeyWords(const KeyWords& words);

// A word as it reads now.
std::string_view KeyWordText(KeyWord word);

// The modifier bits in the order a name shows them, each with its word.
struct ModifierWord {
    unsigned bit;
    KeyWord word;
};
extern const ModifierWord kModifierWords[4];
