#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/dialogs.h"
#include "engine/key_registrations.h"
#include "engine/modal_gate.h"
#include "engine/password_check.h"
#include "engine/settings.h"
#include "groups/group_list.h"
#include "platform/window_manager.h"
#include "tray/resource_loader.h"

// The dialogs Tarnvell opens for the user: Preferences, Windows Groups,
// About, help and the update page. The runner has admitted each command and
// hands over the password it needs; each dialog's nested loop is a wait of
// the gate's.
class CDialogController {
public:
    // The program version times 100: 2.0.
    static constexpr unsigned kVersion = 200;

    CDialogController(IDialogs& dialogs, platform::IShell& shell, platform::IProfile& profile,
                      const CResource& strings, CModalGate& gate, CSettings& settings, CGroupList& groups,
                      CKeyRegistrations& keys);
    CDialogController(const CDialogController&) = delete;
    CDialogController& operator=(const CDialogController&) = delete;

    void SetFrame(WindowHandle frame) { m_hFrame = frame; }
    // Runs after OK in the Windows Groups dialog replaced the groups, for
    // what reads them beyond a command (the auto-hide rules).
    void OnGroupsReplaced(std::function<void()> replaced) { m_Replaced = std::move(replaced); }

    void OnPreferences(PasswordCheck& password);
    void OnWindowsGroups(PasswordCheck& password);
    void OnAppAbout();
    void OnHelp();
    void OnCheckUpdate();

    // What OK in the Preferences dialog applies, and what OK in the Windows
    // Groups dialog applies.
    void ApplyPreferences(const Preferences& prefs, const ProgramKeys& keys,
                          const std::optional<std::string>& newPassword = std::nullopt);
    void ReplaceGroups(const std::vector<std::unique_ptr<CWindowsGroup>>& groups);

    // The entries of the Preferences dialog's click-action list, in stored
    // order: the fixed commands, the separator line, then three per group.
    std::vector<std::string> ClickActionEntries() const;

private:
    // The forms' hooks: OK's key check and the capture fields' focus.
    void HookKeys(PreferencesForm& form);
    void HookKeys(GroupsForm& form);

    IDialogs& m_Dialogs;
    platform::IShell& m_Shell;
    platform::IProfile& m_Profile;
    const CResource& m_Strings;
    CModalGate& m_Gate;
    CSettings& m_Settings;
    CGroupList& m_Groups;
    CKeyRegistrations& m_Keys;
    WindowHandle m_hFrame;
    std::function<void()> m_Replaced;
};
