#include "ui/win32_dialogs.h"

#include "platform/win32/convert.h"
#include "ui/about_dlg.h"
#include "ui/groups_dlg.h"
#include "ui/html_help.h"
#include "ui/options_dlg.h"
#include "ui/pass_protect.h"

bool Win32Dialogs::AskPassword(std::string& entered) {
    CPassProtect dialog(m_hInstance);
    const INT_PTR result = dialog.DoModal();
    entered = dialog.m_strPassword;
    return result == IDOK;
}

bool Win32Dialogs::RunPreferences(PreferencesForm& form) {
    COptionsDlg dialog(m_hInstance, form);
    if (dialog.DoModal() != IDOK) return false;
    dialog.Store(form);
    return true;
}

bool Win32Dialogs::RunWindowsGroups(GroupsForm& form) {
    CGroupsDlg dialog(m_hInstance, form);
    if (dialog.DoModal() != IDOK) return false;
    form.groups = dialog.TakeGroups();
    return true;
}

void Win32Dialogs::RunAbout(unsigned version) { RunAboutDialog(m_hInstance, version); }

void Win32Dialogs::ShowHelp(WindowHandle caller, const char* topic) { ShowHelpTopic(ToHwnd(caller), topic); }
