// Windows Tarnvell hid stay within reach: across a kill, an exit that shows
// nothing, a refused second password and a cancelled logoff.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {


// Runs a command; true once w is then visible (or hidden).
bool Runs(const Tarnvell& app, UINT command, HWND w, bool visible) {
    Command(app.Frame(), command);
    return WaitVisible(w, visible);
}

class Journal : public ProfileTest {};

TEST_F(Journal, AKilledTarnvellHandsItsHiddenWindowsToTheNextRun) {
    Host host({"top:First", "top:Second", "win:Other"});
    Host doomed({"top:Doomed"});
    HWND first = host.Window("First"), second = host.Window("Second"), other = host.Window("Other");
    HWND gone = doomed.Window("Doomed");
    ASSERT_TRUE(first && second && other && gone);
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        for (HWND w : {gone, first, second}) {
            Raise(w);
            ASSERT_TRUE(Runs(app, ID_HIDE_WINDOW, w, false));
        }
        ::TerminateProcess(app.Proc().info.hProcess, 9);
        ASSERT_NE(app.Proc().WaitExit(5s), STILL_ACTIVE);
    }
    // Meanwhile a journalled window is destroyed, and an application hides a
    // window of its own that Tarnvell never hid.
    ::TerminateProcess(doomed.Proc().info.hProcess, 0);
    ::ShowWindow(other, SW_HIDE);
    ASSERT_TRUE(WaitVisible(other, false));

    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(first) || ::IsWindowVisible(second));  // nothing is shown at start
    EXPECT_TRUE(Runs(app, ID_SHOW_WINDOW, second, true));
    EXPECT_FALSE(::IsWindowVisible(first));
    EXPECT_TRUE(Runs(app, ID_SHOW_WINDOW, first, true));  // not lost on the destroyed window
    Command(app.Frame(), ID_SHOW_ALL);
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(other));
}

TEST_F(Journal, AnExitWithoutShowingAndARefusedSecondPasswordLeaveTheWindowsForAShowAllLater) {
    ASSERT_TRUE(SetDword("Settings", "m_bShowOnClose", 0));
    Host host({"top:Kept"});
    HWND kept = host.Window("Kept");
    ASSERT_TRUE(kept);
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(Runs(app, ID_HIDE_WINDOW, kept, false));
        ASSERT_TRUE(app.Close());
    }
    EXPECT_FALSE(::IsWindowVisible(kept));

    ASSERT_TRUE(SetDword("Settings", "m_bShowOnClose", 1));
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnClose", 1));
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 1));
    ASSERT_TRUE(SetString("Settings", "m_Password", "pw"));
    Host other({"top:Guarded"});
    HWND guarded = other.Window("Guarded");
    ASSERT_TRUE(guarded);
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(Runs(app, ID_HIDE_WINDOW, guarded, false));
        ASSERT_TRUE(AnswerPassword(app, "pw", IDOK, ID_APP_EXIT));  // the close question
        ASSERT_TRUE(AnswerPassword(app, "wrong", IDOK));            // the show-all question
        ASSERT_NE(app.Proc().WaitExit(10s), STILL_ACTIVE);
    }
    EXPECT_FALSE(::IsWindowVisible(kept) || ::IsWindowVisible(guarded));

    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 0));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_SHOW_ALL);
    EXPECT_TRUE(WaitVisible(kept, true));
    EXPECT_TRUE(WaitVisible(guarded, true));
}

TEST_F(Journal, HideWindowDuringTarnvellsOwnMenuOrPromptTakesAnotherProgramsWindow) {
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 1));
    Host host({"win:Lower", "top:Upper"});
    HWND upper = host.Window("Upper"), lower = host.Window("Lower");
    ASSERT_TRUE(upper && lower);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    // The main menu is open (the menu button is the right one by default);
    // Hide Window's key is then run by the menu's loop.
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = PopupMenu()) != nullptr; }, 5s));
    ::PostMessageA(app.Frame(), WM_HOTKEY, 0, 0);
    EXPECT_TRUE(WaitVisible(upper, false));
    EXPECT_TRUE(::IsWindowVisible(menu));
    ::PostMessageA(app.Frame(), WM_CANCELMODE, 0, 0);
    ASSERT_TRUE(WaitFor([] { return PopupMenu() == nullptr; }, 5s));

    // The password prompt of Show Window is open, on top of everything.
    Command(app.Frame(), ID_SHOW_WINDOW);
    HWND prompt = WaitDialog(app.Proc().Pid(), "Enter password");
    ASSERT_TRUE(prompt);
    ::PostMessageA(app.Frame(), WM_HOTKEY, 0, 0);
    EXPECT_TRUE(WaitVisible(lower, false));
    EXPECT_TRUE(::IsWindowVisible(prompt));
    ::PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitGone(prompt));
}

TEST_F(Journal, ACancelledLogoffShowsNothingAndAWindowShownByItsApplicationComesBackWithOnePress) {
    Host host({"win:Below", "top:Again"});
    HWND again = host.Window("Again"), below = host.Window("Below");
    ASSERT_TRUE(again && below);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(Runs(app, ID_HIDE_WINDOW, again, false));
    ::SendMessageA(app.Frame(), WM_ENDSESSION, FALSE, 0);
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(again));
    EXPECT_TRUE(app.Proc().Running());
    EXPECT_TRUE(Runs(app, ID_SHOW_WINDOW, again, true));

    ASSERT_TRUE(Runs(app, ID_HIDE_WINDOW, again, false));
    ::ShowWindow(again, SW_SHOWNA);  // the user started the program again
    ASSERT_TRUE(WaitVisible(again, true));
    Raise(again);
    ASSERT_TRUE(Runs(app, ID_HIDE_WINDOW, again, false));
    EXPECT_TRUE(Runs(app, ID_SHOW_WINDOW, again, true));
    EXPECT_TRUE(::IsWindowVisible(below));
}

}  // namespace
