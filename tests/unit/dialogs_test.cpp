#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app_kernel.h"
#include "engine/command_table.h"
#include "hotkeys/key_status.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"
#include "ui/dialog_model.h"

namespace {

// ------------------------------------------------ what the dialogs decide

TEST(PreferencesModel, AStoredActionPastTheListShowsNoSelectionAndNoChoiceStoresAllBits) {
    EXPECT_EQ(ActionSelection(ClickAction(13), 14), 13);
    EXPECT_EQ(ActionSelection(ClickAction(14), 14), std::nullopt);
    EXPECT_EQ(ActionSelection(ClickAction(0xFFFFFFFFu), 14), std::nullopt);
    EXPECT_EQ(ActionFromSelection(-1).Stored(), 0xFFFFFFFFu);
    EXPECT_EQ(ActionFromSelection(7).Stored(), 7u);
}

TEST(PreferencesModel, OkChecksThePasswordsFirstThenTheShowKeys) {
    const KeyCombination none{};
    const KeyCombination modifiersOnly{mod::kControl, 0};
    const KeyCombination ctrlS{mod::kControl, 'S'};
    EXPECT_EQ(CheckPreferences("Secret", "secret", false, none, none), IDS_PASSWORD_MISMATCH);
    EXPECT_EQ(CheckPreferences("a", "", true, ctrlS, ctrlS), IDS_PASSWORD_MISMATCH);
    EXPECT_EQ(CheckPreferences("", "", false, none, none), std::nullopt);
    EXPECT_EQ(CheckPreferences("", "", true, none, none), IDS_NEED_SHOW_HOTKEY);
    EXPECT_EQ(CheckPreferences("", "", true, modifiersOnly, modifiersOnly), IDS_NEED_SHOW_HOTKEY);
    EXPECT_EQ(CheckPreferences("", "", true, none, ctrlS), std::nullopt);
    EXPECT_EQ(CheckPreferences("", "", true, ctrlS, none), std::nullopt);
}

TEST(GroupsModel, RowsNameTheKeysOrSayNotDefinedAndColumnsSplitThreeTwoTwoThree) {
    std::vector<std::unique_ptr<CWindowsGroup>> groups;
    groups.push_back(std::make_unique<CWindowsGroup>());
    groups.back()->m_strName = "Mail";
    groups.back()->m_HotKeys[0].SetValue({mod::kControl | mod::kAlt, 'M'});
    groups.push_back(std::make_unique<CWindowsGroup>());
    groups.back()->m_strName = "Empty";
    EXPECT_EQ(GroupRows(groups, {}, "%s (in use)", "-"),
              (std::vector<GroupRow>{{"Mail", "Ctrl + Alt + M", "-"}, {"Empty", "-", "-"}}));
    EXPECT_EQ(GroupColumnWidths(437), (std::array<int, 4>{129, 86, 86, 129}));
    EXPECT_EQ(GroupColumnWidths(9), (std::array<int, 4>{0, 0, 0, 0}));
}

TEST(GroupsModel, AModeTheListLacksIsKeptUnlessTheUserPicksOne) {
    EXPECT_EQ(CompareSelection(GROUP_COMPARE_INCLUDE), 0);
    EXPECT_EQ(CompareSelection(GROUP_COMPARE_EQUAL), 1);
    EXPECT_EQ(CompareSelection(GROUP_COMPARE_NOT_EQUAL), std::nullopt);
    EXPECT_EQ(CompareSelection(7), std::nullopt);
    EXPECT_EQ(CompareFromSelection(-1, GROUP_COMPARE_NOT_EQUAL), GROUP_COMPARE_NOT_EQUAL);
    EXPECT_EQ(CompareFromSelection(1, GROUP_COMPARE_NOT_EQUAL), GROUP_COMPARE_EQUAL);
    EXPECT_EQ(CompareFromSelection(-1, GROUP_COMPARE_INCLUDE), GROUP_COMPARE_INCLUDE);
}

TEST(GroupsModel, AGroupNeedsANameThenASearchTextTakenAsTyped) {
    EXPECT_EQ(CheckTyped("", ""), IDS_GROUP_NEEDS_NAME);
    EXPECT_EQ(CheckTyped("", "x"), IDS_GROUP_NEEDS_NAME);
    EXPECT_EQ(CheckTyped("n", ""), IDS_GROUP_NEEDS_SEARCH);
    EXPECT_EQ(CheckTyped("   ", "x"), std::nullopt);
}

TEST(GroupDialogChecks, AutoHideNeedsASearchTextThatNamesTheWindows) {
    // Without the option, nothing changes.
    EXPECT_EQ(CheckTyped("n", "x", false, GROUP_COMPARE_NOT_EQUAL), std::nullopt);
    // With it, an empty search text gets its own reason, not the general one.
    EXPECT_EQ(CheckTyped("n", "", true), IDS_AUTO_HIDE_NEEDS_SEARCH);
    // The name is still asked for first.
    EXPECT_EQ(CheckTyped("", "", true), IDS_GROUP_NEEDS_NAME);
    EXPECT_EQ(CheckTyped("n", "x", true, GROUP_COMPARE_INCLUDE), std::nullopt);
    EXPECT_EQ(CheckTyped("n", "x", true, GROUP_COMPARE_EQUAL), std::nullopt);
    // A stored mode that matches what differs from the text, or an unknown one.
    EXPECT_EQ(CheckTyped("n", "x", true, GROUP_COMPARE_NOT_EQUAL), IDS_AUTO_HIDE_NEEDS_MODE);
    EXPECT_EQ(CheckTyped("n", "x", true, 7), IDS_AUTO_HIDE_NEEDS_MODE);
}

// A group names its windows by caption, program or class; "when they are
// minimized" may name none, "as they appear" must name them.
TEST(GroupDialogChecks, ProgramAndClassNameWindowsAndMinimizingNeedsNoCriterion) {
    const struct {
        const char* search;
        bool appear;
        int mode;
        const char* program;
        const char* cls;
        bool minimized;
        std::optional<unsigned> refusal;
    } cases[] = {
        {"", false, GROUP_COMPARE_INCLUDE, "chrome.exe", "", false, std::nullopt},
        {"", false, GROUP_COMPARE_INCLUDE, "", "Chrome_*", false, std::nullopt},
        {"", false, GROUP_COMPARE_INCLUDE, "*", "", false, IDS_GROUP_NEEDS_SEARCH},
        {"", false, GROUP_COMPARE_INCLUDE, "", "", true, std::nullopt},
        {"", true, GROUP_COMPARE_INCLUDE, "chrome.exe", "", false, std::nullopt},
        {"", true, GROUP_COMPARE_INCLUDE, "", "Chrome_*", true, std::nullopt},
        {"x", true, GROUP_COMPARE_NOT_EQUAL, "chrome.exe", "", false, std::nullopt},
        {"", true, GROUP_COMPARE_INCLUDE, "", "", true, IDS_AUTO_HIDE_NEEDS_SEARCH},
        {"", true, GROUP_COMPARE_INCLUDE, "**", "*", false, IDS_AUTO_HIDE_NEEDS_SEARCH},
        {"x", true, GROUP_COMPARE_NOT_EQUAL, "", "", true, IDS_AUTO_HIDE_NEEDS_MODE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CheckTyped("n", c.search, c.appear, c.mode, c.program, c.cls, c.minimized), c.refusal)
            << c.search << "|" << c.appear << "|" << c.program << "|" << c.cls << "|" << c.minimized;
}

TEST(GroupDialogChecks, APickFillsTheProgramsFileNameAndTheClassAndTheCaptionOnlyWhenAsked) {
    const OpenWindow chrome{"New Tab - Google Chrome", "C:\\Program Files\\Google\\chrome.exe", "Chrome_WidgetWin_1"};
    EXPECT_EQ(PickRow(chrome), (std::array<std::string, 3>{"New Tab - Google Chrome", "chrome.exe", "Chrome_WidgetWin_1"}));
    const Picked plain = PickFills(chrome, false);
    EXPECT_EQ(plain.program, "chrome.exe");
    EXPECT_EQ(plain.className, "Chrome_WidgetWin_1");
    EXPECT_EQ(plain.search, std::nullopt);
    EXPECT_EQ(PickFills(chrome, true).search, "New Tab - Google Chrome");
    // A process of higher rights cannot be asked: no program.
    const OpenWindow elevated{"Administrator: cmd", std::nullopt, "ConsoleWindowClass"};
    EXPECT_EQ(PickFills(elevated, false).program, "");
    EXPECT_EQ(PickRow(elevated)[1], "");
}

TEST(GroupsModel, TheListShowsAGroupsProgramOrItsClassWhenItHasNone) {
    std::vector<std::unique_ptr<CWindowsGroup>> groups;
    for (const auto& [program, cls] : {std::pair{"chrome.exe", "Chrome_*"}, std::pair{"", "Notepad"},
                                       std::pair{"*", "Notepad"}, std::pair{"", ""}}) {
        groups.push_back(std::make_unique<CWindowsGroup>());
        groups.back()->m_strProgram = program;
        groups.back()->m_strClass = cls;
    }
    const auto rows = GroupRows(groups, {}, "%s", "-");
    EXPECT_EQ(rows[0].windows, "chrome.exe");
    EXPECT_EQ(rows[1].windows, "Notepad");
    EXPECT_EQ(rows[2].windows, "Notepad");
    EXPECT_EQ(rows[3].windows, "");
}

// ------------------------------------------- the commands that run them

constexpr WindowHandle kFrame{0x42};

class DialogCommands : public ::testing::Test {
protected:
    void SetUp() override { fake.profile.Set("Settings", "First Start", 0u); }
    CAppKernel& Kernel() {
        if (!kernel) kernel = StartKernel(fake);
        return *kernel;
    }
    void Command(unsigned id) { Kernel().ProcessMessage(wm::kCommand, id, 0); }
    bool Registered(int id, unsigned key) const {
        return std::any_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                           [&](const auto& e) { return e.id == id && e.key == key; });
    }
    unsigned Int(const std::string& section, const std::string& entry) const {
        return std::get<unsigned>(fake.profile.Find(section, entry).value());
    }

    FakePlatform fake;
    WindowHandle frame;
    std::unique_ptr<CAppKernel> kernel;
};

TEST_F(DialogCommands, PreferencesOkAppliesKeysValuesAutorunSaveAndTrayInThatOrder) {
    for (int n = 0; n < 5; ++n) {
        fake.profile.Set("HotKeys", "Mod" + std::to_string(n), unsigned{mod::kControl});
        fake.profile.Set("HotKeys", "VK" + std::to_string(n), 0x70u + static_cast<unsigned>(n));
    }
    fake.profile.Set("HotKeys", "VK1", unsigned{'S'});
    Kernel();
    fake.journal.clear();
    fake.profile.writes.clear();
    fake.prompts.preferences = [](PreferencesForm& form) {
        EXPECT_EQ(form.keys[1], (KeyCombination{mod::kControl, 'S'}));
        // The "Show window" keys move to "Hide window" in one OK.
        form.keys[0] = form.keys[1];
        form.keys[1] = {mod::kControl, 'T'};
        form.prefs.m_bAutorun = false;
        form.prefs.m_bShowHiddenInTip = true;
        form.newPassword = "pw";
        form.prefs.m_uAction = ClickAction(5);
        return true;
    };
    Command(ID_PREFERENCES);

    // Every old key is released before the first new one is taken, so the
    // moved combination works at once.
    const auto& j = fake.journal;
    const auto firstRegister = std::find_if(j.begin(), j.end(), [](auto& e) { return e.rfind("hotkey register", 0) == 0; });
    EXPECT_EQ(std::count_if(j.begin(), firstRegister, [](auto& e) { return e.rfind("hotkey unregister", 0) == 0; }), 5);
    EXPECT_TRUE(Registered(0, 'S'));
    EXPECT_TRUE(Registered(1, 'T'));
    // Autorun changed: the value goes; then the save, then the tray.
    const auto runDelete = std::find(j.begin(), j.end(), "run delete Tarnvell");
    const auto save = std::find(j.begin(), j.end(), "profile write HotKeys/Mod0");
    const auto tip = std::find(j.begin(), j.end(), "notify 1");
    EXPECT_TRUE(runDelete < save && save < tip && tip != j.end());
    EXPECT_TRUE(Kernel().Settings().CheckPassword("pw"));
    EXPECT_EQ(Int("Settings", "m_uAction"), 5u);
    EXPECT_EQ(Int("Settings", "m_bAutorun"), 0u);
    EXPECT_EQ(Int("HotKeys", "VK0"), unsigned{'S'});
}

TEST_F(DialogCommands, PreferencesCancelOrAnUnchangedAutorunTouchesNothingElse) {
    Kernel();
    fake.journal.clear();
    fake.profile.writes.clear();
    fake.prompts.preferences = [](PreferencesForm& form) {
        form.prefs.m_bShowList = false;
        return false;
    };
    Command(ID_PREFERENCES);
    EXPECT_TRUE(fake.journal.empty());
    EXPECT_TRUE(Kernel().Settings().Prefs().m_bShowList);

    // OK with autorun as it was: the Run value is left alone.
    fake.runKey.values.clear();
    fake.prompts.preferences = [](PreferencesForm&) { return true; };
    Command(ID_PREFERENCES);
    EXPECT_EQ(std::count_if(fake.journal.begin(), fake.journal.end(), [](auto& e) { return e.rfind("run", 0) == 0; }),
              0);
    EXPECT_EQ(fake.profile.writes.size(), 27u);  // twelve hot-key values, fourteen settings, no language
}

TEST_F(DialogCommands, EachDialogOpensOnceAtATimeAndOnlyAfterTheOptionsPassword) {
    fake.profile.Set("Settings", "m_bPassOnOption", 1u);
    PlantPassword(fake, "pw");
    auto& dialogs = fake.prompts;
    // The modal loop carries out the same command again meanwhile.
    dialogs.preferences = [&](PreferencesForm&) {
        Command(ID_PREFERENCES);
        return false;
    };
    dialogs.windowsGroups = [&](GroupsForm&) {
        Command(ID_WINDOWS_GROUPS);
        Command(ID_PREFERENCES);  // nor the other configuration dialog
        return false;
    };
    dialogs.answers = {{true, "PW"}, {false, "pw"}, {true, "pw"}, {true, "pw"}, {true, "pw"}};
    Command(ID_PREFERENCES);  // wrong case
    Command(ID_WINDOWS_GROUPS);  // cancelled
    EXPECT_EQ(dialogs.preferencesRuns + dialogs.groupsRuns, 0);
    Command(ID_PREFERENCES);
    EXPECT_EQ(dialogs.preferencesRuns, 1);
    Command(ID_WINDOWS_GROUPS);
    EXPECT_EQ(dialogs.groupsRuns, 1);
    EXPECT_EQ(dialogs.preferencesRuns, 1);
    // Each second request brought the open dialog to the front instead.
    EXPECT_EQ(dialogs.fronted,
              (std::vector<Waiting>{Waiting::Preferences, Waiting::WindowsGroups, Waiting::WindowsGroups}));
    // Both are free again once the dialogs have ended.
    dialogs.answers = {{true, "pw"}};
    dialogs.preferences = nullptr;
    Command(ID_PREFERENCES);
    EXPECT_EQ(dialogs.preferencesRuns, 2);
}

TEST_F(DialogCommands, TheProgramDoesNotEndWhileADialogOrPromptRuns) {
    fake.profile.Set("Settings", "m_bPassOnOption", 1u);
    auto& dialogs = fake.prompts;
    bool closeFollowed = true, endFollowed = true;
    dialogs.preferences = [&](PreferencesForm&) {
        // Exit chosen from the tray menu meanwhile, or the session ending.
        closeFollowed = Kernel().ProcessMessage(wm::kClose, 0, 0).endProgram;
        endFollowed = Kernel().ProcessMessage(wm::kEndSession, 1, 0).endProgram;
        return false;
    };
    dialogs.answers = {{true, ""}};
    Command(ID_PREFERENCES);
    EXPECT_FALSE(closeFollowed);
    EXPECT_FALSE(endFollowed);
    EXPECT_FALSE(Kernel().Gate().IsWaiting());
    EXPECT_TRUE(Kernel().ProcessMessage(wm::kClose, 0, 0).endProgram);
}

TEST_F(DialogCommands, WindowsGroupsOkReplacesTheListResetsAGroupActionAndKeepsIdentifiers) {
    WriteGroupSlot(fake.profile, 0, {"Notes", "Notepad"});
    WriteGroupSlot(fake.profile, 1, {"Other", "zzz", GROUP_COMPARE_NOT_EQUAL});
    fake.profile.Set("Settings", "m_uAction", 8u);
    const WindowHandle notes = fake.desktop.Add("Edit", "a - Notepad");
    Kernel().Run({Verb::HideGroup, 0}, Origin::HotKey);
    ASSERT_FALSE(fake.desktop.Get(notes).visible);

    fake.prompts.windowsGroups = [](GroupsForm& form) {
        EXPECT_EQ(form.groups.size(), 2u);
        form.groups[0]->m_strName = "Renamed";          // an edit keeps the identifier
        form.groups[0]->m_HotKeys[1].SetValue({mod::kAlt, 'N'});
        form.groups.erase(form.groups.begin() + 1);      // a delete
        form.groups.push_back(std::make_unique<CWindowsGroup>());  // an add
        form.groups.back()->m_strName = "New";
        form.groups.back()->m_strSearch = "new";
        return true;
    };
    Command(ID_WINDOWS_GROUPS);
    EXPECT_EQ(Kernel().Settings().Prefs().m_uAction.Stored(), 0u);
    EXPECT_EQ(Int("Settings", "m_uAction"), 0u);
    ASSERT_EQ(Kernel().Groups().size(), 2u);
    EXPECT_EQ(std::get<std::string>(*fake.profile.Find("Groups", "Name0")), "Renamed");
    EXPECT_EQ(std::get<std::string>(*fake.profile.Find("Groups", "Name1")), "New");
    EXPECT_TRUE(Registered(26, 'N'));
    EXPECT_NE(Kernel().Groups().At(1)->Id(), Kernel().Groups().At(0)->Id());

    // The renamed group still shows what it hid before the edit.
    Kernel().ProcessMessage(wm::kHotKey, 26, 0);
    EXPECT_TRUE(fake.desktop.Get(notes).visible);
}

TEST_F(DialogCommands, TheActionListNumbersEveryActionAsItIsStored) {
    WriteGroupSlot(fake.profile, 0, {"A", "a"});
    WriteGroupSlot(fake.profile, 1, {"B", "b"});
    EndGroupSlots(fake.profile, 2);
    std::vector<std::string> entries;
    fake.prompts.preferences = [&](PreferencesForm& form) {
        entries = form.actions;
        return false;
    };
    Command(ID_PREFERENCES);
    ASSERT_EQ(entries.size(), 14u);
    const auto text = [&](unsigned id) { return fake.module.strings.at(id); };
    // An entry's position is the value that, stored, runs the command it names.
    for (std::uint32_t value = 0; value < ClickAction::kSeparator; ++value)
        EXPECT_EQ(entries[value], text(RowOf(CommandOfClickAction(value)->verb).clickTextId)) << value;
    EXPECT_EQ(entries[7], std::string(55, '-'));
    EXPECT_FALSE(CommandOfClickAction(7));
    EXPECT_EQ(entries[11], FormatText(text(IDS_GROUP_HIDE_KEY), "B"));
    EXPECT_EQ(CommandOfClickAction(11), (::Command{Verb::HideGroup, 1}));
    EXPECT_EQ(entries[13], FormatText(text(IDS_GROUP_TOGGLE), "B"));
    EXPECT_EQ(CommandOfClickAction(13), (::Command{Verb::ToggleGroup, 1}));
}

TEST_F(DialogCommands, WindowsGroupsCancelLeavesGroupsKeysActionAndProfileAlone) {
    fake.profile.Set("Settings", "m_uAction", 9u);
    Kernel();
    fake.journal.clear();
    fake.prompts.windowsGroups = [](GroupsForm& form) {
        form.groups.clear();
        return false;
    };
    Command(ID_WINDOWS_GROUPS);
    EXPECT_TRUE(fake.journal.empty());
    EXPECT_EQ(Kernel().Groups().size(), 1u);
    EXPECT_EQ(Kernel().Settings().Prefs().m_uAction.Stored(), 9u);
}

}  // namespace
