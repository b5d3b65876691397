#include <gtest/gtest.h>

#include "e2e_support.h"
// After windows.h, which it needs.
#include <shellapi.h>

using namespace e2e;

namespace {

// The helpers the hot-key tests stand on, checked against the real system:
// a combination held by this process is refused to everyone else until it
// is let go.
TEST(TestHelpers, AHeldCombinationIsTakenUntilReleased) {
    ASSERT_EQ(ProbeHotKey(MOD_CONTROL | MOD_ALT, 'J'), 0u) << "the combination must be free to begin with";
    HeldHotKey held(MOD_CONTROL | MOD_ALT, 'J');
    ASSERT_TRUE(held.Held());
    EXPECT_NE(ProbeHotKey(MOD_CONTROL | MOD_ALT, 'J'), 0u);
    HeldHotKey second(MOD_CONTROL | MOD_ALT, 'J');
    EXPECT_FALSE(second.Held());
    held.Release();
    EXPECT_EQ(ProbeHotKey(MOD_CONTROL | MOD_ALT, 'J'), 0u);
}

// A balloon's body can be read from outside the program that shows it.
TEST(TestHelpers, TheBalloonReaderSeesTheTextOfABalloonOverAnIcon) {
    EXPECT_TRUE(ShellShowsABalloon(5s));
    // Its empty text took it down again.
    EXPECT_TRUE(WaitFor([] { return BalloonText(0ms).empty(); }, 10s)) << BalloonText(0ms);
}

// A real click, as a hand gives it, puts the keyboard focus into the edit
// it lands on: the way the hot-key tests reach a capture field.
TEST(TestHelpers, ARealClickGivesAnEditOfTarnvellsDialogTheFocus) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_PREFERENCES);
    HWND prefs = WaitDialog(app.Proc().Pid(), "Preferences", 10s);
    ASSERT_NE(prefs, nullptr);
    for (int id : {IDC_KEY_SHOW_WINDOW, IDC_KEY_SHOW_ALL}) {
        HWND field = ::GetDlgItem(prefs, id);
        EXPECT_TRUE(ClickToFocus(prefs, field)) << id << " " << FocusOf(prefs);
    }
    ::PostMessageA(prefs, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitGone(prefs));
}

}  // namespace
