#pragma once
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "engine/app_kernel.h"
#include "engine/password.h"
#include "fake_platform.h"

using HotKeyValues = ProgramKeys;

// Starts the engine over the fakes: with the given frame, or a new one below
// every window the test has laid out so far; over the given profile, or the
// fake's own.
inline std::unique_ptr<CAppKernel> StartKernel(FakePlatform& fake, WindowHandle frame = {},
                                               platform::IProfile* profile = nullptr) {
    if (!frame) frame = fake.desktop.Add("TarnvellFrame", "Tarnvell", false);
    auto kernel = std::make_unique<CAppKernel>(profile ? fake.Set(*profile) : fake.Set());
    kernel->Init(frame);
    return kernel;
}

// The Preferences command with a user who changes only what edit changes and
// presses OK (giving the password first when it is asked). edit takes the
// preferences, the preferences and the hot-keys, or the whole form (to type a
// password: form.newPassword).
template <typename Edit>
void ChangePreferences(FakePlatform& fake, CAppKernel& kernel, Edit edit, const std::string& password = {}) {
    auto script = std::move(fake.prompts.preferences);
    fake.prompts.preferences = [&](PreferencesForm& form) {
        if constexpr (std::is_invocable_v<Edit, PreferencesForm&>)
            edit(form);
        else if constexpr (std::is_invocable_v<Edit, Preferences&>)
            edit(form.prefs);
        else
            edit(form.prefs, form.keys);
        return true;
    };
    if (kernel.Settings().Prefs().m_bPassOnOption) fake.prompts.answers.push_front({true, password});
    kernel.Run({Verb::Preferences}, Origin::Menu);
    fake.prompts.preferences = std::move(script);
}

// A password as an earlier run stored it: its hash, with a work factor that
// keeps a test quick (the factor travels with the hash).
inline void PlantPassword(FakePlatform& fake, std::string_view text) {
    fake.profile.Set("Settings", Preferences::kPasswordHash, PasswordHash::Make(fake.crypto, text, 16)->Encode());
}

// Slot n of the profile's groups as an earlier run stored it.
struct GroupSlot {
    GroupSlot(std::string n, std::string s, unsigned c = 0, std::optional<bool> a = {})
        : name(std::move(n)), search(std::move(s)), compare(c), autoHide(a) {}
    std::string name;
    std::string search;
    unsigned compare = 0;
    // "AutoHide<n>"; absent, as earlier versions stored no such value.
    std::optional<bool> autoHide;
};
inline void WriteGroupSlot(FakeProfile& profile, int n, const GroupSlot& slot) {
    const std::string i = std::to_string(n);
    profile.Set("Groups", "Name" + i, slot.name);
    profile.Set("Groups", "Search" + i, slot.search);
    profile.Set("Groups", "Compare" + i, slot.compare);
    if (slot.autoHide) profile.Set("Groups", "AutoHide" + i, *slot.autoHide ? 1u : 0u);
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
