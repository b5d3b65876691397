#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "fake_platform.h"
#include "groups/windows_group.h"
#include "hotkeys/hot_keys.h"
#include "hotkeys/key_status.h"
#include "platform/win_constants.h"
#include "ui/dialog_model.h"

namespace {

constexpr WindowHandle kFrame{0x42};
constexpr WindowHandle kOtherProgram{0x99};
constexpr unsigned kCtrlAlt = mod::kControl | mod::kAlt;
constexpr KeyCombination kCtrlAltH{kCtrlAlt, 'H'};
constexpr KeyCombination kCtrlAltS{kCtrlAlt, 'S'};
constexpr KeyCombination kWinF12{mod::kWin, vk::kF12};
constexpr const char* kInUse = "%s (in use)";
const KeyCheckTexts kTexts{"%s is already used by %s.", "%s is used by another program."};

// Another program took the combination first.
void TakeElsewhere(FakeHotKeys& system, KeyCombination value) {
    ASSERT_TRUE(system.Register(kOtherProgram, 1, value.modifiers, value.key));
}

// ------------------------------------------------------------ registration

TEST(KeyRegistration, AFailedKeyIsMarkedTriedAgainOnlyWhileFailedAndTakenOnceFree) {
    FakeHotKeys system;
    TakeElsewhere(system, kCtrlAltH);
    CHotKeys key(&system);
    key.SetTarget(kFrame, 0);
    key.SetValue(kCtrlAltH);
    EXPECT_FALSE(key.Register());
    EXPECT_FALSE(key.IsRegistered());
    // The stored value stays: the other program may let it go.
    EXPECT_EQ(key.Value(), kCtrlAltH);
    EXPECT_EQ(KeyStatusText(key, kInUse), "Ctrl + Alt + H (in use)");

    EXPECT_FALSE(key.RetryIfFailed());
    ASSERT_TRUE(system.Unregister(kOtherProgram, 1));
    system.log.clear();
    EXPECT_TRUE(key.RetryIfFailed());
    EXPECT_TRUE(key.IsRegistered());
    EXPECT_EQ(KeyStatusText(key, kInUse), "Ctrl + Alt + H");
    // Held now: a retry asks the system nothing.
    EXPECT_TRUE(key.RetryIfFailed());
    EXPECT_EQ(system.log, (std::vector<std::string>{"register 0"}));

    key.Unregister();
    EXPECT_FALSE(key.IsRegistered());
}

TEST(KeyRegistration, AKeyWithoutCombinationIsNeverTriedAndShowsNoName) {
    FakeHotKeys system;
    CHotKeys key(&system);
    key.SetTarget(kFrame, 2);
    EXPECT_FALSE(key.RetryIfFailed());
    key.SetValue({kCtrlAlt, 0});  // modifiers alone make no key
    EXPECT_FALSE(key.RetryIfFailed());
    EXPECT_TRUE(system.log.empty());
    EXPECT_EQ(KeyStatusText(key, kInUse), "");
    EXPECT_EQ(KeyStatusText(key, kInUse, "Not defined"), "Not defined");
}

// ------------------------------------------------------------ texts

TEST(KeyTexts, FormatsTakeTheirValuesOnceAndNeverReadThemAsFormats) {
    EXPECT_EQ(FormatText("%s (in use)", "Ctrl + H"), "Ctrl + H (in use)");
    EXPECT_EQ(FormatText("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(FormatText("%s: %s", "Hide [ %s ]", "F1"), "Hide [ %s ]: F1");
    EXPECT_EQ(FormatText("%s is %d%%", "Ctrl"), "Ctrl is %d%%");
    EXPECT_EQ(GroupKeyLabel("Show [ %s ]", "Mail"), "Show [ Mail ]");
}

TEST(KeyTexts, TheGroupsListMarksEveryKeyTarnvellCouldNotTake) {
    std::vector<std::unique_ptr<CWindowsGroup>> groups;
    groups.push_back(std::make_unique<CWindowsGroup>());
    groups.back()->m_strName = "Mail";
    groups.back()->m_HotKeys[0].SetValue(kCtrlAltH);
    groups.back()->m_HotKeys[1].SetValue(kCtrlAltS);
    groups.push_back(std::make_unique<CWindowsGroup>());
    groups.back()->m_strName = "Chat";
    groups.back()->m_HotKeys[1].SetValue(kCtrlAltH);
    EXPECT_EQ(GroupRows(groups, {kCtrlAltH}, kInUse, "-"),
              (std::vector<GroupRow>{{"Mail", "Ctrl + Alt + H (in use)", "Ctrl + Alt + S"},
                                     {"Chat", "-", "Ctrl + Alt + H (in use)"}}));
}

TEST(KeyTexts, TheBalloonNamesEachFailedKeyOnceInOrderAndNothingWhenAllAreHeld) {
    const std::vector<LabelledKey> keys{
        {"Hide Window", kCtrlAltH, false},
        {"Show Window", kCtrlAltS, true},
        {"Hide All Windows", {}, false},  // unset: nothing to take
        {"Hide [ Mail ]", kWinF12, false},
    };
    EXPECT_EQ(FailedKeysText(keys, "%s: %s", "and %s more"),
              "Hide Window: Ctrl + Alt + H\nHide [ Mail ]: Win + F12");
    std::vector<LabelledKey> held = keys;
    for (auto& key : held) key.registered = true;
    EXPECT_EQ(FailedKeysText(held, "%s: %s", "and %s more"), "");
    EXPECT_EQ(FailedKeysText({}, "%s: %s", "and %s more"), "");
}

TEST(KeyTexts, ABalloonTooLongForTheShellCountsTheKeysThatDoNotFit) {
    std::vector<LabelledKey> keys;
    for (int i = 0; i < 20; ++i)
        keys.push_back({"Hide [ Group number " + std::to_string(i) + " ]", {kCtrlAlt, unsigned('A' + i)}, false});
    const std::string text = FailedKeysText(keys, "%s: %s", "and %s more", kBalloonChars);
    EXPECT_LE(text.size(), kBalloonChars);
    const auto shown = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    EXPECT_NE(text.find("Hide [ Group number 0 ]: Ctrl + Alt + A\n"), std::string::npos);
    EXPECT_NE(text.rfind("\nand " + std::to_string(20 - shown) + " more"), std::string::npos) << text;
    // Not even one line fits: the count alone, and cut when even that is long.
    EXPECT_EQ(FailedKeysText(keys, "%s: %s", "and %s more", 12), "and 20 more");
    EXPECT_EQ(FailedKeysText(keys, "%s: %s", "and %s more", 5), "and 2");
}

// ------------------------------------------------------------ OK check

TEST(KeyCheck, AKeyGivenTwiceNamesTheCommandOrGroupThatHasItFirst) {
    const KeyProbe free = [](KeyCombination) { return true; };
    std::vector<LabelledKey> prefs{{"Hide Window", kCtrlAltH}, {"Show Window", kCtrlAltH}, {"Hide All Windows", {}},
                                   {"Show All Windows", {}},   {"Hide/Show Window", {}}};
    EXPECT_EQ(CheckKeys(prefs, {}, free, kTexts), "Ctrl + Alt + H is already used by Hide Window.");
    prefs[1].value = {};
    EXPECT_EQ(CheckKeys(prefs, {}, free, kTexts), std::nullopt);
    // Two unset keys are no conflict.
    prefs[0].value = {};
    EXPECT_EQ(CheckKeys(prefs, {}, free, kTexts), std::nullopt);

    const std::vector<LabelledKey> group{{"Hide [ Mail ]", kWinF12}, {"Show [ Mail ]", kCtrlAltS}};
    const std::vector<LabelledKey> others{{"Hide Window", kCtrlAltH, true}, {"Show [ Chat ]", kCtrlAltS, true}};
    EXPECT_EQ(CheckKeys(group, others, free, kTexts), "Ctrl + Alt + S is already used by Show [ Chat ].");
}

TEST(KeyCheck, AKeyAnotherProgramHoldsIsRefusedAndTheTestRegistrationNeverStays) {
    FakeHotKeys system;
    TakeElsewhere(system, kWinF12);
    // Tarnvell holds Ctrl+Alt+H under identifier 0 and moves it to Show Window.
    ASSERT_TRUE(system.Register(kFrame, 0, kCtrlAlt, 'H'));
    const KeyProbe probe = SystemKeyProbe(system, kFrame, 24, {kCtrlAltH});
    const std::vector<LabelledKey> moved{{"Hide Window", {}}, {"Show Window", kCtrlAltH}, {"Hide All Windows", kCtrlAltS}};
    system.log.clear();
    EXPECT_EQ(CheckKeys(moved, {}, probe, kTexts), std::nullopt);
    // Only the combination Tarnvell does not hold was tried, and given back.
    EXPECT_EQ(system.log, (std::vector<std::string>{"register 24", "unregister 24"}));

    const std::vector<LabelledKey> taken{{"Hide Window", kCtrlAltH}, {"Show Window", kWinF12}};
    EXPECT_EQ(CheckKeys(taken, {}, probe, kTexts), "Win + F12 is used by another program.");
    // What the system holds afterwards is what it held before.
    ASSERT_EQ(system.registered.size(), 2u);
    EXPECT_EQ(system.registered[0].target, kOtherProgram);
    EXPECT_EQ(system.registered[1].id, 0);
    // Without a probe nothing is asked.
    system.log.clear();
    EXPECT_EQ(CheckKeys(taken, {}, nullptr, kTexts), std::nullopt);
    EXPECT_TRUE(system.log.empty());
}

TEST(KeyCheck, AGroupsKeysAreLabelledWithItsNameAndItsRegistrationState) {
    FakeHotKeys system;
    FakeProfile profile;
    CWindowsGroup group(system, profile, 0, kFrame);
    group.m_strName = "Mail";
    group.m_HotKeys[0].SetValue(kCtrlAltH);
    group.m_HotKeys[1].SetValue(kCtrlAltS);
    TakeElsewhere(system, kCtrlAltS);
    group.m_HotKeys[0].Register();
    group.m_HotKeys[1].Register();
    EXPECT_EQ(LabelledGroupKeys(group, "Hide [ %s ]", "Show [ %s ]"),
              (std::vector<LabelledKey>{{"Hide [ Mail ]", kCtrlAltH, true}, {"Show [ Mail ]", kCtrlAltS, false}}));
}

}  // namespace
