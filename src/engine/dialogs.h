#pragma once
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/command_table.h"
#include "engine/modal_gate.h"
#include "engine/preferences.h"
#include "groups/windows_group.h"
#include "hotkeys/hot_keys.h"
#include "platform/window_handle.h"

// What the Preferences dialog edits: a copy of the engine's preferences, its
// program hot-keys (index = hot-key identifier) and, read only, the entries of
// the click-action list (an entry's position is the action's stored value).
struct PreferencesForm {
    Preferences prefs;
    ProgramKeys keys{};
    std::vector<std::string> actions;
    // In: whether a password is set (its fields show a placeholder, never
    // the password). Out: the password typed, empty for none; nothing when
    // the fields were left as they were.
    bool passwordSet = false;
    std::optional<std::string> newPassword;
    // OK's check of the keys as typed (after the other checks): the message
    // that keeps the dialog open, or nothing. Null: no check.
    std::function<std::optional<std::string>(const ProgramKeys&)> checkKeys;
    // A capture field gained (true) or lost (false) the keyboard focus; moving
    // from one field to the next reports false, then true. Null: nothing.
    std::function<void(bool)> captureFocus;
};

// What the Windows Groups dialog edits: unbound copies of the groups, in list
// order, each with the identifier of the group it copies (-1 for a new one).
struct GroupsForm {
    std::vector<std::unique_ptr<CWindowsGroup>> groups;
    // Combinations that Tarnvell could not register: the list marks them
    // wherever they appear.
    std::vector<KeyCombination> notHeld;
    // OK's check in a Group dialog: the group as typed and the other groups of
    // the dialog's working list (not the engine's). The message that keeps
    // the Group dialog open, or nothing. Null: no check.
    std::function<std::optional<std::string>(const CWindowsGroup& edited,
                                             const std::vector<const CWindowsGroup*>& others)>
        checkKeys;
    // As in PreferencesForm, for the Group dialog's two capture fields.
    std::function<void(bool)> captureFocus;
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
