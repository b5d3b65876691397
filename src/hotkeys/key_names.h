#pragma once
#include <string_view>

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
