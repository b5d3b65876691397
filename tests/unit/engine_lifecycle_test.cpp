#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/app_kernel.h"
#include "engine_steps.h"
#include "fake_platform.h"
#include "platform/win_constants.h"

namespace {

constexpr WindowHandle kFrame{0x42};

class EngineLifecycle : public ::testing::Test {
protected:
    FakePlatform fake;
};

TEST_F(EngineLifecycle, NothingReachesTheSystemBeforeInit) {
    CAppKernel kernel(fake.Set());
    EXPECT_TRUE(kernel.Commands().HiddenList().empty());
    EXPECT_FALSE(kernel.Commands().Designated());
    EXPECT_TRUE(kernel.Groups().empty());
    EXPECT_FALSE(kernel.TrayIcon().IsAdded());
    for (int n = 0; n < kProgramHotKeys; ++n) {
        EXPECT_FALSE(kernel.Settings().HotKey(n).Target());
        EXPECT_EQ(kernel.Settings().HotKey(n).HotKeyID(), -1);
    }
    EXPECT_TRUE(fake.journal.empty());
}

TEST_F(EngineLifecycle, InitPutsTheIconInTheTrayAndBindsTheHotKeys) {
    CAppKernel kernel(fake.Set());
    kernel.Init(kFrame);

    ASSERT_GE(fake.journal.size(), 2u);
    EXPECT_EQ(fake.journal[0], "create icon window");
    EXPECT_EQ(fake.journal[1], "notify 0");  // the add

    const auto& add = fake.notifyShell.calls.at(0).data;
    EXPECT_EQ(add.hWnd, kFrame);
    EXPECT_EQ(add.uID, 128u);
    EXPECT_EQ(std::string(add.szTip.data()), "Tarnvell");
    EXPECT_EQ(add.hIcon, (IconHandle{0x143}));
    EXPECT_EQ(add.uCallbackMessage, wm::kTrayNotify);
    EXPECT_TRUE(kernel.TrayIcon().IsAdded());
    EXPECT_FALSE(kernel.TrayIcon().IsHidden());

    for (int n = 0; n < kProgramHotKeys; ++n) {
        EXPECT_EQ(kernel.Settings().HotKey(n).Target(), kFrame);
        EXPECT_EQ(kernel.Settings().HotKey(n).HotKeyID(), n);
    }
}

TEST_F(EngineLifecycle, AMissingIconStillAddsTheTrayEntry) {
    fake.module.icons.clear();
    CAppKernel kernel(fake.Set());
    kernel.Init(kFrame);
    EXPECT_FALSE(fake.notifyShell.calls.at(0).data.hIcon);
    EXPECT_TRUE(kernel.TrayIcon().IsAdded());
}

TEST_F(EngineLifecycle, TearDownRemovesGroupsThenHotKeysThenTheIcon) {
    for (const char* n : {"0", "1"}) fake.profile.Set("Groups", std::string("Compare") + n, 0u);
    // Every key has a combination, so that every one is registered.
    unsigned key = 'A';
    for (int id : {0, 1, 2, 3, 4, 25, 26, 27, 28}) {
        fake.profile.Set("HotKeys", "Mod" + std::to_string(id), unsigned{mod::kAlt});
        fake.profile.Set("HotKeys", "VK" + std::to_string(id), key++);
    }
    fake.desktop.Add("App", "app");
    auto kernel = StartKernel(fake, kFrame);
    kernel->Run({Verb::HideWindow}, Origin::Menu);
    fake.journal.clear();
    fake.desktop.actions.clear();

    kernel.reset();

    auto position = [&](const std::string& entry) {
        return std::find(fake.journal.begin(), fake.journal.end(), entry) - fake.journal.begin();
    };
    const auto n = static_cast<long>(fake.journal.size());
    // Each group's hide key before its show key, group 0 before group 1.
    EXPECT_LT(position("hotkey unregister 25"), position("hotkey unregister 26"));
    EXPECT_LT(position("hotkey unregister 26"), position("hotkey unregister 27"));
    EXPECT_LT(position("hotkey unregister 27"), position("hotkey unregister 28"));
    for (int id = 0; id < 5; ++id) {
        const auto p = position("hotkey unregister " + std::to_string(id));
        ASSERT_LT(p, n) << id;
        EXPECT_GT(p, position("hotkey unregister 28")) << id;
        EXPECT_LT(p, position("notify 2")) << id;
    }
    EXPECT_LT(position("notify 2"), position("close icon window"));
    EXPECT_EQ(fake.journal.back(), "close icon window");
    EXPECT_TRUE(fake.notifyShell.icons.empty());
    // Hidden windows stay hidden: nothing is shown on the way out.
    EXPECT_TRUE(fake.desktop.actions.empty());
}

TEST_F(EngineLifecycle, UnboundHotKeysNeverCallTheSystem) {
    {
        CWindowsGroup working;
        CHotKeys copy;
        copy.SetValue({copy.Value().modifiers, 'H'});
        EXPECT_FALSE(copy.Register());
    }
    EXPECT_TRUE(fake.hotKeys.log.empty());
}

}  // namespace
