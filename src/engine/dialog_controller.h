#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "engine/dialogs.h"
#include "engine/key_registrations.h"
#include "engine/modal_gate.h"
#include "engine/settings.h"
#include "groups/group_list.h"
#include "platform/window_manager.h"
#include "tray/resource_loader.h"

// Everything that asks the user something: the password occasions, the
// Preferences, Windows Groups and About dialogs, help and the update page,
// and the gate that decides what may run while one of them waits.
class CDialogController {
public:
    // The program version times 100: 2.0.
    static constexpr unsigned kVersion = 200;

    CDialogController(IDialogs& dialogs, platform::IShell& shell, CResource& strings, CSettings& settings,
                      CGroupList& groups, platform::IHotKeySystem& hotKeys);
    CDialogController(const CDialogController&) = delete;
    CDialogController& operator=(const CDialogController&) = delete;

    void SetFrame(WindowHandle frame) { m_hFrame = frame; }
    // Runs after an OK changed the settings, for what shows them (the tray).
    void OnSettingsApplied(std::function<void()> applied) { m_Applied = std::move(applied); }
    // Runs after OK in the Windows Groups dialog replaced the groups, for
    // what reads them beyond a command (the auto-hide rules).
    void OnGroupsReplaced(std::function<void()> replaced) { m_Replaced = std::move(replaced); }

    // Asks the gate; a window the user must answer first is brought to the
    // front. True when the input may run now.
    bool Admit(GateInput input);
    CModalGate& Gate() { return m_Gate; }
    // Tarnvell's hot-key registrations: given up while a capture field of a
    // dialog has the focus, taken back when it ends.
    CKeyRegistrations& Keys() { return m_Keys; }

    // "Enter password": true when the user confirmed the stored password. At
    // most one prompt is open: asked again meanwhile, the open one comes to
    // the front and the answer is no.
    bool CheckPassword();

    void OnPreferences();
    void OnWindowsGroups();
    void OnAppAbout();
    void OnHelp();
    void OnCheckUpdate();

    // What OK in the Preferences dialog applies, and what OK in the Windows
    // Groups dialog applies.
    void ApplyPreferences(const Preferences& prefs, const ProgramKeys& keys);
    void ReplaceGroups(const std::vector<std::unique_ptr<CWindowsGroup>>& groups);

private:
    // The forms' hooks: OK's key check and the capture fields' focus.
    void HookKeys(PreferencesForm& form);
    void HookKeys(GroupsForm& form);

    IDialogs& m_Dialogs;
    platform::IShell& m_Shell;
    CResource& m_Strings;
    CSettings& m_Settings;
    CGroupList& m_Groups;
    WindowHandle m_hFrame;
    CModalGate m_Gate;
    CKeyRegistrations m_Keys;
    std::function<void()> m_Applied;
    std::function<void()> m_Replaced;
};
