// The configuration dialogs and the password prompt, driven in the running
// program as a user would: texts typed into fields, keys pressed in the
// hot-key fields, buttons clicked. What counts is what lands in the registry
// and which hot-keys the system then holds.
#include <gtest/gtest.h>

#include <algorithm>

#include "dialog_support.h"
#include "e2e_support.h"
#include "profile_test.h"

using namespace e2e;

namespace {

constexpr DWORD kListEnd = 0xFFFFFFFF;

void Type(HWND dialog, int id, const std::string& text) { ::SetDlgItemTextA(dialog, id, text.c_str()); }
void Tick(HWND dialog, int id, bool on) {
    ::SendMessageA(Control(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool Ticked(HWND dialog, int id) { return ::SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
LRESULT Choose(HWND dialog, int id, int entry) { return ::SendMessageA(Control(dialog, id), CB_SETCURSEL, entry, 0); }
LRESULT Chosen(HWND dialog, int id) { return ::SendMessageA(Control(dialog, id), CB_GETCURSEL, 0, 0); }
bool Shows(HWND dialog, int id, const std::string& text) {
    return WaitFor([&] { return ControlText(Control(dialog, id)) == text; }, 3s);
}

// Presses keys in a hot-key field as the keyboard delivers them: down in
// order, up in reverse. Alt without Ctrl makes them system keys.
void PressIn(HWND dialog, int id, const std::vector<WPARAM>& keys) {
    const auto has = [&](WPARAM key) { return std::find(keys.begin(), keys.end(), key) != keys.end(); };
    const bool system = has(VK_MENU) && !has(VK_CONTROL);
    for (WPARAM key : keys) ::PostMessageA(Control(dialog, id), system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0x20000001);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        ::PostMessageA(Control(dialog, id), system ? WM_SYSKEYUP : WM_KEYUP, *key, static_cast<LPARAM>(0xE0000001u));
}

RemoteList ListOf(const Tarnvell& app, HWND dialog) { return {Control(dialog, IDC_GROUP_LIST), app.Proc().info.hProcess}; }

void SeedGroup(int slot, const std::string& name, const std::string& search, DWORD compare) {
    const std::string n = std::to_string(slot);
    SetString("Groups", ("Name" + n).c_str(), name);
    SetString("Groups", ("Search" + n).c_str(), search);
    SetDword("Groups", ("Compare" + n).c_str(), compare);
}
DWORD Probe(char key) { return ProbeHotKey(kCtrlAlt, key); }
std::vector<DWORD> Probes(const std::string& keys) {
    std::vector<DWORD> answers;
    for (char key : keys) answers.push_back(Probe(key));
    return answers;
}
std::string Num(DWORD value) { return "#" + std::to_string(value); }
// Values of a section as texts, numbers as Num gives them, "-" when missing.
std::vector<std::string> Values(const std::string& section, const std::vector<std::string>& names) {
    std::vector<std::string> texts;
    for (const auto& name : names) {
        const auto number = GetDword(section, name.c_str());
        texts.push_back(number ? Num(*number) : GetString(section, name.c_str()).value_or("-"));
    }
    return texts;
}
using Texts = std::vector<std::string>;
bool SettingsSaved() { return WaitFor([] { return GetDword("Settings", "m_bClick").has_value(); }, 5s); }

// Every value of a section with its name, to see that nothing at all changed.
std::pair<Texts, Texts> Snapshot(const std::string& section) {
    const Texts names = ValueNames(section);
    return {names, Values(section, names)};
}

using Rows = std::vector<RemoteList::Row>;

class DialogTest : public ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        for (char key : {'A', 'B', 'D', 'G', 'H', 'N'})
            ASSERT_EQ(Probe(key), 0u) << "another program holds Ctrl+Alt+" << key;
    }
};

using PreferencesDialog = DialogTest;

TEST_F(PreferencesDialog, OpensOnceCancelWritesNothingOkWritesEverythingAndCapturedKeysWorkAtOnce) {
    SetDword("Settings", "m_bAutorun", 0);
    SetDword("Settings", "bShowList", 0);
    SetString("Settings", "m_Password", "Old");
    SeedKey(1, kCtrlAlt, 'H');  // "Show window" holds the combination
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return Probe('H') == kHeld; }, 10s));
    // The start keeps the earlier version's password as its hash alone.
    ASSERT_TRUE(WaitFor([] { return !GetString("Settings", "m_Password"); }, 10s));
    EXPECT_FALSE(ProfileHolds("Old"));
    const auto settings = Snapshot("Settings"), keys = Snapshot("HotKeys");
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    Command(app.Frame(), ID_PREFERENCES);
    ::Sleep(500);
    EXPECT_EQ(DialogsOf(app.Proc().Pid(), "Preferences").size(), 1u);
    // What the engine holds: the defaults, the built-in group's three
    // actions after the separator, the one hot-key.
    EXPECT_TRUE(Shows(dialog, IDC_KEY_HIDE_WINDOW, "No"));
    EXPECT_TRUE(Shows(dialog, IDC_KEY_SHOW_WINDOW, "Ctrl + Alt + H"));
    EXPECT_FALSE(Ticked(dialog, IDC_AUTORUN));
    EXPECT_TRUE(Ticked(dialog, IDC_SINGLE_CLICK));
    EXPECT_EQ(::SendMessageA(Control(dialog, IDC_ACTION), CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(Chosen(dialog, IDC_ACTION), 1);

    Tick(dialog, IDC_SHOW_LIST, true);
    Tick(dialog, IDC_AUTORUN, true);
    Type(dialog, IDC_NEW_PASSWORD, "New");
    Type(dialog, IDC_CONFIRM_PASSWORD, "New");
    Choose(dialog, IDC_ACTION, 3);
    PressIn(dialog, IDC_KEY_HIDE_WINDOW, {VK_CONTROL, VK_MENU, 'N'});
    EXPECT_TRUE(Shows(dialog, IDC_KEY_HIDE_WINDOW, "Ctrl + Alt + N"));
    ASSERT_TRUE(Dismiss(dialog, IDCANCEL));
    ::Sleep(300);
    EXPECT_EQ(Snapshot("Settings"), settings);
    EXPECT_EQ(Snapshot("HotKeys"), keys);
    EXPECT_EQ(Probe('N'), 0u);
    EXPECT_FALSE(RunValue().has_value());

    // The command works again once the dialog is gone.
    dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    for (int id : {IDC_AUTORUN, IDC_HIDE_ICON, IDC_SHOW_HIDDEN_IN_TIP, IDC_PASS_ON_OPTION, IDC_PASS_ON_SHOW}) Tick(dialog, id, true);
    for (int id : {IDC_SHOW_LIST, IDC_SHOW_ON_CLOSE, IDC_INVERT_MOUSE}) Tick(dialog, id, false);
    Press(dialog, IDC_DOUBLE_CLICK);
    Choose(dialog, IDC_ACTION, 10);
    Type(dialog, IDC_NEW_PASSWORD, "Open sesame");
    Type(dialog, IDC_CONFIRM_PASSWORD, "Open sesame");
    // The hide key takes the show key's combination.
    PressIn(dialog, IDC_KEY_SHOW_WINDOW, {VK_BACK});
    PressIn(dialog, IDC_KEY_HIDE_WINDOW, {VK_CONTROL, VK_MENU, 'H'});
    PressIn(dialog, IDC_KEY_HIDE_ALL, {VK_MENU, 'J'});
    PressIn(dialog, IDC_KEY_SHOW_ALL, {VK_CONTROL, VK_SHIFT, VK_F5});
    EXPECT_TRUE(Shows(dialog, IDC_KEY_SHOW_WINDOW, "No"));
    EXPECT_TRUE(Shows(dialog, IDC_KEY_HIDE_WINDOW, "Ctrl + Alt + H"));
    EXPECT_TRUE(Shows(dialog, IDC_KEY_HIDE_ALL, "Alt + J"));
    EXPECT_TRUE(Shows(dialog, IDC_KEY_SHOW_ALL, "Ctrl + Shift + F5"));
    // Alt is not taken for a mnemonic or the system menu.
    EXPECT_TRUE(::IsWindowVisible(dialog));

    ASSERT_TRUE(Dismiss(dialog, IDOK));
    ASSERT_TRUE(SettingsSaved());
    EXPECT_EQ(Values("Settings", {"bShowList", "m_bShowOnClose", "m_bInvertMouse", "m_bAutorun", "m_bHideIcon",
                                  "m_bShowHiddenInTip", "m_bPassOnClose", "m_bPassOnOption", "m_bPassOnShow",
                                  "m_bMinimizeGesture", "m_bIconPerWindow", "m_bClick", "m_uAction"}),
              (Texts{"#0", "#0", "#0", "#1", "#1", "#1", "#0", "#1", "#1", "#0", "#0", "#1", "#10"}));
    EXPECT_EQ(ValueNames("Settings").size(), 15u);  // the thirteen, the password's hash and First Start
    // The password is kept as its hash, never as its text.
    EXPECT_EQ(GetString("Settings", "PasswordHash").value_or("").rfind("pbkdf2-sha256$600000$", 0), 0u);
    EXPECT_FALSE(ProfileHolds("Open sesame"));
    // And it opens the dialog now.
    ASSERT_TRUE(AnswerPassword(app, "Open sesame", IDOK, ID_PREFERENCES));
    dialog = WaitDialog(app.Proc().Pid(), "Preferences");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(Dismiss(dialog, IDCANCEL));
    EXPECT_EQ(Values("HotKeys",
                     {"Mod0", "VK0", "Mod1", "VK1", "Mod2", "VK2", "Mod3", "VK3", "Mod4", "VK4", "Mod5", "VK5"}),
              (Texts{Num(kCtrlAlt), Num('H'), "#0", "#0", Num(MOD_ALT), Num('J'), Num(MOD_CONTROL | MOD_SHIFT),
                     Num(VK_F5), "#0", "#0", "#0", "#0"}));
    EXPECT_TRUE(RunValue().has_value());
    EXPECT_EQ(Probe('H'), kHeld);

    // Pressed on the keyboard, the captured key hides the topmost window.
    Host host({"top:Pressed"});
    HWND w = host.Window("Pressed");
    ASSERT_TRUE(w);
    ::SetForegroundWindow(w);
    ::Sleep(200);
    PressKeys("ctrl+alt+h", {VK_CONTROL, VK_MENU, 'H'});
    EXPECT_TRUE(WaitVisible(w, false));
}

TEST_F(PreferencesDialog, ChecksKeepTheDialogOpenAndPasswordsAreTypedUpToThirtyCharacters) {
    const std::string stored(40, 'x');
    SetString("Settings", "m_Password", stored);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return GetString("Settings", "PasswordHash").has_value(); }, 10s));
    const auto hash = GetString("Settings", "PasswordHash");
    // Left alone, the placeholder keeps a password, a longer one put into the
    // registry by hand among them.
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(Dismiss(dialog, IDOK));
    ASSERT_TRUE(SettingsSaved());
    EXPECT_EQ(GetString("Settings", "PasswordHash"), hash);

    dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    const auto before = Snapshot("Settings");
    Type(dialog, IDC_NEW_PASSWORD, "Secret");
    Type(dialog, IDC_CONFIRM_PASSWORD, "secret");
    Press(dialog, IDOK);
    EXPECT_TRUE(Warned(app, "Password is not equal password Confirm."));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    // A hidden icon needs a key to show windows; the designated window's
    // key is not one.
    Type(dialog, IDC_CONFIRM_PASSWORD, "Secret");
    Tick(dialog, IDC_HIDE_ICON, true);
    PressIn(dialog, IDC_KEY_TOGGLE_WINDOW, {VK_CONTROL, VK_MENU, 'T'});
    Press(dialog, IDOK);
    EXPECT_TRUE(Warned(app, "You set 'Hide an application's icon when the windows are hidden' please select "
                            "hot-key for window show."));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(Snapshot("Settings"), before);
    PressIn(dialog, IDC_KEY_SHOW_ALL, {VK_CONTROL, VK_MENU, 'S'});
    ASSERT_TRUE(Dismiss(dialog, IDOK));

    dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    EXPECT_NE(GetString("Settings", "PasswordHash"), hash);
    EXPECT_EQ(Values("Settings", {"m_bHideIcon"}), (Texts{"#1"}));
    EXPECT_EQ(Values("HotKeys", {"VK3", "VK4"}), (Texts{Num('S'), Num('T')}));
    for (int id : {IDC_NEW_PASSWORD, IDC_CONFIRM_PASSWORD}) {
        Type(dialog, id, "");
        for (int i = 0; i < 35; ++i) ::PostMessageA(Control(dialog, id), WM_CHAR, 'a' + i % 26, 1);
    }
    Tick(dialog, IDC_PASS_ON_OPTION, true);
    ASSERT_TRUE(Dismiss(dialog, IDOK));
    ASSERT_TRUE(WaitFor([] { return GetDword("Settings", "m_bPassOnOption") == DWORD{1}; }, 5s));
    // What the fields took, 30 characters, is the password now.
    const std::string typed = "abcdefghijklmnopqrstuvwxyzabcd";
    ASSERT_TRUE(AnswerPassword(app, (typed + "efghi").c_str(), IDOK, ID_PREFERENCES));
    EXPECT_FALSE(WaitDialog(app.Proc().Pid(), "Preferences", 1s));
    ASSERT_TRUE(AnswerPassword(app, typed.c_str(), IDOK, ID_PREFERENCES));
    dialog = WaitDialog(app.Proc().Pid(), "Preferences");
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(Dismiss(dialog, IDCANCEL));
}

using WindowsGroupsDialog = DialogTest;

TEST_F(WindowsGroupsDialog, CancelLeavesEverythingAndAddEditDeleteThenOkRewriteTheSlots) {
    SeedGroup(0, "Alpha", "Alpha", 0);
    SeedGroup(1, "Beta", "Beta", 1);
    SeedGroup(2, "Gamma", "Gamma", 0);
    SeedKey(25, kCtrlAlt, 'A');
    SeedKey(27, kCtrlAlt, 'B');
    SeedKey(29, kCtrlAlt, 'G');
    const auto groups = Snapshot("Groups"), keys = Snapshot("HotKeys");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return Probe('B') == kHeld; }, 10s));
    Host host({"win:Gamma one"});
    HWND gamma = host.Window("Gamma one");
    ASSERT_TRUE(gamma);
    ::PostMessageA(app.Frame(), WM_HOTKEY, 29, 0);  // Gamma hides its window
    ASSERT_TRUE(WaitVisible(gamma, false));

    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    {
        RemoteList list = ListOf(app, dialog);
        list.Select(0);
        Press(dialog, IDC_GROUP_DELETE);
        ASSERT_TRUE(WaitFor([&] { return list.Count() == 2; }, 3s));
        list.Select(0);
        Press(dialog, IDC_GROUP_EDIT);
        HWND group = WaitDialog(app.Proc().Pid(), "Group");
        ASSERT_TRUE(group);
        Type(group, IDC_GROUP_NAME, "Beta renamed");
        PressIn(group, IDC_GROUP_HIDE_KEY, {VK_CONTROL, VK_MENU, 'N'});
        EXPECT_TRUE(Shows(group, IDC_GROUP_HIDE_KEY, "Ctrl + Alt + N"));
        ASSERT_TRUE(Dismiss(group, IDOK));
        EXPECT_EQ(list.Rows(), (Rows{{"Beta renamed", "Ctrl + Alt + N", "Not defined"},
                                     {"Gamma", "Ctrl + Alt + G", "Not defined"}}));
    }
    ASSERT_TRUE(Dismiss(dialog, IDCANCEL));
    ::Sleep(300);
    EXPECT_EQ(Snapshot("Groups"), groups);
    EXPECT_EQ(Snapshot("HotKeys"), keys);
    EXPECT_EQ(Probes("ABN"), (std::vector<DWORD>{kHeld, kHeld, 0}));

    // The engine's list is untouched: the next dialog shows it as it was.
    dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    RemoteList list = ListOf(app, dialog);
    EXPECT_EQ(list.Columns(), (std::vector<std::string>{"Name", "Hide", "Show"}));
    EXPECT_EQ(list.Rows(), (Rows{{"Alpha", "Ctrl + Alt + A", "Not defined"},
                                 {"Beta", "Ctrl + Alt + B", "Not defined"},
                                 {"Gamma", "Ctrl + Alt + G", "Not defined"}}));
    // Delete asks nothing; a double click edits.
    for (int left : {2, 1}) {
        list.Select(0);
        Press(dialog, IDC_GROUP_DELETE);
        ASSERT_TRUE(WaitFor([&] { return list.Count() == left; }, 3s));
    }
    list.DoubleClick(0);
    HWND group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    EXPECT_EQ(ControlText(Control(group, IDC_GROUP_NAME)), "Gamma");
    EXPECT_TRUE(Shows(group, IDC_GROUP_HIDE_KEY, "Ctrl + Alt + G"));
    Type(group, IDC_GROUP_NAME, "Gamma renamed");
    ASSERT_TRUE(Dismiss(group, IDOK));

    Press(dialog, IDC_GROUP_ADD);
    group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    EXPECT_EQ(Chosen(group, IDC_GROUP_COMPARE), 0);  // "Include"
    Type(group, IDC_GROUP_NAME, "Delta");
    Type(group, IDC_GROUP_SEARCH, "Delta");
    Choose(group, IDC_GROUP_COMPARE, 1);
    PressIn(group, IDC_GROUP_SHOW_KEY, {VK_CONTROL, VK_MENU, 'D'});
    EXPECT_TRUE(Shows(group, IDC_GROUP_SHOW_KEY, "Ctrl + Alt + D"));
    ASSERT_TRUE(Dismiss(group, IDOK));
    EXPECT_TRUE(WaitFor([&] { return list.Count() == 2; }, 3s));
    EXPECT_EQ(list.Rows(), (Rows{{"Gamma renamed", "Ctrl + Alt + G", "Not defined"},
                                 {"Delta", "Not defined", "Ctrl + Alt + D"}}));

    ASSERT_TRUE(Dismiss(dialog, IDOK));
    ASSERT_TRUE(WaitFor([] { return GetString("Groups", "Name1") == "Delta"; }, 5s));
    // The list shrank: its old third slot now ends it, its texts left behind.
    EXPECT_EQ(Values("Groups", {"Name0", "Search0", "Compare0", "Search1", "Compare1", "Compare2", "Name2"}),
              (Texts{"Gamma renamed", "Gamma", "#0", "Delta", "#1", Num(kListEnd), "Gamma"}));
    EXPECT_EQ(Values("HotKeys", {"VK25", "VK28"}), (Texts{Num('G'), Num('D')}));
    EXPECT_EQ(Probes("GDA"), (std::vector<DWORD>{kHeld, kHeld, 0}));

    // The edited group is still the one that hid the window: its show key,
    // now slot 0's, brings it back.
    ::PostMessageA(app.Frame(), WM_HOTKEY, 26, 0);
    EXPECT_TRUE(WaitVisible(gamma, true));
}

// A long stored list is read by several threads, each over a range of the
// section's values: every group comes in, in its slot, with its own texts.
TEST_F(WindowsGroupsDialog, ALongStoredListComesInWhole) {
    constexpr int kSlots = 3000;
    ASSERT_TRUE(SeedGroupSlots(kSlots));
    SeedKey(25 + 2 * 1500, kCtrlAlt, 'G');
    Tarnvell app;
    ASSERT_TRUE(app.Started());

    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    {
        RemoteList list = ListOf(app, dialog);
        Rows expected;
        for (int i = 0; i < kSlots; ++i)
            expected.push_back({"Group " + std::to_string(i), i == 1500 ? "Ctrl + Alt + G" : "Not defined", ""});
        EXPECT_EQ(list.Rows(2), expected);
    }
    ASSERT_TRUE(Dismiss(dialog, IDCANCEL));

    // The search texts came in with them: the last group takes its window only.
    Host host({"win:[2999]", "win:[299]"});
    HWND last = host.Window("[2999]"), other = host.Window("[299]");
    ASSERT_TRUE(last && other);
    ::PostMessageA(app.Frame(), WM_HOTKEY, 25 + 2 * (kSlots - 1), 0);
    EXPECT_TRUE(WaitVisible(last, false));
    EXPECT_TRUE(::IsWindowVisible(other));
}

// A Windows Groups OK that a kill cuts short leaves the list of before or the
// list of after, whole: never a list that ends early.
TEST_F(WindowsGroupsDialog, AnOkCutShortByAKillLeavesTheOldListOrTheNewOneWhole) {
    constexpr int kSlots = 200;
    const auto row = [](int i) { return RemoteList::Row{"Group " + std::to_string(i), "", ""}; };
    Rows before, after;
    for (int i = 0; i < kSlots; ++i) before.push_back(row(i));
    after.assign(before.begin() + 1, before.end());
    int sawBefore = 0, sawAfter = 0;
    for (int delayMs : {0, 10, 30, 60, 100, 200, 400}) {
        TearDown();
        ASSERT_TRUE(SetDword("Settings", "First Start", 0));
        ASSERT_TRUE(SeedGroupSlots(kSlots));
        {
            Tarnvell app;
            ASSERT_TRUE(app.Started());
            HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
            ASSERT_TRUE(dialog);
            RemoteList list = ListOf(app, dialog);
            ASSERT_TRUE(list.Select(0));
            Press(dialog, IDC_GROUP_DELETE);
            ASSERT_TRUE(WaitFor([&] { return list.Count() == kSlots - 1; }, 5s));
            Press(dialog, IDOK);
            ::Sleep(static_cast<DWORD>(delayMs));
            ::TerminateProcess(app.Proc().info.hProcess, 9);
            ASSERT_NE(app.Proc().WaitExit(5s), static_cast<DWORD>(STILL_ACTIVE));
        }
        Tarnvell app;
        ASSERT_TRUE(app.Started());
        HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
        ASSERT_TRUE(dialog);
        const Rows rows = ListOf(app, dialog).Rows(1);
        EXPECT_TRUE(rows == before || rows == after) << "killed " << delayMs << " ms after OK: " << rows.size()
                                                     << " groups";
        sawBefore += rows == before;
        sawAfter += rows == after;
        ASSERT_TRUE(Dismiss(dialog, IDCANCEL));
    }
    // The kills fell both before and after the save was taken.
    EXPECT_GT(sawAfter, 0);
}

TEST_F(WindowsGroupsDialog, AGroupNeedsANameAndASearchTextAndOkResetsAGroupTrayActionKeepingItsMode) {
    SetDword("Settings", "m_uAction", 9);  // show group 0
    SeedGroup(0, "Others", "Notes", 2);    // captions that differ from the text: not offered
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    Press(dialog, IDC_GROUP_ADD);
    HWND group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    Type(group, IDC_GROUP_SEARCH, "Mail");
    Press(group, IDOK);
    EXPECT_TRUE(Warned(app, "You must specify Group Name"));
    Type(group, IDC_GROUP_NAME, "Mail");
    Type(group, IDC_GROUP_SEARCH, "");
    Press(group, IDOK);
    EXPECT_TRUE(Warned(app, "You must specify Text for search in Window Caption, a Program or a Window Class"));
    EXPECT_EQ(ControlText(Control(group, IDC_GROUP_NAME)), "Mail");
    Type(group, IDC_GROUP_SEARCH, "Mail");
    ASSERT_TRUE(Dismiss(group, IDOK));
    RemoteList list = ListOf(app, dialog);
    EXPECT_EQ(list.Rows(), (Rows{{"Others", "Not defined", "Not defined"}, {"Mail", "Not defined", "Not defined"}}));

    list.Select(0);
    Press(dialog, IDC_GROUP_EDIT);
    group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    EXPECT_EQ(Chosen(group, IDC_GROUP_COMPARE), CB_ERR);
    ASSERT_TRUE(Dismiss(group, IDOK));
    ASSERT_TRUE(Dismiss(dialog, IDOK));
    ASSERT_TRUE(WaitFor([] { return GetDword("Settings", "m_uAction") == DWORD{0}; }, 5s));
    EXPECT_TRUE(WaitFor([] { return GetString("Groups", "Name0") == "Others"; }, 5s));
    EXPECT_EQ(GetDword("Groups", "Compare0"), DWORD{2});
}

// The picker lists the windows open now; choosing one fills the program and
// the class, and the caption only when asked; OK stores them.
TEST_F(WindowsGroupsDialog, ThePickFillsProgramAndClassFromATestWindow) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"class:TarnvellPickMe:Pick me", "win:Bystander"});
    ASSERT_TRUE(host.Window("Pick me") && host.Window("Bystander"));
    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    Press(dialog, IDC_GROUP_ADD);
    HWND group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    Type(group, IDC_GROUP_NAME, "Picked");
    Type(group, IDC_GROUP_SEARCH, "kept");
    for (const bool withCaption : {false, true}) {
        SCOPED_TRACE(withCaption ? "with its caption" : "without its caption");
        Press(group, IDC_GROUP_PICK);
        HWND picker = WaitDialog(app.Proc().Pid(), "Choose a Window");
        ASSERT_TRUE(picker);
        RemoteList list(Control(picker, IDC_PICK_LIST), app.Proc().info.hProcess);
        const std::vector<RemoteList::Row> rows = list.Rows();
        const auto row = std::find_if(rows.begin(), rows.end(), [](const auto& r) { return r[0] == "Pick me"; });
        ASSERT_NE(row, rows.end());
        EXPECT_EQ((*row)[1], "window_host.exe");
        EXPECT_EQ((*row)[2], "TarnvellPickMe");
        // Tarnvell's own windows are never listed.
        EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r[0] == "Group"; }), 0);
        ASSERT_TRUE(list.Select(static_cast<int>(row - rows.begin())));
        Tick(picker, IDC_PICK_WITH_CAPTION, withCaption);
        ASSERT_TRUE(Dismiss(picker, IDOK));
        EXPECT_TRUE(Shows(group, IDC_GROUP_PROGRAM, "window_host.exe"));
        EXPECT_TRUE(Shows(group, IDC_GROUP_CLASS, "TarnvellPickMe"));
        EXPECT_TRUE(Shows(group, IDC_GROUP_SEARCH, withCaption ? "Pick me" : "kept"));
    }
    Tick(group, IDC_GROUP_HIDE_MINIMIZED, true);
    ASSERT_TRUE(Dismiss(group, IDOK));
    EXPECT_EQ(ListOf(app, dialog).Rows().back()[0], "Picked");
    ASSERT_TRUE(Dismiss(dialog, IDOK));
    ASSERT_TRUE(WaitFor([] { return GetString("Groups", "Program1") == "window_host.exe"; }, 5s));
    EXPECT_EQ(GetString("Groups", "Class1"), "TarnvellPickMe");
    EXPECT_EQ(GetDword("Groups", "AutoHide1"), DWORD{2});
}

using PasswordGuard = DialogTest;

TEST_F(PasswordGuard, ShowWindowAndExitGoOnlyAfterTheRightPassword) {
    SetDword("Settings", "m_bPassOnShow", 1);
    SetDword("Settings", "m_bPassOnClose", 1);
    SetString("Settings", "m_Password", "Secret");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Guarded"});
    HWND w = host.Window("Guarded");
    ASSERT_TRUE(w);
    Command(app.Frame(), ID_HIDE_WINDOW);  // hiding never asks
    ASSERT_TRUE(WaitVisible(w, false));
    ASSERT_TRUE(AnswerPassword(app, "secret", IDOK, ID_SHOW_WINDOW));
    ASSERT_TRUE(AnswerPassword(app, "Secret", IDCANCEL, ID_SHOW_WINDOW));
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(w));
    ASSERT_TRUE(AnswerPassword(app, "Secret", IDOK, ID_SHOW_WINDOW));
    EXPECT_TRUE(WaitVisible(w, true));

    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(w, false));
    ASSERT_TRUE(AnswerPassword(app, "secret", IDOK, ID_APP_EXIT));
    EXPECT_EQ(app.Proc().WaitExit(500ms), static_cast<DWORD>(STILL_ACTIVE));
    ASSERT_TRUE(AnswerPassword(app, "Secret", IDCANCEL, ID_APP_EXIT));
    EXPECT_EQ(app.Proc().WaitExit(500ms), static_cast<DWORD>(STILL_ACTIVE));
    // The close password passes; the show-all on exit then asks for the show
    // password, and refusing it leaves the window hidden as the program ends.
    ASSERT_TRUE(AnswerPassword(app, "Secret", IDOK, ID_APP_EXIT));
    ASSERT_TRUE(AnswerPassword(app, "", IDCANCEL));
    EXPECT_EQ(app.Proc().WaitExit(5s), 0u);
    EXPECT_FALSE(::IsWindowVisible(w));
}

TEST_F(PasswordGuard, BothDialogsOpenOnlyAfterTheRightPassword) {
    SetDword("Settings", "m_bPassOnOption", 1);
    SetString("Settings", "m_Password", "Secret");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    // What the start stored: the earlier version's password as its hash.
    ASSERT_TRUE(WaitFor([] { return !GetString("Settings", "m_Password"); }, 10s));
    const auto before = Snapshot("Settings");
    for (const auto& [command, title] : {std::pair{ID_PREFERENCES, "Preferences"},
                                         std::pair{ID_WINDOWS_GROUPS, "Windows Groups"}}) {
        SCOPED_TRACE(title);
        ASSERT_TRUE(AnswerPassword(app, "secret", IDOK, command));
        ASSERT_TRUE(AnswerPassword(app, "Secret", IDCANCEL, command));
        ::Sleep(300);
        EXPECT_TRUE(DialogsOf(app.Proc().Pid(), title).empty());
        ASSERT_TRUE(AnswerPassword(app, "Secret", IDOK, command));
        HWND dialog = WaitDialog(app.Proc().Pid(), title);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(Dismiss(dialog, IDCANCEL));
    }
    EXPECT_EQ(Snapshot("Settings"), before);
}

}  // namespace
