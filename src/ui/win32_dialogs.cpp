#include "ui/win32_dialogs.h"

#include "platform/win32/convert.h"
#include "ui/about_dlg.h"
#include "ui/groups_dlg.h"
#include "ui/html_help.h"
#include "ui/options_dlg.h"
#include "ui/pass_protect.h"

// Names the running dialog of a kind for the life of the object.
class Win32Dialogs::Running {
public:
    Running(Win32Dialogs& owner, Waiting which, const CDialog& dialog)
        : m_Slot(owner.m_Running[static_cast<std::size_t>(which)]), m_Previous(m_Slot) {
        m_Slot = &dialog;
    }
    ~Running() { m_Slot = m_Previous; }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

private:
    const CDialog*& m_Slot;
    const CDialog* m_Previous;
};

void Win32Dialogs::BringToFront(Waiting which) {
    const CDialog* dialog = m_Running[static_cast<std::size_t>(which)];
    HWND window = dialog ? dialog->Handle() : nullptr;
    if (!window) return;
    // A dialog that opened another on top of itself (Windows Groups and its
    // Group dialog) is answered in that one first.
    if (HWND popup = ::GetLastActivePopup(window)) window = popup;
    ::SetForegroundWindow(window);
    ::FlashWindow(window, TRUE);
}

bool Win32Dialogs::AskPassword(std::string& entered) {
    CPassProtect dialog(m_hInstance);
    const Running running(*this, Waiting::Prompt, dialog);
    const INT_PTR result = dialog.DoModal();
    entered = dialog.Entered();
    return result == IDOK;
}

bool Win32Dialogs::RunPreferences(PreferencesForm& form) {
    COptionsDlg dialog(m_hInstance, form);
    const Running running(*this, Waiting::Preferences, dialog);
    if (dialog.DoModal() != IDOK) return false;
    dialog.Store(form);
    return true;
}

bool Win32Dialogs::RunWindowsGroups(GroupsForm& form) {
    CGroupsDlg dialog(m_hInstance, form);
    const Running running(*this, Waiting::WindowsGroups, dialog);
    if (dialog.DoModal() != IDOK) return false;
    form.groups = dialog.TakeGroups();
    return true;
}

void Win32Dialogs::RunAbout(unsigned version) {
    CAboutDlg dialog(m_hInstance, version);
    const Running running(*this, Waiting::About, dialog);
    dialog.DoModal();
}

void Win32Dialogs::ShowHelp(WindowHandle caller, const char* topic) { ShowHelpTopic(ToHwnd(caller), topic); }
