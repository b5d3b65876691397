#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"

namespace {

class GroupCommands : public ::testing::Test {
protected:
    void SetUp() override { fake.profile.Set("Settings", "First Start", 0u); }

    void Slot(int i, const std::string& search, unsigned compare) {
        WriteGroupSlot(fake.profile, i, {"group " + std::to_string(i), search, compare});
    }
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    bool Visible(WindowHandle w) { return desk.Get(w).visible; }
    // The tray click with click action value action.
    void Click(unsigned action) {
        ChangePreferences(fake, Kernel(), [&](Preferences& p) { p.m_uAction = ClickAction(action); });
        Kernel().ProcessMessage(wm::kTrayNotify, 128, wm::kLButtonUp);
    }

    FakePlatform fake;
    FakeDesktop& desk = fake.desktop;
    std::unique_ptr<CAppKernel> kernel;
    NoPassword none;
};

TEST_F(GroupCommands, IncludeFindsTheTextAnywhereButOnlyInItsOwnCase) {
    Slot(0, "Report", GROUP_COMPARE_INCLUDE);
    const WindowHandle start = desk.Add("App", "Report 2026");
    const WindowHandle middle = desk.Add("App", "The Report draft");
    const WindowHandle end = desk.Add("App", "Quarterly Report");
    const WindowHandle lower = desk.Add("App", "quarterly report");
    const WindowHandle other = desk.Add("App", "Mail");
    auto& k = Kernel();
    EXPECT_TRUE(k.Commands().HideGroup(0));
    EXPECT_FALSE(Visible(start) || Visible(middle) || Visible(end));
    EXPECT_TRUE(Visible(lower) && Visible(other));
    ASSERT_EQ(k.Commands().HiddenList().size(), 3u);
    for (const auto& r : k.Commands().HiddenList()) {
        EXPECT_EQ(r.m_nGroupId, k.Groups().At(0)->Id());
        EXPECT_TRUE(r.IsPrincipal());
        EXPECT_TRUE(r.m_bActivate);
    }
    EXPECT_EQ(k.Commands().HiddenList()[0].m_hWindow, start);  // top to bottom
}

TEST_F(GroupCommands, EqualWantsTheWholeCaption) {
    Slot(0, "Calculator", GROUP_COMPARE_EQUAL);
    const WindowHandle same = desk.Add("App", "Calculator");
    const WindowHandle blank = desk.Add("App", "Calculator ");
    const WindowHandle upper = desk.Add("App", "CALCULATOR");
    auto& k = Kernel();
    EXPECT_TRUE(k.Commands().HideGroup(0));
    EXPECT_FALSE(Visible(same));
    EXPECT_TRUE(Visible(blank) && Visible(upper));
}

TEST_F(GroupCommands, OnlyTheFirst1023CharactersOfACaptionCount) {
    Slot(0, "needle", GROUP_COMPARE_INCLUDE);
    const WindowHandle inside = desk.Add("App", std::string(1017, 'x') + "needle");
    const WindowHandle beyond = desk.Add("App", std::string(1018, 'x') + "needle");
    auto& k = Kernel();
    k.Run({Verb::HideGroup, 0}, Origin::Menu);
    EXPECT_FALSE(Visible(inside));
    EXPECT_TRUE(Visible(beyond));
}

TEST_F(GroupCommands, AMatchingDialogTakesItsWholeFamily) {
    Slot(0, "Save As", GROUP_COMPARE_EQUAL);
    const WindowHandle owner = desk.Add("Editor", "Editor");
    const WindowHandle palette = desk.Add("Tool", "Palette", true, owner);
    const WindowHandle dialog = desk.Add("#32770", "Save As", true, owner);
    const WindowHandle stranger = desk.Add("Other", "Other");
    desk.Raise(dialog);
    auto& k = Kernel();
    EXPECT_TRUE(k.Commands().HideGroup(0));
    EXPECT_FALSE(Visible(owner) || Visible(palette) || Visible(dialog));
    EXPECT_TRUE(Visible(stranger));
    ASSERT_EQ(k.Commands().HiddenList().size(), 3u);
    EXPECT_EQ(k.Commands().HiddenList()[0].m_hWindow, owner);
    EXPECT_FALSE(k.Commands().HiddenList()[0].m_bActivate);
    EXPECT_EQ(k.Commands().HiddenList()[1].m_hWindow, dialog);
    EXPECT_TRUE(k.Commands().HiddenList()[1].m_bActivate);

    EXPECT_TRUE(k.Commands().ShowGroup(0, none));
    EXPECT_TRUE(Visible(owner) && Visible(palette) && Visible(dialog));
    EXPECT_TRUE(k.Commands().HiddenList().empty());
    // Nothing is activated by a group show.
    EXPECT_FALSE(desk.foreground);
}

TEST_F(GroupCommands, TheToggleHidesThenShows) {
    Slot(0, "Chat", GROUP_COMPARE_INCLUDE);
    const WindowHandle chat = desk.Add("App", "Chat");
    auto& k = Kernel();
    EXPECT_TRUE(k.Commands().HideGroup(0));
    EXPECT_FALSE(k.Commands().HideGroup(0));  // nothing visible matches any more
    k.Run({Verb::ToggleGroup, 0}, Origin::Menu);
    EXPECT_TRUE(Visible(chat));
    k.Run({Verb::ToggleGroup, 0}, Origin::Menu);
    EXPECT_FALSE(Visible(chat));
}

TEST_F(GroupCommands, ShowGroupShowsOnlyItsOwnWindows) {
    Slot(0, "Doc", GROUP_COMPARE_INCLUDE);
    Slot(1, "Sheet", GROUP_COMPARE_INCLUDE);
    const WindowHandle byHand = desk.Add("App", "Doc by hand");
    const WindowHandle doc = desk.Add("App", "Doc");
    const WindowHandle sheet = desk.Add("App", "Sheet");
    auto& k = Kernel();
    k.Run({Verb::HideWindow}, Origin::Menu);  // "Doc by hand", hidden by the plain command
    EXPECT_TRUE(k.Commands().HideGroup(0));
    EXPECT_TRUE(k.Commands().HideGroup(1));
    EXPECT_TRUE(k.Commands().ShowGroup(0, none));
    EXPECT_TRUE(Visible(doc));
    EXPECT_FALSE(Visible(byHand) || Visible(sheet));
    EXPECT_FALSE(k.Commands().ShowGroup(0, none));
}

TEST_F(GroupCommands, AGroupKeepsItsWindowsWhenAnEarlierGroupIsDeleted) {
    Slot(0, "First", GROUP_COMPARE_INCLUDE);
    Slot(1, "Second", GROUP_COMPARE_INCLUDE);
    const WindowHandle second = desk.Add("App", "Second");
    auto& k = Kernel();
    k.Run({Verb::HideGroup, 1}, Origin::Menu);

    // The dialog's result: only the former second group, keeping its id.
    std::vector<std::unique_ptr<CWindowsGroup>> result;
    result.push_back(CopyGroup(*k.Groups().At(1)));
    result[0]->m_strSearch = "Second";
    k.Dialogs().ReplaceGroups(result);
    ASSERT_EQ(k.Groups().size(), 1u);
    EXPECT_EQ(k.Groups().At(0)->m_HotKeys[0].HotKeyID(), 25);

    // Its show hot-key is now 26.
    k.ProcessMessage(wm::kHotKey, 26, 0);
    EXPECT_TRUE(Visible(second));
}

TEST_F(GroupCommands, ShowGroupAsksThePasswordEvenWithNothingHidden) {
    Slot(0, "Doc", GROUP_COMPARE_INCLUDE);
    const WindowHandle doc = desk.Add("App", "Doc");
    fake.profile.Set("Settings", "m_bPassOnShow", 1u);
    auto& k = Kernel();
    const Command show{Verb::ShowGroup, 0};
    EXPECT_EQ(k.Run(show, Origin::Menu).result, CommandResult::Refused);
    EXPECT_EQ(fake.prompts.asked, 1);

    k.Run({Verb::HideGroup, 0}, Origin::Menu);  // hiding never asks
    EXPECT_EQ(fake.prompts.asked, 1);
    EXPECT_EQ(k.Run(show, Origin::Menu).result, CommandResult::Refused);  // cancelled
    EXPECT_FALSE(Visible(doc));
    fake.prompts.answers = {{true, ""}};
    EXPECT_EQ(k.Run(show, Origin::Menu).result, CommandResult::Done);
    EXPECT_TRUE(Visible(doc));
}

TEST_F(GroupCommands, HotKeysAndTrayActionsReachTheirGroups) {
    Slot(0, "Alpha", GROUP_COMPARE_INCLUDE);
    Slot(1, "Beta", GROUP_COMPARE_INCLUDE);
    const WindowHandle alpha = desk.Add("App", "Alpha");
    const WindowHandle beta = desk.Add("App", "Beta");
    auto& k = Kernel();
    k.ProcessMessage(wm::kHotKey, 27, 0);  // hide group 1
    EXPECT_FALSE(Visible(beta));
    EXPECT_TRUE(Visible(alpha));
    k.ProcessMessage(wm::kHotKey, 25, 0);  // hide group 0
    EXPECT_FALSE(Visible(alpha));
    k.ProcessMessage(wm::kHotKey, 26, 0);  // show group 0
    EXPECT_TRUE(Visible(alpha));
    k.ProcessMessage(wm::kHotKey, 29, 0);  // no group 2: nothing
    k.ProcessMessage(wm::kHotKey, 24, 0);
    EXPECT_FALSE(Visible(beta));

    Click(12);  // show group 1
    EXPECT_TRUE(Visible(beta));
    Click(11);  // hide group 1
    EXPECT_FALSE(Visible(beta));
    Click(13);  // toggle group 1: nothing left to hide, so shows
    EXPECT_TRUE(Visible(beta));
}

TEST_F(GroupCommands, PositionsAndModesThatNameNothingDoNothing) {
    Slot(0, "Alpha", 7);
    const WindowHandle alpha = desk.Add("App", "Alpha");
    auto& k = Kernel();
    EXPECT_FALSE(k.Commands().HideGroup(0));
    EXPECT_FALSE(k.Commands().HideGroup(1));
    EXPECT_FALSE(k.Commands().HideGroup(-1));
    EXPECT_FALSE(k.Commands().ShowGroup(1, none));
    EXPECT_TRUE(Visible(alpha));
}

TEST_F(GroupCommands, NotEqualHidesEveryOtherCaption) {
    Slot(0, "Keep", GROUP_COMPARE_NOT_EQUAL);
    const WindowHandle keep = desk.Add("App", "Keep");
    const WindowHandle go = desk.Add("App", "Go");
    auto& k = Kernel();
    EXPECT_TRUE(k.Commands().HideGroup(0));
    EXPECT_TRUE(Visible(keep));
    EXPECT_FALSE(Visible(go));
}

}  // namespace
