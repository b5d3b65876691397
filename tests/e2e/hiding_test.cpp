#include <gtest/gtest.h>

#include <algorithm>

#include "e2e_support.h"

using namespace e2e;

namespace {


TEST(Hiding, HideWindowAndShowWindowTakeTheTopmostFamily) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Below", "top:Alpha"});
    HWND alpha = host.Window("Alpha");
    HWND below = host.Window("Below");
    ASSERT_TRUE(alpha && below);

    Command(app.Frame(), ID_HIDE_WINDOW);
    EXPECT_TRUE(WaitVisible(alpha, false));
    EXPECT_TRUE(::IsWindowVisible(below));

    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(alpha, true));
}

// A window that keeps itself on screen is never listed as hidden: the balloon
// names it, Hide All takes the others, and the command line says so.
TEST(Hiding, AWindowThatKeepsItselfOnScreenIsNotListedAndTheBalloonNamesIt) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Ordinary", "stubborn:Stubborn"});
    HWND stubborn = host.Window("Stubborn"), ordinary = host.Window("Ordinary");
    ASSERT_TRUE(stubborn && ordinary);
    ASSERT_TRUE(Raise(stubborn));

    Command(app.Frame(), ID_HIDE_WINDOW);
    const std::string balloon = BalloonText(10s);
    EXPECT_NE(balloon.find("Tarnvell could not hide \"Stubborn\"."), std::string::npos) << balloon;
    TakeBalloonDown(app);
    EXPECT_TRUE(::IsWindowVisible(stubborn));
    EXPECT_TRUE(::IsWindowVisible(ordinary));  // no other window instead
    const auto menu = MenuTexts(app);
    ASSERT_FALSE(menu.empty());
    EXPECT_EQ(std::find(menu.begin(), menu.end(), L"Stubborn"), menu.end());

    const Process script = Start(Tarnvell::ExePath(), "/hide-window");
    EXPECT_EQ(script.WaitExit(20s), 5u);
    TakeBalloonDown(app);

    Command(app.Frame(), ID_HIDE_ALL);
    EXPECT_TRUE(WaitVisible(ordinary, false));
    EXPECT_TRUE(::IsWindowVisible(stubborn));
    TakeBalloonDown(app);
    Command(app.Frame(), ID_SHOW_ALL);
    EXPECT_TRUE(WaitVisible(ordinary, true));
}

TEST(Hiding, HideAllAndShowAllTakeEveryOrdinaryWindow) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:One", "win:Two", "class:BaseBar:System", "win:Three"});
    HWND one = host.Window("One"), two = host.Window("Two"), three = host.Window("Three");
    HWND system = host.Window("System");
    ASSERT_TRUE(one && two && three && system);

    Command(app.Frame(), ID_HIDE_ALL);
    EXPECT_TRUE(WaitVisible(one, false));
    EXPECT_TRUE(WaitVisible(two, false));
    EXPECT_TRUE(WaitVisible(three, false));
    // A window of a shell class is never hidden.
    ::Sleep(200);
    EXPECT_TRUE(::IsWindowVisible(system));
    EXPECT_TRUE(::IsWindowVisible(::FindWindowA("Shell_TrayWnd", nullptr)));

    Command(app.Frame(), ID_SHOW_ALL);
    EXPECT_TRUE(WaitVisible(one, true));
    EXPECT_TRUE(WaitVisible(two, true));
    EXPECT_TRUE(WaitVisible(three, true));
}

TEST(Hiding, AnOwnedDialogGoesWithItsOwnerAndComesBackFirst) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Main", "owned:Dialog:Main"});
    HWND main = host.Window("Main"), dialog = host.Window("Dialog");
    ASSERT_TRUE(main && dialog);
    ASSERT_EQ(::GetWindow(dialog, GW_OWNER), main);

    Command(app.Frame(), ID_HIDE_WINDOW);
    EXPECT_TRUE(WaitVisible(main, false));
    EXPECT_TRUE(WaitVisible(dialog, false));

    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(dialog, true));
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(main));

    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(main, true));
}

TEST(Hiding, HideShowWindowTogglesTheSameWindow) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Toggled"});
    HWND w = host.Window("Toggled");
    ASSERT_TRUE(w);
    Command(app.Frame(), ID_TOGGLE_WINDOW);
    EXPECT_TRUE(WaitVisible(w, false));
    Command(app.Frame(), ID_TOGGLE_WINDOW);
    EXPECT_TRUE(WaitVisible(w, true));
}

TEST(Hiding, TheDefaultTrayClickTogglesTheTopmostWindow) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Clicked"});
    HWND w = host.Window("Clicked");
    ASSERT_TRUE(w);
    // The shell's callback for a left click, as it arrives from the icon.
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(WaitVisible(w, false));
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(WaitVisible(w, true));
}

TEST(Hiding, TheMainMenuOpensOnTheIconAndRunsTheChosenItem) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Menued"});
    HWND w = host.Window("Menued");
    ASSERT_TRUE(w);
    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(w, false));

    POINT icon{};
    ASSERT_TRUE(WaitFor([&] { return TrayIconCentre(icon); }, 5s));
    Click(icon, true);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = PopupMenu()) != nullptr; }, 5s));
    // The frame stays invisible while its menu is tracked.
    EXPECT_FALSE(::IsWindowVisible(app.Frame()));

    // The last item is "Show Window". Wine sizes and places a menu's window
    // after it shows it: the click waits for its final place.
    RECT r{}, was{};
    ASSERT_TRUE(WaitFor([&] {
        was = r;
        ::GetWindowRect(menu, &r);
        return r.bottom > r.top && ::EqualRect(&r, &was);
    }, 5s, 200ms));
    Click(POINT{(r.left + r.right) / 2, r.bottom - 8}, false);
    EXPECT_TRUE(WaitFor([] { return PopupMenu() == nullptr; }, 5s));
    EXPECT_TRUE(WaitVisible(w, true));
}

TEST(Hiding, AHungApplicationDoesNotFreezeTarnvell) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host other({"win:Other"});
    Host hung({"top:Hung"});
    HWND h = hung.Window("Hung"), o = other.Window("Other");
    ASSERT_TRUE(h && o);

    // The application stops pumping messages for a while.
    ::PostMessageA(h, host::kHang, 6000, 0);
    ::Sleep(200);
    Command(app.Frame(), ID_HIDE_WINDOW);
    ::Sleep(100);
    const auto asked = std::chrono::steady_clock::now();
    DWORD_PTR result = 0;
    EXPECT_NE(::SendMessageTimeoutA(app.Frame(), WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &result), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - asked, 1s);

    // The next command works while the application still sleeps.
    Command(app.Frame(), ID_HIDE_ALL);
    EXPECT_TRUE(WaitVisible(o, false, 3s));

    // Once it wakes, its window hides too, and Show All brings both back.
    EXPECT_TRUE(WaitVisible(h, false, 10s));
    Command(app.Frame(), ID_SHOW_ALL);
    EXPECT_TRUE(WaitVisible(o, true));
    EXPECT_TRUE(WaitVisible(h, true));
}

}  // namespace
