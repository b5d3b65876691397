#pragma once
#include <array>
#include <memory>
#include <string>
#include <type_traits>

#include "engine/app_kernel.h"
#include "fake_platform.h"

using HotKeyValues = ProgramKeys;

// Starts the engine over the fakes, its frame below every window the test
// has laid out so far.
inline std::unique_ptr<CAppKernel> StartKernel(FakePlatform& fake) {
    const WindowHandle frame = fake.desktop.Add("TarnvellFrame", "Tarnvell", false);
    auto kernel = std::make_unique<CAppKernel>(fake.Set());
    kernel->Init(frame);
    return kernel;
}

// The Preferences command with a user who changes only what edit changes and
// presses OK (giving the password first when it is asked). edit takes the
// preferences, or the preferences and the hot-keys.
template <typename Edit>
void ChangePreferences(FakePlatform& fake, CAppKernel& kernel, Edit edit) {
    auto script = std::move(fake.prompts.preferences);
    fake.prompts.preferences = [&](PreferencesForm& form) {
        if constexpr (std::is_invocable_v<Edit, Preferences&>)
            edit(form.prefs);
        else
            edit(form.prefs, form.keys);
        return true;
    };
    if (kernel.Settings().Prefs().m_bPassOnOption)
        fake.prompts.answers.push_front({true, kernel.Settings().Prefs().m_Password});
    kernel.Run({Verb::Preferences}, Origin::Menu);
    fake.prompts.preferences = std::move(script);
}

// Slot n of the profile's groups as an earlier run stored it.
struct GroupSlot {
    std::string name;
    std::string search;
    unsigned compare = 0;
    bool autoHide = false;
};
inline void WriteGroupSlot(FakeProfile& profile, int n, const GroupSlot& slot) {
    const std::string i = std::to_string(n);
    profile.Set("Groups", "Name" + i, slot.name);
    profile.Set("Groups", "Search" + i, slot.search);
    profile.Set("Groups", "Compare" + i, slot.compare);
    if (slot.autoHide) profile.Set("Groups", "AutoHide" + i, 1u);
}
// The slot that ends the stored list.
inline void EndGroupSlots(FakeProfile& profile, int n) {
    profile.Set("Groups", "Compare" + std::to_string(n), 0xFFFFFFFFu);
}

// The process's code page for the life of the object, as a module of that
// code page tells it; the one before comes back afterwards.
class ScopedCodePage {
public:
    explicit ScopedCodePage(platform::IModule& module) : m_before(text::ProcessCodePage()) {
        text::SetProcessCodePage(text::CodePage::Of(module));
    }
    explicit ScopedCodePage(text::CodePage codePage) : m_before(text::ProcessCodePage()) {
        text::SetProcessCodePage(std::move(codePage));
    }
    ~ScopedCodePage() { text::SetProcessCodePage(m_before); }
    ScopedCodePage(const ScopedCodePage&) = delete;
    ScopedCodePage& operator=(const ScopedCodePage&) = delete;

private:
    text::CodePage m_before;
};
