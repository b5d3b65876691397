#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "fake_registry.h"
#include "platform/registry_profile.h"
#include "platform/win_constants.h"

namespace {

const std::string kRoot = "Software\\KESTROW SOFTWARE\\Tarnvell";
const std::string kGroups = kRoot + "\\Groups";
const std::string kHotKeys = kRoot + "\\HotKeys";

// A section of n groups' values, as a load finds them.
void SeedGroups(FakeRegistry& registry, int n) {
    for (int i = 0; i < n; ++i) {
        const auto s = std::to_string(i);
        registry.SetString(kGroups, "Name" + s, "Group " + s);
        registry.SetString(kGroups, "Search" + s, "[" + s + "]");
        registry.SetDword(kGroups, "Compare" + s, 0);
    }
}

class RegistryProfileTest : public ::testing::Test {
protected:
    RegistryProfileTest() { profile.SetRoot(kRoot); }

    void Groups(int n) { SeedGroups(registry, n); }
    // What a load of n groups asks, in its order; each read is checked.
    void LoadGroups(int n) {
        for (int i = 0; i < n; ++i) {
            const auto s = std::to_string(i);
            EXPECT_EQ(profile.GetProfileString("Groups", "Name" + s, "?"), "Group " + s);
            EXPECT_EQ(profile.GetProfileString("Groups", "Search" + s, "?"), "[" + s + "]");
            EXPECT_EQ(profile.GetProfileInt("Groups", "Compare" + s, -1), 0u);
        }
    }

    FakeRegistry registry;
    platform::RegistryProfile profile{registry};
};

TEST_F(RegistryProfileTest, HeldSectionIsReadInOnePassAndAbsentValuesCostNothing) {
    Groups(50);
    {
        const platform::ProfileHold hold(profile);
        LoadGroups(50);
        // The hot-keys of groups without any: values that are not there.
        for (int id = 25; id < 125; ++id) {
            EXPECT_EQ(profile.GetProfileInt("HotKeys", "Mod" + std::to_string(id), 0), 0u);
            EXPECT_EQ(profile.GetProfileInt("HotKeys", "VK" + std::to_string(id), 0), 0u);
        }
    }
    // The profile's own key: its sizes (no save was left half done); Groups:
    // its sizes, 150 values, its sizes again; HotKeys: only its sizes.
    EXPECT_EQ(registry.calls.create, 3);
    EXPECT_EQ(registry.calls.enumerate, 150);
    EXPECT_EQ(registry.calls.info, 4);
    EXPECT_EQ(registry.calls.query, 0);
}

TEST_F(RegistryProfileTest, HeldValuesReadAsTheRegistryHasThem) {
    registry.SetDword(kGroups, "Compare0", 2);
    registry.Set(kGroups, "Name0", reg::kSz, "no terminator");
    registry.Set(kGroups, "Search0", reg::kSz, std::string("cut\0here", 8));
    registry.SetString(kGroups, "Compare1", "a string");
    registry.Set(kGroups, "Compare2", reg::kDword, "12");
    registry.SetDword(kGroups, "Name1", 7);
    const platform::ProfileHold hold(profile);
    EXPECT_EQ(profile.GetProfileInt("Groups", "COMPARE0", -1), 2u);  // names without regard to case
    EXPECT_EQ(profile.GetProfileString("Groups", "name0", ""), "no terminator");
    EXPECT_EQ(profile.GetProfileString("Groups", "Search0", ""), "cut");
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare1", 9), 9u);  // wrong type: the default
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare2", 9), 9u);  // not a whole DWORD
    EXPECT_EQ(profile.GetProfileString("Groups", "Name1", "d"), "d");
    EXPECT_EQ(registry.calls.query, 0);
}

// Another program rewrites a value while the pass runs: the count stays, the
// indices do not shift, only the key's last-write time moves. What the pass
// read may be stale, so the section is asked value by value, never read as
// defaults (which a later save would write over the user's values).
TEST_F(RegistryProfileTest, ChangeDuringThePassWithTheSameCountIsAskedValueByValue) {
    Groups(20);
    registry.beforeEnumerate = [&](std::uint32_t index) {
        if (index == 10) registry.SetString(kGroups, "Name3", "Renamed");
    };
    const platform::ProfileHold hold(profile);
    EXPECT_EQ(profile.GetProfileString("Groups", "Name3", "?"), "Renamed");
    const int enumerated = registry.calls.enumerate;
    EXPECT_EQ(profile.GetProfileString("Groups", "Search3", "?"), "[3]");
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare19", -1), 0u);
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare20", -1), static_cast<unsigned>(-1));
    // Value by value for the rest of the hold, not another pass per read.
    EXPECT_EQ(registry.calls.enumerate, enumerated);
    EXPECT_GE(registry.calls.query, 4);
}

TEST_F(RegistryProfileTest, ValuesComingOrGoingDuringThePassAreNoticedEvenWithAStandingClock) {
    for (const bool add : {true, false}) {
        SCOPED_TRACE(add ? "added" : "deleted");
        registry.keys.clear();
        Groups(10);
        registry.keys[kGroups].clockStands = true;
        registry.beforeEnumerate = [&](std::uint32_t index) {
            if (index != 5) return;
            if (add)
                registry.SetString(kGroups, "Name10", "New");
            else
                registry.Delete(kGroups, "Name0");
        };
        const platform::ProfileHold hold(profile);
        // Deleting Name0 shifts every later value down one index: a pass
        // that went on would have skipped one and read none of it as wrong.
        EXPECT_EQ(profile.GetProfileString("Groups", "Name6", "?"), "Group 6");
        EXPECT_EQ(profile.GetProfileString("Groups", "Name10", "?"), add ? "New" : "?");
        EXPECT_EQ(profile.GetProfileString("Groups", "Name0", "?"), add ? "Group 0" : "?");
    }
}

TEST_F(RegistryProfileTest, AllocationFailingDuringThePassFallsBackToValueByValue) {
    Groups(10);
    registry.beforeEnumerate = [](std::uint32_t index) {
        if (index == 4) throw std::bad_alloc();
    };
    const platform::ProfileHold hold(profile);
    LoadGroups(10);
    EXPECT_EQ(registry.calls.enumerate, 5);
}

TEST_F(RegistryProfileTest, TextIsHandedOverOnceAndWritesDuringAHoldAreReadBack) {
    Groups(3);
    const platform::ProfileHold hold(profile);
    EXPECT_EQ(profile.GetProfileString("Groups", "Search1", "?"), "[1]");
    EXPECT_EQ(registry.calls.query, 0);
    // The held copy went to the first reader: a second read asks the registry.
    EXPECT_EQ(profile.GetProfileString("Groups", "Search1", "?"), "[1]");
    EXPECT_GE(registry.calls.query, 1);

    EXPECT_TRUE(profile.WriteProfileString("Groups", "Name2", "Written"));
    EXPECT_TRUE(profile.WriteProfileInt("Groups", "Compare2", 1));
    EXPECT_TRUE(profile.WriteProfileInt("Groups", "Compare7", 2));
    EXPECT_EQ(profile.GetProfileString("Groups", "NAME2", "?"), "Written");
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare2", -1), 1u);
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare7", -1), 2u);
    // The section's key, and the profile's own once for a save left half done.
    EXPECT_EQ(registry.calls.create, 2);
    EXPECT_EQ(registry.Find(kGroups, "Name2")->data, std::string("Written\0", 8));
}

TEST_F(RegistryProfileTest, OutsideAHoldEveryReadSeesOtherWriters) {
    Groups(1);
    EXPECT_EQ(profile.GetProfileString("Groups", "Name0", "?"), "Group 0");
    registry.SetString(kGroups, "Name0", "Changed");
    EXPECT_EQ(profile.GetProfileString("Groups", "Name0", "?"), "Changed");
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare0", -1), 0u);
    EXPECT_EQ(profile.GetProfileInt("Groups", "Missing", 5), 5u);
    EXPECT_EQ(registry.calls.create, 5);
    EXPECT_EQ(registry.calls.enumerate, 0);
    // A hold that ends forgets what it read: the next one reads afresh.
    {
        const platform::ProfileHold hold(profile);
        EXPECT_EQ(profile.GetProfileString("Groups", "Name0", "?"), "Changed");
    }
    registry.SetString(kGroups, "Name0", "Again");
    const platform::ProfileHold hold(profile);
    EXPECT_EQ(profile.GetProfileString("Groups", "Name0", "?"), "Again");
}

// The start-up load of a large profile: the engine reads every section it
// needs through a hold, and the registry answers at most one call per stored
// value, plus a few per section.
TEST(StartUpLoad, CostsAtMostOneRegistryCallPerStoredValue) {
    FakeRegistry registry;
    platform::RegistryProfile profile(registry);
    profile.SetRoot(kRoot);
    constexpr int kSlots = 3000;
    for (int i = 0; i < kSlots; ++i) {
        const auto s = std::to_string(i);
        registry.SetString(kGroups, "Name" + s, "Group " + s);
        registry.SetString(kGroups, "Search" + s, std::string(200, 'a' + i % 26));
        registry.SetDword(kGroups, "Compare" + s, 0);
    }
    registry.SetDword(kRoot + "\\Settings", "First Start", 0);
    // One group in a hundred has a hide key, each a combination of its own.
    for (int i = 0; i < kSlots; i += 100) {
        registry.SetDword(kHotKeys, "Mod" + std::to_string(CWindowsGroup::HideHotKeyId(i)),
                          mod::kControl | mod::kAlt | mod::kShift);
        registry.SetDword(kHotKeys, "VK" + std::to_string(CWindowsGroup::HideHotKeyId(i)), 0x41 + i / 100);
    }
    std::size_t stored = 0;
    for (const auto& [path, key] : registry.keys) stored += key.values.size();
    const int sections = static_cast<int>(registry.keys.size());

    FakePlatform fake;
    const auto kernel = StartKernel(fake, {}, &profile);

    EXPECT_LE(static_cast<std::size_t>(registry.calls.Total()), stored + 3 * static_cast<std::size_t>(sections) + 8);
    EXPECT_EQ(registry.calls.query, 0);
    EXPECT_EQ(kernel->Groups().size(), static_cast<std::size_t>(kSlots));
    EXPECT_EQ(kernel->Groups().At(kSlots - 1)->m_strSearch, std::string(200, 'a' + (kSlots - 1) % 26));
    const auto groupKeys = std::count_if(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                                         [](const auto& entry) { return entry.id >= GROUP_HOTKEY_BASE; });
    EXPECT_EQ(groupKeys, kSlots / 100);
}

}  // namespace

// ----------------------------------------------- a save cut short by a kill

namespace {

// What a start reads of the groups and the settings.
struct Stored {
    std::vector<std::string> groups;
    Preferences prefs;
    ProgramKeys keys;
    friend bool operator==(const Stored&, const Stored&) = default;
};

Stored Read(CAppKernel& kernel) {
    Stored s;
    for (std::size_t i = 0; i < kernel.Groups().size(); ++i) {
        const CWindowsGroup& g = *kernel.Groups().At(i);
        s.groups.push_back(g.m_strName + "|" + g.m_strSearch + "|" + std::to_string(g.m_nCompare) + "|" +
                           g.m_HotKeys[0].GetName() + "|" + g.m_HotKeys[1].GetName());
    }
    s.prefs = kernel.Settings().Prefs();
    s.keys = kernel.Settings().Keys();
    return s;
}

// A profile, a kernel over it, the save the user makes, and what the next
// start reads, with the process killed after each number of writes in turn:
// every cut reads as the state before the save or the state after it.
void EveryCutLeavesTheOldOrTheNewStateWhole(const std::function<void(FakePlatform&, CAppKernel&)>& save) {
    const auto seed = [](FakeRegistry& registry) {
        SeedGroups(registry, 3);
        for (int i = 0; i < 3; ++i) {
            registry.SetDword(kHotKeys, "Mod" + std::to_string(CWindowsGroup::HideHotKeyId(i)), mod::kControl);
            registry.SetDword(kHotKeys, "VK" + std::to_string(CWindowsGroup::HideHotKeyId(i)), 'A' + i);
        }
        registry.SetDword(kRoot + "\\Settings", "First Start", 0);
    };
    const auto start = [](FakeRegistry& registry, FakePlatform& fake) {
        auto profile = std::make_unique<platform::RegistryProfile>(registry);
        profile->SetRoot(kRoot);
        auto kernel = StartKernel(fake, {}, profile.get());
        return std::make_pair(std::move(profile), std::move(kernel));
    };
    // Once without a kill: the states before and after, and the writes
    // the save takes.
    Stored before, after;
    int writes = 0;
    {
        FakeRegistry registry;
        seed(registry);
        FakePlatform fake;
        auto [profile, kernel] = start(registry, fake);
        before = Read(*kernel);
        const int sets = registry.calls.set + registry.calls.remove;
        save(fake, *kernel);
        writes = registry.calls.set + registry.calls.remove - sets;
        after = Read(*kernel);
    }
    ASSERT_NE(after, before);
    ASSERT_GT(writes, 2);
    for (int cut = 0; cut < writes; ++cut) {
        FakeRegistry registry;
        seed(registry);
        {
            FakePlatform fake;
            auto [profile, kernel] = start(registry, fake);
            registry.writesLeft = cut;
            save(fake, *kernel);
        }
        registry.writesLeft = -1;
        FakePlatform next;
        auto [profile, kernel] = start(registry, next);
        const Stored read = Read(*kernel);
        EXPECT_TRUE(read == before || read == after) << "cut after " << cut << " of " << writes << " writes";
    }
}

}  // namespace

TEST(KilledSave, AWindowsGroupsOkIsStoredWholeOrNotAtAll) {
    EveryCutLeavesTheOldOrTheNewStateWhole([](FakePlatform& fake, CAppKernel& kernel) {
        fake.prompts.windowsGroups = [](GroupsForm& form) {
            form.groups.erase(form.groups.begin());  // the first goes, the others move up
            form.groups[0]->m_strName = "Renamed";
            form.groups[1]->m_HotKeys[1].SetValue({mod::kAlt, 'Z'});
            return true;
        };
        kernel.Run({Verb::WindowsGroups}, Origin::Menu);
    });
}

TEST(KilledSave, APreferencesOkIsStoredWholeOrNotAtAll) {
    EveryCutLeavesTheOldOrTheNewStateWhole([](FakePlatform& fake, CAppKernel& kernel) {
        ChangePreferences(fake, kernel, [](Preferences& p, HotKeyValues& keys) {
            p.m_bShowList = false;
            p.m_bHideIcon = true;
            p.m_uAction = ClickAction(5);
            keys[1] = {mod::kWin, 'S'};
            keys[3] = {mod::kWin, 'A'};
        });
    });
}

// The record is input like any value: one that is not whole is dropped, and
// nothing of it is stored.
TEST_F(RegistryProfileTest, ADamagedRecordOfASaveIsDroppedAndChangesNothing) {
    Groups(1);
    std::string record;
    {
        FakeRegistry other;
        platform::RegistryProfile writer(other);
        writer.SetRoot(kRoot);
        other.writesLeft = 1;  // the record, and nothing after it
        {
            const platform::ProfileBatch batch(writer);
            writer.WriteProfileString("Groups", "Name0", "Replaced");
            writer.WriteProfileInt("Groups", "Compare0", 1);
        }
        record = other.Find(kRoot, platform::RegistryProfile::kPendingValue)->data;
    }
    for (std::size_t cut : {std::size_t{0}, std::size_t{5}, record.size() - 1}) {
        registry.Set(kRoot, platform::RegistryProfile::kPendingValue, reg::kBinary, record.substr(0, cut));
        platform::RegistryProfile fresh(registry);
        fresh.SetRoot(kRoot);
        EXPECT_EQ(fresh.GetProfileString("Groups", "Name0", "?"), "Group 0") << cut;
        EXPECT_FALSE(registry.Find(kRoot, platform::RegistryProfile::kPendingValue)) << cut;
    }
    // Whole, it is carried out by the next start.
    registry.Set(kRoot, platform::RegistryProfile::kPendingValue, reg::kBinary, record);
    EXPECT_EQ(profile.GetProfileString("Groups", "Name0", "?"), "Replaced");
    EXPECT_EQ(profile.GetProfileInt("Groups", "Compare0", -1), 1u);
    EXPECT_FALSE(registry.Find(kRoot, platform::RegistryProfile::kPendingValue));
}
