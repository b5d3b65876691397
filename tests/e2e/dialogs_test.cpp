// The configuration dialogs and the password prompt, driven in the running
// program as a user would: texts typed into fields, keys pressed in the
// hot-key fields, buttons clicked. What counts is what lands in the registry
// and which hot-keys the system then holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>

#include "e2e_support.h"

using namespace e2e;

namespace {

constexpr UINT ID_HIDE_WINDOW = 32771, ID_SHOW_WINDOW = 32772, ID_PREFERENCES = 32775, ID_WINDOWS_GROUPS = 32879,
               ID_APP_EXIT = 57665;
constexpr UINT kCtrlAlt = MOD_CONTROL | MOD_ALT;
constexpr DWORD kListEnd = 0xFFFFFFFF;

// Preferences.
enum : int {
    kHideWindowKey = 1000, kShowWindowKey = 1001, kHideAllKey = 1002, kShowAllKey = 1003, kAutorun = 1004,
    kShowList = 1005, kShowOnClose = 1006, kToggleKey = 1009, kInvertMouse = 1010, kHideIcon = 1011,
    kPassword = 1016, kConfirm = 1017, kPassOnShow = 1018, kPassOnClose = 1019, kPassOnOption = 1020,
    kAction = 1024, kSingleClick = 1025, kDoubleClick = 1026, kShowHiddenInTip = 1030,
};
// Windows Groups and Group.
enum : int {
    kGroupList = 1031, kAdd = 1032, kDelete = 1033, kEdit = 1035,
    kGroupName = 1000, kGroupSearch = 1001, kGroupHideKey = 1002, kGroupShowKey = 1009, kCompare = 1024,
};

HWND Control(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
// Posted: the click may open a modal box, which a sent message would wait for.
void Press(HWND dialog, int id) { ::PostMessageA(Control(dialog, id), BM_CLICK, 0, 0); }
void Type(HWND dialog, int id, const std::string& text) {
    ::SendMessageA(Control(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
void Tick(HWND dialog, int id, bool on) {
    ::SendMessageA(Control(dialog, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
}
bool Ticked(HWND dialog, int id) { return ::SendMessageA(Control(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
LRESULT Choose(HWND dialog, int id, int entry) { return ::SendMessageA(Control(dialog, id), CB_SETCURSEL, entry, 0); }
LRESULT Chosen(HWND dialog, int id) { return ::SendMessageA(Control(dialog, id), CB_GETCURSEL, 0, 0); }
bool Closed(HWND dialog) { return WaitFor([&] { return !::IsWindow(dialog); }, 5s); }

// Presses keys in a hot-key field as the keyboard delivers them: down in
// order, up in reverse. Alt without Ctrl makes them system keys.
void PressIn(HWND dialog, int id, const std::vector<WPARAM>& keys) {
    HWND edit = Control(dialog, id);
    const bool alt = std::find(keys.begin(), keys.end(), VK_MENU) != keys.end();
    const bool ctrl = std::find(keys.begin(), keys.end(), VK_CONTROL) != keys.end();
    const bool system = alt && !ctrl;
    for (WPARAM key : keys) ::PostMessageA(edit, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0x20000001);
    for (auto key = keys.rbegin(); key != keys.rend(); ++key)
        ::PostMessageA(edit, system ? WM_SYSKEYUP : WM_KEYUP, *key, static_cast<LPARAM>(0xE0000001u));
}
bool Shows(HWND dialog, int id, const std::string& text) {
    return WaitFor([&] { return ControlText(Control(dialog, id)) == text; }, 3s);
}

// The program's message box, once it is open, when it says text; it is then
// closed with OK.
bool Warned(const Tarnvell& app, const std::string& text) {
    HWND box = WaitDialog(app.Proc().Pid(), "Tarnvell");
    if (!box) return false;
    bool says = false;
    for (HWND child = ::GetWindow(box, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        says = says || ControlText(child) == text;
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    return Closed(box) && says;
}

HWND Open(const Tarnvell& app, UINT command, const char* title) {
    Command(app.Frame(), command);
    return WaitDialog(app.Proc().Pid(), title);
}

// Answers the password prompt that command brings up; false when none came.
bool Answer(const Tarnvell& app, UINT command, const char* text, WPARAM button) {
    Command(app.Frame(), command);
    HWND prompt = WaitDialog(app.Proc().Pid(), "Enter password");
    if (!prompt) return false;
    ::SetDlgItemTextA(prompt, 1000, text);
    ::PostMessageA(prompt, WM_COMMAND, button, 0);
    return Closed(prompt);
}

void SeedGroup(int slot, const std::string& name, const std::string& search, DWORD compare) {
    const std::string n = std::to_string(slot);
    SetString("Groups", ("Name" + n).c_str(), name);
    SetString("Groups", ("Search" + n).c_str(), search);
    SetDword("Groups", ("Compare" + n).c_str(), compare);
}
void SeedKey(int id, UINT modifiers, UINT key) {
    SetDword("HotKeys", ("Mod" + std::to_string(id)).c_str(), modifiers);
    SetDword("HotKeys", ("VK" + std::to_string(id)).c_str(), key);
}
std::optional<DWORD> Key(const char* kind, int id) { return GetDword("HotKeys", (kind + std::to_string(id)).c_str()); }

// Every value of a section, raw, to see that nothing at all changed.
std::map<std::string, std::vector<BYTE>> Snapshot(const std::string& section) {
    std::map<std::string, std::vector<BYTE>> values;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kProfileKey) + "\\" + section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[1024];
        DWORD length = sizeof(name), size = sizeof(data), type = 0;
        if (::RegEnumValueA(key, i, name, &length, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[std::string(name, length)].assign(data, data + size);
    }
    ::RegCloseKey(key);
    return values;
}

using Rows = std::vector<RemoteList::Row>;

class DialogTest : public ::testing::Test {
protected:
    // A profile past its first start, so that no Run value is written
    // unless a test asks for it.
    void SetUp() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        DeleteRunValue();
        ASSERT_TRUE(SetDword("Settings", "First Start", 0));
        for (char key : {'A', 'B', 'D', 'G', 'H', 'N'})
            ASSERT_EQ(ProbeHotKey(kCtrlAlt, key), 0u) << "another program holds Ctrl+Alt+" << key;
    }
    void TearDown() override {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, kProfileKey);
        DeleteRunValue();
    }
};

// ---------------------------------------------------------------- Preferences

using PreferencesDialog = DialogTest;

TEST_F(PreferencesDialog, OkWritesEveryPreferenceAndTheFiveHotKeys) {
    SetDword("Settings", "m_bAutorun", 0);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    // What the engine holds: the defaults, the built-in group's three
    // actions after the separator, no hot-keys.
    EXPECT_TRUE(Shows(dialog, kHideWindowKey, "No"));
    EXPECT_FALSE(Ticked(dialog, kAutorun));
    EXPECT_TRUE(Ticked(dialog, kSingleClick));
    EXPECT_EQ(::SendMessageA(Control(dialog, kAction), CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(Chosen(dialog, kAction), 1);

    for (int id : {kAutorun, kHideIcon, kShowHiddenInTip, kPassOnOption, kPassOnShow}) Tick(dialog, id, true);
    for (int id : {kShowList, kShowOnClose, kInvertMouse}) Tick(dialog, id, false);
    Press(dialog, kDoubleClick);
    Choose(dialog, kAction, 10);
    Type(dialog, kPassword, "Open sesame");
    Type(dialog, kConfirm, "Open sesame");
    PressIn(dialog, kHideWindowKey, {VK_CONTROL, VK_MENU, 'H'});
    PressIn(dialog, kHideAllKey, {VK_MENU, 'J'});
    PressIn(dialog, kShowAllKey, {VK_CONTROL, VK_SHIFT, VK_F5});
    EXPECT_TRUE(Shows(dialog, kHideWindowKey, "Ctrl + Alt + H"));
    EXPECT_TRUE(Shows(dialog, kHideAllKey, "Alt + J"));
    EXPECT_TRUE(Shows(dialog, kShowAllKey, "Ctrl + Shift + F5"));
    // Alt is not taken for a mnemonic or the system menu: the dialog is
    // still there.
    EXPECT_TRUE(::IsWindowVisible(dialog));

    Press(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    ASSERT_TRUE(WaitFor([] { return GetDword("Settings", "m_bClick").has_value(); }, 5s));
    const std::map<std::string, DWORD> expected{
        {"bShowList", 0},        {"m_bShowOnClose", 0},  {"m_bInvertMouse", 0},      {"m_bAutorun", 1},
        {"m_bHideIcon", 1},      {"m_bShowHiddenInTip", 1}, {"m_bPassOnClose", 0}, {"m_bPassOnOption", 1},
        {"m_bPassOnShow", 1},    {"m_bClick", 1},        {"m_uAction", 10},
    };
    for (const auto& [name, value] : expected) EXPECT_EQ(GetDword("Settings", name.c_str()), value) << name;
    EXPECT_EQ(GetString("Settings", "m_Password"), "Open sesame");
    EXPECT_EQ(ValueNames("Settings").size(), 13u);  // the twelve and First Start

    const std::array<std::pair<DWORD, DWORD>, 5> keys{
        {{kCtrlAlt, 'H'}, {0, 0}, {MOD_ALT, 'J'}, {MOD_CONTROL | MOD_SHIFT, VK_F5}, {0, 0}}};
    for (int id = 0; id < 5; ++id) {
        EXPECT_EQ(Key("Mod", id), keys[id].first) << id;
        EXPECT_EQ(Key("VK", id), keys[id].second) << id;
    }
    // Autorun was switched on: the Run value is written.
    EXPECT_TRUE(RunValue().has_value());
}

TEST_F(PreferencesDialog, ACapturedHotKeyWorksAtOnceEvenTakenFromAnotherCommand) {
    SeedKey(1, kCtrlAlt, 'H');  // "Show window" holds the combination
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return ProbeHotKey(kCtrlAlt, 'H') == ERROR_HOTKEY_ALREADY_REGISTERED; }, 10s));
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(Shows(dialog, kShowWindowKey, "Ctrl + Alt + H"));
    PressIn(dialog, kShowWindowKey, {VK_BACK});
    PressIn(dialog, kHideWindowKey, {VK_CONTROL, VK_MENU, 'H'});
    EXPECT_TRUE(Shows(dialog, kShowWindowKey, "No"));
    EXPECT_TRUE(Shows(dialog, kHideWindowKey, "Ctrl + Alt + H"));
    Press(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    ASSERT_TRUE(WaitFor([] { return Key("VK", 0) == DWORD{'H'}; }, 5s));
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));

    // Pressed on the keyboard, it hides the topmost window.
    Host host({"top:Pressed"});
    HWND w = host.Window("Pressed");
    ASSERT_TRUE(w);
    ::SetForegroundWindow(w);
    ::Sleep(200);
    PressKeys("ctrl+alt+h", {VK_CONTROL, VK_MENU, 'H'});
    EXPECT_TRUE(WaitVisible(w, false));
}

TEST_F(PreferencesDialog, ChecksKeepTheDialogOpenWithEverythingTyped) {
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);

    // Passwords that differ in case only.
    Type(dialog, kPassword, "Secret");
    Type(dialog, kConfirm, "secret");
    Press(dialog, IDOK);
    EXPECT_TRUE(Warned(app, "Password is not equal password Confirm."));
    EXPECT_TRUE(::IsWindowVisible(dialog));

    // A hidden icon needs a key to show windows; the designated window's
    // key is not one.
    Type(dialog, kConfirm, "Secret");
    Tick(dialog, kHideIcon, true);
    PressIn(dialog, kToggleKey, {VK_CONTROL, VK_MENU, 'T'});
    Press(dialog, IDOK);
    EXPECT_TRUE(Warned(app, "You set 'Hide an application's icon when the windows are hidden' please select "
                            "hot-key for window show."));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    EXPECT_EQ(ValueNames("Settings"), std::vector<std::string>{"First Start"});

    PressIn(dialog, kShowAllKey, {VK_CONTROL, VK_MENU, 'S'});
    Press(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    ASSERT_TRUE(WaitFor([] { return GetDword("Settings", "m_bClick").has_value(); }, 5s));
    EXPECT_EQ(GetString("Settings", "m_Password"), "Secret");
    EXPECT_EQ(GetDword("Settings", "m_bHideIcon"), DWORD{1});
    EXPECT_EQ(Key("VK", 3), DWORD{'S'});
    EXPECT_EQ(Key("VK", 4), DWORD{'T'});
}

TEST_F(PreferencesDialog, PasswordsAreTypedUpToThirtyCharactersAndALongerStoredOneIsKept) {
    const std::string stored(40, 'x');
    SetString("Settings", "m_Password", stored);
    Tarnvell app;
    ASSERT_TRUE(app.Started());

    // Left alone, a longer password put into the registry by hand survives OK.
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    Press(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    ASSERT_TRUE(WaitFor([] { return GetDword("Settings", "m_bClick").has_value(); }, 5s));
    EXPECT_EQ(GetString("Settings", "m_Password"), stored);

    // Typed, a password stops at thirty characters in both fields.
    dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    for (int id : {kPassword, kConfirm}) {
        Type(dialog, id, "");
        for (int i = 0; i < 35; ++i) ::PostMessageA(Control(dialog, id), WM_CHAR, 'a' + i % 26, 1);
    }
    Press(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    const std::string typed = "abcdefghijklmnopqrstuvwxyzabcd";
    EXPECT_TRUE(WaitFor([&] { return GetString("Settings", "m_Password") == typed; }, 5s))
        << GetString("Settings", "m_Password").value_or("(none)");
}

TEST_F(PreferencesDialog, OpensOnceAndCancelWritesNothing) {
    SetDword("Settings", "bShowList", 0);
    SetString("Settings", "m_Password", "Old");
    const auto before = Snapshot("Settings");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    Command(app.Frame(), ID_PREFERENCES);
    ::Sleep(500);
    EXPECT_EQ(DialogsOf(app.Proc().Pid(), "Preferences").size(), 1u);

    Tick(dialog, kShowList, true);
    Tick(dialog, kAutorun, true);
    Type(dialog, kPassword, "New");
    Type(dialog, kConfirm, "New");
    Choose(dialog, kAction, 3);
    PressIn(dialog, kHideWindowKey, {VK_CONTROL, VK_MENU, 'H'});
    EXPECT_TRUE(Shows(dialog, kHideWindowKey, "Ctrl + Alt + H"));
    Press(dialog, IDCANCEL);
    ASSERT_TRUE(Closed(dialog));
    ::Sleep(300);
    EXPECT_EQ(Snapshot("Settings"), before);
    EXPECT_TRUE(ValueNames("HotKeys").empty());
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'H'), 0u);
    EXPECT_FALSE(RunValue().has_value());

    // The command works again once the dialog is gone.
    dialog = Open(app, ID_PREFERENCES, "Preferences");
    ASSERT_TRUE(dialog);
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(Closed(dialog));
}

// ------------------------------------------------------------- Windows Groups

using WindowsGroupsDialog = DialogTest;

TEST_F(WindowsGroupsDialog, AddEditAndDeleteThenOkRewriteTheSlots) {
    SeedGroup(0, "Alpha", "Alpha", 0);
    SeedGroup(1, "Beta", "Beta", 1);
    SeedGroup(2, "Gamma", "Gamma", 0);
    SeedKey(25, kCtrlAlt, 'A');
    SeedKey(29, kCtrlAlt, 'G');
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"win:Gamma one"});
    HWND gamma = host.Window("Gamma one");
    ASSERT_TRUE(gamma);
    ::PostMessageA(app.Frame(), WM_HOTKEY, 29, 0);  // Gamma hides its window
    ASSERT_TRUE(WaitVisible(gamma, false));

    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    RemoteList list(Control(dialog, kGroupList), app.Proc().info.hProcess);
    EXPECT_EQ(list.Columns(), (std::vector<std::string>{"Name", "Hide", "Show"}));
    EXPECT_EQ(list.Rows(), (Rows{{"Alpha", "Ctrl + Alt + A", "Not defined"},
                                 {"Beta", "Not defined", "Not defined"},
                                 {"Gamma", "Ctrl + Alt + G", "Not defined"}}));

    // Delete asks nothing.
    for (int left : {2, 1}) {
        list.Select(0);
        Press(dialog, kDelete);
        ASSERT_TRUE(WaitFor([&] { return list.Count() == left; }, 3s));
    }
    // A double click edits.
    list.DoubleClick(0);
    HWND group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    EXPECT_EQ(ControlText(Control(group, kGroupName)), "Gamma");
    EXPECT_TRUE(Shows(group, kGroupHideKey, "Ctrl + Alt + G"));
    Type(group, kGroupName, "Gamma renamed");
    Press(group, IDOK);
    ASSERT_TRUE(Closed(group));

    Press(dialog, kAdd);
    group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    EXPECT_EQ(Chosen(group, kCompare), 0);  // "Include"
    Type(group, kGroupName, "Delta");
    Type(group, kGroupSearch, "Delta");
    Choose(group, kCompare, 1);
    PressIn(group, kGroupShowKey, {VK_CONTROL, VK_MENU, 'D'});
    EXPECT_TRUE(Shows(group, kGroupShowKey, "Ctrl + Alt + D"));
    Press(group, IDOK);
    ASSERT_TRUE(Closed(group));
    EXPECT_TRUE(WaitFor([&] { return list.Count() == 2; }, 3s));
    EXPECT_EQ(list.Rows(), (Rows{{"Gamma renamed", "Ctrl + Alt + G", "Not defined"},
                                 {"Delta", "Not defined", "Ctrl + Alt + D"}}));

    Press(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    ASSERT_TRUE(WaitFor([] { return GetString("Groups", "Name1") == "Delta"; }, 5s));
    EXPECT_EQ(GetString("Groups", "Name0"), "Gamma renamed");
    EXPECT_EQ(GetString("Groups", "Search0"), "Gamma");
    EXPECT_EQ(GetDword("Groups", "Compare0"), DWORD{0});
    EXPECT_EQ(GetString("Groups", "Search1"), "Delta");
    EXPECT_EQ(GetDword("Groups", "Compare1"), DWORD{1});
    // The list shrank: its old third slot now ends it, its texts left behind.
    EXPECT_EQ(GetDword("Groups", "Compare2"), kListEnd);
    EXPECT_EQ(GetString("Groups", "Name2"), "Gamma");
    EXPECT_EQ(Key("VK", 25), DWORD{'G'});
    EXPECT_EQ(Key("VK", 28), DWORD{'D'});
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'G'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'D'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'A'), 0u);

    // The edited group is still the one that hid the window: its show key,
    // now slot 0's, brings it back.
    ::PostMessageA(app.Frame(), WM_HOTKEY, 26, 0);
    EXPECT_TRUE(WaitVisible(gamma, true));
}

TEST_F(WindowsGroupsDialog, TheGroupDialogAsksForANameAndASearchText) {
    SeedGroup(0, "Notes", "Notes", 0);
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    Press(dialog, kAdd);
    HWND group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    Type(group, kGroupSearch, "Mail");
    Press(group, IDOK);
    EXPECT_TRUE(Warned(app, "You must specify Group Name"));
    Type(group, kGroupName, "Mail");
    Type(group, kGroupSearch, "");
    Press(group, IDOK);
    EXPECT_TRUE(Warned(app, "You must specify Text for search in Window Caption"));
    EXPECT_EQ(ControlText(Control(group, kGroupName)), "Mail");
    Type(group, kGroupSearch, "Mail");
    Press(group, IDOK);
    ASSERT_TRUE(Closed(group));
    RemoteList list(Control(dialog, kGroupList), app.Proc().info.hProcess);
    EXPECT_EQ(list.Rows(), (Rows{{"Notes", "Not defined", "Not defined"}, {"Mail", "Not defined", "Not defined"}}));
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(Closed(dialog));
}

TEST_F(WindowsGroupsDialog, OkResetsAGroupTrayActionAndKeepsAModeTheDialogDoesNotOffer) {
    SetDword("Settings", "m_uAction", 9);  // show group 0
    SeedGroup(0, "Others", "Notes", 2);    // captions that differ from the text
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    RemoteList list(Control(dialog, kGroupList), app.Proc().info.hProcess);
    list.Select(0);
    Press(dialog, kEdit);
    HWND group = WaitDialog(app.Proc().Pid(), "Group");
    ASSERT_TRUE(group);
    EXPECT_EQ(Chosen(group, kCompare), CB_ERR);
    Press(group, IDOK);
    ASSERT_TRUE(Closed(group));
    Press(dialog, IDOK);
    ASSERT_TRUE(Closed(dialog));
    ASSERT_TRUE(WaitFor([] { return GetDword("Settings", "m_uAction") == DWORD{0}; }, 5s));
    EXPECT_TRUE(WaitFor([] { return GetString("Groups", "Name0") == "Others"; }, 5s));
    EXPECT_EQ(GetDword("Groups", "Compare0"), DWORD{2});
}

TEST_F(WindowsGroupsDialog, CancelAfterChangesLeavesGroupsAndHotKeysAsTheyWere) {
    SeedGroup(0, "Alpha", "Alpha", 0);
    SeedGroup(1, "Beta", "Beta", 1);
    SeedKey(25, kCtrlAlt, 'A');
    SeedKey(27, kCtrlAlt, 'B');
    const auto groups = Snapshot("Groups"), keys = Snapshot("HotKeys");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    ASSERT_TRUE(WaitFor([] { return ProbeHotKey(kCtrlAlt, 'B') == ERROR_HOTKEY_ALREADY_REGISTERED; }, 10s));

    HWND dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    {
        RemoteList list(Control(dialog, kGroupList), app.Proc().info.hProcess);
        list.Select(0);
        Press(dialog, kDelete);
        ASSERT_TRUE(WaitFor([&] { return list.Count() == 1; }, 3s));
        list.Select(0);
        Press(dialog, kEdit);
        HWND group = WaitDialog(app.Proc().Pid(), "Group");
        ASSERT_TRUE(group);
        Type(group, kGroupName, "Beta renamed");
        PressIn(group, kGroupHideKey, {VK_CONTROL, VK_MENU, 'N'});
        EXPECT_TRUE(Shows(group, kGroupHideKey, "Ctrl + Alt + N"));
        Press(group, IDOK);
        ASSERT_TRUE(Closed(group));
        EXPECT_EQ(list.Rows(), (Rows{{"Beta renamed", "Ctrl + Alt + N", "Not defined"}}));
    }
    Press(dialog, IDCANCEL);
    ASSERT_TRUE(Closed(dialog));
    ::Sleep(300);
    EXPECT_EQ(Snapshot("Groups"), groups);
    EXPECT_EQ(Snapshot("HotKeys"), keys);
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'A'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'B'), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_EQ(ProbeHotKey(kCtrlAlt, 'N'), 0u);

    // The engine's list is untouched: the next dialog shows it as it was.
    dialog = Open(app, ID_WINDOWS_GROUPS, "Windows Groups");
    ASSERT_TRUE(dialog);
    RemoteList list(Control(dialog, kGroupList), app.Proc().info.hProcess);
    EXPECT_EQ(list.Rows(), (Rows{{"Alpha", "Ctrl + Alt + A", "Not defined"}, {"Beta", "Ctrl + Alt + B", "Not defined"}}));
    Press(dialog, IDCANCEL);
    EXPECT_TRUE(Closed(dialog));
}

// ------------------------------------------------------------------ Password

using PasswordGuard = DialogTest;

TEST_F(PasswordGuard, ShowWindowShowsNothingOnAWrongOrCancelledAnswer) {
    SetDword("Settings", "m_bPassOnShow", 1);
    SetString("Settings", "m_Password", "Secret");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Guarded"});
    HWND w = host.Window("Guarded");
    ASSERT_TRUE(w);
    Command(app.Frame(), ID_HIDE_WINDOW);  // hiding never asks
    ASSERT_TRUE(WaitVisible(w, false));

    ASSERT_TRUE(Answer(app, ID_SHOW_WINDOW, "secret", IDOK));
    ASSERT_TRUE(Answer(app, ID_SHOW_WINDOW, "Secret", IDCANCEL));
    ::Sleep(300);
    EXPECT_FALSE(::IsWindowVisible(w));
    ASSERT_TRUE(Answer(app, ID_SHOW_WINDOW, "Secret", IDOK));
    EXPECT_TRUE(WaitVisible(w, true));
}

TEST_F(PasswordGuard, BothDialogsOpenOnlyAfterTheRightPassword) {
    SetDword("Settings", "m_bPassOnOption", 1);
    SetString("Settings", "m_Password", "Secret");
    const auto before = Snapshot("Settings");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    for (const auto& [command, title] : {std::pair{ID_PREFERENCES, "Preferences"},
                                         std::pair{ID_WINDOWS_GROUPS, "Windows Groups"}}) {
        SCOPED_TRACE(title);
        ASSERT_TRUE(Answer(app, command, "secret", IDOK));
        ASSERT_TRUE(Answer(app, command, "Secret", IDCANCEL));
        ::Sleep(300);
        EXPECT_TRUE(DialogsOf(app.Proc().Pid(), title).empty());
        ASSERT_TRUE(Answer(app, command, "Secret", IDOK));
        HWND dialog = WaitDialog(app.Proc().Pid(), title);
        ASSERT_TRUE(dialog);
        Press(dialog, IDCANCEL);
        EXPECT_TRUE(Closed(dialog));
    }
    EXPECT_EQ(Snapshot("Settings"), before);
}

TEST_F(PasswordGuard, ExitAsksTheClosePasswordThenTheShowPassword) {
    SetDword("Settings", "m_bPassOnClose", 1);
    SetDword("Settings", "m_bPassOnShow", 1);
    SetString("Settings", "m_Password", "Secret");
    Tarnvell app;
    ASSERT_TRUE(app.Started());
    Host host({"top:Left hidden"});
    HWND w = host.Window("Left hidden");
    ASSERT_TRUE(w);
    Command(app.Frame(), ID_HIDE_WINDOW);
    ASSERT_TRUE(WaitVisible(w, false));

    ASSERT_TRUE(Answer(app, ID_APP_EXIT, "secret", IDOK));
    EXPECT_EQ(app.Proc().WaitExit(500ms), static_cast<DWORD>(STILL_ACTIVE));
    ASSERT_TRUE(Answer(app, ID_APP_EXIT, "Secret", IDCANCEL));
    EXPECT_EQ(app.Proc().WaitExit(500ms), static_cast<DWORD>(STILL_ACTIVE));

    // The close password passes; the show-all on exit then asks for the show
    // password, and refusing it leaves the window hidden as the program ends.
    ASSERT_TRUE(Answer(app, ID_APP_EXIT, "Secret", IDOK));
    HWND prompt = WaitDialog(app.Proc().Pid(), "Enter password");
    ASSERT_TRUE(prompt);
    ::PostMessageA(prompt, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(app.Proc().WaitExit(5s), 0u);
    EXPECT_FALSE(::IsWindowVisible(w));
}

}  // namespace
