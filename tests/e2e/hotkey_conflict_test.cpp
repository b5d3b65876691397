// Hot-keys that collide, with Tarnvell's own or another program's, and the
// icon reached from the keyboard. Keys are pressed on the real keyboard
// (xdotool under Wine), so a registered combination is taken by its owner
// before any window sees it, as on Windows.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialog_support.h"
#include "e2e_support.h"
#include "profile_test.h"
// After windows.h, which it needs.
#include <shellapi.h>

using namespace e2e;

namespace {

// A real click into a capture field, then the keys on the real keyboard,
// until the field shows expected.
bool TypeInto(HWND dialog, int id, const std::string& keys, const std::vector<WORD>& virtualKeys,
              const std::string& expected) {
    HWND field = Control(dialog, id);
    if (!ClickToFocus(dialog, field)) return false;
    // The field lets Tarnvell's keys go as it takes the focus, which the focus
    // shows a moment before: a press before that would run the key's command.
    WaitFor([] { return ProbeHotKey(kCtrlAlt, 'H') != kHeld; }, 3s);
    // Wine takes the keyboard state over to the new focus a moment later;
    // modifiers pressed before that reach the field without their bits, and
    // the longer the machine is busy, the later. A press that came in short
    // is pressed again.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        ::Sleep(300 * attempt);
        PressKeys(keys, virtualKeys);
        if (WaitFor([&] { return ControlText(field) == expected; }, 2s)) return true;
    }
    return false;
}
// Ctrl+Alt+H pressed while one of the test windows has the keyboard focus
// (hot-keys fire only while a window of the desktop has it).
void PressCtrlAltH(HWND focus) {
    ::SetForegroundWindow(focus);
    RECT r{};
    ::GetWindowRect(focus, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::Sleep(200);
    PressKeys("ctrl+alt+h", {VK_CONTROL, VK_MENU, 'H'});
}

class HotKeyConflicts : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        ASSERT_EQ(ProbeHotKey(kCtrlAlt, 'H'), 0u) << "another program holds Ctrl+Alt+H";
        SeedKey(0, kCtrlAlt, 'H');  // Hide Window
    }
};

TEST_F(HotKeyConflicts, ACombinationTarnvellHoldsCanBeTypedIntoAnotherFieldAndMovedThere) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return ProbeHotKey(kCtrlAlt, 'H') == kHeld; }, 10s));
    Host host({"win:Under", "top:Victim"});
    HWND victim = host.Window("Victim"), under = host.Window("Under");
    ASSERT_TRUE(victim && under);

    for (bool ok : {false, true}) {
        HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(TypeInto(dialog, IDC_KEY_SHOW_WINDOW, "ctrl+alt+h", {VK_CONTROL, VK_MENU, 'H'}, "Ctrl + Alt + H"))
            << ControlText(Control(dialog, IDC_KEY_SHOW_WINDOW));
        ::Sleep(300);
        EXPECT_TRUE(::IsWindowVisible(victim) && ::IsWindowVisible(under)) << "the press ran Hide Window";
        ASSERT_TRUE(TypeInto(dialog, IDC_KEY_HIDE_WINDOW, "BackSpace", {VK_BACK}, "No"));
        ASSERT_TRUE(Dismiss(dialog, ok ? IDOK : IDCANCEL));
        if (!ok) {
            // Cancel: the key still runs Hide Window.
            PressCtrlAltH(victim);
            ASSERT_TRUE(WaitVisible(victim, false)) << "after Cancel";
            Command(app.Frame(), ID_SHOW_ALL);  // from the menu
            ASSERT_TRUE(WaitVisible(victim, true));
        }
    }
    // OK: the key runs Show Window now; Hide Window has none.
    ::SetForegroundWindow(victim);
    ::Sleep(200);
    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(victim, false));
    PressCtrlAltH(under);
    EXPECT_TRUE(WaitVisible(victim, true)) << "Ctrl+Alt+H should show the hidden window";
    EXPECT_TRUE(::IsWindowVisible(under));
    EXPECT_EQ(GetDword("HotKeys", "VK1"), DWORD{'H'});
    EXPECT_EQ(GetDword("HotKeys", "VK0"), DWORD{0});
}

TEST_F(HotKeyConflicts, AKeyAnotherProgramHoldsIsMarkedNamedInTheBalloonAndTakenWhenLetGo) {
    HeldHotKey other(kCtrlAlt, 'H');
    ASSERT_TRUE(other.Held());
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    const std::string balloon = BalloonText(10s);
    EXPECT_NE(balloon.find("Hide Window: Ctrl + Alt + H"), std::string::npos) << balloon;
    TakeBalloonDown(app);

    auto menu = MenuTexts(app);
    ASSERT_FALSE(menu.empty());
    EXPECT_NE(std::find(menu.begin(), menu.end(), L"Hide Window\tCtrl + Alt + H (in use)"), menu.end());
    EXPECT_EQ(std::find(menu.begin(), menu.end(), L"Hide Window\tCtrl + Alt + H"), menu.end());

    other.Release();
    menu = MenuTexts(app);
    EXPECT_NE(std::find(menu.begin(), menu.end(), L"Hide Window\tCtrl + Alt + H"), menu.end());
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), kHeld) << "the menu's opening took the key";
    Host host({"top:Victim"});
    HWND victim = host.Window("Victim");
    ASSERT_TRUE(victim);
    PressCtrlAltH(victim);
    EXPECT_TRUE(WaitVisible(victim, false));
    // Only one balloon came, at the start.
    EXPECT_EQ(BalloonText(500ms), "");
}

TEST_F(HotKeyConflicts, OkWithOneCombinationOnTwoCommandsKeepsTheDialogOpen) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return ProbeHotKey(kCtrlAlt, 'H') == kHeld; }, 10s));
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(TypeInto(dialog, IDC_KEY_SHOW_WINDOW, "ctrl+alt+h", {VK_CONTROL, VK_MENU, 'H'}, "Ctrl + Alt + H"));
    Press(dialog, IDOK);
    EXPECT_TRUE(Warned(app, "Ctrl + Alt + H is already used by Hide Window."));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_FALSE(GetDword("HotKeys", "VK1").has_value()) << "nothing was applied";
    ASSERT_TRUE(Dismiss(dialog, IDCANCEL));
    // The key stays Hide Window's, and no test registration is left over.
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), kHeld);
    Host host({"top:Victim"});
    HWND victim = host.Window("Victim");
    ASSERT_TRUE(victim);
    PressCtrlAltH(victim);
    EXPECT_TRUE(WaitVisible(victim, false));
}

// The shell reports Enter on the icon as NIN_KEYSELECT and the menu key as
// WM_CONTEXTMENU, in the callback of an icon that set its version 3: wParam
// the icon's id, lParam the message.
TEST_F(HotKeyConflicts, TheIconFromTheKeyboardRunsTheActionOnceAndOpensTheMenu) {
    SetDword("Settings", "m_uAction", 2);  // hide the window on top
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Under", "top:Victim"});
    HWND victim = host.Window("Victim"), under = host.Window("Under");
    ASSERT_TRUE(victim && under);
    ::SetForegroundWindow(victim);
    ::Sleep(200);
    // One Enter that some shells report twice hides one window.
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, NIN_KEYSELECT);
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, NIN_KEYSELECT);
    EXPECT_TRUE(WaitVisible(victim, false));
    ::Sleep(500);
    EXPECT_TRUE(::IsWindowVisible(under)) << "the second NIN_KEYSELECT ran the action again";

    POINT cursor{300, 300};
    ::SetCursorPos(cursor.x, cursor.y);
    ::Sleep(100);
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_CONTEXTMENU);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = PopupMenu()) != nullptr; }, 5s));
    RECT at{};
    ::GetWindowRect(menu, &at);
    // Where the shell can say where the icon is, the menu stands at it;
    // Wine 8 cannot (Shell_NotifyIconGetRect is not implemented), and the
    // menu opens at the cursor there.
    NOTIFYICONIDENTIFIER icon{};
    icon.cbSize = sizeof(icon);
    icon.hWnd = app.Frame();
    icon.uID = kTrayIconId;
    RECT iconRect{};
    if (SUCCEEDED(::Shell_NotifyIconGetRect(&icon, &iconRect))) {
        const LONG x = (iconRect.left + iconRect.right) / 2, y = (iconRect.top + iconRect.bottom) / 2;
        EXPECT_TRUE((at.left == x || at.right == x) && (at.top == y || at.bottom == y))
            << at.left << "," << at.top << " " << at.right << "," << at.bottom << " icon " << x << "," << y;
    } else {
        EXPECT_TRUE((at.left == cursor.x || at.right == cursor.x) && (at.top == cursor.y || at.bottom == cursor.y))
            << at.left << "," << at.top << " " << at.right << "," << at.bottom;
    }
    ::PostMessageA(app.Frame(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(WaitFor([] { return PopupMenu() == nullptr; }, 5s));
    EXPECT_TRUE(::IsWindowVisible(under)) << "the menu key ran the action";
}

}  // namespace
