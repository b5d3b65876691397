#include "engine/app_kernel.h"
#include "engine/modal_run.h"
#include "engine/update_link.h"
#include "res/resource.h"

namespace {

// Clears a dialog's open flag when its command ends, however it ends.
class OpenFlag {
public:
    explicit OpenFlag(bool& flag) : m_Flag(flag) { m_Flag = true; }
    ~OpenFlag() { m_Flag = false; }
    OpenFlag(const OpenFlag&) = delete;
    OpenFlag& operator=(const OpenFlag&) = delete;

private:
    bool& m_Flag;
};

}  // namespace

void CAppKernel::ApplyPreferences(const Preferences& prefs, const std::array<KeyCombination, kHotKeyCount>& keys) {
    // Every old registration goes before the first new one: a combination
    // moved from one command to another in one step works at once.
    for (auto& hotKey : m_HotKeys) hotKey.Unregister();
    for (std::size_t n = 0; n < m_HotKeys.size(); ++n) {
        m_HotKeys[n].SetValue(keys[n]);
        m_HotKeys[n].Register();
    }
    const bool autorunChanged = prefs.m_bAutorun != m_Prefs.m_bAutorun;
    m_Prefs = prefs;
    // The Run value is touched only when the choice changed, so an entry the
    // user edited by hand survives every other OK.
    if (autorunChanged) {
        if (m_Prefs.m_bAutorun)
            ApplyAutorun();
        else
            m_Platform.runKey.DeleteValue(kProductName);
    }
    RefreshTray();
    SaveSettings();
}

void CAppKernel::ReplaceGroups(const std::vector<std::unique_ptr<CWindowsGroup>>& groups) {
    const platform::ProfileHold hold(m_Platform.profile);
    m_Groups.Replace(groups, m_hMainWnd);
}

void CAppKernel::OnPreferences() {
    if (m_bOptionsDlgOpen) return;
    if (m_Prefs.m_bPassOnOption && !CheckPassword()) return;
    const OpenFlag open(m_bOptionsDlgOpen);

    PreferencesForm form;
    form.prefs = m_Prefs;
    for (std::size_t n = 0; n < m_HotKeys.size(); ++n) form.keys[n] = m_HotKeys[n].Value();
    for (std::size_t i = 0; i < m_Groups.size(); ++i) form.groupNames.push_back(m_Groups.At(i)->m_strName);

    bool ok = false;
    {
        const ModalRun modal(*this);
        ok = m_Platform.dialogs.RunPreferences(form);
    }
    if (ok) ApplyPreferences(form.prefs, form.keys);
}

void CAppKernel::OnWindowsGroups() {
    if (m_bGroupsDlgOpen) return;
    if (m_Prefs.m_bPassOnOption && !CheckPassword()) return;
    const OpenFlag open(m_bGroupsDlgOpen);

    GroupsForm form;
    for (std::size_t i = 0; i < m_Groups.size(); ++i) form.groups.push_back(CopyGroup(*m_Groups.At(i)));
    bool ok = false;
    {
        const ModalRun modal(*this);
        ok = m_Platform.dialogs.RunWindowsGroups(form);
    }
    if (!ok) return;

    // Group positions may have moved, so a click action that names a group
    // (or the separator) falls back to the list of hidden windows, on every OK.
    if (m_Prefs.m_uAction.kind() != ClickAction::Kind::Fixed) {
        m_Prefs.m_uAction = ClickAction::Of(ClickAction::Fixed::ShowList);
        m_Prefs.SaveAction(m_Platform.profile);
    }
    ReplaceGroups(form.groups);
}

// No password and no guard: opening the page twice opens it twice, and what
// the shell answers changes nothing here.
void CAppKernel::OnCheckUpdate() { m_Platform.shell.Open(UpdateAddress(m_Strings.Load(IDR_MAINFRAME), kVersion)); }

void CAppKernel::OnAppAbout() {
    if (m_bAboutDlgOpen) return;
    const OpenFlag open(m_bAboutDlgOpen);
    const ModalRun modal(*this);
    m_Platform.dialogs.RunAbout(kVersion);
}

void CAppKernel::OnHelp() { m_Platform.dialogs.ShowHelp(m_hMainWnd, nullptr); }
