#include "engine/app_kernel.h"
#include "engine/dialog_seam.h"
#include "engine/update_link.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

namespace {
platform::IDialogs* g_pDialogs = nullptr;
}  // namespace

void SetDialogSeam(platform::IDialogs* dialogs) { g_pDialogs = dialogs; }

// Commands that open dialogs or the browser.
void CAppKernel::OnPreferences() {}
void CAppKernel::OnWindowsGroups() {}

// No password and no guard: opening the page twice opens it twice, and what
// the shell answers changes nothing here.
void CAppKernel::OnCheckUpdate() { m_Platform.shell.Open(UpdateAddress(theResource.Load(IDR_MAINFRAME), m_nVersion)); }

void CAppKernel::OnAppAbout() {
    // The dialog's loop is nested: a second "About..." from the tray or a
    // hot-key while it is open must not open another.
    if (m_bAboutDlgOpen || !g_pDialogs) return;
    m_bAboutDlgOpen = 1;
    g_pDialogs->RunAbout(m_nVersion);
    m_bAboutDlgOpen = 0;
}

void CAppKernel::OnHelp() {
    if (g_pDialogs) g_pDialogs->ShowHelp(m_pMainWnd, nullptr);
}
