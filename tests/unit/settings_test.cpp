#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app_kernel.h"
#include "engine/password.h"
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
    entries.insert(entries.end(),
                   {"Settings/PasswordHash", "Settings/m_uAction", "Settings/m_bClick", "Settings/Language deleted"});
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
    expected.insert(expected.end(), {"profile read Settings/PasswordHash", "profile read Settings/m_bClick",
                                     "profile read Settings/m_uAction", "profile read Settings/Language",
                                     "profile read Settings/m_Password",
                                     "profile read Settings/First Start",
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
    p.Set("Settings", "Language", std::string("ja-JP"));
    // Another program's idea of these values:
    p.Set("Settings", "m_bShowOnClose", std::string("0"));
    p.Set("Settings", "m_bInvertMouse", FakeProfile::Binary{{0, 0, 0, 0}});
    p.Set("Settings", "m_bPassOnClose", std::string("1"));
    Preferences expected;  // the rest as an empty profile gives them
    expected.m_bShowList = false;
    expected.m_bHideIcon = expected.m_bPassOnShow = expected.m_bClick = true;
    expected.m_uAction = ClickAction(11);
    expected.m_strLanguage = "ja-JP";
    EXPECT_EQ(Start()->Settings().Prefs(), expected);
}

// An earlier version's password, kept as text, is stored as its hash at
// start, and only then is the text deleted: a kill between the two writes
// leaves a profile that still guards, and the next start ends the work.
TEST_F(Settings, APlainPasswordOfAnEarlierVersionBecomesItsHash) {
    const std::string longPassword(100000, 'p');
    const struct {
        std::optional<FakeProfile::Value> plain;
        bool hashStored;  // a run was killed between the two writes
        bool cryptoFails;
        std::string opens;
        bool plainStays;
    } cases[] = {
        {std::string("secret"), false, false, "secret", false},
        {longPassword, false, false, longPassword, false},
        {std::string("secret"), true, false, "secret", false},
        {std::string(""), false, false, "", false},
        {7u, false, false, "", true},                      // not a text: no password of ours
        {std::string("secret"), false, true, "secret", true},  // no hash can be made: the text stays
        {std::nullopt, false, false, "", false},
    };
    for (const auto& c : cases) {
        FakePlatform local;
        local.profile.Set("Settings", "First Start", 0u);
        if (c.plain) local.profile.Set("Settings", "m_Password", *c.plain);
        if (c.hashStored) {
            local.profile.Set("Settings", "PasswordHash",
                              PasswordHash::Make(local.crypto, "secret", 10)->Encode());
        }
        local.crypto.fail = c.cryptoFails;
        local.journal.clear();
        const auto kernel = StartKernel(local);
        const std::string shown = c.opens.size() > 20 ? "(long)" : c.opens;
        EXPECT_TRUE(kernel->Settings().CheckPassword(c.opens)) << shown;
        EXPECT_FALSE(kernel->Settings().CheckPassword(c.opens + "x")) << shown;
        EXPECT_EQ(local.profile.Find("Settings", "m_Password").has_value(), c.plainStays) << shown;
        const auto hash = local.profile.Find("Settings", "PasswordHash");
        EXPECT_EQ(hash.has_value(), !c.plainStays && !c.opens.empty()) << shown;
        // The hash is written before the text goes.
        const auto write = std::find(local.journal.begin(), local.journal.end(), "profile write Settings/PasswordHash");
        const auto remove = std::find(local.journal.begin(), local.journal.end(), "profile delete Settings/m_Password");
        if (write != local.journal.end()) {
            EXPECT_LT(write, remove) << shown;
        }
    }
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
    EXPECT_EQ(std::get<std::string>(*fake.profile.Find("Settings", "PasswordHash")), "");
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
    ChangePreferences(fake, *Start(), [](PreferencesForm& form) {
        form.prefs.m_bShowList = false;
        form.prefs.m_bPassOnOption = true;
        form.newPassword = "pw with blanks";
        form.prefs.m_uAction = ClickAction(9);
        form.keys[1] = {mod::kControl, 'S'};
    });
    auto kernel = Start();
    EXPECT_FALSE(kernel->Settings().Prefs().m_bShowList);
    EXPECT_TRUE(kernel->Settings().Prefs().m_bPassOnOption);
    EXPECT_TRUE(kernel->Settings().CheckPassword("pw with blanks"));
    EXPECT_FALSE(kernel->Settings().CheckPassword("pw with blank"));
    EXPECT_EQ(kernel->Settings().Prefs().m_uAction.Stored(), 9u);
    EXPECT_EQ(kernel->Settings().HotKey(1).GetName(), "Ctrl + S");
    EXPECT_TRUE(std::any_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                            [](const auto& e) { return e.id == 1 && e.key == 'S'; }));
}

}  // namespace
