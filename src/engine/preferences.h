#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/platform.h"

// What a click on the tray icon runs. Stored as one number: 0 to 6 the fixed
// commands (each row of the commands table names its number), 7 the
// separator line of the action list (no action), and from 8 on three actions
// per group. The number is kept whole, so a value that names no group (or all
// bits set, the list's "no selection") survives a save.
class ClickAction {
public:
    static constexpr std::uint32_t kSeparator = 7;
    static constexpr std::uint32_t kFirstGroup = 8;
    // The list of hidden windows.
    static constexpr std::uint32_t kShowList = 0;

    constexpr ClickAction() = default;
    constexpr explicit ClickAction(std::uint32_t stored) : m_value(stored) {}

    // A fixed command, not a group's nor the separator.
    bool IsFixed() const { return m_value < kSeparator; }
    std::uint32_t Stored() const { return m_value; }
    friend bool operator==(ClickAction, ClickAction) = default;

private:
    // Hide/Show Window.
    std::uint32_t m_value = 1;
};

// The user's preferences and password, as one value: the engine keeps one,
// the Preferences dialog edits a copy. The registry value names are the
// member names, except "bShowList", "PasswordHash" and "Language".
struct Preferences {
    static constexpr const char* kSection = "Settings";

    bool m_bShowList = true;         // list hidden windows in the tray menus
    bool m_bShowOnClose = true;      // show every hidden window on exit
    bool m_bInvertMouse = true;      // swap the tray icon's buttons
    bool m_bAutorun = true;          // an entry in the Run key
    bool m_bHideIcon = false;        // no tray icon while windows are hidden
    bool m_bShowHiddenInTip = false; // the hidden count in the tray tip
    bool m_bPassOnClose = false;
    bool m_bPassOnOption = false;
    bool m_bPassOnShow = false;
    bool m_bClick = false;           // the click action on a double click
    bool m_bMinimizeGesture = false; // a right click on a minimize button hides its window
    bool m_bIconPerWindow = false;   // an icon of its own for each hidden window
    ClickAction m_uAction;
    // The language to speak, a locale name ("de-DE"); empty for the
    // system's choice, and then not stored at all.
    std::string m_strLanguage;
    static constexpr const char* kLanguage = "Language";
    // The password as stored (engine/password.h): its hash, never its text;
    // empty when there is none.
    std::string m_PasswordHash;
    static constexpr const char* kPasswordHash = "PasswordHash";
    // Where earlier versions kept the password as text. It is read only to
    // be converted, and deleted once its hash is stored.
    static constexpr const char* kPlainPassword = "m_Password";

    // Reads the values in their stored order; a missing value or one of the
    // wrong type reads as the default above.
    void Load(platform::IProfile& profile);
    // Writes every value, flags first, then the password's hash, action and
    // click.
    void Save(platform::IProfile& profile) const;
    // Writes the click action alone, as a change of the group list does.
    void SaveAction(platform::IProfile& profile) const;

    friend bool operator==(const Preferences&, const Preferences&) = default;
};
