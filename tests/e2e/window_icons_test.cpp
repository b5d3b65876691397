#include <gtest/gtest.h>

#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {

// The first icon of a hidden window; each further one has the next number.
constexpr UINT kFirstWindowIcon = 1000;
// Under Wine each further icon sits this far left of the one before.
constexpr int kIconStep = 18;

class WindowIcons : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        ASSERT_TRUE(SetDword("Settings", "m_bIconPerWindow", 1));
    }

    static bool IconThere(const Tarnvell& app, UINT id, bool there) {
        return WaitFor([&] { return ShellHasIcon(app.Frame(), id) == there; }, 5s);
    }
};

// Two hidden windows add two icons, in the order they were hidden, left of
// Tarnvell's own; a real click on the second shows its window and no other,
// and takes its icon away.
TEST_F(WindowIcons, EachHiddenWindowHasAnIconAndAClickOnOneShowsItsWindowOnly) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:First", "top:Second"});
    HWND first = host.Window("First"), second = host.Window("Second");
    ASSERT_TRUE(first && second);
    POINT own{};
    ASSERT_TRUE(WaitFor([&] { return TrayIconCentre(own); }, 5s));

    ASSERT_TRUE(HideTop(app, first));
    ASSERT_TRUE(HideTop(app, second));
    EXPECT_TRUE(IconThere(app, kFirstWindowIcon, true));
    EXPECT_TRUE(IconThere(app, kFirstWindowIcon + 1, true));
    EXPECT_FALSE(ShellHasIcon(app.Frame(), kFirstWindowIcon + 2));

    RealClick(POINT{own.x - 2 * kIconStep, own.y}, false);
    EXPECT_TRUE(WaitVisible(second, true));
    EXPECT_TRUE(IconThere(app, kFirstWindowIcon + 1, false));
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(first));
    EXPECT_TRUE(ShellHasIcon(app.Frame(), kFirstWindowIcon));
}

// A hidden window that its program destroys loses its icon; the others come
// back when the taskbar announces itself anew.
TEST_F(WindowIcons, ADestroyedWindowsIconGoesAndTheOthersComeBackWithANewTaskbar) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Doomed", "top:Kept"});
    HWND doomed = host.Window("Doomed"), kept = host.Window("Kept");
    ASSERT_TRUE(doomed && kept);
    ASSERT_TRUE(HideTop(app, doomed));
    ASSERT_TRUE(HideTop(app, kept));
    ASSERT_TRUE(IconThere(app, kFirstWindowIcon, true));
    ASSERT_TRUE(IconThere(app, kFirstWindowIcon + 1, true));

    ASSERT_TRUE(host.Destroy("Doomed"));
    EXPECT_TRUE(IconThere(app, kFirstWindowIcon, false));
    EXPECT_TRUE(ShellHasIcon(app.Frame(), kFirstWindowIcon + 1));

    // As a restarted taskbar knows none of them.
    ASSERT_TRUE(DeleteIconFromOutside(app.Frame(), kFirstWindowIcon + 1));
    ASSERT_TRUE(DeleteIconFromOutside(app.Frame(), kTrayIconId));
    BroadcastTaskbarCreated();
    EXPECT_TRUE(IconThere(app, kTrayIconId, true));
    EXPECT_TRUE(IconThere(app, kFirstWindowIcon + 1, true));
    EXPECT_FALSE(ShellHasIcon(app.Frame(), kFirstWindowIcon));
    EXPECT_FALSE(::IsWindowVisible(kept));
}

}  // namespace
