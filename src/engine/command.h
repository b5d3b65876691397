#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "platform/window_handle.h"

// What the user or another program asks of Tarnvell, as one value. Every
// input (a menu item, a hot-key, a click on the icon, a key on the icon, a
// command line, a rule's event, the mouse's gesture, a hidden window's own
// icon) only translates itself into a Command; the runner
// (engine/command_runner.h) admits it, asks for the password where it needs
// one, and carries it out.

// What to do. Each verb is one row of the commands table
// (engine/command_table.h).
enum class Verb : std::uint8_t {
    HideWindow,     // the topmost family, or the family of Command::window
    ShowWindow,     // the last hidden family
    HideAll,
    ShowAll,
    ToggleWindow,   // the designated window
    ToggleAll,
    HideGroup,      // a group's matching windows
    ShowGroup,
    ToggleGroup,
    ShowListed,     // the family of a window the hidden list names
    ShowList,       // the menu of hidden windows
    CloseListed,    // shows a listed window's family, then asks the window to close
    WindowMenu,     // the menu of a hidden window's own icon
    MainMenu,       // the icon's menu of every command
    Preferences,
    WindowsGroups,
    About,
    Help,
    CheckUpdate,
    Exit,
    EndSession,     // the session ends: the exit that asks nothing
    HideTaken,      // the windows the rules took, and the waits of earlier ones
};

// Where a command came from. The gate's policy has rows by origin (a command
// of another program never runs while Tarnvell waits for the user), and a
// menu opened from the keyboard stands at the icon.
enum class Origin : std::uint8_t {
    Menu,         // an item of one of Tarnvell's menus, or WM_COMMAND
    HotKey,
    TrayClick,    // the icon's mouse buttons
    Keyboard,     // Enter, Space or the menu key on the icon
    CommandLine,  // Tarnvell.exe COMMAND, from another copy or at start
    Rule,         // the groups' rules that hide windows as they appear or are minimized
    Gesture,      // a right click on another window's minimize button
    WindowIcon,   // a click or key on a hidden window's own icon
    System,       // WM_CLOSE and the end of the session
};

struct Command {
    Command() = default;
    Command(Verb v, int position = -1, std::string name = {}, WindowHandle aimed = {})
        : verb(v), group(position), groupName(std::move(name)), window(aimed) {}

    Verb verb = Verb::HideWindow;
    // The group, by list position; -1 for none (or not yet resolved).
    int group = -1;
    // The group by name, as a command line names it; resolved by the runner.
    std::string groupName;
    // The window a command aims at: the list item's or the icon's window,
    // the window a rule or the gesture took. Null for the topmost window or
    // none.
    WindowHandle window;

    friend bool operator==(const Command&, const Command&) = default;
};

// The answers a command ends in: the exit codes of a command line. The
// numbers are published (scripts test them) and never change.
enum class CommandResult : int {
    Done = 0,
    Usage = 1,
    // The password was refused, or Tarnvell was waiting for the user and did
    // not take the command.
    Refused = 2,
    NoSuchGroup = 3,
    NoAnswer = 4,
    // A hide took windows and every one of them kept itself on screen.
    NothingHidden = 5,
};

struct Outcome {
    CommandResult result = CommandResult::Done;
    // Exit was accepted: the frame goes once the answer is given.
    bool endProgram = false;

    friend bool operator==(const Outcome&, const Outcome&) = default;
};
