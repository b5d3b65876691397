#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"

namespace {

class Hiding : public ::testing::Test {
protected:
    void SetUp() override { taskbar = desk.Add("Shell_TrayWnd", "", true); }

    // The kernel, or the selection alone, is made once the desktop is laid
    // out, with our frame at the bottom of the z-order.
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake, Frame());
        return *kernel;
    }
    CHider& Hider() {
        hider.SetFrame(Frame());
        return hider;
    }
    WindowHandle Frame() {
        if (!frame) frame = desk.Add("TarnvellFrame", "Tarnvell", false);
        return frame;
    }
    void Plant(const std::string& setting, unsigned value) { fake.profile.Set("Settings", setting, value); }
    bool Visible(WindowHandle w) { return desk.Get(w).visible; }
    const CHiddenList& List() { return Kernel().Commands().HiddenList(); }
    std::string Tip() { return fake.notifyShell.icons.begin()->second.tip; }
    NoPassword none;

    FakePlatform fake;
    FakeDesktop& desk = fake.desktop;
    WindowHandle taskbar, frame;
    std::unique_ptr<CAppKernel> kernel;
    CHider hider{desk};
};

TEST_F(Hiding, OnlyWholeCaseExactSystemClassesAreFiltered) {
    const WindowHandle tip = desk.Add("tooltips_class32");
    const WindowHandle longer = desk.Add("tooltips_class32x");
    const WindowHandle upper = desk.Add("SHELL_TRAYWND");
    const WindowHandle hidden = desk.Add("Notepad", "n", false);
    const WindowHandle minimised = desk.Add("Notepad", "m");  // minimised windows count as visible
    const WindowHandle longClass = desk.Add(std::string(62, 'A') + "Progman");
    auto& h = Hider();
    EXPECT_FALSE(h.IsEligible(taskbar));
    EXPECT_FALSE(h.IsEligible(tip));
    EXPECT_TRUE(h.IsEligible(longer));
    EXPECT_TRUE(h.IsEligible(upper));
    EXPECT_FALSE(h.IsEligible(hidden));
    EXPECT_TRUE(h.IsEligible(minimised));
    EXPECT_TRUE(h.IsEligible(longClass));
    EXPECT_FALSE(h.IsEligible(frame));
    for (const char* name : {"Indicator", "Progman", "SysListView32", "Shell_TrayWnd", "BaseBar", "ReBarWindow32",
                             "ToolbarWindow32", "tooltips_class32", "tooltips_class", "SysShadow"})
        EXPECT_FALSE(h.IsEligible(desk.Add(name))) << name;
}

TEST_F(Hiding, TheFirstEligibleWindowIsBelowTheTaskbarAndTooltips) {
    desk.Add("tooltips_class32");
    const WindowHandle app = desk.Add("Notepad", "a");
    auto& h = Hider();
    EXPECT_EQ(h.FirstEligible(), app);
    // The same answer where GetWindow without a reference works.
    desk.firstFromNull = true;
    EXPECT_EQ(h.FirstEligible(), app);
}

TEST_F(Hiding, NoEligibleWindowMeansNothingToHide) {
    desk.Add("tooltips_class32");
    desk.Add("Progman");
    EXPECT_FALSE(Hider().FirstEligible());
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    k.Run({Verb::HideAll}, Origin::Menu);
    EXPECT_TRUE(List().empty());
    EXPECT_FALSE(desk.foreground);
}

TEST_F(Hiding, RootsFollowOwnersAndParents) {
    const WindowHandle main = desk.Add("Main", "m");
    const WindowHandle dialog = desk.Add("#32770", "d", true, main);
    const WindowHandle nested = desk.Add("#32770", "n", true, dialog);
    const WindowHandle alone = desk.Add("Main", "alone");
    auto& h = Hider();
    EXPECT_EQ(h.Root(nested), main);
    EXPECT_EQ(h.Root(dialog), main);
    EXPECT_EQ(h.Root(main), main);
    EXPECT_EQ(h.Root(alone), alone);
}

TEST_F(Hiding, HideWindowTakesTheWholeFamilyPrincipalFirst) {
    const WindowHandle tool1 = desk.Add("Tool", "t1", true);
    const WindowHandle other = desk.Add("Other", "o");
    const WindowHandle tool2 = desk.Add("Tool", "t2", true);
    const WindowHandle main = desk.Add("Main", "m");
    desk.Get(tool1).parent = main;
    desk.Get(tool2).parent = main;
    desk.Raise(main);  // the owner is topmost: it is the aimed window
    fake.module.strings[141] = "%u hidden windows";
    Plant("m_bShowHiddenInTip", 1);
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);

    ASSERT_EQ(List().size(), 3u);
    EXPECT_EQ(List()[0].m_hWindow, main);
    EXPECT_FALSE(List()[0].m_hPrincipal);
    EXPECT_TRUE(List()[0].m_bActivate);
    EXPECT_EQ(List()[1].m_hWindow, tool1);
    EXPECT_EQ(List()[2].m_hWindow, tool2);
    for (int i : {1, 2}) {
        EXPECT_EQ(List()[i].m_hPrincipal, main);
        EXPECT_FALSE(List()[i].m_bActivate);
        EXPECT_EQ(List()[i].m_nGroupId, -1);
    }
    EXPECT_FALSE(Visible(main) || Visible(tool1) || Visible(tool2));
    EXPECT_TRUE(Visible(other));
    EXPECT_EQ(desk.foreground, other);
    EXPECT_EQ(desk.active, other);
    EXPECT_EQ(Tip(), "3 hidden windows");
}

TEST_F(Hiding, AModalDialogOnTopIsAimedAndShownBeforeItsOwner) {
    const WindowHandle main = desk.Add("Main", "m");
    const WindowHandle dialog = desk.Add("#32770", "d", true, main);
    desk.Raise(dialog);
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    ASSERT_EQ(List().size(), 2u);
    EXPECT_EQ(List()[0].m_hWindow, main);
    EXPECT_FALSE(List()[0].m_bActivate);
    EXPECT_EQ(List()[1].m_hWindow, dialog);
    EXPECT_TRUE(List()[1].m_bActivate);

    // Show Window brings back the dialog alone, and activates it.
    k.Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(dialog));
    EXPECT_FALSE(Visible(main));
    EXPECT_EQ(desk.foreground, dialog);
    ASSERT_EQ(List().size(), 1u);
    k.Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(main));
    EXPECT_TRUE(List().empty());
}

TEST_F(Hiding, ShowingAPrincipalBringsItsDependentsAndActivatesTheAimedOne) {
    const WindowHandle main = desk.Add("Main", "m");
    const WindowHandle dialog = desk.Add("#32770", "d", true, main);
    const WindowHandle later = desk.Add("Later", "l");
    desk.Raise(dialog);
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    k.Run({Verb::HideWindow}, Origin::Menu);  // "later" is next
    ASSERT_EQ(List().size(), 3u);

    // The list menu's entry for position 0 shows the family and keeps the rest.
    k.Commands().ShowHidden(0, none);
    EXPECT_TRUE(Visible(main) && Visible(dialog));
    EXPECT_FALSE(Visible(later));
    EXPECT_EQ(desk.foreground, dialog);
    ASSERT_EQ(List().size(), 1u);
    EXPECT_EQ(List()[0].m_hWindow, later);

    // Positions outside the list change nothing.
    k.Commands().ShowHidden(5, none);
    k.Commands().ShowHidden(-2, none);
    EXPECT_EQ(List().size(), 1u);
    EXPECT_FALSE(Visible(later));
}

TEST_F(Hiding, InvisibleRootMakesTheWindowItsOwnPrincipal) {
    const WindowHandle root = desk.Add("Hidden", "h", false);
    const WindowHandle a = desk.Add("Tool", "a", true, root);
    const WindowHandle b = desk.Add("Tool", "b", true, root);
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    ASSERT_EQ(List().size(), 2u);
    EXPECT_EQ(List()[0].m_hWindow, a);
    EXPECT_TRUE(List()[0].m_bActivate);
    EXPECT_EQ(List()[1].m_hWindow, b);
    EXPECT_EQ(List()[1].m_hPrincipal, a);
    EXPECT_FALSE(Visible(root) || Visible(a) || Visible(b));
}

TEST_F(Hiding, ShowAllReturnsFamiliesInReverseAndActivatesOnlyTheFirstHidden) {
    const WindowHandle a = desk.Add("A", "a");
    const WindowHandle b = desk.Add("B", "b");
    const WindowHandle c = desk.Add("C", "c");
    auto& k = Kernel();
    k.Run({Verb::HideAll}, Origin::Menu);
    ASSERT_EQ(List().size(), 3u);
    EXPECT_FALSE(desk.foreground);  // Hide All activates nothing
    desk.actions.clear();

    k.Run({Verb::ShowAll}, Origin::Menu);
    std::vector<std::pair<std::string, WindowHandle>> expected = {
        {"show", c}, {"show", b}, {"show", a}, {"foreground", a}, {"active", a}};
    EXPECT_EQ(desk.actions, expected);
    EXPECT_TRUE(List().empty());
}

TEST_F(Hiding, TheDesignatedWindowTogglesAndAsksOnlyWhenShowing) {
    const WindowHandle a = desk.Add("A", "a");
    const WindowHandle b = desk.Add("B", "b");
    Plant("m_bPassOnShow", 1);
    PlantPassword(fake, "pw");
    auto& k = Kernel();
    k.Run({Verb::ToggleWindow}, Origin::Menu);
    EXPECT_EQ(k.Commands().Designated(), a);
    EXPECT_FALSE(Visible(a));
    EXPECT_EQ(fake.prompts.asked, 0);

    fake.prompts.answers = {{true, "wrong"}};
    k.Run({Verb::ToggleWindow}, Origin::Menu);
    EXPECT_FALSE(Visible(a));
    EXPECT_EQ(k.Commands().Designated(), a);

    fake.prompts.answers = {{true, "pw"}};
    k.Run({Verb::ToggleWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(a));
    EXPECT_FALSE(k.Commands().Designated());
    EXPECT_EQ(desk.foreground, a);

    // Shown meanwhile by another command: the next toggle hides the top.
    k.Run({Verb::ToggleWindow}, Origin::Menu);
    fake.prompts.answers = {{true, "pw"}};
    k.Run({Verb::ShowAll}, Origin::Menu);
    desk.Raise(b);
    k.Run({Verb::ToggleWindow}, Origin::Menu);
    EXPECT_EQ(k.Commands().Designated(), b);
    EXPECT_FALSE(Visible(b));
}

TEST_F(Hiding, RefusedPasswordsChangeNothing) {
    const WindowHandle a = desk.Add("A", "a");
    Plant("m_bPassOnShow", 1);
    Plant("m_bShowHiddenInTip", 1);
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    const auto callsBefore = fake.notifyShell.calls.size();

    k.Run({Verb::ShowWindow}, Origin::Menu);      // cancelled
    k.Run({Verb::ShowAll}, Origin::Menu);    // cancelled
    k.Run({Verb::ToggleAll}, Origin::Menu);  // shows, so asks: cancelled
    EXPECT_EQ(fake.prompts.asked, 3);
    EXPECT_FALSE(Visible(a));
    EXPECT_EQ(List().size(), 1u);
    // Not even the tray is refreshed.
    EXPECT_EQ(fake.notifyShell.calls.size(), callsBefore);

    // With an empty list nothing asks.
    fake.prompts.answers = {{true, ""}};
    k.Run({Verb::ShowAll}, Origin::Menu);
    EXPECT_TRUE(List().empty());
    const int asked = fake.prompts.asked;
    k.Run({Verb::ShowWindow}, Origin::Menu);
    k.Run({Verb::ShowAll}, Origin::Menu);
    EXPECT_EQ(fake.prompts.asked, asked);
}

TEST_F(Hiding, ExitShowsEverythingOnlyWhenAsked) {
    const WindowHandle a = desk.Add("A", "a");
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    ChangePreferences(fake, k, [](Preferences& p) { p.m_bShowOnClose = false; });
    k.Run({Verb::Exit}, Origin::Menu);
    EXPECT_FALSE(Visible(a));
    ChangePreferences(fake, k, [](Preferences& p) { p.m_bShowOnClose = true; });
    k.Run({Verb::Exit}, Origin::Menu);
    EXPECT_TRUE(Visible(a));
}

TEST_F(Hiding, TrayRefreshFollowsTheListAndTheOptions) {
    desk.Add("A", "a");
    desk.Add("B", "b");
    auto& k = Kernel();
    const auto& icon = fake.notifyShell.icons.begin()->second;

    k.Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_EQ(icon.tip, "Tarnvell");  // count in the tip is off
    EXPECT_FALSE(icon.hidden);        // and so is hiding the icon

    ChangePreferences(fake, k, [](Preferences& p) { p.m_bShowHiddenInTip = p.m_bHideIcon = true; });
    k.Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_EQ(icon.tip, "2 hidden windows");
    EXPECT_TRUE(icon.hidden);
    EXPECT_TRUE(k.TrayIcon().IsHidden());

    k.Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_EQ(icon.tip, "1 hidden windows");  // one plural wording for every count
    EXPECT_TRUE(icon.hidden);
    k.Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_EQ(icon.tip, "Tarnvell");
    EXPECT_FALSE(icon.hidden);
}

// A hide counts when it happens: a window that keeps itself on screen (its
// program refuses, or the system refuses at once for a program of higher
// rights) is tried once, never recorded, journaled or counted, and named in a
// balloon; Hide All still takes the others.
TEST_F(Hiding, AWindowThatKeepsItselfOnScreenIsNeverRecordedAndIsNamed) {
    const struct {
        bool denied, elevated;
        const char* says;
    } cases[] = {
        {false, false, "Tarnvell could not hide \"Stubborn\"."},
        {true, true,
         "Tarnvell could not hide \"Stubborn\". It runs with administrator rights. Start Tarnvell as administrator "
         "to hide it."},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        fake.profile.Set("Settings", "First Start", 0u);
        fake.profile.Set("Settings", "m_bShowHiddenInTip", 1u);
        const WindowHandle stubborn = fake.desktop.Add("A", "Stubborn");
        const WindowHandle b = fake.desktop.Add("B", "b");
        auto& w = fake.desktop.Get(stubborn);
        (c.denied ? w.denied : w.refusesHide) = true;
        w.elevated = c.elevated;
        auto k = StartKernel(fake);
        const auto& icon = fake.notifyShell.icons.begin()->second;

        // Hide Window does not take another window instead, and pressed again
        // tries again.
        for (int press = 0; press < 2; ++press) {
            EXPECT_EQ(k->Run({Verb::HideWindow}, Origin::HotKey).result, CommandResult::NothingHidden);
            EXPECT_TRUE(k->Commands().HiddenList().empty());
            EXPECT_TRUE(fake.desktop.Get(b).visible);
        }
        EXPECT_FALSE(fake.hiddenJournal.value);
        EXPECT_EQ(icon.tip, "Tarnvell");
        ASSERT_EQ(icon.balloons.size(), 2u);
        EXPECT_EQ(icon.balloons.back(), std::make_pair(std::string("Tarnvell"), std::string(c.says)));

        fake.desktop.sleptMs = 0;
        EXPECT_EQ(k->Run({Verb::HideAll}, Origin::CommandLine).result, CommandResult::Done);
        ASSERT_EQ(k->Commands().HiddenList().size(), 1u);
        EXPECT_EQ(k->Commands().HiddenList()[0].m_hWindow, b);
        EXPECT_EQ(icon.tip, "1 hidden windows");
        // Asked once, and the wait for it bounded.
        EXPECT_EQ(std::count(fake.desktop.actions.begin(), fake.desktop.actions.end(),
                             std::pair<std::string, WindowHandle>("hide", stubborn)),
                  3);
        EXPECT_LE(fake.desktop.sleptMs, CHider::kWaitQuietMs + 2 * CHider::kWaitStepMs);
    }
}

TEST_F(Hiding, TheBalloonCountsTheOtherWindowsThatStayed) {
    for (const WindowHandle w : {desk.Add("A", "First"), desk.Add("B", "Second"), desk.Add("C", "Third")})
        desk.Get(w).refusesHide = true;
    desk.Add("D", "goes");
    Kernel().Run({Verb::HideAll}, Origin::Menu);
    EXPECT_EQ(List().size(), 1u);
    EXPECT_EQ(fake.notifyShell.icons.begin()->second.balloons.back().second,
              "Tarnvell could not hide \"First\". It could not hide 2 other windows either.");
}

// A family whose principal stayed keeps the windows that went within reach.
TEST_F(Hiding, WhenOnlyTheOwnerStaysItsDialogIsRecordedOnItsOwn) {
    const WindowHandle owner = desk.Add("Main", "owner");
    const WindowHandle dialog = desk.Add("#32770", "d", true, owner);
    const WindowHandle palette = desk.Add("Tool", "p", true, owner);
    desk.Get(owner).refusesHide = true;
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    ASSERT_EQ(List().size(), 2u);
    EXPECT_TRUE(List()[0].IsPrincipal());
    EXPECT_EQ(List()[1].m_hPrincipal, List()[0].m_hWindow);
    // The list names the family once, and its item brings both back.
    EXPECT_EQ(k.Tray().HiddenWindowItems().size(), 1u);
    k.Run({Verb::ShowListed, -1, {}, List()[0].m_hWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(dialog) && Visible(palette));
    EXPECT_TRUE(List().empty());
}

TEST_F(Hiding, AHungApplicationNeverHoldsUpACommand) {
    const WindowHandle hung = desk.Add("A", "a");
    const WindowHandle b = desk.Add("B", "b");
    desk.Get(hung).hung = true;
    auto& k = Kernel();

    k.Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_EQ(List().size(), 1u);  // recorded although still visible
    EXPECT_TRUE(Visible(hung));
    EXPECT_LE(desk.sleptMs, 2 * (CHider::kWaitQuietMs + CHider::kWaitStepMs));

    // When the application wakes, its hide completes, and the record brings
    // it back.
    desk.Wake(hung);
    EXPECT_FALSE(Visible(hung));
    k.Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Visible(hung));
    EXPECT_TRUE(Visible(b));
}

TEST_F(Hiding, AWindowThatHidesLateIsWaitedFor) {
    const WindowHandle slow = desk.Add("A", "a");
    const WindowHandle next = desk.Add("B", "b");
    desk.Get(slow).hideDelay = 5;
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_FALSE(Visible(slow));
    // The next window is activated only once the hidden one is gone.
    EXPECT_EQ(desk.foreground, next);
}

TEST_F(Hiding, WindowsThatVanishAreToleratedAndTheirRecordsDropped) {
    const WindowHandle a = desk.Add("A", "a");
    const WindowHandle b = desk.Add("B", "b");
    auto& k = Kernel();
    k.Run({Verb::HideAll}, Origin::Menu);
    desk.Destroy(a);
    k.Run({Verb::ShowAll}, Origin::Menu);
    EXPECT_TRUE(List().empty());
    EXPECT_TRUE(Visible(b));
    EXPECT_FALSE(Hider().IsEligible(a));
}

TEST_F(Hiding, MoreThanAHundredRecordsAreAllShownBack) {
    std::vector<WindowHandle> windows;
    for (int i = 0; i < 150; ++i) windows.push_back(desk.Add("W", "w" + std::to_string(i)));
    auto& k = Kernel();
    k.Run({Verb::HideAll}, Origin::Menu);
    EXPECT_EQ(List().size(), 150u);
    EXPECT_EQ(List().CountPrincipals(), 150);
    k.Run({Verb::ShowAll}, Origin::Menu);
    for (auto w : windows) EXPECT_TRUE(Visible(w));
}

}  // namespace
