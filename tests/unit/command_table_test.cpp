#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/command_table.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"

namespace {

TEST(HotKeyIdentifiers, GroupKeysAlternateHideAndShow) {
    EXPECT_EQ(CommandOfHotKey(25), (Command{Verb::HideGroup, 0}));
    EXPECT_EQ(CommandOfHotKey(26), (Command{Verb::ShowGroup, 0}));
    EXPECT_EQ(CommandOfHotKey(28), (Command{Verb::ShowGroup, 1}));
    EXPECT_EQ(CommandOfHotKey(0xBFFE), (Command{Verb::ShowGroup, (0xBFFE - 25) / 2}));
}

TEST(HotKeyIdentifiers, UnusedNegativeAndOversizedIdentifiersNameNothing) {
    for (std::uintptr_t id = kProgramHotKeys; id <= 24; ++id) EXPECT_FALSE(CommandOfHotKey(id)) << id;
    // The system's own snapshot identifiers are negative.
    EXPECT_FALSE(CommandOfHotKey(static_cast<std::uintptr_t>(-1)));
    EXPECT_FALSE(CommandOfHotKey(static_cast<std::uintptr_t>(-2)));
    EXPECT_FALSE(CommandOfHotKey(static_cast<std::uintptr_t>(std::numeric_limits<std::intptr_t>::min())));
    if constexpr (sizeof(std::uintptr_t) > 4) {
        // Cut to 32 bits this would be 25, group 0.
        EXPECT_FALSE(CommandOfHotKey((std::uintptr_t{1} << 33) + 25));
    }
    EXPECT_FALSE(CommandOfHotKey(static_cast<std::uintptr_t>(std::numeric_limits<std::intptr_t>::max())));
}

TEST(MenuIdentifiers, ACommandWithANotificationCodeNamesNothing) {
    // Accelerators send 1 in the high word, controls their notification code.
    for (std::uintptr_t high : {1u, 0x300u, 0xFFFFu})
        for (unsigned id : {ID_HIDE_WINDOW, ID_SHOW_ALL, ID_SHOW_HIDDEN_BASE})
            EXPECT_FALSE(CommandOfMenuId((high << 16) | id)) << id;
    // A list item names a window only while its menu is open.
    EXPECT_FALSE(CommandOfMenuId(ID_SHOW_HIDDEN_BASE));
    EXPECT_FALSE(CommandOfMenuId(0));
}

TEST(HotKeyMessages, KeysOfMissingGroupsAndUnusedIdentifiersChangeNothing) {
    FakePlatform fake;
    fake.desktop.Add("Notepad", "Internet Explorer");
    auto kernel = StartKernel(fake);
    fake.journal.clear();
    for (std::uintptr_t id : {std::uintptr_t{kProgramHotKeys}, std::uintptr_t{24}, std::uintptr_t{27}, std::uintptr_t{28},
                              std::uintptr_t{1001}, static_cast<std::uintptr_t>(-1)})
        EXPECT_EQ(kernel->ProcessMessage(wm::kHotKey, id, 0), (MessageReply{true})) << id;
    EXPECT_TRUE(fake.journal.empty());
    EXPECT_TRUE(fake.desktop.actions.empty());
    EXPECT_TRUE(kernel->Commands().HiddenList().empty());
}

}  // namespace
