#include <gtest/gtest.h>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;

bool FirstStartDone() { return GetDword("Settings", "First Start") == DWORD{0}; }

class Settings : public ::testing::Test {
protected:
    // Every test starts from an empty profile, no Run value and a Run key
    // that exists, as on every Windows installation.
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        HKEY run = nullptr;
        ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_WRITE, nullptr, &run, nullptr),
                  ERROR_SUCCESS);
        ::RegCloseKey(run);
        DeleteRunValue();
        ASSERT_EQ(ProbeHotKey(kCtrlAlt, 'H'), 0u) << "another program holds Ctrl+Alt+H";
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        DeleteRunValue();
    }
};

TEST_F(Settings, FirstStartWritesFirstStartAndTheRunValueOnly) {
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(app.Close());
    }
    EXPECT_EQ(ValueNames("Settings"), (std::vector<std::string>{"First Start"}));
    EXPECT_EQ(GetDword("Settings", "First Start"), DWORD{0});
    EXPECT_TRUE(ValueNames("HotKeys").empty());
    EXPECT_TRUE(ValueNames("Groups").empty());

    const auto run = RunValue();
    ASSERT_TRUE(run.has_value());
    EXPECT_EQ(::lstrcmpiA(run->c_str(), Tarnvell::ExePath().c_str()), 0) << *run;
    EXPECT_NE(run->front(), '"');
}

TEST_F(Settings, SecondStartLeavesTheRunKeyAlone) {
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(app.Close());
    }
    ASSERT_TRUE(RunValue().has_value());
    DeleteRunValue();
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(app.Close());
    }
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_EQ(ValueNames("Settings"), (std::vector<std::string>{"First Start"}));
}

TEST_F(Settings, AutorunOffWritesNoRunValue) {
    SetDword("Settings", "m_bAutorun", 0);
    {
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        ASSERT_TRUE(app.Close());
    }
    EXPECT_FALSE(RunValue().has_value());
    EXPECT_EQ(GetDword("Settings", "First Start"), DWORD{0});
}

TEST_F(Settings, StoredProgramHotKeyIsHeldWhileRunningAndFreedAfter) {
    SetDword("HotKeys", "Mod0", kCtrlAlt);
    SetDword("HotKeys", "VK0", 'H');
    // Values that another program left behind must not stop the start.
    SetDword("HotKeys", "Mod1", 0xFFFFFFFF);
    SetDword("HotKeys", "VK1", 0x12345);
    SetString("HotKeys", "Mod2", "not a number");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    // The hot-keys are registered before First Start is written.
    ASSERT_TRUE(WaitFor(FirstStartDone, 10s));
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), 0u);
    EXPECT_EQ(GetDword("HotKeys", "Mod1"), DWORD{0xFFFFFFFF});
}

TEST_F(Settings, BuiltInGroupTakesItsStoredHotKey) {
    SetDword("Settings", "First Start", 0);
    SetDword("HotKeys", "Mod25", kCtrlAlt);
    SetDword("HotKeys", "VK25", 'H');
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    // The group section is first read, and so created, right after slot 0's
    // hot-keys were registered.
    ASSERT_TRUE(WaitFor([] { return SectionExists("Groups"); }, 10s));
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    ASSERT_TRUE(app.Close());
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), 0u);
    // The built-in group is not written at start-up.
    EXPECT_TRUE(ValueNames("Groups").empty());
}

TEST_F(Settings, DeletedGroupListRegistersNoGroupHotKeys) {
    SetDword("Groups", "Compare0", 0xFFFFFFFF);
    SetString("Groups", "Name0", "Old group");
    SetDword("HotKeys", "Mod25", kCtrlAlt);
    SetDword("HotKeys", "VK25", 'H');
    SetDword("HotKeys", "Mod4", kCtrlAlt);
    SetDword("HotKeys", "VK4", 'J');
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor(FirstStartDone, 10s));
    // The same run does register the program's own keys.
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'J'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    // Slot 0's keys are tried and let go again within the load.
    EXPECT_TRUE(WaitFor([] { return ProbeHotKey(kCtrlAlt, 'H') == 0; }, 5s));
    ::Sleep(300);
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), 0u);
    EXPECT_TRUE(app.Proc().Running());
}


TEST_F(Settings, AStoredHotKeyRunsItsCommandFromTheKeyboard) {
    SetDword("Settings", "First Start", 0);
    SetDword("HotKeys", "Mod0", kCtrlAlt);
    SetDword("HotKeys", "VK0", 'H');
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return SectionExists("Groups"); }, 10s));
    Host host({"top:Pressed"});
    HWND w = host.Window("Pressed");
    ASSERT_TRUE(w);
    // Hot-keys fire while a window of the desktop has the keyboard focus.
    ::SetForegroundWindow(w);
    RECT r{};
    ::GetWindowRect(w, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::Sleep(200);
    PressKeys("ctrl+alt+h", {VK_CONTROL, VK_MENU, 'H'});
    EXPECT_TRUE(WaitVisible(w, false));
}

TEST_F(Settings, GroupHotKeysHideAndShowAStoredGroup) {
    SetDword("Settings", "First Start", 0);
    SetString("Groups", "Name0", "Documents");
    SetString("Groups", "Search0", "Doc");
    SetDword("Groups", "Compare0", 0);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Doc one", "win:Other", "win:My Doc two"});
    HWND one = host.Window("Doc one"), two = host.Window("My Doc two"), other = host.Window("Other");
    ASSERT_TRUE(one && two && other);

    ::PostMessageA(app.Frame(), WM_HOTKEY, 25, 0);
    // What a window left on screen says of why: a hung host, or the balloon
    // Tarnvell shows for a window that kept itself on screen.
    EXPECT_TRUE(WaitVisible(one, false)) << "host hung: " << ::IsHungAppWindow(one) << ", balloon: \""
                                         << BalloonText(1s) << "\"";
    EXPECT_TRUE(WaitVisible(two, false));
    EXPECT_TRUE(::IsWindowVisible(other));

    ::PostMessageA(app.Frame(), WM_HOTKEY, 26, 0);
    EXPECT_TRUE(WaitVisible(one, true));
    EXPECT_TRUE(WaitVisible(two, true));
}

TEST_F(Settings, AnEmptyProfileBringsTheBuiltInGroup) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Start page - Internet Explorer", "win:Notes"});
    HWND browser = host.Window("Start page - Internet Explorer"), notes = host.Window("Notes");
    ASSERT_TRUE(browser && notes);
    ::PostMessageA(app.Frame(), WM_HOTKEY, 25, 0);
    EXPECT_TRUE(WaitVisible(browser, false));
    EXPECT_TRUE(::IsWindowVisible(notes));
}

TEST_F(Settings, AStoredTrayActionHidesAGroup) {
    SetDword("Settings", "First Start", 0);
    SetDword("Settings", "m_uAction", 8);  // hide group 0
    SetString("Groups", "Name0", "Notes");
    SetString("Groups", "Search0", "Notes");
    SetDword("Groups", "Compare0", 1);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Notes", "top:Mail"});
    HWND notes = host.Window("Notes"), mail = host.Window("Mail");
    ASSERT_TRUE(notes && mail);
    ::PostMessageA(app.Frame(), kTrayNotify, kTrayIconId, WM_LBUTTONUP);
    EXPECT_TRUE(WaitVisible(notes, false));
    EXPECT_TRUE(::IsWindowVisible(mail));
}

TEST_F(Settings, AHiddenIconComesBackHiddenAfterTheTaskbarRestarts) {
    SetDword("Settings", "First Start", 0);
    SetDword("Settings", "m_bHideIcon", 1);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor(TrayShowsRed, 5s));
    Host host({"top:Hidden away"});
    HWND w = host.Window("Hidden away");
    ASSERT_TRUE(w);

    // The icon leaves the taskbar with the first hidden window...
    ::PostMessageA(app.Frame(), WM_COMMAND, ID_HIDE_WINDOW, 0);
    ASSERT_TRUE(WaitVisible(w, false));
    // The taskbar repaints the notification area when it gets to it; in a
    // whole run after the burst test that once took longer than 5 s.
    EXPECT_TRUE(WaitFor([] { return !TrayShowsRed(); }, 15s));

    // ...stays away when the taskbar announces itself again...
    BroadcastTaskbarCreated();
    ::Sleep(500);
    EXPECT_TRUE(ShellHasIcon(app.Frame(), kTrayIconId));
    EXPECT_FALSE(TrayShowsRed());

    // ...and returns with the last hidden window.
    ::PostMessageA(app.Frame(), WM_COMMAND, 32772, 0);
    EXPECT_TRUE(WaitVisible(w, true));
    EXPECT_TRUE(WaitFor(TrayShowsRed, 5s));
}

TEST_F(Settings, ClosingAsksTheStoredPassword) {
    SetDword("Settings", "First Start", 0);
    SetDword("Settings", "m_bPassOnClose", 1);
    SetString("Settings", "m_Password", "Secret");
    Tarnvell app;
    ASSERT_TRUE(app.Started());

    // Closes the program and answers its prompt; false when no prompt came.
    auto answer = [&](const char* text, WPARAM button) {
        ::PostMessageA(app.Frame(), WM_CLOSE, 0, 0);
        return AnswerPassword(app, text, button);
    };
    // A wrong password keeps the program running, and so does Cancel with
    // the right one...
    ASSERT_TRUE(answer("secret", IDOK));
    EXPECT_EQ(app.Proc().WaitExit(500ms), static_cast<DWORD>(STILL_ACTIVE));
    ASSERT_TRUE(answer("Secret", IDCANCEL));
    EXPECT_EQ(app.Proc().WaitExit(500ms), static_cast<DWORD>(STILL_ACTIVE));

    // ...while OK with the right one closes it.
    ASSERT_TRUE(answer("Secret", IDOK));
    EXPECT_EQ(app.Proc().WaitExit(5s), 0u);
}

}  // namespace
