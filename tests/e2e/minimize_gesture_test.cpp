#include <gtest/gtest.h>

#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {


// The test window's own process, where its system menu would open.
HWND MenuOf(const Host& host) {
    for (HWND w : WindowsOfProcess(host.Proc().Pid(), "#32768"))
        if (::IsWindowVisible(w)) return w;
    return nullptr;
}

// A menu the click opened (the test window's system menu) goes before the
// next test.
void CloseMenuOf(const Host& host, HWND window) {
    if (MenuOf(host)) ::PostMessageA(window, WM_CANCELMODE, 0, 0);
    WaitFor([&] { return MenuOf(host) == nullptr; }, 3s);
}

class MinimizeGesture : public ProfileTest {
protected:

    // A right click of the real mouse on the part of w that answers hit, once
    // w is on top, so that the click lands on w and nothing else.
    static bool RightClickOn(HWND w, LRESULT hit) {
        if (!Raise(w)) return false;
        const auto at = HitPoint(w, hit);
        if (!at || ::WindowFromPoint(*at) != w) return false;
        RealClick(*at, true);
        return true;
    }
};

TEST_F(MinimizeGesture, ARightClickOnTheMinimizeButtonHidesTheWindowWithItsDialog) {
    ASSERT_TRUE(SetDword("Settings", "m_bMinimizeGesture", 1));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Main", "owned:Dialog:Main"});
    HWND main = host.Window("Main"), dialog = host.Window("Dialog");
    ASSERT_TRUE(main && dialog);

    ASSERT_TRUE(RightClickOn(main, HTMINBUTTON));
    EXPECT_TRUE(WaitVisible(main, false));
    EXPECT_TRUE(WaitVisible(dialog, false));
    // The press never reached the window: no system menu opened.
    ::Sleep(300);
    EXPECT_EQ(MenuOf(host), nullptr);
    CloseMenuOf(host, main);

    // The dialog comes back first, then its owner.
    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(dialog, true));
    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(main, true));
}

// Anywhere but on the minimize button, or with the option off, the click
// goes on to the window untouched (on the caption it opens the system menu).
TEST_F(MinimizeGesture, ARightClickElsewhereOrWithTheOptionOffHidesNothing) {
    const struct {
        bool option;
        int hit;
        bool opensMenu;
    } cases[] = {{true, HTCAPTION, true}, {false, HTMINBUTTON, false}};
    for (const auto& c : cases) {
        ASSERT_TRUE(SetDword("Settings", "m_bMinimizeGesture", c.option ? 1 : 0));
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        Host host({"top:Untouched"});
        HWND w = host.Window("Untouched");
        ASSERT_TRUE(w);
        ASSERT_TRUE(RightClickOn(w, c.hit));
        if (c.opensMenu)
            EXPECT_TRUE(WaitFor([&] { return MenuOf(host) != nullptr; }, 3s)) << c.hit;
        else
            ::Sleep(1000);
        EXPECT_TRUE(::IsWindowVisible(w)) << c.hit;
        CloseMenuOf(host, w);
        EXPECT_TRUE(::IsWindowVisible(w)) << c.hit;
    }
}

}  // namespace
