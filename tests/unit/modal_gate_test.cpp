#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

// ------------------------------------------------------- the policy, row by row

struct Row {
    std::vector<Waiting> open;
    GateInput input;
    Origin origin;
    GateVerdict::Kind kind;
    std::optional<Waiting> front;
    bool frameMayGo = false;
};

using K = GateVerdict::Kind;
using W = Waiting;
using I = GateInput;
using O = Origin;

const Row kRows[] = {
    // Hiding and showing run in every loop: the windows taken are never ours.
    {{W::Prompt}, I::HideCommand, O::HotKey, K::Run, {}},
    {{W::Menu}, I::HideCommand, O::Rule, K::Run, {}},
    {{W::Preferences, W::About}, I::ShowCommand, O::Menu, K::Run, {}},
    {{W::About}, I::Unguarded, O::Menu, K::Run, {}},
    // One password prompt at a time.
    {{}, I::PasswordPrompt, O::Menu, K::Run, {}},
    {{W::WindowsGroups}, I::PasswordPrompt, O::HotKey, K::Run, {}},
    {{W::Prompt}, I::PasswordPrompt, O::HotKey, K::Front, W::Prompt},
    // The icon: a click or key during a tracked menu is the one that closes it.
    {{W::Menu}, I::HideCommand, O::TrayClick, K::Refuse, {}},
    {{W::Menu}, I::ShowCommand, O::Keyboard, K::Refuse, {}},
    {{W::Prompt}, I::HideCommand, O::TrayClick, K::Run, {}},
    {{W::Menu}, I::TrayMenu, O::HotKey, K::Refuse, {}},
    {{W::Prompt}, I::TrayMenu, O::TrayClick, K::Front, W::Prompt},
    {{W::Preferences}, I::TrayMenu, O::TrayClick, K::Run, {}},
    // A hidden window's own icon is an icon too.
    {{W::Menu}, I::ShowCommand, O::WindowIcon, K::Refuse, {}},
    {{W::Menu}, I::TrayMenu, O::WindowIcon, K::Refuse, {}},
    {{W::Prompt}, I::TrayMenu, O::WindowIcon, K::Front, W::Prompt},
    {{W::About}, I::ShowCommand, O::WindowIcon, K::Run, {}},
    // The gesture is no click on ours: it hides in every loop, a menu's too.
    {{W::Menu}, I::HideCommand, O::Gesture, K::Run, {}},
    {{W::Prompt, W::Preferences}, I::HideCommand, O::Gesture, K::Run, {}},
    // One configuration dialog at a time; About beside them, once.
    {{}, I::OpenPreferences, O::Menu, K::Run, {}},
    {{W::Preferences}, I::OpenPreferences, O::Menu, K::Front, W::Preferences},
    {{W::WindowsGroups}, I::OpenPreferences, O::Menu, K::Front, W::WindowsGroups},
    {{W::Preferences}, I::OpenWindowsGroups, O::Menu, K::Front, W::Preferences},
    {{W::Prompt}, I::OpenWindowsGroups, O::Menu, K::Front, W::Prompt},
    {{W::About}, I::OpenWindowsGroups, O::Menu, K::Run, {}},
    {{W::Preferences, W::WindowsGroups}, I::OpenAbout, O::Menu, K::Run, {}},
    {{W::About}, I::OpenAbout, O::Menu, K::Front, W::About},
    // Exit waits for the loops: the dialog or prompt comes to the front.
    {{}, I::Close, O::System, K::Run, {}, true},
    {{W::About}, I::Close, O::Menu, K::Front, W::About},
    {{W::WindowsGroups}, I::Close, O::System, K::Front, W::WindowsGroups},
    {{W::Preferences, W::Prompt}, I::Close, O::Menu, K::Front, W::Prompt},
    {{W::Menu}, I::Close, O::System, K::Refuse, {}},
    // The end of the session asks nothing and so runs anywhere; the frame
    // stays while a loop still needs the engine.
    {{}, I::EndSession, O::System, K::Run, {}, true},
    {{W::Prompt}, I::EndSession, O::System, K::Run, {}, false},
    {{W::Menu}, I::EndSession, O::System, K::Run, {}, false},
    // Another program's command cannot be answered by the user meanwhile.
    {{}, I::HideCommand, O::CommandLine, K::Run, {}},
    {{}, I::Close, O::CommandLine, K::Run, {}, true},
    {{W::About}, I::HideCommand, O::CommandLine, K::Refuse, {}},
    {{W::Menu}, I::ShowCommand, O::CommandLine, K::Refuse, {}},
    {{W::Prompt}, I::Close, O::CommandLine, K::Refuse, {}},
};

TEST(ModalGate, EveryRowOfThePolicy) {
    for (std::size_t r = 0; r < std::size(kRows); ++r) {
        const Row& row = kRows[r];
        CModalGate gate;
        std::vector<std::unique_ptr<CModalGate::Wait>> waits;
        for (Waiting w : row.open) waits.push_back(std::make_unique<CModalGate::Wait>(gate, w));
        const GateVerdict verdict = gate.Decide(row.input, row.origin);
        EXPECT_EQ(verdict.kind, row.kind) << "row " << r;
        if (row.front) {
            EXPECT_EQ(verdict.front, *row.front) << "row " << r;
        }
        EXPECT_EQ(verdict.frameMayGo, row.frameMayGo) << "row " << r;
    }
}

TEST(ModalGate, AWaitEndsWithItsObjectAndNestedWaitsCount) {
    CModalGate gate;
    {
        const CModalGate::Wait outer(gate, Waiting::Menu);
        {
            const CModalGate::Wait inner(gate, Waiting::Menu);
            EXPECT_TRUE(gate.IsOpen(Waiting::Menu));
        }
        EXPECT_TRUE(gate.IsOpen(Waiting::Menu));
    }
    EXPECT_FALSE(gate.IsWaiting());
}

// ------------------------------------------------- the engine behind the gate

class Waits : public ::testing::Test {
protected:
    void SetUp() override { fake.profile.Set("Settings", "First Start", 0u); }
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    void Guard(const char* flag) {
        fake.profile.Set("Settings", flag, 1u);
        PlantPassword(fake, "pw");
    }
    MessageReply Send(unsigned message, std::uintptr_t wParam = 0) {
        return Kernel().ProcessMessage(message, wParam, 0);
    }
    void Hide(WindowHandle w) {
        fake.desktop.Raise(w);
        Send(wm::kCommand, ID_HIDE_WINDOW);
    }
    bool Visible(WindowHandle w) { return fake.desktop.Get(w).visible; }
    // The list of hidden windows, as its menu would show it now.
    platform::MenuModel ListMenu() { return Kernel().Tray().HiddenWindowItems(); }
    // Opens the list of hidden windows from the icon and chooses item n.
    void Choose(std::size_t n) {
        fake.menus.choose = [n](const platform::MenuModel& menu) { return n < menu.size() ? menu[n].id : 0; };
        Kernel().Run({Verb::ShowList}, Origin::TrayClick);
        fake.menus.choose = nullptr;
    }

    FakePlatform fake;
    std::unique_ptr<CAppKernel> kernel;
};

TEST_F(Waits, AListItemShowsItsOwnWindowAfterTheListMovedDuringThePrompt) {
    Guard("m_bPassOnShow");
    const WindowHandle a = fake.desktop.Add("App", "A"), b = fake.desktop.Add("App", "B"),
                       c = fake.desktop.Add("App", "C");
    for (WindowHandle w : {a, b, c}) Hide(w);
    const auto items = ListMenu();
    ASSERT_EQ(items.size(), 3u);
    ASSERT_EQ(items[1].text, "B");

    // While the prompt waits, A's program shows A and the user hides it again:
    // A's record moves to the end, where C was.
    fake.prompts.whilePromptOpen = [&] {
        fake.prompts.whilePromptOpen = nullptr;
        fake.desktop.ShowWindow(a);
        Hide(a);
    };
    fake.prompts.answers = {{true, "pw"}};
    Choose(1);
    EXPECT_TRUE(Visible(b));
    EXPECT_FALSE(Visible(a));
    EXPECT_FALSE(Visible(c));

    // An item whose window went meanwhile shows nothing, and asks nothing.
    const auto again = ListMenu();
    ASSERT_EQ(again.size(), 2u);
    ASSERT_EQ(again[0].text, "C");
    const int asked = fake.prompts.asked;
    fake.menus.whileTracking = [&](const platform::MenuModel&) { fake.desktop.Destroy(c); };
    Choose(0);
    fake.menus.whileTracking = nullptr;
    EXPECT_EQ(fake.prompts.asked, asked);
    fake.prompts.answers = {{true, "pw"}};
    Choose(0);
    EXPECT_TRUE(Visible(a));
    EXPECT_TRUE(Kernel().Commands().HiddenList().empty());
}

TEST_F(Waits, TheEndOfTheSessionNeverPromptsAndShowsOnlyWhatNeedsNoPassword) {
    struct Case {
        bool passOnShow, showOnClose, shown;
    };
    for (const Case c : {Case{false, true, true}, Case{true, true, false}, Case{false, false, false},
                         Case{true, false, false}}) {
        FakePlatform local;
        local.profile.Set("Settings", "First Start", 0u);
        local.profile.Set("Settings", "m_bPassOnShow", c.passOnShow ? 1u : 0u);
        local.profile.Set("Settings", "m_bPassOnClose", 1u);
        local.profile.Set("Settings", "m_bShowOnClose", c.showOnClose ? 1u : 0u);
        const WindowHandle w = local.desktop.Add("App", "guarded");
        auto k = StartKernel(local);
        k->ProcessMessage(wm::kCommand, ID_HIDE_WINDOW, 0);
        ASSERT_FALSE(local.desktop.Get(w).visible);

        EXPECT_TRUE(k->ProcessMessage(wm::kEndSession, 1, 0).endProgram);
        EXPECT_EQ(local.prompts.asked, 0) << c.passOnShow << c.showOnClose;
        EXPECT_EQ(local.desktop.Get(w).visible, c.shown) << c.passOnShow << c.showOnClose;
        // What stays hidden stays in the journal for a session that goes on.
        EXPECT_EQ(local.hiddenJournal.value.has_value(), !c.shown);
    }
}

TEST_F(Waits, ShowWindowPressedAgainDuringItsPromptBringsThePromptBack) {
    Guard("m_bPassOnShow");
    const WindowHandle w = fake.desktop.Add("App", "w");
    Hide(w);
    fake.prompts.whilePromptOpen = [&] { Send(wm::kHotKey, 1); };
    fake.prompts.answers = {{true, "pw"}};
    Send(wm::kCommand, ID_SHOW_WINDOW);
    EXPECT_EQ(fake.prompts.asked, 1);
    EXPECT_EQ(fake.prompts.fronted, std::vector<Waiting>{Waiting::Prompt});
    EXPECT_TRUE(Visible(w));
}

TEST_F(Waits, WindowsGroupsOkCannotHappenUnderPreferencesSoItsActionResetStands) {
    fake.profile.Set("Settings", "m_uAction", 8u);  // hide group 0
    fake.prompts.preferences = [&](PreferencesForm&) {
        Send(wm::kCommand, ID_WINDOWS_GROUPS);
        return true;
    };
    fake.prompts.windowsGroups = [](GroupsForm&) { return true; };
    Send(wm::kCommand, ID_PREFERENCES);
    EXPECT_EQ(fake.prompts.groupsRuns, 0);
    EXPECT_EQ(fake.prompts.fronted, std::vector<Waiting>{Waiting::Preferences});
    // Once Preferences is closed, Windows Groups opens and its reset holds.
    fake.prompts.preferences = nullptr;
    Send(wm::kCommand, ID_WINDOWS_GROUPS);
    EXPECT_EQ(Kernel().Settings().Prefs().m_uAction.Stored(), 0u);
}

}  // namespace
