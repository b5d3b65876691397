#include <string>

#include "engine/app_kernel.h"
#include "engine/group_commands.h"
#include "engine/hidden_journal.h"
#include "engine/modal_run.h"
#include "res/resource.h"

bool CAppKernel::ShowEntry(int index, bool activate, WindowHandle* toActivate) {
    const CHiddenList::Taken taken = m_HiddenList.Take(index);
    m_Hider.Show(taken.windows);
    if (activate && taken.aimed) {
        if (toActivate)
            *toActivate = taken.aimed;
        else
            m_Hider.Activate(taken.aimed);
    }
    return !taken.windows.empty();
}

bool CAppKernel::CheckPassword() {
    std::string entered;
    const ModalRun modal(*this);
    const bool ok = m_Platform.dialogs.AskPassword(entered);
    return ok && entered == m_Prefs.m_Password;
}

void CAppKernel::SaveSettings() {
    const platform::ProfileHold hold(m_Platform.profile);
    for (auto& hotKey : m_HotKeys) hotKey.Exchange(false);
    m_Prefs.Save(m_Platform.profile);
}

bool CAppKernel::DropGoneWindows() {
    auto& wm = m_Platform.windows;
    return m_HiddenList.DropIf([&](WindowHandle w) { return !wm.IsWindow(w); });
}

void CAppKernel::HideTopWindow() {
    m_Hider.HideTop(m_HiddenList);
    m_Hider.Activate(m_Hider.FirstEligible());
    ListChanged();
}

void CAppKernel::ShowHidden(int index) {
    // A record whose window is gone would make this press show nothing.
    DropGoneWindows();
    if (!m_HiddenList.empty()) {
        if (m_Prefs.m_bPassOnShow && !CheckPassword()) return;
        ShowEntry(index, true);
    }
    ListChanged();
}

void CAppKernel::HideAllWindows() {
    if (m_Hider.HideAll(m_HiddenList)) ListChanged();
}

void CAppKernel::ShowAllWindows() {
    DropGoneWindows();
    if (m_HiddenList.empty()) {
        SyncJournal();
        return;
    }
    if (m_Prefs.m_bPassOnShow && !CheckPassword()) return;
    // Records come back from the last to the first. Only the aimed window of
    // the last family is activated, once everything has been asked to show,
    // so that no later show takes the activation from it.
    WindowHandle toActivate;
    for (;;) {
        const bool activate = m_HiddenList.CountPrincipals() == 1;
        WindowHandle aimed;
        if (!ShowEntry(-1, activate, &aimed)) break;
        if (aimed) toActivate = aimed;
    }
    if (toActivate) m_Hider.Activate(toActivate);
    ListChanged();
}

void CAppKernel::ToggleAllWindows() {
    if (!m_HiddenList.empty())
        ShowAllWindows();
    else
        HideAllWindows();
}

void CAppKernel::ToggleDesignatedWindow() {
    DropGoneWindows();
    const int designated = m_HiddenList.Find(m_hDesignated);
    if (designated != -1 && m_Prefs.m_bPassOnShow && !CheckPassword()) return;
    if (designated != -1 && ShowEntry(designated, true)) {
        m_hDesignated = WindowHandle{};
    } else if (const WindowHandle principal = m_Hider.HideTop(m_HiddenList)) {
        m_hDesignated = principal;
        m_Hider.Activate(m_Hider.FirstEligible());
    }
    ListChanged();
}

void CAppKernel::OnExit() {
    if (m_Prefs.m_bShowOnClose) ShowAllWindows();
}

bool CAppKernel::HideGroup(int index) {
    const CWindowsGroup* group = index < 0 ? nullptr : m_Groups.At(static_cast<std::size_t>(index));
    if (!group) return false;
    const bool hidden = ::HideGroup(*group, m_Hider, m_HiddenList, text::CodePage::Of(m_Platform.module));
    if (hidden) ListChanged();
    return hidden;
}

bool CAppKernel::ShowGroup(int index) {
    const CWindowsGroup* group = index < 0 ? nullptr : m_Groups.At(static_cast<std::size_t>(index));
    if (!group) return false;
    // Asked even when the group has nothing hidden.
    if (m_Prefs.m_bPassOnShow && !CheckPassword()) return false;
    const bool dropped = DropGoneWindows();
    const bool shown = ::ShowGroup(group->m_nID, m_Hider, m_HiddenList);
    if (shown || dropped) ListChanged();
    return shown;
}

void CAppKernel::ToggleGroup(int index) {
    if (!HideGroup(index)) ShowGroup(index);
}

void CAppKernel::ListChanged() {
    RefreshTray();
    SyncJournal();
}

void CAppKernel::SyncJournal() {
    auto& store = m_Platform.hiddenJournal;
    if (m_HiddenList.empty()) {
        if (!m_Journal.empty()) store.Remove();
        m_Journal.clear();
        return;
    }
    std::vector<std::uint8_t> data = journal::Encode(m_HiddenList.Records());
    if (data == m_Journal) return;
    store.Write(data);
    m_Journal = std::move(data);
}

void CAppKernel::RefreshTray() {
    if (m_Prefs.m_bShowHiddenInTip && !m_HiddenList.empty())
        m_TrayIcon.SetTipText(FillFormat(m_Strings.Load(IDS_HIDDEN_COUNT), {std::to_string(m_HiddenList.size())}));
    else
        m_TrayIcon.SetTipText(m_Strings.Load(IDR_MAINFRAME));
    if (m_Prefs.m_bHideIcon) {
        if (!m_HiddenList.empty())
            m_TrayIcon.Hide();
        else
            m_TrayIcon.Show();
    }
}
