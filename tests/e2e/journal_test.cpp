#include <gtest/gtest.h>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr UINT ID_HIDE_WINDOW = 32771, ID_SHOW_WINDOW = 32772, ID_SHOW_ALL = 32774, ID_APP_EXIT = 57665,
               WM_TRAYNOTIFY = 0x800A;

// Windows Tarnvell hid stay within reach: across a kill, an exit that shows
// nothing, a cancelled logoff and a refused second password.
class Journal : public ::testing::Test {
protected:
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        ASSERT_TRUE(SetDword("Settings", "First Start", 0));
    }
    void TearDown() override { ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey); }

    static void Kill(Tarnvell& app) {
        ::TerminateProcess(app.Proc().info.hProcess, 9);
        ASSERT_NE(app.Proc().WaitExit(5s), STILL_ACTIVE);
    }
    // Puts w on top of its process's other windows.
    static void Raise(HWND w) {
        ::SetWindowPos(w, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        WaitFor([&] { return ::GetWindow(w, GW_HWNDPREV) == nullptr || ::GetTopWindow(nullptr) == w; }, 1s);
    }
    // Answers the password prompt now open in app with text and a button.
    static bool Answer(const Tarnvell& app, const char* text, WPARAM button) {
        HWND prompt = WaitDialog(app.Proc().Pid(), "Enter password");
        if (!prompt) return false;
        ::SetDlgItemTextA(prompt, 1000, text);
        ::PostMessageA(prompt, WM_COMMAND, button, 0);
        return WaitFor([&] { return !::IsWindow(prompt); }, 5s);
    }
};

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
            Command(app.Frame(), ID_HIDE_WINDOW);
            ASSERT_TRUE(WaitVisible(w, false));
        }
        Kill(app);
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
    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(second, true));
    EXPECT_FALSE(::IsWindowVisible(first));
    Command(app.Frame(), ID_SHOW_WINDOW);  // not lost on the destroyed window
    EXPECT_TRUE(WaitVisible(first, true));
    Command(app.Frame(), ID_SHOW_ALL);
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(other));
}

TEST_F(Journal, ExitWithoutShowingThenShowAllInTheNextRun) {
    ASSERT_TRUE(SetDword("Settings", "m_bShowOnClose", 0));
    Host host({"top:Kept"});
    HWND kept = host.Window("Kept");
    ASSERT_TRUE(kept);
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        Command(app.Frame(), ID_HIDE_WINDOW);
        ASSERT_TRUE(WaitVisible(kept, false));
        ASSERT_TRUE(app.Close());
    }
    EXPECT_FALSE(::IsWindowVisible(kept));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_SHOW_ALL);
    EXPECT_TRUE(WaitVisible(kept, true));
}

TEST_F(Journal, ACancelledLogoffShowsNothingAndTarnvellGoesOn) {
    Host host({"top:Stays"});
    HWND stays = host.Window("Stays");
    ASSERT_TRUE(stays);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(stays, false));

    ::SendMessageA(app.Frame(), WM_ENDSESSION, FALSE, 0);
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(stays));
    EXPECT_TRUE(app.Proc().Running());
    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(stays, true));
}

TEST_F(Journal, ARefusedSecondPasswordOnCloseLeavesTheWindowForTheNextRun) {
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnClose", 1));
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 1));
    ASSERT_TRUE(SetString("Settings", "m_Password", "pw"));
    Host host({"top:Guarded"});
    HWND guarded = host.Window("Guarded");
    ASSERT_TRUE(guarded);
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        Command(app.Frame(), ID_HIDE_WINDOW);
        ASSERT_TRUE(WaitVisible(guarded, false));
        ::PostMessageA(app.Frame(), WM_COMMAND, ID_APP_EXIT, 0);
        ASSERT_TRUE(Answer(app, "pw", IDOK));          // the close question
        ASSERT_TRUE(Answer(app, "wrong", IDOK));       // the show-all question
        ASSERT_NE(app.Proc().WaitExit(10s), STILL_ACTIVE);
    }
    EXPECT_FALSE(::IsWindowVisible(guarded));

    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 0));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_SHOW_ALL);
    EXPECT_TRUE(WaitVisible(guarded, true));
}

TEST_F(Journal, HideWindowDuringTarnvellsOwnMenuOrPromptTakesAnotherProgramsWindow) {
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 1));
    Host host({"win:Lower", "top:Upper"});
    HWND upper = host.Window("Upper"), lower = host.Window("Lower");
    ASSERT_TRUE(upper && lower);
    Tarnvell app;
    ASSERT_TRUE(app.Started());

    // The main menu is open (the menu button is the right one by default).
    ::PostMessageA(app.Frame(), WM_TRAYNOTIFY, 128, WM_RBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = PopupMenu()) != nullptr; }, 5s));
    ::PostMessageA(app.Frame(), WM_HOTKEY, 0, 0);  // Hide Window, run by the menu's loop
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
    EXPECT_TRUE(WaitFor([&] { return !::IsWindow(prompt); }, 5s));
}

TEST_F(Journal, AWindowShownByItsApplicationAndHiddenAgainComesBackWithOnePress) {
    Host host({"win:Below", "top:Again"});
    HWND again = host.Window("Again"), below = host.Window("Below");
    ASSERT_TRUE(again && below);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(again, false));
    ::ShowWindow(again, SW_SHOWNA);  // the user started the program again
    ASSERT_TRUE(WaitVisible(again, true));
    Raise(again);
    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(again, false));
    Command(app.Frame(), ID_SHOW_WINDOW);
    EXPECT_TRUE(WaitVisible(again, true));
    EXPECT_TRUE(::IsWindowVisible(below));
}

}  // namespace
