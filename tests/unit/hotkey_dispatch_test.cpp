#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/app_kernel.h"
#include "engine/hotkey_dispatch.h"
#include "fake_platform.h"
#include "platform/win_constants.h"

namespace {

using A = HotKeyAction;

TEST(HotKeyDispatch, TheFiveProgramHotKeysRunTheirCommands) {
    EXPECT_EQ(ResolveHotKey(0), (HotKeyCommand{A::HideTopWindow}));
    EXPECT_EQ(ResolveHotKey(1), (HotKeyCommand{A::ShowLastHidden}));
    EXPECT_EQ(ResolveHotKey(2), (HotKeyCommand{A::HideAll}));
    EXPECT_EQ(ResolveHotKey(3), (HotKeyCommand{A::ShowAll}));
    EXPECT_EQ(ResolveHotKey(4), (HotKeyCommand{A::ToggleWindow}));
}

TEST(HotKeyDispatch, GroupIdentifiersAlternateHideAndShow) {
    EXPECT_EQ(ResolveHotKey(25), (HotKeyCommand{A::HideGroup, 0}));
    EXPECT_EQ(ResolveHotKey(26), (HotKeyCommand{A::ShowGroup, 0}));
    EXPECT_EQ(ResolveHotKey(27), (HotKeyCommand{A::HideGroup, 1}));
    EXPECT_EQ(ResolveHotKey(28), (HotKeyCommand{A::ShowGroup, 1}));
    EXPECT_EQ(ResolveHotKey(0xBFFE), (HotKeyCommand{A::ShowGroup, (0xBFFE - 25) / 2}));
}

TEST(HotKeyDispatch, UnusedNegativeAndOversizedIdentifiersDoNothing) {
    for (std::uintptr_t id = 5; id <= 24; ++id) EXPECT_EQ(ResolveHotKey(id).action, A::None) << id;
    // The system's own snapshot identifiers are negative.
    EXPECT_EQ(ResolveHotKey(static_cast<std::uintptr_t>(-1)).action, A::None);
    EXPECT_EQ(ResolveHotKey(static_cast<std::uintptr_t>(-2)).action, A::None);
    EXPECT_EQ(ResolveHotKey(static_cast<std::uintptr_t>(std::numeric_limits<std::intptr_t>::min())).action, A::None);
    if constexpr (sizeof(std::uintptr_t) > 4) {
        // Cut to 32 bits this would be 25, group 0.
        const std::uintptr_t wide = (std::uintptr_t{1} << 33) + 25;
        EXPECT_EQ(ResolveHotKey(wide).action, A::None);
    }
    const auto top = static_cast<std::uintptr_t>(std::numeric_limits<std::intptr_t>::max());
    EXPECT_EQ(ResolveHotKey(top).action, A::None);
}

TEST(HotKeyDispatch, MessagesForMissingGroupsChangeNothing) {
    FakePlatform fake;
    fake.desktop.Add("Notepad", "Internet Explorer");
    {
        CAppKernel kernel(fake.Set());
        kernel.Init(WindowHandle{0x42});
        fake.journal.clear();
        for (std::uintptr_t id : {std::uintptr_t{5}, std::uintptr_t{24}, std::uintptr_t{27}, std::uintptr_t{28},
                                  std::uintptr_t{1001}, static_cast<std::uintptr_t>(-1)})
            EXPECT_FALSE(kernel.ProcessMessage(wm::kHotKey, id, 0));
        EXPECT_TRUE(fake.journal.empty());
        EXPECT_TRUE(fake.desktop.actions.empty());
        EXPECT_TRUE(kernel.Commands().HiddenList().empty());
    }
}

}  // namespace
