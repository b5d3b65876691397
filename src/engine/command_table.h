#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/command.h"
#include "engine/modal_gate.h"
#include "hotkeys/hot_keys.h"
#include "res/resource.h"

// The commands, one row each: how every input names them and what the gate
// and the password make of them. The main menu, the hot-key dispatch, the
// command line and its usage text, the click actions of the Preferences
// dialog and the labels of the program's hot-keys are all read from here.

// The password a command asks for before it acts, when the user set it:
// Show before anything hidden is shown (asked only once something would be),
// Options before a configuration dialog opens, Close before Tarnvell ends.
enum class PasswordOccasion : std::uint8_t { None, Show, Options, Close };

struct CommandInfo {
    Verb verb;
    // WM_COMMAND's identifier (the menus' and other programs'); 0: none.
    unsigned menuId;
    // Its menu text in the string table, also the name its hot-key is
    // labelled with; 0: none.
    unsigned textId;
    // Its section of the main menu, top to bottom, separated by lines; 0: not
    // in the main menu.
    int menuSection;
    // The program hot-key that runs it: the WM_HOTKEY identifier, the
    // "Mod<n>"/"VK<n>" values and the Preferences field; -1: none.
    int hotKey;
    unsigned hotKeyEditId;
    // A group's own hot-key that runs it: 0 hide, 1 show; -1: none.
    int groupKey;
    // The command line's name (after "/" or "-") and its usage line; none.
    const char* cliName;
    unsigned cliHelpId;
    // The verb's number in the WM_COPYDATA record; 0: none. Published: a
    // number is never reused.
    std::uint32_t wire;
    // The click action's stored value, and its text in the Preferences
    // list; -1: none. Group verbs have one per group instead: groupClickOp,
    // with a "... [ %s ]" text.
    int clickAction;
    int groupClickOp;
    unsigned clickTextId;
    GateInput gate;
    PasswordOccasion password;
    bool takesGroup;
};

// The main menu's section that the list of hidden windows opens.
inline constexpr int kHiddenListSection = 3;

// The rows, in the order the usage text lists the command line's commands.
// The main menu shows its sections top to bottom, each in this order.
inline constexpr CommandInfo kCommands[] = {
    // verb, menu id, text, section, hot-key, its field, group key, cli, usage, wire, click, group click, its
    // text, gate, password, group
    {Verb::HideWindow, ID_HIDE_WINDOW, ID_HIDE_WINDOW, 4, 0, IDC_KEY_HIDE_WINDOW, -1, "hide-window",
     IDS_CLI_HIDE_WINDOW, 1, 2, -1, IDS_CLICK_HIDE_WINDOW, GateInput::HideCommand, PasswordOccasion::None, false},
    {Verb::ShowWindow, ID_SHOW_WINDOW, ID_SHOW_WINDOW, 4, 1, IDC_KEY_SHOW_WINDOW, -1, "show-window",
     IDS_CLI_SHOW_WINDOW, 2, 3, -1, IDS_CLICK_SHOW_WINDOW, GateInput::ShowCommand, PasswordOccasion::Show, false},
    {Verb::HideAll, ID_HIDE_ALL, ID_HIDE_ALL, 3, 2, IDC_KEY_HIDE_ALL, -1, "hide-all", IDS_CLI_HIDE_ALL, 3, 5, -1,
     IDS_CLICK_HIDE_ALL, GateInput::HideCommand, PasswordOccasion::None, false},
    {Verb::ShowAll, ID_SHOW_ALL, ID_SHOW_ALL, 3, 3, IDC_KEY_SHOW_ALL, -1, "show-all", IDS_CLI_SHOW_ALL, 4, 6, -1,
     IDS_CLICK_SHOW_ALL, GateInput::ShowCommand, PasswordOccasion::Show, false},
    {Verb::ToggleWindow, ID_TOGGLE_WINDOW, ID_TOGGLE_WINDOW, 3, 4, IDC_KEY_TOGGLE_WINDOW, -1, "toggle-window",
     IDS_CLI_TOGGLE_WINDOW, 5, 1, -1, IDS_CLICK_TOGGLE_WINDOW, GateInput::ShowCommand, PasswordOccasion::Show, false},
    {Verb::ToggleAll, 0, 0, 0, -1, 0, -1, "toggle-all", IDS_CLI_TOGGLE_ALL, 10, 4, -1, IDS_CLICK_TOGGLE_ALL,
     GateInput::ShowCommand, PasswordOccasion::Show, false},
    {Verb::HideGroup, 0, 0, 0, -1, 0, 0, "hide-group", IDS_CLI_HIDE_GROUP, 6, -1, 0, IDS_GROUP_HIDE_KEY,
     GateInput::HideCommand, PasswordOccasion::None, true},
    {Verb::ShowGroup, 0, 0, 0, -1, 0, 1, "show-group", IDS_CLI_SHOW_GROUP, 7, -1, 1, IDS_GROUP_SHOW_KEY,
     GateInput::ShowCommand, PasswordOccasion::Show, true},
    {Verb::ToggleGroup, 0, 0, 0, -1, 0, -1, "toggle-group", IDS_CLI_TOGGLE_GROUP, 8, -1, 2, IDS_GROUP_TOGGLE,
     GateInput::ShowCommand, PasswordOccasion::Show, true},
    {Verb::Exit, ID_APP_EXIT, ID_APP_EXIT, 1, -1, 0, -1, "exit", IDS_CLI_EXIT, 9, -1, -1, 0, GateInput::Close,
     PasswordOccasion::Close, false},
    {Verb::Help, ID_DEFAULT_HELP, ID_DEFAULT_HELP, 2, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::Unguarded,
     PasswordOccasion::None, false},
    {Verb::About, ID_APP_ABOUT, ID_APP_ABOUT, 2, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::OpenAbout,
     PasswordOccasion::None, false},
    {Verb::CheckUpdate, ID_CHECK_UPDATE, ID_CHECK_UPDATE, 2, -1, 0, -1, nullptr, 0, 0, -1, -1, 0,
     GateInput::Unguarded, PasswordOccasion::None, false},
    {Verb::Preferences, ID_PREFERENCES, ID_PREFERENCES, 2, -1, 0, -1, nullptr, 0, 0, -1, -1, 0,
     GateInput::OpenPreferences, PasswordOccasion::Options, false},
    {Verb::WindowsGroups, ID_WINDOWS_GROUPS, ID_WINDOWS_GROUPS, 2, -1, 0, -1, nullptr, 0, 0, -1, -1, 0,
     GateInput::OpenWindowsGroups, PasswordOccasion::Options, false},
    {Verb::ShowList, 0, IDS_CLICK_SHOW_LIST, 0, 5, IDC_KEY_SHOW_LIST, -1, nullptr, 0, 0, 0, -1, IDS_CLICK_SHOW_LIST,
     GateInput::TrayMenu, PasswordOccasion::None, false},
    {Verb::ShowListed, 0, 0, 0, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::ShowCommand, PasswordOccasion::Show,
     false},
    {Verb::MainMenu, 0, 0, 0, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::TrayMenu, PasswordOccasion::None,
     false},
    {Verb::EndSession, 0, 0, 0, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::EndSession, PasswordOccasion::None,
     false},
    {Verb::CloseListed, 0, 0, 0, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::ShowCommand, PasswordOccasion::Show,
     false},
    {Verb::WindowMenu, 0, 0, 0, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::TrayMenu, PasswordOccasion::None,
     false},
    {Verb::HideTaken, 0, 0, 0, -1, 0, -1, nullptr, 0, 0, -1, -1, 0, GateInput::HideCommand, PasswordOccasion::None,
     false},
};

// The main menu's sections run from 1 to this.
inline constexpr int kMenuSections = 4;

// The number of program hot-keys: one per row that has one, identifiers
// 0..n-1.
inline constexpr int kProgramHotKeys = [] {
    int n = 0;
    for (const CommandInfo& row : kCommands)
        if (row.hotKey >= 0) ++n;
    return n;
}();
using ProgramKeys = std::array<KeyCombination, kProgramHotKeys>;

// The row of a verb; every verb has one.
const CommandInfo& RowOf(Verb verb);
// The row of the program hot-key with that identifier; null for none.
const CommandInfo* RowOfHotKey(int hotKey);

// ---- Every input translated into a command.

// WM_COMMAND's wParam, compared whole: a notification code in the high word
// (an accelerator's, a control's) names no command. The hidden list's items
// name a window only while their menu is open, so they are not commands here.
std::optional<Command> CommandOfMenuId(std::uintptr_t id);
// WM_HOTKEY's identifier: 0.. the program's keys, 25 + 2i and 26 + 2i the
// hide and show keys of group i.
std::optional<Command> CommandOfHotKey(std::uintptr_t id);
// A click action's stored value: 0..6 a fixed command, 7 the list's
// separator (nothing), from 8 three per group.
std::optional<Command> CommandOfClickAction(std::uint32_t stored);
// The verb a WM_COPYDATA record or a command-line name stands for.
std::optional<Verb> VerbOfWire(std::uint32_t wire);
std::optional<Verb> VerbOfCliName(std::string_view lowerCaseName);
