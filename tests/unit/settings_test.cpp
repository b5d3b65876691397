#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app_kernel.h"
#include "engine/autorun.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"

namespace {

constexpr WindowHandle kFrame{0x42};

const std::vector<std::string> kFlagNames = {
    "bShowList",     "m_bShowOnClose", "m_bInvertMouse", "m_bAutorun",  "m_bHideIcon",
    "m_bShowHiddenInTip", "m_bPassOnClose", "m_bPassOnOption", "m_bPassOnShow", "m_bMinimizeGesture",
    "m_bIconPerWindow"};

// What a save writes, in order.
std::vector<std::string> SavedEntries() {
    std::vector<std::string> entries;
    for (int n = 0; n < kProgramHotKeys; ++n)
        entries.insert(entries.end(), {"HotKeys/Mod" + std::to_string(n), "HotKeys/VK" + std::to_string(n)});
    for (const auto& name : kFlagNames) entries.push_back("Settings/" + name);
    entries.insert(entries.end(), {"Settings/m_Password", "Settings/m_uAction", "Settings/m_bClick"});
    return entries;
}

class Settings : public ::testing::Test {
protected:
    std::unique_ptr<CAppKernel> Start() { return StartKernel(fake); }
    // The profile and Run-key entries of the journal, without the prefix.
    std::vector<std::string> Accesses(const std::string& kind) const {
        std::vector<std::string> out;
        for (const auto& e : fake.journal)
            if (e.rfind(kind, 0) == 0) out.push_back(e.substr(kind.size()));
        return out;
    }
    unsigned Int(const std::string& section, const std::string& entry) const {
        return std::get<unsigned>(fake.profile.Find(section, entry).value());
    }

    FakePlatform fake;
};

TEST_F(Settings, LoadReadsEverythingInOrderAndRegistersEachHotKeyAsItGoes) {
    for (int n = 0; n < kProgramHotKeys; ++n) {
        fake.profile.Set("HotKeys", "Mod" + std::to_string(n), unsigned{mod::kAlt});
        fake.profile.Set("HotKeys", "VK" + std::to_string(n), 0x70u + static_cast<unsigned>(n));
    }
    Start();
    std::vector<std::string> expected;
    for (int n = 0; n < kProgramHotKeys; ++n) {
        const auto id = std::to_string(n);
        expected.insert(expected.end(),
                        {"profile read HotKeys/Mod" + id, "profile read HotKeys/VK" + id, "hotkey register " + id});
    }
    for (const auto& name : kFlagNames) expected.push_back("profile read Settings/" + name);
    expected.insert(expected.end(), {"profile read Settings/m_Password", "profile read Settings/m_bClick",
                                     "profile read Settings/m_uAction", "profile read Settings/First Start",
                                     "run write Tarnvell", "profile write Settings/First Start",
                                     // then the groups, hot-keys of slot 0 first
                                     "profile read HotKeys/Mod25"});
    std::vector<std::string> got;
    for (const auto& e : fake.journal)
        if (e.rfind("profile", 0) == 0 || e.rfind("hotkey", 0) == 0 || e.rfind("run", 0) == 0) got.push_back(e);
    got.resize(std::min(got.size(), expected.size()));
    EXPECT_EQ(got, expected);
}

TEST_F(Settings, StoredValuesAreLoadedAndWrongTypesReadAsDefaults) {
    auto& p = fake.profile;
    p.Set("Settings", "bShowList", 0u);
    p.Set("Settings", "m_bHideIcon", 1u);
    p.Set("Settings", "m_bPassOnShow", 1u);
    p.Set("Settings", "m_bClick", 1u);
    p.Set("Settings", "m_uAction", 11u);
    p.Set("Settings", "m_Password", std::string("secret"));
    // Another program's idea of these values:
    p.Set("Settings", "m_bShowOnClose", std::string("0"));
    p.Set("Settings", "m_bInvertMouse", FakeProfile::Binary{{0, 0, 0, 0}});
    p.Set("Settings", "m_bPassOnClose", std::string("1"));
    Preferences expected;  // the rest as an empty profile gives them
    expected.m_bShowList = false;
    expected.m_bHideIcon = expected.m_bPassOnShow = expected.m_bClick = true;
    expected.m_uAction = ClickAction(11);
    expected.m_Password = "secret";
    EXPECT_EQ(Start()->Settings().Prefs(), expected);
}

TEST_F(Settings, PasswordOfAnyLengthOrTypeIsReadWhole) {
    const std::string longPassword(100000, 'p');
    fake.profile.Set("Settings", "m_Password", longPassword);
    EXPECT_EQ(Start()->Settings().Prefs().m_Password, longPassword);

    fake.profile.Set("Settings", "m_Password", 7u);
    EXPECT_EQ(Start()->Settings().Prefs().m_Password, "");
}

TEST_F(Settings, EmptyProfileWritesOnlyFirstStartAndTheRunValue) {
    auto kernel = Start();
    EXPECT_EQ(fake.profile.writes, (std::vector<std::string>{"Settings/First Start"}));
    EXPECT_EQ(Int("Settings", "First Start"), 0u);
    EXPECT_EQ(fake.runKey.values, (std::map<std::string, std::string>{{"Tarnvell", "\"" + fake.module.path + "\""}}));
    for (int n = 0; n < kProgramHotKeys; ++n) EXPECT_FALSE(kernel->Settings().HotKey(n).IsSet());
}

TEST_F(Settings, FirstStartWritesTheRunValueOnceAndNeverAgain) {
    Start();
    ASSERT_EQ(fake.runKey.writes, 1);
    fake.runKey.values.clear();
    Start();
    EXPECT_EQ(fake.runKey.writes, 1);
    EXPECT_TRUE(fake.runKey.values.empty());

    // Any value but 0 counts as a first start.
    fake.profile.Set("Settings", "First Start", 5u);
    Start();
    EXPECT_EQ(fake.runKey.writes, 2);
    EXPECT_EQ(Int("Settings", "First Start"), 0u);
}

TEST_F(Settings, FirstStartWithAutorunOffWritesNoRunValue) {
    fake.profile.Set("Settings", "m_bAutorun", 0u);
    Start();
    EXPECT_EQ(fake.runKey.writes, 0);
    EXPECT_EQ(Int("Settings", "First Start"), 0u);
}

TEST_F(Settings, RunValueIsThePathAsTheSystemGaveItQuotedWhenItHoldsASpace) {
    fake.module.path = "C:\\My Programs\\Tar nvell\\Tarnvell.exe";
    Start();
    EXPECT_EQ(fake.runKey.values.at("Tarnvell"), "\"C:\\My Programs\\Tar nvell\\Tarnvell.exe\"");

    // Without a space the path stands alone, as earlier versions wrote it.
    fake.runKey.values.clear();
    fake.module.path = "D:\\Tools\\Tarnvell.exe";
    EXPECT_TRUE(AddToAutorun(fake.module, fake.runKey, "Tarnvell"));
    EXPECT_EQ(fake.runKey.values.at("Tarnvell"), "D:\\Tools\\Tarnvell.exe");
}

TEST_F(Settings, APathOutsideTheOldCodePageIsWrittenWholeAndCountedInCharacters) {
    fake.module.codePage = 65001;
    const ScopedCodePage utf8(fake.module);
    // "C:\Путь 路径\Tarnvell.exe" in UTF-8.
    fake.module.path = "C:\\\xD0\x9F\xD1\x83\xD1\x82\xD1\x8C \xE8\xB7\xAF\xE5\xBE\x84\\Tarnvell.exe";
    EXPECT_TRUE(AddToAutorun(fake.module, fake.runKey, "Tarnvell"));
    EXPECT_EQ(fake.runKey.values.at("Tarnvell"), "\"" + fake.module.path + "\"");

    // 259 characters of two bytes each fit; 260 do not.
    std::string path;
    for (int i = 0; i < 259; ++i) path += "\xD0\x9F";
    fake.module.path = path;
    EXPECT_TRUE(AddToAutorun(fake.module, fake.runKey, "Long"));
    EXPECT_EQ(fake.runKey.values.at("Long"), path);
    fake.module.path = path + "\xD0\x9F";
    EXPECT_FALSE(AddToAutorun(fake.module, fake.runKey, "Longer"));
    EXPECT_EQ(fake.runKey.values.count("Longer"), 0u);
}

TEST_F(Settings, MissingRunKeyIsNotCreatedAndFirstStartStillEnds) {
    fake.runKey.exists = false;
    Start();
    EXPECT_TRUE(fake.runKey.values.empty());
    EXPECT_EQ(Int("Settings", "First Start"), 0u);
}

TEST_F(Settings, APathThatDoesNotFitIsNeverWrittenCut) {
    fake.module.path = "C:\\" + std::string(300, 'd') + "\\Tarnvell.exe";
    EXPECT_FALSE(AddToAutorun(fake.module, fake.runKey, "Tarnvell"));
    EXPECT_EQ(fake.runKey.writes, 0);

    fake.module.path = std::string(260, 'x');
    EXPECT_FALSE(AddToAutorun(fake.module, fake.runKey, "Tarnvell"));
    fake.module.path = std::string(259, 'x');
    EXPECT_TRUE(AddToAutorun(fake.module, fake.runKey, "Tarnvell"));
    fake.module.path.clear();
    EXPECT_FALSE(AddToAutorun(fake.module, fake.runKey, "Empty"));
    EXPECT_EQ(fake.runKey.values.count("Empty"), 0u);
}

// From an empty profile the save writes the defaults.
TEST_F(Settings, SaveWritesEveryValueInOrderEvenWhenUnchanged) {
    auto kernel = Start();
    fake.profile.writes.clear();
    kernel->Settings().Save();
    EXPECT_EQ(fake.profile.writes, SavedEntries());
    std::vector<unsigned> flags;
    for (const auto& name : kFlagNames) flags.push_back(Int("Settings", name));
    EXPECT_EQ(flags, (std::vector<unsigned>{1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Int("Settings", "m_uAction"), 1u);
    EXPECT_EQ(Int("Settings", "m_bClick"), 0u);
    EXPECT_EQ(Int("HotKeys", "VK5"), 0u);
    EXPECT_EQ(std::get<std::string>(*fake.profile.Find("Settings", "m_Password")), "");
}

// OK in the Preferences dialog saves every value, First Start not among
// them, and touches the Run value only when autorun changed.
TEST_F(Settings, ApplyingPreferencesSavesEverythingAndTouchesTheRunValueOnlyOnChange) {
    auto kernel = Start();
    fake.profile.writes.clear();
    fake.runKey.values["Tarnvell"] = "edited by hand";
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bHideIcon = true; });
    EXPECT_EQ(fake.profile.writes, SavedEntries());
    EXPECT_EQ(fake.runKey.values.at("Tarnvell"), "edited by hand");

    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bAutorun = false; });
    EXPECT_TRUE(fake.runKey.values.empty());
    ChangePreferences(fake, *kernel, [](Preferences& p) { p.m_bAutorun = true; });
    EXPECT_EQ(fake.runKey.values.at("Tarnvell"), "\"" + fake.module.path + "\"");
    EXPECT_EQ(fake.runKey.writes, 2);
}

TEST_F(Settings, SavedValuesComeBackOnTheNextStart) {
    ChangePreferences(fake, *Start(), [](Preferences& p, HotKeyValues& keys) {
        p.m_bShowList = false;
        p.m_bPassOnOption = true;
        p.m_Password = "pw with blanks";
        p.m_uAction = ClickAction(9);
        keys[1] = {mod::kControl, 'S'};
    });
    auto kernel = Start();
    EXPECT_FALSE(kernel->Settings().Prefs().m_bShowList);
    EXPECT_TRUE(kernel->Settings().Prefs().m_bPassOnOption);
    EXPECT_EQ(kernel->Settings().Prefs().m_Password, "pw with blanks");
    EXPECT_EQ(kernel->Settings().Prefs().m_uAction.Stored(), 9u);
    EXPECT_EQ(kernel->Settings().HotKey(1).GetName(), "Ctrl + S");
    EXPECT_TRUE(std::any_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                            [](const auto& e) { return e.id == 1 && e.key == 'S'; }));
}

}  // namespace
