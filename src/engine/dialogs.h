#pragma once
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/modal_gate.h"
#include "engine/preferences.h"
#include "groups/windows_group.h"
#include "hotkeys/hot_keys.h"
#include "platform/window_handle.h"

// What the Preferences dialog edits: a copy of the engine's preferences, its
// five hot-keys (index = hot-key identifier: hide window, show window, hide
// all, show all, hide/show window) and, read only, the group names that the
// action list offers.
struct PreferencesForm {
    Preferences prefs;
    std::array<KeyCombination, 5> keys{};
    std::vector<std::string> groupNames;
};

// What the Windows Groups dialog edits: unbound copies of the groups, in list
// order, each with the identifier of the group it copies (-1 for a new one).
struct GroupsForm {
    std::vector<std::unique_ptr<CWindowsGroup>> groups;
};

// The dialogs the engine opens. The program fills this seam with the Win32
// dialogs; tests with scripted answers. Each call runs its dialog modally and
// returns when it has ended; a form is changed only when the call returns true
// (OK).
class IDialogs {
public:
    virtual ~IDialogs() = default;
    // "Enter password": true when it was closed with OK; entered holds the
    // field's text whichever way it closed.
    virtual bool AskPassword(std::string& entered) = 0;
    virtual bool RunPreferences(PreferencesForm& form) = 0;
    virtual bool RunWindowsGroups(GroupsForm& form) = 0;
    // "About Tarnvell" for the version (times 100).
    virtual void RunAbout(unsigned version) = 0;
    // A topic of the help file, or its default topic when topic is null, on
    // behalf of the caller window. Returns at once: the viewer is not modal.
    virtual void ShowHelp(WindowHandle caller, const char* topic) = 0;
    // Brings the open prompt or dialog (or the dialog it opened on top of
    // itself) to the front, so that the user sees what waits for an answer.
    virtual void BringToFront(Waiting which) = 0;
};
