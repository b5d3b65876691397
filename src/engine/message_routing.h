#pragma once
#include <cstdint>

// What the engine does with a message that reaches the main frame. Kept apart
// from the engine so that the table itself can be read and tested whole.
enum class EngineAction {
    None,
    Close,          // the password check under m_bPassOnClose, then OnExit
    EndSession,     // the session really ends: the exit that asks nothing
    HideTopWindow,
    ShowHidden,     // the last hidden record (index -1)
    ShowListed,     // the window of a list-menu item, its position in Route::index
    HideAll,
    ShowAll,
    Preferences,
    ToggleWindow,
    CheckUpdate,
    WindowsGroups,
    About,
    Help,
    HotKey,
    TrayNotify,
    RemoteCommand,  // WM_COPYDATA: a command handed over; the result is the answer
};

struct Route {
    EngineAction action = EngineAction::None;
    int index = 0;
    // The frame's default processing follows (a handled message returns 0).
    bool defaultFollows = true;

    friend bool operator==(const Route&, const Route&) = default;
};

Route RouteMessage(unsigned message, std::uintptr_t wParam);
