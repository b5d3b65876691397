#pragma once
#include <cstdint>
#include <string>

// A command another process hands the running copy (Tarnvell.exe COMMAND
// [ARGUMENT]), and what the running copy answers. The numbers of RemoteVerb
// travel in WM_COPYDATA records and the numbers of RemoteResult are the exit
// codes of the handing process: both are fixed once published.

enum class RemoteVerb : std::uint32_t {
    HideWindow = 1,
    ShowWindow = 2,
    HideAll = 3,
    ShowAll = 4,
    ToggleWindow = 5,
    HideGroup = 6,
    ShowGroup = 7,
    ToggleGroup = 8,
    Exit = 9,
};

// Whether the verb names a group, the one argument a command takes.
constexpr bool TakesGroup(RemoteVerb verb) {
    return verb == RemoteVerb::HideGroup || verb == RemoteVerb::ShowGroup || verb == RemoteVerb::ToggleGroup;
}

struct RemoteCommand {
    RemoteVerb verb = RemoteVerb::HideWindow;
    std::string group;  // empty unless TakesGroup(verb)
    friend bool operator==(const RemoteCommand&, const RemoteCommand&) = default;
};

enum class RemoteResult : int {
    Done = 0,
    Usage = 1,
    // The password was refused, or the program is waiting for the user (a
    // dialog, prompt or menu of ours is open) and does not take the command.
    Refused = 2,
    NoSuchGroup = 3,
    NoAnswer = 4,
};
