#include <gtest/gtest.h>

#include <algorithm>

#include "engine/app_kernel.h"
#include "engine_test.h"
#include "fake_platform.h"
#include "platform/win_constants.h"
#include "res/resource.h"

namespace {

class ListKey : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        fake.profile.Set("HotKeys", "Mod5", unsigned{mod::kControl | mod::kAlt});
        fake.profile.Set("HotKeys", "VK5", unsigned{'L'});
    }
};

TEST_F(ListKey, TheListKeyOpensTheListAtThePointerWithItsFirstItemSelected) {
    Start();
    EXPECT_TRUE(std::any_of(fake.hotKeys.registered.begin(), fake.hotKeys.registered.end(),
                            [](const auto& e) { return e.id == 5 && e.key == 'L'; }));
    const WindowHandle a = fake.desktop.Add("App", "Alpha");
    kernel->Run(Command{Verb::HideWindow, -1, {}, a}, Origin::Menu);
    fake.notifyShell.iconRect = platform::ScreenRect{900, 740, 916, 756};
    fake.menus.choose = [](const platform::MenuModel& menu) { return menu.at(0).id; };
    kernel->ProcessMessage(wm::kHotKey, 5, 0);
    ASSERT_EQ(fake.menus.tracked.size(), 1u);
    EXPECT_EQ(fake.menus.tracked[0], (platform::MenuModel{{platform::MenuItem::Kind::String, ID_SHOW_HIDDEN_BASE, "Alpha", {}}}));
    EXPECT_EQ(fake.menus.positions[0], std::nullopt);
    EXPECT_TRUE(fake.menus.firstSelected[0]);
    EXPECT_TRUE(Visible(a));

    // The click action of the same list selects nothing.
    kernel->Run(Command{Verb::HideWindow, -1, {}, a}, Origin::Menu);
    kernel->Run({Verb::ShowList}, Origin::TrayClick);
    EXPECT_FALSE(fake.menus.firstSelected.at(1));
}

}  // namespace
