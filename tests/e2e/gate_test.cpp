// What may run while Tarnvell waits for the user: list items keep naming
// their windows across a prompt, the end of the session asks nothing, and a
// second request brings the open prompt or dialog back instead of stacking
// another.
#include <gtest/gtest.h>

#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {



class Gate : public ProfileTest {
protected:
    void GuardShowing() {
        ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 1));
        ASSERT_TRUE(SetString("Settings", "m_Password", "pw"));
    }
};

TEST_F(Gate, AListItemChosenBeforeThePromptShowsItsOwnWindowAfterTheListMoved) {
    GuardShowing();
    ASSERT_TRUE(SetDword("Settings", "m_uAction", 0));  // a click opens the list of hidden windows
    Host host({"win:Alpha", "win:Bravo", "win:Charlie"});
    HWND a = host.Window("Alpha"), b = host.Window("Bravo"), c = host.Window("Charlie");
    ASSERT_TRUE(a && b && c);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    for (HWND w : {a, b, c}) ASSERT_TRUE(HideTop(app, w));

    // The list opens at the cursor; the user clicks its second item, Bravo.
    ::SetCursorPos(300, 300);
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_LBUTTONUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = PopupMenu()) != nullptr; }, 5s));
    RECT r{};
    ::GetWindowRect(menu, &r);
    const LONG row = (r.bottom - r.top) / 3;
    Click(POINT{(r.left + r.right) / 2, r.top + row + row / 2}, false);
    HWND prompt = WaitDialog(app.Proc().Pid(), "Enter password");
    ASSERT_TRUE(prompt);

    // Meanwhile Alpha's program shows it, and the user hides it again: its
    // record moves to the end of the list, where Charlie was.
    ::ShowWindow(a, SW_SHOWNA);
    ASSERT_TRUE(WaitVisible(a, true));
    Raise(a);
    ::PostMessageA(app.Frame(), WM_HOTKEY, 0, 0);
    ASSERT_TRUE(WaitVisible(a, false));

    ::SetDlgItemTextA(prompt, 1000, "pw");
    ::PostMessageA(prompt, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(prompt));
    EXPECT_TRUE(WaitVisible(b, true));
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(a));
    EXPECT_FALSE(::IsWindowVisible(c));
}

TEST_F(Gate, TheEndOfTheSessionAsksNothingAndLeavesGuardedWindowsToTheNextStart) {
    GuardShowing();
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnClose", 1));
    Host host({"top:Guarded"});
    HWND guarded = host.Window("Guarded");
    ASSERT_TRUE(guarded);
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(HideTop(app, guarded));
        DWORD_PTR answer = 0;
        ASSERT_TRUE(::SendMessageTimeoutA(app.Frame(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
        EXPECT_TRUE(answer);
        // Sent as the system sends it: the answer must come without a prompt.
        EXPECT_TRUE(::SendMessageTimeoutA(app.Frame(), WM_ENDSESSION, TRUE, 0, SMTO_ABORTIFHUNG, 5000, &answer));
        EXPECT_TRUE(DialogsOf(app.Proc().Pid(), "Enter password").empty());
        EXPECT_NE(app.Proc().WaitExit(5s), STILL_ACTIVE);
    }
    EXPECT_FALSE(::IsWindowVisible(guarded));

    // The session went on after all: the next start takes the window back.
    ASSERT_TRUE(SetDword("Settings", "m_bPassOnShow", 0));
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_SHOW_ALL);
    EXPECT_TRUE(WaitVisible(guarded, true));
}

TEST_F(Gate, ShowWindowPressedTwiceOpensOnePrompt) {
    GuardShowing();
    Host host({"top:Twice"});
    HWND w = host.Window("Twice");
    ASSERT_TRUE(w);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(HideTop(app, w));
    Command(app.Frame(), ID_SHOW_WINDOW);
    HWND prompt = WaitDialog(app.Proc().Pid(), "Enter password");
    ASSERT_TRUE(prompt);
    ::PostMessageA(app.Frame(), WM_HOTKEY, 1, 0);
    Command(app.Frame(), ID_SHOW_WINDOW);
    ::Sleep(500);
    EXPECT_EQ(DialogsOf(app.Proc().Pid(), "Enter password").size(), 1u);
    ::SetDlgItemTextA(prompt, 1000, "pw");
    ::PostMessageA(prompt, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitGone(prompt));
    EXPECT_TRUE(WaitVisible(w, true));
    ::Sleep(300);
    EXPECT_TRUE(DialogsOf(app.Proc().Pid(), "Enter password").empty());
}

TEST_F(Gate, WindowsGroupsAskedForDuringPreferencesBringsPreferencesToTheFront) {
    Host host({"win:Elsewhere"});
    HWND other = host.Window("Elsewhere");
    ASSERT_TRUE(other);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Command(app.Frame(), ID_PREFERENCES);
    HWND prefs = WaitDialog(app.Proc().Pid(), "Preferences");
    ASSERT_TRUE(prefs);
    ::SetForegroundWindow(other);
    ASSERT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == other; }, 3s));

    Command(app.Frame(), ID_WINDOWS_GROUPS);
    EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == prefs; }, 3s));
    EXPECT_TRUE(DialogsOf(app.Proc().Pid(), "Windows Groups").empty());
    ::PostMessageA(prefs, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitGone(prefs));

    // Once Preferences is closed, Windows Groups opens.
    Command(app.Frame(), ID_WINDOWS_GROUPS);
    HWND groups = WaitDialog(app.Proc().Pid(), "Windows Groups");
    ASSERT_TRUE(groups);
    ::PostMessageA(groups, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitGone(groups));
}

}  // namespace
