#pragma once
#include <array>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "engine/app_kernel.h"
#include "engine/command_line.h"
#include "engine/password.h"
#include "fake_platform.h"
#include "platform/copy_data.h"
#include "platform/win_constants.h"
#include "ui/dialog_model.h"

using HotKeyValues = ProgramKeys;

// Starts the engine over the fakes: with the given frame, or a new one below
// every window the test has laid out so far; over the given profile, or the
// fake's own.
inline std::unique_ptr<CAppKernel> StartKernel(FakePlatform& fake, WindowHandle frame = {},
                                               platform::IProfile* profile = nullptr) {
    if (!frame) frame = fake.desktop.Add("TarnvellFrame", "Tarnvell", false);
    auto kernel = std::make_unique<CAppKernel>(profile ? fake.Set(*profile) : fake.Set());
    kernel->Init(frame);
    // The frame's timers reach the engine, as the message loop hands them
    // on; the engine kills its timer before it goes.
    fake.desktop.onTimer = [k = kernel.get()](WindowHandle, unsigned id) { k->ProcessMessage(wm::kTimer, id, 0); };
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
    // Written as they are when set: "AutoHide<n>" as a number (over
    // autoHide), "Program<n>" and "Class<n>".
    std::optional<unsigned> flags;
    std::optional<std::string> program;
    std::optional<std::string> className;
};
inline void WriteGroupSlot(FakeProfile& profile, int n, const GroupSlot& slot) {
    const std::string i = std::to_string(n);
    profile.Set("Groups", "Name" + i, slot.name);
    profile.Set("Groups", "Search" + i, slot.search);
    profile.Set("Groups", "Compare" + i, slot.compare);
    if (slot.autoHide) profile.Set("Groups", "AutoHide" + i, *slot.autoHide ? 1u : 0u);
    if (slot.flags) profile.Set("Groups", "AutoHide" + i, *slot.flags);
    if (slot.program) profile.Set("Groups", "Program" + i, *slot.program);
    if (slot.className) profile.Set("Groups", "Class" + i, *slot.className);
}

// The Group dialog's check of a group typed with these values.
inline std::optional<unsigned> CheckTyped(const std::string& name, const std::string& search, bool autoHide = false,
                                          int compareMode = GROUP_COMPARE_INCLUDE, const std::string& program = {},
                                          const std::string& className = {}, bool hideMinimized = false) {
    CWindowsGroup group;
    group.m_strName = name;
    group.m_strSearch = search;
    group.m_bAutoHide = autoHide;
    group.m_nCompare = compareMode;
    group.m_strProgram = program;
    group.m_strClass = className;
    group.m_bHideMinimized = hideMinimized;
    return CheckGroup(group);
}
// The slot that ends the stored list.
inline void EndGroupSlots(FakeProfile& profile, int n) {
    profile.Set("Groups", "Compare" + std::to_string(n), 0xFFFFFFFFu);
}

// WM_COPYDATA with record as another copy of Tarnvell hands it to the frame.
inline MessageReply SendCopyData(CAppKernel& kernel, const std::vector<std::uint8_t>& record,
                                 std::uintptr_t magic = kCopyDataMagic) {
    const platform::CopyData data{magic, static_cast<std::uint32_t>(record.size()),
                                  record.empty() ? nullptr : record.data()};
    return kernel.ProcessMessage(wm::kCopyData, 0, reinterpret_cast<std::intptr_t>(&data));
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
