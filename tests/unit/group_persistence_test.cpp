#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"

namespace {

constexpr WindowHandle kFrame{0x42};

// A dialog's working copy: of a listed group (keeping its identifier), or new.
std::unique_ptr<CWindowsGroup> Working(const std::string& name, unsigned key, const CWindowsGroup* of = nullptr) {
    auto g = of ? CopyGroup(*of) : std::make_unique<CWindowsGroup>();
    g->m_strName = name;
    g->m_strSearch = name;
    g->m_nCompare = GROUP_COMPARE_INCLUDE;
    g->m_HotKeys[0].SetValue({mod::kControl, key});
    return g;
}

class GroupList : public ::testing::Test {
protected:
    void SetUp() override { fake.profile.Set("Settings", "First Start", 0u); }

    std::unique_ptr<CAppKernel> Start() { return StartKernel(fake); }
    void Slot(int i, const std::string& name, const std::string& search, unsigned compare) {
        WriteGroupSlot(fake.profile, i, {name, search, compare});
    }
    void Keys(int id, unsigned modifiers, unsigned key) {
        fake.profile.Set("HotKeys", "Mod" + std::to_string(id), modifiers);
        fake.profile.Set("HotKeys", "VK" + std::to_string(id), key);
    }
    bool Registered(int id) const {
        return std::any_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                           [&](const auto& e) { return e.id == id; });
    }
    std::optional<FakeProfile::Value> Value(const std::string& entry) const {
        return fake.profile.Find("Groups", entry);
    }

    FakePlatform fake;
};

TEST_F(GroupList, EmptySectionGivesTheBuiltInGroupWithItsStoredKeys) {
    Keys(25, mod::kControl, 'I');
    auto kernel = Start();
    ASSERT_EQ(kernel->Groups().size(), 1u);
    const auto& g = *kernel->Groups().At(0);
    EXPECT_EQ(g.m_strName, "MS Internet Explorer");
    EXPECT_EQ(g.m_strSearch, "Internet Explorer");
    EXPECT_EQ(g.m_nCompare, GROUP_COMPARE_INCLUDE);
    EXPECT_EQ(g.Id(), 0);
    EXPECT_TRUE(Registered(25));
    EXPECT_EQ(g.m_HotKeys[0].HotKeyID(), 25);
    EXPECT_EQ(g.m_HotKeys[1].HotKeyID(), 26);
    // Nothing of it is written at start-up.
    EXPECT_FALSE(Value("Compare0"));
    EXPECT_FALSE(Value("Name0"));
}

TEST_F(GroupList, LoadStopsAtTheFirstEmptySlotAndItsKeysAreOnlyTried) {
    Slot(0, "Editors", "Notepad", 0);
    Slot(1, "Exact", "Calculator", 1);
    Keys(27, mod::kAlt, '1');
    Keys(29, mod::kAlt, '2');  // slot 2, which holds no group
    Slot(3, "Unreachable", "x", 0);
    auto kernel = Start();
    ASSERT_EQ(kernel->Groups().size(), 2u);
    EXPECT_EQ(kernel->Groups().At(1)->m_strName, "Exact");
    EXPECT_EQ(kernel->Groups().At(1)->m_nCompare, GROUP_COMPARE_EQUAL);
    EXPECT_EQ(kernel->Groups().At(1)->Id(), 1);
    EXPECT_TRUE(Registered(27));
    EXPECT_FALSE(Registered(29));
    const auto& log = fake.hotKeys.log;
    EXPECT_NE(std::find(log.begin(), log.end(), "register 29"), log.end());
    EXPECT_EQ(std::find(log.begin(), log.end(), "register 31"), log.end());
}

TEST_F(GroupList, EndMarkerInTheMiddleHidesTheRest) {
    Slot(0, "A", "a", 0);
    Slot(1, "B", "b", 0xFFFFFFFFu);
    Slot(2, "C", "c", 0);
    auto kernel = Start();
    EXPECT_EQ(kernel->Groups().size(), 1u);
}

TEST_F(GroupList, EndMarkerWithANameInSlotZeroMeansNoGroups) {
    Slot(0, "Deleted", "", 0xFFFFFFFFu);
    Keys(25, mod::kControl, 'D');
    auto kernel = Start();
    EXPECT_TRUE(kernel->Groups().empty());
    EXPECT_FALSE(Registered(25));
    // The discarded slot used up no identifier.
    std::vector<std::unique_ptr<CWindowsGroup>> result;
    result.push_back(Working("New", 'N'));
    kernel->Dialogs().ReplaceGroups(result);
    EXPECT_EQ(kernel->Groups().At(0)->Id(), 0);
}

TEST_F(GroupList, UnknownCompareValuesAndWrongTypesLoadSafely) {
    Slot(0, "Odd", "x", 7);
    Slot(1, "Negative", "y", static_cast<unsigned>(-2));
    fake.profile.Set("Groups", "Name2", 5u);  // a number where text belongs
    fake.profile.Set("Groups", "Search2", FakeProfile::Binary{{1, 2, 3}});
    fake.profile.Set("Groups", "Compare2", 2u);
    fake.profile.Set("Groups", "Compare3", std::string("0"));  // unreadable: ends the list
    auto kernel = Start();
    ASSERT_EQ(kernel->Groups().size(), 3u);
    EXPECT_EQ(kernel->Groups().At(0)->m_nCompare, 7);
    EXPECT_EQ(kernel->Groups().At(1)->m_nCompare, -2);
    EXPECT_EQ(kernel->Groups().At(2)->m_strName, "");
    EXPECT_EQ(kernel->Groups().At(2)->m_strSearch, "");
    EXPECT_EQ(kernel->Groups().At(2)->m_nCompare, GROUP_COMPARE_NOT_EQUAL);
}

TEST_F(GroupList, AnEndlessListLoadsOnlyWhatHotKeyIdentifiersCanAddress) {
    // More filled slots than the system has identifiers for.
    const int planted = GROUP_MAX_COUNT + 50;
    for (int i = 0; i < planted; ++i) fake.profile.Set("Groups", "Compare" + std::to_string(i), 0u);
    const auto begin = std::chrono::steady_clock::now();
    auto kernel = Start();
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::seconds(20));
    ASSERT_EQ(kernel->Groups().size(), static_cast<std::size_t>(GROUP_MAX_COUNT));
    EXPECT_EQ(kernel->Groups().At(GROUP_MAX_COUNT - 1)->m_HotKeys[1].HotKeyID(), 0xBFFF - 1);
    EXPECT_LE(kernel->Groups().At(GROUP_MAX_COUNT - 1)->m_HotKeys[1].HotKeyID(), 0xBFFF);
    // Nothing beyond the bound was touched: ten values a group (six of its
    // slot, four of its hot-keys).
    EXPECT_LT(fake.profile.reads, static_cast<std::size_t>(GROUP_MAX_COUNT) * 10 + 100);
    EXPECT_TRUE(Value("Compare" + std::to_string(planted - 1)));
}

TEST_F(GroupList, SaveWritesTheSlotThenItsHotKeys) {
    CWindowsGroup group(fake.hotKeys, fake.profile, 1, kFrame);
    group.m_strName = "N";
    group.m_strSearch = "S";
    group.m_nCompare = GROUP_COMPARE_EQUAL;
    group.Save(1);
    EXPECT_EQ(fake.profile.writes, (std::vector<std::string>{"Groups/Name1", "Groups/Search1", "Groups/Compare1",
                                                             "Groups/AutoHide1", "Groups/Program1", "Groups/Class1",
                                                             "HotKeys/Mod27", "HotKeys/VK27", "HotKeys/Mod28",
                                                             "HotKeys/VK28"}));
    group.Erase(1);
    EXPECT_EQ(std::get<unsigned>(*Value("Compare1")), 0xFFFFFFFFu);
    EXPECT_EQ(std::get<std::string>(*Value("Name1")), "N");
}

TEST_F(GroupList, ReplacingTheListRewritesSlotsAndMovesKeysBetweenPositions) {
    Slot(0, "First", "1", 0);
    Slot(1, "Second", "2", 0);
    Slot(2, "Third", "3", 0);
    Keys(25, mod::kControl, 'F');
    Keys(27, mod::kControl, 'S');
    auto kernel = Start();
    ASSERT_EQ(kernel->Groups().size(), 3u);

    // Second moves to the front and takes First's combination; a new group.
    std::vector<std::unique_ptr<CWindowsGroup>> result;
    result.push_back(Working("Second", 'F', kernel->Groups().At(1)));
    result.push_back(Working("New", 'N'));
    kernel->Dialogs().ReplaceGroups(result);

    ASSERT_EQ(kernel->Groups().size(), 2u);
    EXPECT_EQ(kernel->Groups().At(0)->Id(), 1);
    EXPECT_EQ(kernel->Groups().At(1)->Id(), 3);
    EXPECT_TRUE(std::any_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                            [](const auto& e) { return e.id == 25 && e.key == 'F'; }));
    EXPECT_TRUE(std::any_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                            [](const auto& e) { return e.id == 27 && e.key == 'N'; }));
    EXPECT_FALSE(Registered(29));

    EXPECT_EQ(std::get<std::string>(*Value("Name0")), "Second");
    EXPECT_EQ(std::get<unsigned>(*Value("Compare1")), 0u);
    EXPECT_EQ(std::get<unsigned>(*fake.profile.Find("HotKeys", "VK27")), unsigned{'N'});
}

TEST_F(GroupList, ShrunkListLeavesOldTextsBehindAndLoadsShort) {
    Slot(0, "A", "a", 0);
    Slot(1, "B", "b", 0);
    Slot(2, "C", "c", 0);
    {
        auto kernel = Start();
        std::vector<std::unique_ptr<CWindowsGroup>> result;
        result.push_back(Working("A", 0, kernel->Groups().At(0)));
        kernel->Dialogs().ReplaceGroups(result);
    }
    EXPECT_EQ(std::get<unsigned>(*Value("Compare1")), 0xFFFFFFFFu);
    EXPECT_EQ(std::get<unsigned>(*Value("Compare2")), 0xFFFFFFFFu);
    EXPECT_EQ(std::get<std::string>(*Value("Name2")), "C");
    EXPECT_EQ(Start()->Groups().size(), 1u);
}

TEST_F(GroupList, DeletingEveryGroupSurvivesARestartUnlessSlotZeroWasNeverNamed) {
    Slot(0, "Mine", "m", 0);
    {
        auto kernel = Start();
        kernel->Dialogs().ReplaceGroups({});
        EXPECT_TRUE(kernel->Groups().empty());
        EXPECT_TRUE(fake.hotKeys.registered.empty() ||
                    std::none_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                                 [](const auto& e) { return e.id >= 25; }));
    }
    EXPECT_TRUE(Start()->Groups().empty());

    // The built-in group, deleted before it was ever saved, comes back.
    fake.profile.sections.erase("Groups");
    {
        auto kernel = Start();
        ASSERT_EQ(kernel->Groups().size(), 1u);
        kernel->Dialogs().ReplaceGroups({});
    }
    EXPECT_EQ(std::get<unsigned>(*Value("Compare0")), 0xFFFFFFFFu);
    EXPECT_EQ(Start()->Groups().size(), 1u);
}

TEST_F(GroupList, OldHotKeysAreAllReleasedBeforeTheFirstNewOneIsTaken) {
    Slot(0, "A", "a", 0);
    Slot(1, "B", "b", 0);
    for (int id : {25, 26, 27, 28}) Keys(id, mod::kControl, 0x70u + static_cast<unsigned>(id - 25));
    auto kernel = Start();
    fake.journal.clear();
    std::vector<std::unique_ptr<CWindowsGroup>> result;
    result.push_back(Working("B", 'B'));
    result.push_back(Working("A", 'A'));
    kernel->Dialogs().ReplaceGroups(result);
    const auto& j = fake.journal;
    const auto firstRegister = std::find_if(j.begin(), j.end(), [](const std::string& e) {
        return e.rfind("hotkey register", 0) == 0;
    });
    ASSERT_NE(firstRegister, j.end());
    for (const char* id : {"25", "26", "27", "28"})
        EXPECT_LT(std::find(j.begin(), j.end(), std::string("hotkey unregister ") + id), firstRegister) << id;
    // The end markers are written before the new slots.
    const auto erase1 = std::find(j.begin(), j.end(), "profile write Groups/Compare1");
    const auto name0 = std::find(j.begin(), j.end(), "profile write Groups/Name0");
    EXPECT_LT(erase1, name0);
}

TEST_F(GroupList, AutoHideLoadsFromItsSlotAndAnOldProfileLoadsWithItOff) {
    Slot(0, "Old", "o", 0);  // written by an earlier version: no AutoHide0
    Slot(1, "On", "x", 0);
    Slot(2, "Off", "y", 1);
    Slot(3, "Odd", "z", 0);
    fake.profile.Set("Groups", "AutoHide1", 1u);
    fake.profile.Set("Groups", "AutoHide2", 0u);
    fake.profile.Set("Groups", "AutoHide3", std::string("1"));  // the wrong type reads as off
    const std::size_t writesBefore = fake.profile.writes.size();
    auto kernel = Start();
    ASSERT_EQ(kernel->Groups().size(), 4u);
    EXPECT_FALSE(kernel->Groups().At(0)->m_bAutoHide);
    EXPECT_TRUE(kernel->Groups().At(1)->m_bAutoHide);
    EXPECT_FALSE(kernel->Groups().At(2)->m_bAutoHide);
    EXPECT_FALSE(kernel->Groups().At(3)->m_bAutoHide);
    // Loading changes nothing in the old slot.
    EXPECT_FALSE(Value("AutoHide0"));
    for (auto it = fake.profile.writes.begin() + static_cast<std::ptrdiff_t>(writesBefore);
         it != fake.profile.writes.end(); ++it)
        EXPECT_EQ(it->rfind("Groups/", 0), std::string::npos) << *it;
    // The values of the old group are exactly those it had before the option existed.
    EXPECT_EQ(kernel->Groups().At(0)->m_strName, "Old");
    EXPECT_EQ(kernel->Groups().At(0)->m_strSearch, "o");
}

TEST_F(GroupList, AutoHideIsSavedOnAndOffAndSurvivesTheDialogsCopies) {
    Slot(0, "A", "a", 0);
    Slot(1, "B", "b", 0);
    fake.profile.Set("Groups", "AutoHide1", 1u);
    auto kernel = Start();
    // The dialog's working copies carry the option.
    auto copyA = CopyGroup(*kernel->Groups().At(0));
    auto copyB = CopyGroup(*kernel->Groups().At(1));
    EXPECT_FALSE(copyA->m_bAutoHide);
    EXPECT_TRUE(copyB->m_bAutoHide);
    // Swapped: slot 1 now holds a group without the option and must not keep
    // the one its earlier group had.
    std::vector<std::unique_ptr<CWindowsGroup>> result;
    copyA->m_bAutoHide = true;
    copyB->m_bAutoHide = false;
    result.push_back(std::move(copyA));
    result.push_back(std::move(copyB));
    kernel->Dialogs().ReplaceGroups(result);
    EXPECT_EQ(std::get<unsigned>(*Value("AutoHide0")), 1u);
    EXPECT_EQ(std::get<unsigned>(*Value("AutoHide1")), 0u);
    EXPECT_TRUE(kernel->Groups().At(0)->m_bAutoHide);
    kernel.reset();
    auto again = Start();
    EXPECT_TRUE(again->Groups().At(0)->m_bAutoHide);
    EXPECT_FALSE(again->Groups().At(1)->m_bAutoHide);
}

// "AutoHide<n>" as flags: 1 as they appear, 2 when minimized, 3 both. An
// earlier version took any non-zero value for "as they appear", and every
// value but 2 and 3 still means that alone.
TEST_F(GroupList, AutoHideFlagsLoadAndEveryOtherValueKeepsItsEarlierMeaning) {
    const struct {
        std::optional<unsigned> stored;
        bool appear, minimized;
    } cases[] = {
        {std::nullopt, false, false}, {0u, false, false}, {1u, true, false},          {2u, false, true},
        {3u, true, true},             {4u, true, false},  {7u, true, false},          {0x100u, true, false},
        {0xFFFFFFFFu, true, false},
    };
    int n = 0;
    for (const auto& c : cases) {
        GroupSlot slot{"G" + std::to_string(n), "s"};
        slot.flags = c.stored;
        WriteGroupSlot(fake.profile, n++, slot);
    }
    auto kernel = Start();
    ASSERT_EQ(kernel->Groups().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(kernel->Groups().At(i)->m_bAutoHide, cases[i].appear) << i;
        EXPECT_EQ(kernel->Groups().At(i)->m_bHideMinimized, cases[i].minimized) << i;
    }
}

TEST_F(GroupList, ProgramClassAndFlagsAreSavedWithTheSlotAndLoadBack) {
    GroupSlot old{"Old", "o"};
    old.flags = 7u;  // written by hand for an earlier version
    WriteGroupSlot(fake.profile, 0, old);
    auto kernel = Start();
    EXPECT_EQ(kernel->Groups().At(0)->m_strProgram, "");
    EXPECT_EQ(kernel->Groups().At(0)->m_strClass, "");

    std::vector<std::unique_ptr<CWindowsGroup>> result;
    result.push_back(CopyGroup(*kernel->Groups().At(0)));
    result.push_back(std::make_unique<CWindowsGroup>());
    auto& chrome = *result.back();
    chrome.m_strName = "Chrome";
    chrome.m_strProgram = "chrome.exe";
    chrome.m_strClass = "Chrome_WidgetWin_*";
    chrome.m_bHideMinimized = true;
    kernel->Dialogs().ReplaceGroups(result);
    // The old value reads as its earlier meaning and is stored as it.
    EXPECT_EQ(std::get<unsigned>(*Value("AutoHide0")), 1u);
    EXPECT_EQ(std::get<std::string>(*Value("Program0")), "");
    EXPECT_EQ(std::get<unsigned>(*Value("AutoHide1")), 2u);
    EXPECT_EQ(std::get<std::string>(*Value("Program1")), "chrome.exe");
    EXPECT_EQ(std::get<std::string>(*Value("Class1")), "Chrome_WidgetWin_*");
    kernel.reset();

    auto again = Start();
    const CWindowsGroup& back = *again->Groups().At(1);
    EXPECT_EQ(back.m_strProgram, "chrome.exe");
    EXPECT_EQ(back.m_strClass, "Chrome_WidgetWin_*");
    EXPECT_FALSE(back.m_bAutoHide);
    EXPECT_TRUE(back.m_bHideMinimized);
    EXPECT_TRUE(again->Groups().At(0)->m_bAutoHide);
}

}  // namespace
