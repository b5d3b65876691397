#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"
#include "ui/dialog_model.h"

namespace {

constexpr KeyCombination kCtrlAltH{mod::kControl | mod::kAlt, 'H'};
constexpr KeyCombination kCtrlAltJ{mod::kControl | mod::kAlt, 'J'};
constexpr KeyCombination kCtrlAltK{mod::kControl | mod::kAlt, 'K'};
constexpr KeyCombination kCtrlAltM{mod::kControl | mod::kAlt, 'M'};

// A started Tarnvell with stored keys: Hide Window on Ctrl+Alt+H, Show All
// on Ctrl+Alt+J, and the group "Mail" hiding on Ctrl+Alt+M. Another program
// may hold combinations before the start.
class KeyRegistrations : public ::testing::Test {
protected:
    void SetUp() override {
        other = fake.desktop.Add("OtherProgram", "other");
        fake.profile.Set("Settings", "First Start", 0u);
        StoreKey(0, kCtrlAltH);
        StoreKey(3, kCtrlAltJ);
        WriteGroupSlot(fake.profile, 0, {"Mail", "Mail"});
        StoreKey(CWindowsGroup::HideHotKeyId(0), kCtrlAltM);
    }
    void StoreKey(int id, KeyCombination key) {
        fake.profile.Set("HotKeys", "Mod" + std::to_string(id), key.modifiers);
        fake.profile.Set("HotKeys", "VK" + std::to_string(id), key.key);
    }
    void Start() {
        kernel = StartKernel(fake);
        // StartKernel puts the frame at the bottom of the desktop.
        frame = fake.desktop.ZOrder().back();
    }
    // Another program takes or lets go of a combination.
    void OtherHolds(KeyCombination key) { fake.hotKeys.registered.push_back({other, 7, key.modifiers, key.key}); }
    void OtherLetsGo() {
        auto& r = fake.hotKeys.registered;
        r.erase(std::remove_if(r.begin(), r.end(), [&](const auto& e) { return e.target == other; }), r.end());
    }
    // Whom the system would hand a combination to now: the identifier of
    // Tarnvell's registration, -1 for another program, -2 for nobody.
    int Owner(KeyCombination key) const {
        for (const auto& e : fake.hotKeys.registered)
            if (e.modifiers == key.modifiers && e.key == key.key) return e.target == frame ? e.id : -1;
        return -2;
    }
    std::size_t TarnvellRegistrations() const {
        return static_cast<std::size_t>(std::count_if(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                                                      [&](const auto& e) { return e.target == frame; }));
    }
    const platform::MenuModel& OpenMainMenu() {
        kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kRButtonUp);
        fake.desktop.now += 1000;
        return fake.menus.tracked.back();
    }
    static std::string TextOf(const platform::MenuModel& menu, unsigned id) {
        for (const auto& item : menu)
            if (item.id == id) return item.text;
        return "(no item)";
    }
    std::vector<std::pair<std::string, std::string>> Balloons() {
        std::vector<std::pair<std::string, std::string>> all;
        for (const auto& [key, icon] : fake.notifyShell.icons)
            all.insert(all.end(), icon.balloons.begin(), icon.balloons.end());
        return all;
    }

    FakePlatform fake;
    WindowHandle frame;
    WindowHandle other;
    std::unique_ptr<CAppKernel> kernel;
};

// ------------------------------------------------- the capture fields' focus

TEST_F(KeyRegistrations, ACaptureFieldWithTheFocusGetsEveryCombinationTarnvellHolds) {
    Start();
    ASSERT_EQ(TarnvellRegistrations(), 3u);
    std::vector<std::size_t> held;
    fake.prompts.preferences = [&](PreferencesForm& form) {
        EXPECT_TRUE(form.captureFocus && form.checkKeys);
        form.captureFocus(true);  // the Show Window field is clicked
        held.push_back(TarnvellRegistrations());
        EXPECT_EQ(Owner(kCtrlAltH), -2) << "the press must reach the field, not Hide Window";
        form.captureFocus(false);  // to the Show All field: false, then true
        form.captureFocus(true);
        held.push_back(TarnvellRegistrations());
        form.captureFocus(true);  // a repeated report changes nothing
        form.captureFocus(false);  // out of the fields
        held.push_back(TarnvellRegistrations());
        EXPECT_EQ(Owner(kCtrlAltH), 0);
        EXPECT_EQ(Owner(kCtrlAltM), CWindowsGroup::HideHotKeyId(0));
        form.captureFocus(true);
        // Ctrl+Alt+H moves to Show Window, Hide Window is cleared, OK.
        form.keys[0] = {};
        form.keys[1] = kCtrlAltH;
        EXPECT_EQ(form.checkKeys(form.keys), std::nullopt);
        return true;
    };
    kernel->ProcessMessage(wm::kCommand, ID_PREFERENCES, 0);
    EXPECT_EQ(held, (std::vector<std::size_t>{0, 0, 3}));
    EXPECT_EQ(Owner(kCtrlAltH), 1) << "the key runs Show Window now";
    EXPECT_EQ(Owner(kCtrlAltJ), 3);
    EXPECT_EQ(Owner(kCtrlAltM), CWindowsGroup::HideHotKeyId(0)) << "the group's key is taken back too";
    EXPECT_FALSE(kernel->Keys().GivenUp());
}

TEST_F(KeyRegistrations, CancelOrEscapeInACaptureFieldRegistersTheKeysFromBeforeTheDialog) {
    Start();
    for (bool focusLostFirst : {true, false}) {
        fake.prompts.preferences = [&](PreferencesForm& form) {
            form.captureFocus(true);
            form.keys[0] = kCtrlAltK;  // typed, then thrown away
            form.keys[1] = kCtrlAltH;
            // Cancel is clicked (the field loses the focus first), or Escape
            // ends the dialog while the field still has it.
            if (focusLostFirst) form.captureFocus(false);
            return false;
        };
        kernel->ProcessMessage(wm::kCommand, ID_PREFERENCES, 0);
        EXPECT_EQ(Owner(kCtrlAltH), 0) << focusLostFirst;
        EXPECT_EQ(Owner(kCtrlAltK), -2) << focusLostFirst;
        EXPECT_EQ(Owner(kCtrlAltM), CWindowsGroup::HideHotKeyId(0)) << focusLostFirst;
        EXPECT_EQ(TarnvellRegistrations(), 3u) << focusLostFirst;
    }
    // The Group dialog's fields do the same inside Windows Groups.
    fake.prompts.windowsGroups = [&](GroupsForm& form) {
        form.captureFocus(true);
        EXPECT_EQ(TarnvellRegistrations(), 0u);
        return false;
    };
    kernel->ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    EXPECT_EQ(TarnvellRegistrations(), 3u);
    EXPECT_EQ(kernel->Settings().HotKey(0).Value(), kCtrlAltH);
}

TEST_F(KeyRegistrations, AGroupKeyTypedWhileTheKeysAreGivenUpIsAppliedOnOk) {
    Start();
    fake.prompts.windowsGroups = [&](GroupsForm& form) {
        form.captureFocus(true);
        // Hide Window keeps Ctrl+Alt+H, so a group cannot have it too.
        form.groups[0]->m_HotKeys[1].SetValue(kCtrlAltH);
        std::vector<const CWindowsGroup*> none;
        const auto refused = form.checkKeys(*form.groups[0], none);
        EXPECT_EQ(refused, "Ctrl + Alt + H is already used by Hide Window.");
        form.groups[0]->m_HotKeys[1].SetValue(kCtrlAltK);
        EXPECT_EQ(form.checkKeys(*form.groups[0], none), std::nullopt);
        form.captureFocus(false);
        return true;
    };
    kernel->ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    EXPECT_EQ(Owner(kCtrlAltK), CWindowsGroup::ShowHotKeyId(0));
    EXPECT_EQ(Owner(kCtrlAltM), CWindowsGroup::HideHotKeyId(0));
    EXPECT_EQ(Owner(kCtrlAltH), 0);
}

// ------------------------------------------------- keys another program holds

TEST_F(KeyRegistrations, AKeyAnotherProgramHoldsIsMarkedTriedAgainAndTakenWhenLetGo) {
    OtherHolds(kCtrlAltH);
    OtherHolds(kCtrlAltM);
    Start();
    EXPECT_FALSE(kernel->Settings().HotKey(0).IsRegistered());
    EXPECT_EQ(TextOf(OpenMainMenu(), ID_HIDE_WINDOW), "Hide Window\tCtrl + Alt + H (in use)");
    EXPECT_EQ(TextOf(fake.menus.tracked.back(), ID_SHOW_ALL), "Show All Windows\tCtrl + Alt + J");
    EXPECT_EQ(TextOf(fake.menus.tracked.back(), ID_SHOW_WINDOW), "Show Window\t") << "no key, no mark";

    // The Windows Groups list marks the group's key the same way.
    std::vector<KeyCombination> marked;
    fake.prompts.windowsGroups = [&](GroupsForm& form) {
        marked = form.notHeld;
        return false;
    };
    kernel->ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    ASSERT_EQ(marked, (std::vector<KeyCombination>{kCtrlAltM}));
    std::vector<std::unique_ptr<CWindowsGroup>> copies;
    copies.push_back(CopyGroup(*kernel->Groups().At(0)));
    EXPECT_EQ(GroupRows(copies, marked, "%s (in use)", "-").at(0).hide, "Ctrl + Alt + M (in use)");

    // The stored values stay; the keys are tried again on the next menu.
    EXPECT_EQ(kernel->Settings().HotKey(0).Value(), kCtrlAltH);
    const std::size_t tries = fake.hotKeys.log.size();
    OpenMainMenu();
    EXPECT_GT(fake.hotKeys.log.size(), tries) << "a menu tries the failed keys again";
    EXPECT_EQ(Owner(kCtrlAltH), -1);

    OtherLetsGo();
    EXPECT_EQ(TextOf(OpenMainMenu(), ID_HIDE_WINDOW), "Hide Window\tCtrl + Alt + H");
    EXPECT_EQ(Owner(kCtrlAltH), 0);
    EXPECT_EQ(Owner(kCtrlAltM), CWindowsGroup::HideHotKeyId(0));
}

TEST_F(KeyRegistrations, ADialogsEndTakesAKeyTheOtherProgramLetGo) {
    OtherHolds(kCtrlAltJ);
    Start();
    OtherLetsGo();
    kernel->ProcessMessage(wm::kCommand, ID_APP_ABOUT, 0);
    EXPECT_EQ(Owner(kCtrlAltJ), 3);
}

TEST_F(KeyRegistrations, TheStartUpBalloonNamesEachFailedKeyOnce) {
    OtherHolds(kCtrlAltH);
    OtherHolds(kCtrlAltM);
    Start();
    ASSERT_EQ(Balloons().size(), 1u);
    EXPECT_EQ(Balloons()[0].first, "Tarnvell could not take these hot-keys");
    EXPECT_EQ(Balloons()[0].second, "Hide Window: Ctrl + Alt + H\nHide [ Mail ]: Ctrl + Alt + M");
    EXPECT_EQ(fake.notifyShell.calls.back().data.dwInfoFlags, niif::kWarning);
    // Menus, dialogs and retries that fail again say nothing more.
    OpenMainMenu();
    kernel->ProcessMessage(wm::kCommand, ID_APP_ABOUT, 0);
    kernel->ProcessMessage(wm::kCommand, ID_PREFERENCES, 0);
    EXPECT_EQ(Balloons().size(), 1u);
}

TEST_F(KeyRegistrations, NoBalloonWhenEveryKeyIsHeld) {
    Start();
    EXPECT_EQ(TarnvellRegistrations(), 3u);
    EXPECT_TRUE(Balloons().empty());
    for (const auto& call : fake.notifyShell.calls) EXPECT_EQ(call.data.szInfo[0], '\0');
}

// ------------------------------------------------- OK's check

TEST_F(KeyRegistrations, OkRefusesAKeyGivenTwiceOrHeldByAnotherProgramAndLeavesNoTestRegistration) {
    Start();
    OtherHolds(kCtrlAltK);
    std::vector<std::optional<std::string>> answers;
    fake.prompts.preferences = [&](PreferencesForm& form) {
        auto keys = form.keys;
        keys[1] = kCtrlAltH;  // Hide Window keeps it too
        answers.push_back(form.checkKeys(keys));
        keys[1] = kCtrlAltM;  // the group's
        answers.push_back(form.checkKeys(keys));
        keys[1] = kCtrlAltK;  // the other program's
        answers.push_back(form.checkKeys(keys));
        keys[1] = {mod::kControl | mod::kAlt, 'S'};  // free
        answers.push_back(form.checkKeys(keys));
        return false;
    };
    kernel->ProcessMessage(wm::kCommand, ID_PREFERENCES, 0);
    EXPECT_EQ(answers, (std::vector<std::optional<std::string>>{
                           "Ctrl + Alt + H is already used by Hide Window.",
                           "Ctrl + Alt + M is already used by Hide [ Mail ].",
                           "Ctrl + Alt + K is used by another program.",
                           std::nullopt,
                       }));
    // The probes are given back at once.
    EXPECT_EQ(TarnvellRegistrations(), 3u);
    for (const auto& e : fake.hotKeys.registered) EXPECT_NE(e.id, CKeyRegistrations::kProbeId);
    EXPECT_EQ(Owner({mod::kControl | mod::kAlt, 'S'}), -2);
}

TEST_F(KeyRegistrations, TheGroupDialogsCheckCountsTheWorkingListAndTheProgramKeys) {
    Start();
    OtherHolds(kCtrlAltK);
    std::vector<std::optional<std::string>> answers;
    fake.prompts.windowsGroups = [&](GroupsForm& form) {
        auto added = std::make_unique<CWindowsGroup>();
        added->m_strName = "Notes";
        std::vector<const CWindowsGroup*> others{form.groups[0].get()};
        added->m_HotKeys[0].SetValue(kCtrlAltM);  // Mail's, as the working list has it
        answers.push_back(form.checkKeys(*added, others));
        added->m_HotKeys[0].SetValue(kCtrlAltJ);  // Show All's
        answers.push_back(form.checkKeys(*added, others));
        added->m_HotKeys[0].SetValue(kCtrlAltK);  // another program's
        answers.push_back(form.checkKeys(*added, others));
        form.groups[0]->m_HotKeys[0].SetValue({});  // Mail lets its key go in the list
        added->m_HotKeys[0].SetValue(kCtrlAltM);
        answers.push_back(form.checkKeys(*added, others));
        return false;
    };
    kernel->ProcessMessage(wm::kCommand, ID_WINDOWS_GROUPS, 0);
    EXPECT_EQ(answers, (std::vector<std::optional<std::string>>{
                           "Ctrl + Alt + M is already used by Hide [ Mail ].",
                           "Ctrl + Alt + J is already used by Show All Windows.",
                           "Ctrl + Alt + K is used by another program.",
                           std::nullopt,
                       }));
    EXPECT_EQ(TarnvellRegistrations(), 3u);
}

// ------------------------------------------------- the icon from the keyboard

class TrayKeyboard : public KeyRegistrations {
protected:
    void Notify(unsigned message) {
        kernel->ProcessMessage(wm::kTrayNotify, 128, message);
        fake.desktop.now += 1000;
    }
    void Prefs(bool invertMouse, bool doubleClick) {
        Preferences prefs = kernel->Settings().Prefs();
        prefs.m_bInvertMouse = invertMouse;
        prefs.m_bClick = doubleClick;
        prefs.m_uAction = ClickAction(RowOf(Verb::HideWindow).clickAction);
        kernel->Dialogs().ApplyPreferences(prefs, kernel->Settings().Keys());
    }
};

TEST_F(TrayKeyboard, EnterIsTheLeftButtonAndTheMenuKeyOpensTheMainMenuAtTheIcon) {
    Start();
    fake.notifyShell.iconRect = platform::ScreenRect{1000, 750, 1016, 766};
    const WindowHandle app = fake.desktop.Add("App", "app");
    fake.desktop.Raise(app);
    for (bool doubleClick : {false, true}) {
        // The buttons swapped (the default): Enter runs the click action, in
        // double-click mode too.
        Prefs(true, doubleClick);
        const std::size_t menus = fake.menus.tracked.size();
        Notify(nin::kKeySelect);
        EXPECT_FALSE(fake.desktop.Get(app).visible) << doubleClick;
        EXPECT_EQ(fake.menus.tracked.size(), menus) << doubleClick;
        kernel->Run({Verb::ShowAll}, Origin::Menu);
        // Not swapped: Enter opens the main menu, at the icon.
        Prefs(false, doubleClick);
        Notify(nin::kKeySelect);
        EXPECT_TRUE(fake.desktop.Get(app).visible) << doubleClick;
        ASSERT_EQ(fake.menus.tracked.size(), menus + 1) << doubleClick;
        EXPECT_EQ(TextOf(fake.menus.tracked.back(), ID_APP_EXIT), "Exit");
        EXPECT_EQ(fake.menus.positions.back(), (platform::ScreenPoint{1008, 758})) << doubleClick;
    }
    // The menu key opens the main menu whatever the buttons.
    for (bool invert : {true, false}) {
        Prefs(invert, false);
        Notify(wm::kContextMenu);
        EXPECT_EQ(TextOf(fake.menus.tracked.back(), ID_APP_EXIT), "Exit");
        EXPECT_EQ(fake.menus.positions.back(), (platform::ScreenPoint{1008, 758}));
        EXPECT_TRUE(fake.desktop.Get(app).visible);
    }
    // A shell that cannot tell where the icon is: the menu opens at the cursor.
    fake.notifyShell.iconRect.reset();
    Notify(wm::kContextMenu);
    EXPECT_EQ(fake.menus.positions.back(), std::nullopt);
    // A mouse click's menu opens at the cursor.
    fake.notifyShell.iconRect = platform::ScreenRect{1000, 750, 1016, 766};
    Notify(wm::kLButtonUp);
    EXPECT_EQ(fake.menus.positions.back(), std::nullopt);
}

TEST_F(TrayKeyboard, OneClickOrOneKeyOpensOneMenuAndRunsOneAction) {
    Start();
    Prefs(true, false);
    fake.desktop.Add("Third", "third");
    const WindowHandle app = fake.desktop.Add("App", "app");
    fake.desktop.Raise(app);
    // A right click (the menu with the default buttons) and its echo.
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kRButtonDown);
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kRButtonUp);
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kContextMenu);
    EXPECT_EQ(fake.menus.tracked.size(), 1u);
    fake.desktop.now += 5000;
    // One Enter reported twice: one hide, not two.
    kernel->ProcessMessage(wm::kTrayNotify, 128, nin::kKeySelect);
    kernel->ProcessMessage(wm::kTrayNotify, 128, nin::kKeySelect);
    EXPECT_FALSE(fake.desktop.Get(app).visible);
    EXPECT_EQ(kernel->Commands().HiddenList().size(), 1u);
    // Buttons not swapped: the right click runs the action, and its echo
    // opens no menu.
    fake.desktop.now += 5000;
    Prefs(false, false);
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kRButtonUp);
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kContextMenu);
    EXPECT_EQ(kernel->Commands().HiddenList().size(), 2u);
    EXPECT_EQ(fake.menus.tracked.size(), 1u);
    // A second Enter later is a new request.
    fake.desktop.now += 5000;
    Prefs(true, false);
    kernel->ProcessMessage(wm::kTrayNotify, 128, nin::kKeySelect);
    EXPECT_EQ(kernel->Commands().HiddenList().size(), 3u);
}

TEST_F(TrayKeyboard, TheIconSetsItsVersionAgainAfterATaskbarRestart) {
    Start();
    auto versions = [&] {
        return std::count_if(fake.notifyShell.calls.begin(), fake.notifyShell.calls.end(),
                             [](const auto& call) { return call.message == nim::kSetVersion; });
    };
    ASSERT_EQ(versions(), 1);
    fake.notifyShell.RestartTaskbar();
    EXPECT_EQ(versions(), 2);
    ASSERT_EQ(fake.notifyShell.icons.size(), 1u);
    EXPECT_NE(fake.notifyShell.icons.begin()->second.version, 0u);
    // And the keyboard still reaches the icon afterwards.
    fake.desktop.now += 5000;
    kernel->ProcessMessage(wm::kTrayNotify, 128, wm::kContextMenu);
    EXPECT_EQ(fake.menus.tracked.size(), 1u);
}

}  // namespace
