#pragma once
#include <array>
#include <memory>
#include <type_traits>

#include "engine/app_kernel.h"
#include "fake_platform.h"

using HotKeyValues = ProgramKeys;

// What OK in the Preferences dialog does when the user changed only what edit
// changes: the dialog starts from the engine's preferences and hot-keys.
// edit takes the preferences, or the preferences and the hot-keys.
template <typename Edit>
void ChangePreferences(CAppKernel& kernel, Edit edit) {
    Preferences prefs = kernel.Settings().Prefs();
    HotKeyValues keys = kernel.Settings().Keys();
    if constexpr (std::is_invocable_v<Edit, Preferences&>)
        edit(prefs);
    else
        edit(prefs, keys);
    kernel.Dialogs().ApplyPreferences(prefs, keys);
}

// Starts the engine over the fakes, its frame below every window the test
// has laid out so far.
inline std::unique_ptr<CAppKernel> StartKernel(FakePlatform& fake) {
    const WindowHandle frame = fake.desktop.Add("TarnvellFrame", "Tarnvell", false);
    auto kernel = std::make_unique<CAppKernel>(fake.Set());
    kernel->Init(frame);
    return kernel;
}
