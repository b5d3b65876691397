#pragma once
#include <array>

#include "engine/command_table.h"
#include "engine/dialogs.h"
#include "platform/text.h"
#include "ui/dialog.h"
#include "ui/hot_keys_edit.h"

// "Preferences": every preference of the engine, its hot-keys and the
// password. It works on its own copy of the form; the controls are read back
// as the window goes, whichever button closed it, and the caller takes the
// result only after OK.
class COptionsDlg : public CDialog {
public:
    COptionsDlg(HINSTANCE instance, const PreferencesForm& form);

    // The values as the dialog left them: preferences, password and keys.
    void Store(PreferencesForm& form) const;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnDestroy() override;
    bool OnHelp() override;
    void OnCommand(int id, int code) override;

private:
    bool Checked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id) == BST_CHECKED; }
    void Check(int id, bool on) { ::CheckDlgButton(m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

    PreferencesForm m_Form;
    // The password fields' texts as last accepted, to undo an edit that
    // would take one past its limit.
    std::array<std::string, 2> m_Passwords;
    bool m_bSettingPassword = false;
    // Index = hot-key identifier, as in the form.
    std::array<CHotKeysEdit, kProgramHotKeys> m_edKeys;
};
