#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/app_kernel.h"
#include "engine/command_line.h"
#include "engine/hidden_journal.h"
#include "engine_test.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

using platform::WindowEventKind;
constexpr unsigned kFirst = CWindowIcons::kFirstId;

class WindowIcons : public EngineTest {
protected:
    CAppKernel& Start(bool option = true) {
        if (option) fake.profile.Set("Settings", "m_bIconPerWindow", 1u);
        return EngineTest::Start();
    }
    WindowHandle Window(const std::string& caption) {
        const WindowHandle w = fake.desktop.Add("App", caption);
        fake.desktop.Raise(w);
        return w;
    }
    void Hide(WindowHandle w) { kernel->Run(Command{Verb::HideWindow, -1, {}, w}, Origin::Menu); }
    // The icons of hidden windows the shell holds, by identifier.
    std::vector<unsigned> Ids() const {
        std::vector<unsigned> ids;
        for (const auto& [key, icon] : fake.notifyShell.icons)
            if (key.first == frame.value && key.second >= kFirst) ids.push_back(key.second);
        return ids;
    }
    const FakeNotifyShell::Icon& IconOf(unsigned id) { return fake.notifyShell.icons.at({frame.value, id}); }
    std::string MainTip() { return fake.notifyShell.icons.at({frame.value, IDR_MAINFRAME}).tip; }
    void IconMessage(unsigned id, unsigned message) {
        kernel->ProcessMessage(wm::kWindowIconNotify, id, static_cast<std::intptr_t>(message));
    }
};

// Each hidden family gets an icon of its own: a copy of its window's icon,
// its caption as the tip, the icons' own callback and the version that
// brings the keyboard's messages; the hooks listen while an icon exists.
TEST_F(WindowIcons, EachHiddenFamilyGetsAnIconAndEachShowTakesItsIconAway) {
    Start();
    const WindowHandle mail = Window("Inbox - Mail");
    fake.desktop.Add("#32770", "Attach", true, mail);
    const WindowHandle notes = Window("Notes");
    Hide(mail);
    Hide(notes);
    ASSERT_EQ(Ids(), (std::vector<unsigned>{kFirst, kFirst + 1}));
    EXPECT_EQ(IconOf(kFirst).tip, "Inbox - Mail");
    EXPECT_EQ(IconOf(kFirst + 1).tip, "Notes");
    EXPECT_EQ(fake.notifyShell.liveCopies.at(IconOf(kFirst).image.value), mail);
    EXPECT_EQ(IconOf(kFirst).callbackMessage, wm::kWindowIconNotify);
    EXPECT_EQ(IconOf(kFirst).version, kNotifyIconVersion);
    EXPECT_EQ(fake.iconEvents.events, platform::window_events::kDestroyed | platform::window_events::kShown);

    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_EQ(Ids(), (std::vector<unsigned>{kFirst}));
    EXPECT_TRUE(fake.iconEvents.Running());
    // The dialog comes back first; the family keeps its icon until its
    // window is shown.
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_EQ(Ids(), (std::vector<unsigned>{kFirst}));
    kernel->Run({Verb::ShowWindow}, Origin::Menu);
    EXPECT_TRUE(Ids().empty());
    EXPECT_TRUE(fake.notifyShell.liveCopies.empty());
    EXPECT_EQ(fake.notifyShell.badDestroys, 0);
    EXPECT_FALSE(fake.iconEvents.Running());
}

// Whatever hides a family makes its icon: the menu's commands, a group, its
// rule, the gesture and the command line.
TEST_F(WindowIcons, EveryKindOfHideMakesIcons) {
    WriteGroupSlot(fake.profile, 0, {"Chat", "Chat", GROUP_COMPARE_INCLUDE, true});
    EndGroupSlots(fake.profile, 1);
    Start();
    const auto hideBy = [&](int way, WindowHandle w) {
        switch (way) {
            case 0: kernel->ProcessMessage(wm::kCommand, ID_HIDE_WINDOW, 0); break;
            case 1: kernel->Run({Verb::HideAll}, Origin::Menu); break;
            case 2: kernel->Run({Verb::HideGroup, 0}, Origin::HotKey); break;
            case 3: fake.windowEvents.Raise(WindowEventKind::Shown, w); break;
            case 4: kernel->ProcessMessage(wm::kMinimizeGesture, w.value, 0); break;
            case 5: SendCopyData(*kernel, EncodeRemoteCommand(Command{Verb::HideWindow})); break;
        }
    };
    for (int way = 0; way < 6; ++way) {
        const WindowHandle w = Window("Team Chat " + std::to_string(way));
        hideBy(way, w);
        ASSERT_FALSE(Visible(w)) << way;
        EXPECT_EQ(Ids().size(), static_cast<std::size_t>(way + 1)) << way;
        EXPECT_EQ(IconOf(kFirst + static_cast<unsigned>(way)).tip, "Team Chat " + std::to_string(way)) << way;
    }
}

// Beyond 32 families the list alone holds them, and Tarnvell's tip counts
// them; a family shown frees its icon's identifier for the next.
TEST_F(WindowIcons, ThirtyTwoIconsAtMostAndTheTipCountsTheRest) {
    Start();
    std::vector<WindowHandle> windows;
    for (int i = 0; i < 35; ++i) windows.push_back(Window("W" + std::to_string(i)));
    kernel->Run({Verb::HideAll}, Origin::Menu);
    EXPECT_EQ(Ids().size(), CWindowIcons::kMaxIcons);
    EXPECT_EQ(MainTip(), "Tarnvell\n3 more hidden windows, in the list only");

    const WindowHandle withIcon = kernel->WindowIcons().WindowOf(kFirst + 4);
    ASSERT_TRUE(withIcon);
    kernel->Run(Command{Verb::ShowListed, -1, {}, withIcon}, Origin::Menu);
    EXPECT_EQ(Ids().size(), CWindowIcons::kMaxIcons);
    EXPECT_NE(kernel->WindowIcons().WindowOf(kFirst + 4), withIcon);
    EXPECT_EQ(MainTip(), "Tarnvell\n2 more hidden windows, in the list only");

    kernel->Run({Verb::ShowAll}, Origin::Menu);
    EXPECT_TRUE(Ids().empty());
    EXPECT_EQ(MainTip(), "Tarnvell");
}

TEST_F(WindowIcons, ATipKeepsWholeCharactersWithinItsFieldAndAnUntitledWindowIsNamed) {
    fake.module.codePage = text::kUtf8CodePage;
    Start();
    ScopedCodePage utf8(fake.module);
    std::string caption;
    for (int i = 0; i < 100; ++i) caption += "\xC3\xA9";  // two bytes each
    Hide(Window(caption));
    Hide(Window(""));
    // 63 characters fit the 127 bytes before the terminator.
    EXPECT_EQ(IconOf(kFirst).tip, caption.substr(0, 126));
    EXPECT_EQ(IconOf(kFirst + 1).tip, "NO TITLE");
}

TEST_F(WindowIcons, ADestroyedHiddenWindowLosesItsIconAndItsRecord) {
    Start();
    const WindowHandle gone = Window("Gone");
    const WindowHandle stays = Window("Stays");
    Hide(gone);
    Hide(stays);
    const int writes = fake.hiddenJournal.writes;
    fake.desktop.Destroy(gone);
    fake.iconEvents.Raise(WindowEventKind::Destroyed, gone);
    EXPECT_EQ(Ids(), (std::vector<unsigned>{kFirst + 1}));
    EXPECT_EQ(kernel->Commands().HiddenList().Find(gone), -1);
    EXPECT_EQ(fake.hiddenJournal.writes, writes + 1);
    // The event may come while the window still answers as one.
    const WindowHandle leaving = Window("Leaving");
    Hide(leaving);
    fake.iconEvents.Raise(WindowEventKind::Destroyed, leaving);
    EXPECT_EQ(Ids(), (std::vector<unsigned>{kFirst + 1}));
    EXPECT_EQ(kernel->Commands().HiddenList().Find(leaving), -1);
    // Events of windows without an icon change nothing.
    const int after = fake.hiddenJournal.writes;
    fake.iconEvents.Raise(WindowEventKind::Destroyed, WindowHandle{0x4444});
    EXPECT_EQ(fake.hiddenJournal.writes, after);
}

// A window its own program showed keeps its line in the list but loses its
// icon; hidden again, it has one again.
TEST_F(WindowIcons, AWindowItsProgramShowedLosesItsIconUntilHiddenAgain) {
    Start();
    const WindowHandle w = Window("Player");
    Hide(w);
    fake.iconEvents.Raise(WindowEventKind::Shown, w);  // raised, but hidden again meanwhile
    EXPECT_EQ(Ids().size(), 1u);
    fake.desktop.Get(w).visible = true;
    fake.iconEvents.Raise(WindowEventKind::Shown, w);
    EXPECT_TRUE(Ids().empty());
    EXPECT_NE(kernel->Commands().HiddenList().Find(w), -1);
    EXPECT_FALSE(fake.iconEvents.Running());

    fake.desktop.Raise(w);
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_EQ(Ids().size(), 1u);
}

TEST_F(WindowIcons, ANewTaskbarGetsEveryIconAgainWithItsIdentifierAfterTarnvellsOwn) {
    Start();
    Hide(Window("A"));
    Hide(Window("B"));
    fake.notifyShell.calls.clear();
    fake.notifyShell.RestartTaskbar();
    EXPECT_EQ(Ids(), (std::vector<unsigned>{kFirst, kFirst + 1}));
    EXPECT_EQ(IconOf(kFirst + 1).tip, "B");
    EXPECT_EQ(IconOf(kFirst + 1).version, kNotifyIconVersion);
    std::vector<unsigned> added;
    for (const auto& call : fake.notifyShell.calls)
        if (call.message == nim::kAdd) added.push_back(call.data.uID);
    EXPECT_EQ(added, (std::vector<unsigned>{IDR_MAINFRAME, kFirst, kFirst + 1}));
}

TEST_F(WindowIcons, TheJournalsWindowsHaveIconsAtStart) {
    const WindowHandle left = fake.desktop.Add("App", "Left hidden", false);
    CWndDes record(left, 1, WindowHandle{}, -1);
    record.m_nProcessId = FakeDesktop::kOtherProcess;
    fake.hiddenJournal.value = journal::Encode({record});
    Start();
    ASSERT_EQ(Ids(), (std::vector<unsigned>{kFirst}));
    EXPECT_EQ(IconOf(kFirst).tip, "Left hidden");
}

// Off, nothing of them runs; turned on or off, the icons come or go at once.
TEST_F(WindowIcons, TheOptionTurnedOnOrOffMakesOrRemovesTheIconsAtOnce) {
    Start(false);
    Hide(Window("A"));
    kernel->Run({Verb::HideAll}, Origin::Menu);
    EXPECT_TRUE(Ids().empty());
    EXPECT_EQ(fake.notifyShell.copiesMade, 0);
    EXPECT_EQ(fake.iconEvents.starts, 0);
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bIconPerWindow = true; });
    EXPECT_EQ(Ids().size(), 1u);
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bIconPerWindow = false; });
    EXPECT_TRUE(Ids().empty());
    EXPECT_TRUE(fake.notifyShell.liveCopies.empty());
    EXPECT_FALSE(fake.iconEvents.Running());
}

TEST_F(WindowIcons, TheEngineGoingRemovesEveryIconAndGivesBackEveryCopy) {
    Start();
    Hide(Window("A"));
    Hide(Window("B"));
    kernel.reset();
    EXPECT_TRUE(Ids().empty());
    EXPECT_TRUE(fake.notifyShell.liveCopies.empty());
    EXPECT_EQ(fake.notifyShell.copiesDestroyed, 2);
    EXPECT_FALSE(fake.iconEvents.Running());
}

// ------------------------------------------------------------ clicks and keys

TEST_F(WindowIcons, TheLeftButtonOrEnterShowsThatFamilyOnly) {
    Start();
    const WindowHandle a = Window("A"), b = Window("B"), c = Window("C");
    Hide(a);
    Hide(b);
    Hide(c);
    IconMessage(kFirst + 1, wm::kLButtonDown);
    EXPECT_FALSE(Visible(b));
    IconMessage(kFirst + 1, wm::kLButtonUp);
    IconMessage(kFirst + 1, nin::kSelect);  // the shell's echo
    EXPECT_TRUE(Visible(b));
    EXPECT_FALSE(Visible(a));
    EXPECT_FALSE(Visible(c));
    EXPECT_EQ(Ids(), (std::vector<unsigned>{kFirst, kFirst + 2}));
    IconMessage(kFirst + 2, nin::kKeySelect);
    EXPECT_TRUE(Visible(c));
    EXPECT_FALSE(Visible(a));
    // An identifier without an icon, or past the last, does nothing.
    IconMessage(kFirst + 1, wm::kLButtonUp);
    IconMessage(kFirst + 40, wm::kLButtonUp);
    IconMessage(IDR_MAINFRAME, wm::kLButtonUp);
    EXPECT_FALSE(Visible(a));
    EXPECT_TRUE(fake.menus.tracked.empty());
}

// The right button, or the menu key, opens the icon's menu at the icon: Show
// in bold, Close, and Show All Windows below a line.
TEST_F(WindowIcons, TheRightButtonOpensTheIconsMenuAtTheIcon) {
    Start();
    const WindowHandle a = Window("A"), b = Window("B");
    Hide(a);
    Hide(b);
    fake.notifyShell.iconRect = platform::ScreenRect{900, 740, 916, 756};
    IconMessage(kFirst, wm::kRButtonUp);
    IconMessage(kFirst, wm::kContextMenu);  // the shell's echo of that click
    ASSERT_EQ(fake.menus.tracked.size(), 1u);
    const platform::MenuModel& menu = fake.menus.tracked[0];
    ASSERT_EQ(menu.size(), 4u);
    EXPECT_EQ(menu[0].text, "Show");
    EXPECT_TRUE(menu[0].isDefault);
    EXPECT_EQ(menu[1].text, "Close");
    EXPECT_FALSE(menu[1].isDefault);
    EXPECT_EQ(menu[2].kind, platform::MenuItem::Kind::Separator);
    EXPECT_EQ(menu[3].id, static_cast<unsigned>(ID_SHOW_ALL));
    EXPECT_EQ(menu[3].text, "Show All Windows\t");
    EXPECT_EQ(fake.menus.positions[0], (platform::ScreenPoint{908, 748}));
    EXPECT_FALSE(fake.menus.firstSelected[0]);
    EXPECT_FALSE(Visible(a));

    // Each item, chosen.
    const auto choose = [&](unsigned item, WindowHandle on) {
        fake.menus.choose = [item](const platform::MenuModel&) { return item; };
        fake.desktop.now += 1000;
        const int id = static_cast<int>(kFirst) + (on == a ? 0 : 1);
        IconMessage(static_cast<unsigned>(id), wm::kContextMenu);
    };
    choose(ID_WINDOW_ICON_SHOW, a);
    EXPECT_TRUE(Visible(a));
    EXPECT_FALSE(Visible(b));
    Hide(a);
    choose(ID_SHOW_ALL, a);
    EXPECT_TRUE(Visible(a));
    EXPECT_TRUE(Visible(b));
}

// Close shows the family first, then asks the window to close as its own
// close button would.
TEST_F(WindowIcons, CloseShowsTheWindowThenAsksItToClose) {
    Start();
    const WindowHandle a = Window("A");
    Hide(a);
    fake.desktop.actions.clear();
    fake.menus.choose = [](const platform::MenuModel&) { return unsigned{ID_WINDOW_ICON_CLOSE}; };
    IconMessage(kFirst, wm::kRButtonUp);
    const auto& acts = fake.desktop.actions;
    const auto show = std::find(acts.begin(), acts.end(), std::make_pair(std::string("show"), a));
    const auto close = std::find(acts.begin(), acts.end(), std::make_pair(std::string("close"), a));
    ASSERT_NE(show, acts.end());
    ASSERT_NE(close, acts.end());
    EXPECT_LT(show, close);
    EXPECT_TRUE(Ids().empty());
}

}  // namespace
