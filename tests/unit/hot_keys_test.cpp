#include <gtest/gtest.h>

#include <algorithm>

#include "fake_platform.h"
#include "hotkeys/hot_keys.h"
#include "hotkeys/key_names.h"
#include "platform/win_constants.h"

namespace {

constexpr WindowHandle kFrame{0x42};
constexpr unsigned kCtrlAlt = mod::kControl | mod::kAlt;

class HotKeys : public ::testing::Test {
protected:
    Journal journal;
    FakeHotKeys system{&journal};
    FakeProfile profile;

    bool Holds(int id, unsigned modifiers, unsigned key) const {
        return std::any_of(system.registered.begin(), system.registered.end(), [&](const auto& e) {
            return e.target == kFrame && e.id == id && e.modifiers == modifiers && e.key == key;
        });
    }
};

TEST_F(HotKeys, LoadReadsModThenVkAndRegistersUnderTheIdentifier) {
    profile.Set("HotKeys", "Mod3", kCtrlAlt);
    profile.Set("HotKeys", "VK3", unsigned{'H'});
    CHotKeys key(&system, &profile);
    key.SetTarget(kFrame, 3);
    EXPECT_TRUE(system.log.empty()) << "binding registers nothing";

    EXPECT_TRUE(key.Exchange(true));
    EXPECT_EQ(key.Value().modifiers, kCtrlAlt);
    EXPECT_EQ(key.Value().key, unsigned{'H'});
    // Nothing was registered before, so nothing is given back.
    EXPECT_EQ(system.log, (std::vector<std::string>{"register 3"}));
    EXPECT_TRUE(Holds(3, kCtrlAlt, 'H'));

    // A second load must not trip over its own earlier registration.
    EXPECT_TRUE(key.Exchange(true));
    EXPECT_TRUE(Holds(3, kCtrlAlt, 'H'));
}

TEST_F(HotKeys, SaveWritesBothValuesEvenWhenZeroAndRegistersNothing) {
    CHotKeys key(&system, &profile);
    key.SetTarget(kFrame, 27);
    EXPECT_TRUE(key.Exchange(false));
    EXPECT_EQ(profile.writes, (std::vector<std::string>{"HotKeys/Mod27", "HotKeys/VK27"}));
    EXPECT_EQ(std::get<unsigned>(*profile.Find("HotKeys", "VK27")), 0u);
    EXPECT_TRUE(system.log.empty());

    key.SetValue({mod::kWin, vk::kF12});
    key.Exchange(false);
    EXPECT_EQ(std::get<unsigned>(*profile.Find("HotKeys", "Mod27")), mod::kWin);
    EXPECT_EQ(std::get<unsigned>(*profile.Find("HotKeys", "VK27")), vk::kF12);
}

TEST_F(HotKeys, AnotherProgramsValuesAreKeptAndFailQuietly) {
    // Wrong types read as unset; out-of-range numbers are kept as they are
    // and shown, but the system will not take them.
    profile.Set("HotKeys", "Mod0", std::string("3"));
    profile.Set("HotKeys", "VK0", FakeProfile::Binary{{0x48, 0, 0, 0}});
    profile.Set("HotKeys", "Mod1", 0xFFFFFFFFu);
    profile.Set("HotKeys", "VK1", 0x12345u);
    CHotKeys wrongType(&system, &profile);
    wrongType.SetTarget(kFrame, 0);
    CHotKeys outOfRange(&system, &profile);
    outOfRange.SetTarget(kFrame, 1);

    EXPECT_FALSE(wrongType.Exchange(true));
    EXPECT_EQ(wrongType.Value().modifiers, 0u);
    EXPECT_EQ(wrongType.Value().key, 0u);
    EXPECT_FALSE(outOfRange.Exchange(true));
    EXPECT_EQ(outOfRange.Value().modifiers, 0xFFFFFFFFu);
    EXPECT_EQ(outOfRange.Value().key, 0x12345u);
    EXPECT_EQ(outOfRange.GetName(), "Ctrl + Shift + Alt + Win + ");
    EXPECT_TRUE(system.registered.empty());

    // The value survives a save unchanged.
    outOfRange.Exchange(false);
    EXPECT_EQ(std::get<unsigned>(*profile.Find("HotKeys", "Mod1")), 0xFFFFFFFFu);
    EXPECT_EQ(std::get<unsigned>(*profile.Find("HotKeys", "VK1")), 0x12345u);
}

TEST_F(HotKeys, TheEarlierOfTwoEqualCombinationsWins) {
    CHotKeys first(&system, &profile), second(&system, &profile);
    first.SetTarget(kFrame, 0);
    second.SetTarget(kFrame, 1);
    for (auto* key : {&first, &second}) {
        key->SetValue({kCtrlAlt, 'H'});
    }
    EXPECT_TRUE(first.Register());
    EXPECT_FALSE(second.Register());
    EXPECT_TRUE(Holds(0, kCtrlAlt, 'H'));
    EXPECT_FALSE(Holds(1, kCtrlAlt, 'H'));
}

TEST_F(HotKeys, AssignCopiesThenRegistersAnew) {
    CHotKeys key(&system, &profile);
    key.SetTarget(kFrame, 2);
    CHotKeys value;
    value.SetValue({mod::kShift, 'J'});
    key.Assign(value);
    EXPECT_EQ(system.log, (std::vector<std::string>{"register 2"}));
    EXPECT_TRUE(Holds(2, mod::kShift, 'J'));

    value.SetValue({value.Value().modifiers, 'K'});
    key.Assign(value);
    EXPECT_TRUE(Holds(2, mod::kShift, 'K'));
    EXPECT_FALSE(Holds(2, mod::kShift, 'J'));
}

TEST_F(HotKeys, SwappingTwoCombinationsInOnePassLeavesTheEarlierUnregistered) {
    CHotKeys hide(&system, &profile), show(&system, &profile);
    hide.SetTarget(kFrame, 0);
    show.SetTarget(kFrame, 1);
    CHotKeys a, b;
    a.SetValue({kCtrlAlt, 'A'});
    b.SetValue({kCtrlAlt, 'B'});
    hide.Assign(a);
    show.Assign(b);
    ASSERT_TRUE(Holds(0, kCtrlAlt, 'A'));
    ASSERT_TRUE(Holds(1, kCtrlAlt, 'B'));

    // Index order: hot-key 0 asks for B while 1 still holds it.
    hide.Assign(b);
    show.Assign(a);
    EXPECT_EQ(hide.Value().key, unsigned{'B'});
    EXPECT_FALSE(Holds(0, kCtrlAlt, 'B'));
    EXPECT_TRUE(Holds(1, kCtrlAlt, 'A'));
}

TEST_F(HotKeys, CopyAndUnboundObjectsNeverTouchTheSystem) {
    CHotKeys bound(&system, &profile);
    bound.SetTarget(kFrame, 4);
    {
        CHotKeys working;
        working.SetValue({mod::kAlt, 'Q'});
        bound.Copy(working);
        EXPECT_FALSE(working.Register());
        EXPECT_FALSE(working.Exchange(false));
        working.Assign(bound);
    }
    EXPECT_EQ(bound.Value().key, unsigned{'Q'});
    EXPECT_TRUE(system.log.empty());
    EXPECT_TRUE(profile.writes.empty());
}

// ---------------------------------------------------------------- names

TEST(KeyNames, ModifiersComeInFixedOrderBeforeTheKey) {
    CHotKeys key;
    EXPECT_EQ(key.FormatName(kCtrlAlt, 'H'), "Ctrl + Alt + H");
    EXPECT_EQ(key.FormatName(mod::kWin | mod::kShift, 0x74), "Shift + Win + F5");
    EXPECT_EQ(key.FormatName(kCtrlAlt, 0), "Ctrl + Alt + ");
    EXPECT_EQ(key.FormatName(0, 0), "");

    // The longest name there is.
    const std::string longest = key.FormatName(0xF, vk::kNext);
    EXPECT_EQ(longest, "Ctrl + Shift + Alt + Win + PageDown");
    EXPECT_EQ(longest.size(), 35u);

    key.SetValue({mod::kShift, vk::kEscape});
    EXPECT_EQ(key.GetName(), "Shift + Esc");
}

TEST(KeyNames, EveryCodeHasItsNameAndNoOtherCodeHasOne) {
    const std::map<unsigned, std::string> named = {
        {0x1B, "Esc"},  {0x20, "Space"}, {0x21, "PageUp"}, {0x22, "PageDown"}, {0x23, "End"},
        {0x24, "Home"}, {0x25, "Left"},  {0x26, "Up"},     {0x27, "Right"},    {0x28, "Down"},
        {0x2D, "Insert"}, {0x6A, "*"},   {0x6B, "+"},      {0x6C, "?"},        {0x6D, "-"},
        {0x6E, "."},    {0x6F, "/"},     {0x70, "F1"},     {0x79, "F10"},      {0x7B, "F12"},
        {0x30, "0"},    {0x39, "9"},     {0x41, "A"},      {0x5A, "Z"},        {0x60, "0"},
        {0x65, "5"},    {0x69, "9"},     {0x35, "5"},
    };
    for (const auto& [code, name] : named) EXPECT_EQ(KeyName(code), name) << std::hex << code;

    int count = 0;
    for (unsigned code = 0; code < 0x200; ++code) {
        const bool inTable = code == 0x1B || (code >= 0x20 && code <= 0x28) || code == 0x2D ||
                             (code >= 0x30 && code <= 0x39) || (code >= 0x41 && code <= 0x5A) ||
                             (code >= 0x60 && code <= 0x7B);
        EXPECT_EQ(!KeyName(code).empty(), inTable) << std::hex << code;
        EXPECT_EQ(IsCapturableKey(code), inTable) << std::hex << code;
        count += inTable;
    }
    EXPECT_EQ(count, 1 + 9 + 1 + 10 + 26 + 28);
    EXPECT_TRUE(KeyName(0xFFFFFFFFu).empty());
}

}  // namespace
