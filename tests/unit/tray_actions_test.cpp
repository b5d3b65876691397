#include <gtest/gtest.h>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

using platform::MenuItem;
using platform::MenuModel;
using Kind = platform::MenuItem::Kind;

MenuItem Str(unsigned id, std::string text) { return MenuItem{Kind::String, id, std::move(text), {}}; }
MenuItem Sep() { return MenuItem{Kind::Separator, 0, {}, {}}; }

class TrayActions : public ::testing::Test {
protected:
    void SetUp() override {
        frame = fake.desktop.Add("TarnvellFrame", "Tarnvell", false);
        kernel = StartKernel(fake, frame);
    }

    void Mouse(unsigned message, std::intptr_t high = 0) {
        kernel->ProcessMessage(wm::kTrayNotify, 128, static_cast<std::intptr_t>(message) | (high << 16));
    }
    void Set(unsigned action, bool invertMouse = true, bool click = false) {
        ChangePreferences(fake, *kernel, [&](Preferences& p) {
            p.m_uAction = ClickAction(action);
            p.m_bInvertMouse = invertMouse;
            p.m_bClick = click;
        });
    }
    // A click on the tray icon that runs the click action (with the default
    // buttons and single clicks).
    void RunClickAction() { Mouse(wm::kLButtonUp); }
    std::size_t Menus() const { return fake.menus.tracked.size(); }

    FakePlatform fake;
    WindowHandle frame;
    std::unique_ptr<CAppKernel> kernel;
};

TEST_F(TrayActions, DefaultButtonsRunTheActionOnLeftAndTheMenuOnRight) {
    const WindowHandle app = fake.desktop.Add("App", "app");
    fake.desktop.Raise(app);
    Mouse(wm::kLButtonDown);
    Mouse(wm::kMouseMove);
    EXPECT_TRUE(fake.desktop.Get(app).visible);
    Mouse(wm::kLButtonUp);  // physical left, mapped to the action: hide/show toggle
    EXPECT_FALSE(fake.desktop.Get(app).visible);
    Mouse(wm::kLButtonUp);
    EXPECT_TRUE(fake.desktop.Get(app).visible);
    EXPECT_EQ(Menus(), 0u);

    Mouse(wm::kRButtonDown);
    EXPECT_EQ(Menus(), 0u);
    Mouse(wm::kRButtonUp);
    EXPECT_EQ(Menus(), 1u);
    // Double clicks run nothing in single-click mode.
    Mouse(wm::kLButtonDblClk);
    Mouse(wm::kRButtonDblClk);
    EXPECT_TRUE(fake.desktop.Get(app).visible);
    EXPECT_EQ(Menus(), 1u);
}

TEST_F(TrayActions, WithoutInversionTheButtonsSwap) {
    Set(2, false);
    const WindowHandle app = fake.desktop.Add("App", "app");
    Mouse(wm::kLButtonUp);
    EXPECT_EQ(Menus(), 1u);
    EXPECT_TRUE(fake.desktop.Get(app).visible);
    Mouse(wm::kRButtonUp);
    EXPECT_FALSE(fake.desktop.Get(app).visible);
}

TEST_F(TrayActions, DoubleClickModeWaitsForTheDoubleClick) {
    Set(2, true, true);
    const WindowHandle app = fake.desktop.Add("App", "app");
    Mouse(wm::kLButtonUp);
    EXPECT_TRUE(fake.desktop.Get(app).visible);
    Mouse(wm::kLButtonDblClk);
    EXPECT_FALSE(fake.desktop.Get(app).visible);
    // The menu button still opens the menu on release.
    Mouse(wm::kRButtonUp);
    EXPECT_EQ(Menus(), 1u);

    Set(3, false, true);
    Mouse(wm::kLButtonDblClk);
    EXPECT_FALSE(fake.desktop.Get(app).visible);
    Mouse(wm::kRButtonDblClk);
    EXPECT_TRUE(fake.desktop.Get(app).visible);
}

TEST_F(TrayActions, OnlyTheLowWordIsTheMouseMessage) {
    Mouse(wm::kRButtonUp, 0x1234);
    EXPECT_EQ(Menus(), 1u);
}

TEST_F(TrayActions, EachActionValueRunsItsCommand) {
    const WindowHandle a = fake.desktop.Add("A", "a");
    const WindowHandle b = fake.desktop.Add("B", "b");
    auto run = [&](unsigned action) {
        Set(action);
        RunClickAction();
    };
    run(2);  // hide window
    EXPECT_FALSE(fake.desktop.Get(a).visible);
    run(3);  // show window
    EXPECT_TRUE(fake.desktop.Get(a).visible);
    run(5);  // hide all
    EXPECT_FALSE(fake.desktop.Get(a).visible || fake.desktop.Get(b).visible);
    run(6);  // show all
    EXPECT_TRUE(fake.desktop.Get(a).visible && fake.desktop.Get(b).visible);
    run(4);  // toggle all: hides
    EXPECT_EQ(kernel->Commands().HiddenList().size(), 2u);
    run(4);  // and shows
    EXPECT_TRUE(kernel->Commands().HiddenList().empty());
    run(1);  // designated toggle
    EXPECT_EQ(kernel->Commands().Designated(), a);

    // The separator line and values past the last group do nothing.
    const auto before = fake.desktop.actions.size();
    for (unsigned value : {7u, 8u, 9u, 10u, 1000u, 0xFFFFFFFFu}) run(value);
    EXPECT_EQ(fake.desktop.actions.size(), before);
    EXPECT_EQ(Menus(), 0u);
}

TEST_F(TrayActions, ListMenuListsPrincipalsByCaptionWithTheirPositions) {
    const WindowHandle main = fake.desktop.Add("Main", "Editor");
    fake.desktop.Add("#32770", "Find", true, main);
    const WindowHandle untitled = fake.desktop.Add("X", "");
    const WindowHandle twin1 = fake.desktop.Add("Y", "Twin");
    const WindowHandle twin2 = fake.desktop.Add("Y", "Twin");
    (void)untitled, (void)twin1, (void)twin2;
    kernel->Run({Verb::HideAll}, Origin::Menu);
    ASSERT_EQ(kernel->Commands().HiddenList().size(), 5u);

    Set(0);
    fake.journal.clear();
    RunClickAction();
    ASSERT_EQ(Menus(), 1u);
    const MenuModel expected = {Str(32777, "Editor"), Str(32779, "NO TITLE"), Str(32780, "Twin"),
                                Str(32781, "Twin")};
    EXPECT_EQ(fake.menus.tracked[0], expected);
    EXPECT_EQ(fake.desktop.foreground, frame);
    EXPECT_EQ(fake.journal, (Journal{"track menu", "post null"}));
}

TEST_F(TrayActions, ListMenuWithNothingToListOnlyTakesTheForeground) {
    Set(0);
    RunClickAction();
    EXPECT_EQ(Menus(), 0u);
    EXPECT_EQ(fake.desktop.foreground, frame);
    EXPECT_EQ(fake.menus.nullPosts.size(), 1u);

    fake.desktop.Add("A", "a");
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bShowList = false; });
    RunClickAction();
    EXPECT_EQ(Menus(), 0u);
    EXPECT_EQ(fake.menus.nullPosts.size(), 2u);
}

TEST_F(TrayActions, OnlyTheFirstHundredPositionsAreListed) {
    for (int i = 0; i < 130; ++i) fake.desktop.Add("W", "w" + std::to_string(i));
    kernel->Run({Verb::HideAll}, Origin::Menu);
    const auto items = kernel->Tray().HiddenWindowItems();
    ASSERT_EQ(items.size(), 100u);
    EXPECT_EQ(items.front().id, 32777u);
    EXPECT_EQ(items.back().id, 32876u);
    EXPECT_EQ(items.back().text, "w99");
}

TEST_F(TrayActions, CaptionsAreCutTo254Characters) {
    fake.desktop.Add("W", std::string(400, 'c'));
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    EXPECT_EQ(kernel->Tray().HiddenWindowItems().at(0).text, std::string(254, 'c'));
}

TEST_F(TrayActions, MainMenuWithoutHiddenWindows) {
    Mouse(wm::kRButtonUp);
    ASSERT_EQ(Menus(), 1u);
    const MenuModel expected = {
        Str(57665, "Exit"),
        Sep(),
        Str(57671, "Help"),
        Str(57664, "About..."),
        Str(32878, "Update..."),
        Str(32775, "Preferences..."),
        Str(32879, "Windows Groups..."),
        Sep(),
        Str(32773, "Hide All Windows\t"),
        Str(32774, "Show All Windows\t"),
        Str(32776, "Hide/Show Window\t"),
        Sep(),
        Str(32771, "Hide Window\t"),
        Str(32772, "Show Window\t"),
    };
    EXPECT_EQ(fake.menus.tracked[0], expected);
    EXPECT_EQ(fake.desktop.foreground, frame);
    EXPECT_EQ(fake.menus.nullPosts.size(), 1u);
}

TEST_F(TrayActions, MainMenuCarriesTheHiddenWindowsSubmenu) {
    fake.desktop.Add("A", "Alpha");
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    Mouse(wm::kRButtonUp);
    const MenuModel& menu = fake.menus.tracked.at(0);
    ASSERT_EQ(menu.size(), 15u);
    EXPECT_EQ(menu[7], Sep());
    EXPECT_EQ(menu[8], (MenuItem{Kind::Popup, 0, "Hidden windows", {Str(32777, "Alpha")}}));
    EXPECT_EQ(menu[9].id, 32773u);

    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bShowList = false; });
    Mouse(wm::kRButtonUp);
    EXPECT_EQ(fake.menus.tracked.at(1).size(), 14u);
}

TEST_F(TrayActions, AChosenListItemShowsThatWindow) {
    const WindowHandle a = fake.desktop.Add("A", "Alpha");
    const WindowHandle b = fake.desktop.Add("B", "Beta");
    kernel->Run({Verb::HideAll}, Origin::Menu);
    // The user picks "Beta"; its command runs once the menu has closed.
    Set(0);
    unsigned chosen = 0;
    fake.menus.choose = [&](const MenuModel& menu) { return chosen = menu.at(1).id; };
    RunClickAction();
    EXPECT_TRUE(fake.desktop.Get(b).visible);
    EXPECT_FALSE(fake.desktop.Get(a).visible);
    // Once its menu has closed, the item's identifier names no window: not
    // even the window the same position names now.
    fake.menus.choose = nullptr;
    kernel->ProcessMessage(wm::kCommand, chosen, 0);
    kernel->ProcessMessage(wm::kCommand, ID_SHOW_HIDDEN_BASE, 0);
    EXPECT_FALSE(fake.desktop.Get(a).visible);
}

TEST_F(TrayActions, MenuTextsCarryTheCurrentHotKeyNames) {
    ChangePreferences(fake, *kernel, [](Preferences&, HotKeyValues& keys) {
        keys[2] = {mod::kControl | mod::kAlt, 'H'};
        keys[0] = {mod::kWin, 0x70};  // F1
    });
    Mouse(wm::kRButtonUp);
    const MenuModel& menu = fake.menus.tracked.at(0);
    EXPECT_EQ(menu[8], Str(32773, "Hide All Windows\tCtrl + Alt + H"));
    EXPECT_EQ(menu[12], Str(32771, "Hide Window\tWin + F1"));
    EXPECT_EQ(menu[13], Str(32772, "Show Window\t"));

    // A changed hot-key shows with its new name the next time.
    ChangePreferences(fake, *kernel, [](Preferences&, HotKeyValues& keys) { keys[2].key = 'J'; });
    Mouse(wm::kRButtonUp);
    EXPECT_EQ(fake.menus.tracked.at(1)[8], Str(32773, "Hide All Windows\tCtrl + Alt + J"));
}

// The five program hot-keys do exactly what their menu commands do.
TEST(ProgramHotKeys, RunTheSameCommandsAsTheMenu) {
    const std::pair<std::uintptr_t, unsigned> pairs[] = {
        {0, ID_HIDE_WINDOW}, {1, ID_SHOW_WINDOW}, {2, ID_HIDE_ALL}, {3, ID_SHOW_ALL}, {4, ID_TOGGLE_WINDOW}};
    for (const auto& [hotKey, command] : pairs) {
        std::vector<std::pair<std::string, WindowHandle>> effects[2];
        int asked[2] = {};
        for (int way = 0; way < 2; ++way) {
            FakePlatform fake;
            fake.profile.Set("Settings", "m_bPassOnShow", 1u);
            fake.desktop.Add("A", "a");
            fake.desktop.Add("B", "b");
            auto kernel = StartKernel(fake);
            fake.prompts.answers = {{true, ""}, {true, ""}};
            kernel->Run({Verb::HideWindow}, Origin::Menu);  // something to show
            fake.desktop.actions.clear();
            if (way == 0)
                kernel->ProcessMessage(wm::kHotKey, hotKey, 0);
            else
                kernel->ProcessMessage(wm::kCommand, command, 0);
            effects[way] = fake.desktop.actions;
            asked[way] = fake.prompts.asked;
        }
        EXPECT_FALSE(effects[0].empty()) << hotKey;
        EXPECT_EQ(effects[0], effects[1]) << hotKey;
        EXPECT_EQ(asked[0], asked[1]) << hotKey;
    }
}

TEST_F(TrayActions, MenuTextsKeepAtMost63CharactersBeforeTheTab) {
    fake.module.strings[ID_HIDE_ALL] = std::string(80, 'm');
    EXPECT_EQ(kernel->Tray().MainMenu().at(8), Str(ID_HIDE_ALL, std::string(63, 'm') + "\t"));
}

}  // namespace
