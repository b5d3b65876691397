#pragma once
#include <array>
#include <type_traits>

#include "engine/app_kernel.h"

using HotKeyValues = std::array<KeyCombination, CAppKernel::kHotKeyCount>;

// What OK in the Preferences dialog does when the user changed only what edit
// changes: the dialog starts from the engine's preferences and hot-keys.
// edit takes the preferences, or the preferences and the hot-keys.
template <typename Edit>
void ChangePreferences(CAppKernel& kernel, Edit edit) {
    Preferences prefs = kernel.Prefs();
    HotKeyValues keys;
    for (int n = 0; n < CAppKernel::kHotKeyCount; ++n) keys[static_cast<std::size_t>(n)] = kernel.HotKey(n).Value();
    if constexpr (std::is_invocable_v<Edit, Preferences&>)
        edit(prefs);
    else
        edit(prefs, keys);
    kernel.ApplyPreferences(prefs, keys);
}
