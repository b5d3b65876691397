#include <gtest/gtest.h>

#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {


class ListKey : public ProfileTest {};

// The sixth program key, pressed on the real keyboard, opens the list of
// hidden windows with its first item selected.
TEST_F(ListKey, TheListHotKeyOpensTheListWithItsFirstItemSelected) {
    ASSERT_TRUE(SetDword("HotKeys", "Mod5", MOD_CONTROL | MOD_ALT));
    ASSERT_TRUE(SetDword("HotKeys", "VK5", 'L'));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Focused", "top:Listed One", "top:Listed Two"});
    HWND focused = host.Window("Focused"), one = host.Window("Listed One"), two = host.Window("Listed Two");
    ASSERT_TRUE(focused && one && two);
    for (HWND w : {one, two}) ASSERT_TRUE(HideTop(app, w));
    // Hot-keys fire while a window of the desktop has the keyboard focus.
    const std::vector<MenuLine> lines = MenuLines(app, [&] {
        ::SetForegroundWindow(focused);
        ::Sleep(200);
        PressKeys("ctrl+alt+l", {VK_CONTROL, VK_MENU, 'L'});
    });
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, L"Listed One");
    EXPECT_TRUE(lines[0].selected);
    EXPECT_EQ(lines[1].text, L"Listed Two");
    EXPECT_FALSE(lines[1].selected);
    EXPECT_FALSE(::IsWindowVisible(one));
}

}  // namespace
