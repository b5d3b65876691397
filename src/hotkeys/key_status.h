#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/hot_keys.h"

// What Tarnvell says about its hot-keys: whether a key is held, which keys
// could not be taken, and whether a proposed set of keys can be applied. The
// texts are the string table's; these functions only put them together, so
// the caller loads them and hands them in.

// One hot-key of Tarnvell's under the name of what it runs: a command
// ("Hide Window") or a group's key ("Hide [ Work ]").
struct LabelledKey {
    std::string label;
    KeyCombination value;
    // The system accepted the registration and it is held.
    bool registered = false;
    friend bool operator==(const LabelledKey&, const LabelledKey&) = default;
};

// Replaces the first "%s" of format with value; a format without one is
// returned as it is. Formats come from our own string table, but a stray
// "%" in a translated text must not reach printf.
std::string FormatText(std::string_view format, std::string_view value);
// The same with two values, for the first and the second "%s".
std::string FormatText(std::string_view format, std::string_view first, std::string_view second);

// A key's text where the menu and the Windows Groups list show it: the
// key's name when the key is held; the name in notHeldFormat ("%s (in use)")
// when it is set but not held; unsetText when there is no key.
std::string KeyStatusText(KeyCombination value, bool registered, std::string_view notHeldFormat,
                          std::string_view unsetText = {});
// The same for a bound key, from its own registration state.
inline std::string KeyStatusText(const CHotKeys& key, std::string_view notHeldFormat,
                                 std::string_view unsetText = {}) {
    return KeyStatusText(key.Value(), key.IsRegistered(), notHeldFormat, unsetText);
}

// The label of a group's key: format "Hide [ %s ]" or "Show [ %s ]" with the
// group's name.
inline std::string GroupKeyLabel(std::string_view format, std::string_view groupName) {
    return FormatText(format, groupName);
}

// The text of the start-up balloon: each key that is set and not held as a
// line of lineFormat ("%s: %s", label then key name), one line per key, in the
// given order. The balloon holds kBalloonChars characters: the lines that do
// not fit are counted instead, in moreFormat ("and %s more"). Empty when every
// set key is held: then there is nothing to say.
inline constexpr std::size_t kBalloonChars = 255;
std::string FailedKeysText(const std::vector<LabelledKey>& keys, std::string_view lineFormat,
                           std::string_view moreFormat, std::size_t maxChars = kBalloonChars);

// Whether the system would take a combination now. The engine answers with a
// test registration that is given back at once; combinations Tarnvell holds
// itself count as free, because applying new keys gives back every old
// registration before it takes the first new one.
using KeyProbe = std::function<bool(KeyCombination)>;

// A probe through the system: combinations in held answer true without a
// call; any other is registered for target under probeId and, when that
// succeeds, unregistered at once, so no test registration outlives the call.
KeyProbe SystemKeyProbe(platform::IHotKeySystem& system, WindowHandle target, int probeId,
                        std::vector<KeyCombination> held);

// The texts of the OK check, from the string table.
struct KeyCheckTexts {
    std::string duplicateFormat;  // "%s is already used by %s." (key name, label)
    std::string takenFormat;      // "%s is used by another program." (key name)
};

// OK's check of the keys a dialog proposes. edited are the dialog's keys in
// their order; others the keys of Tarnvell's that the dialog does not change
// (a Group dialog: the program's six and the other groups'). Unset keys are
// skipped. The first key that is given twice or that the probe refuses gives
// the message; nothing when every key can be applied. A null probe asks the
// system nothing.
std::optional<std::string> CheckKeys(const std::vector<LabelledKey>& edited, const std::vector<LabelledKey>& others,
                                     const KeyProbe& canRegister, const KeyCheckTexts& texts);
