#include "engine/hide_show_commands.h"

#include <algorithm>

#include "engine/group_commands.h"
#include "engine/hidden_journal.h"

CHideShowCommands::CHideShowCommands(platform::IWindowManager& windows, platform::IVolatileStore& journal,
                                     const CSettings& settings, const CGroupList& groups)
    : m_Windows(windows), m_Journal(journal), m_Settings(settings), m_Groups(groups), m_Hider(windows) {
    m_Hider.SetRecordedObserver([this] { WriteJournal(); });
}

bool CHideShowCommands::ShowEntry(int index, bool activate, WindowHandle* toActivate) {
    const CHiddenList::Taken taken = m_HiddenList.Take(index);
    m_Hider.Show(taken.records);
    if (activate && taken.aimed) {
        if (toActivate)
            *toActivate = taken.aimed;
        else
            m_Hider.Activate(taken.aimed);
    }
    return !taken.records.empty();
}

void CHideShowCommands::DropGoneWindows() {
    m_HiddenList.DropIf([&](WindowHandle w) { return !m_Windows.IsWindow(w); });
}

void CHideShowCommands::NoteHide() {
    for (WindowHandle w : m_Hider.Refused())
        if (std::find(m_Report.refused.begin(), m_Report.refused.end(), w) == m_Report.refused.end())
            m_Report.refused.push_back(w);
    m_Report.hidden += m_Hider.Hidden();
}

void CHideShowCommands::DropDestroyed(WindowHandle w) {
    m_HiddenList.DropIf([&](WindowHandle listed) { return listed == w || !m_Windows.IsWindow(listed); });
}

void CHideShowCommands::HideTopWindow() {
    m_Hider.HideTop(m_HiddenList);
    NoteHide();
    m_Hider.Activate(m_Hider.FirstEligible());
}

void CHideShowCommands::HideFamilyOf(WindowHandle w) {
    if (!w || m_HiddenList.Find(w) != -1 || !m_Hider.IsEligible(w)) return;
    m_Hider.HideFamilyOf(w, -1, m_HiddenList);
    NoteHide();
    m_Hider.Activate(m_Hider.FirstEligible());
}

void CHideShowCommands::ShowHidden(int index, PasswordCheck& password) {
    // A record whose window is gone would make this press show nothing.
    DropGoneWindows();
    if (m_HiddenList.empty() || !password.Confirm()) return;
    ShowEntry(index, true);
}

bool CHideShowCommands::ShowWindowOf(WindowHandle w, PasswordCheck& password) {
    DropGoneWindows();
    if (!w || m_HiddenList.Find(w) == -1 || !password.Confirm()) return false;
    // The prompt runs its own message loop, in which other commands may
    // have moved or taken the record: it is looked up again by its window.
    DropGoneWindows();
    const int index = m_HiddenList.Find(w);
    return index != -1 && ShowEntry(index, true);
}

void CHideShowCommands::CloseWindowOf(WindowHandle w, PasswordCheck& password) {
    // The close request is queued behind the show, on the window's own thread.
    if (ShowWindowOf(w, password)) m_Windows.RequestClose(w);
}

void CHideShowCommands::HideAllWindows() {
    m_Hider.HideAll(m_HiddenList);
    NoteHide();
}

void CHideShowCommands::ShowAllWindows(PasswordCheck& password) {
    DropGoneWindows();
    if (m_HiddenList.empty() || !password.Confirm()) return;
    ShowAll();
}

// Records come back from the last to the first. Only the aimed window of
// the last family is activated, once everything has been asked to show, so
// that no later show takes the activation from it.
void CHideShowCommands::ShowAll() {
    WindowHandle toActivate;
    for (;;) {
        const bool activate = m_HiddenList.CountPrincipals() == 1;
        WindowHandle aimed;
        if (!ShowEntry(-1, activate, &aimed)) break;
        if (aimed) toActivate = aimed;
    }
    if (toActivate) m_Hider.Activate(toActivate);
}

void CHideShowCommands::ToggleAllWindows(PasswordCheck& password) {
    if (!m_HiddenList.empty())
        ShowAllWindows(password);
    else
        HideAllWindows();
}

void CHideShowCommands::ToggleDesignatedWindow(PasswordCheck& password) {
    DropGoneWindows();
    const int designated = m_HiddenList.Find(m_hDesignated);
    if (designated != -1 && !password.Confirm()) return;
    // The prompt's loop may have moved the record.
    const int index = designated == -1 ? -1 : m_HiddenList.Find(m_hDesignated);
    if (index != -1 && ShowEntry(index, true)) {
        m_hDesignated = WindowHandle{};
    } else {
        const WindowHandle principal = m_Hider.HideTop(m_HiddenList);
        NoteHide();
        if (principal) {
            m_hDesignated = principal;
            m_Hider.Activate(m_Hider.FirstEligible());
        }
    }
}

void CHideShowCommands::OnExit(PasswordCheck& showPassword) {
    if (m_Settings.Prefs().m_bShowOnClose) ShowAllWindows(showPassword);
}

void CHideShowCommands::OnEndSession() {
    const Preferences& prefs = m_Settings.Prefs();
    NoPassword none;
    if (prefs.m_bShowOnClose && !prefs.m_bPassOnShow) ShowAllWindows(none);
}

bool CHideShowCommands::HideGroup(int index) {
    const CWindowsGroup* group = index < 0 ? nullptr : m_Groups.At(static_cast<std::size_t>(index));
    if (!group) return false;
    m_Hider.BeginHide();
    const bool hidden = HideMatching(*group, m_Hider, m_HiddenList);
    NoteHide();
    return hidden;
}

bool CHideShowCommands::ShowGroup(int index, PasswordCheck& password) {
    const CWindowsGroup* group = index < 0 ? nullptr : m_Groups.At(static_cast<std::size_t>(index));
    if (!group) return false;
    const std::int32_t id = group->Id();
    // Asked even when the group has nothing hidden.
    if (!password.Confirm()) return false;
    DropGoneWindows();
    return ShowTagged(id, m_Hider, m_HiddenList);
}

void CHideShowCommands::ToggleGroup(int index, PasswordCheck& password) {
    if (!HideGroup(index)) ShowGroup(index, password);
}

void CHideShowCommands::Take(WindowHandle window, std::int32_t groupId, bool minimized) {
    for (const CHider::Take& taken : m_Taken)
        if (taken.window == window) return;
    m_LastTake = m_Windows.TickCount();
    if (m_Taken.empty()) m_FirstTake = m_LastTake;
    m_Taken.push_back({window, groupId, minimized});
}

void CHideShowCommands::HideTaken() {
    const std::uint64_t now = m_Windows.TickCount();
    const bool gathering = now - m_LastTake < kGatherQuietMs && now - m_FirstTake < kGatherMaxMs;
    std::vector<CHider::Take> takes = gathering ? std::vector<CHider::Take>{} : std::exchange(m_Taken, {});
    // A group the user deleted meanwhile hides nothing any more.
    std::erase_if(takes, [&](const CHider::Take& t) { return m_Groups.PositionOf(t.groupId) < 0; });
    m_Hider.HideTaken(takes, m_HiddenList);
    NoteHide();
    if (m_RuleRefused)
        for (WindowHandle w : m_Hider.Refused()) m_RuleRefused(w);
}

void CHideShowCommands::WriteJournal() {
    if (m_HiddenList.empty()) {
        if (!m_Written.empty()) m_Journal.Remove();
        m_Written.clear();
        return;
    }
    std::vector<std::uint8_t> data = journal::Encode(m_HiddenList.Records());
    if (data == m_Written) return;
    m_Journal.Write(data);
    m_Written = std::move(data);
}

void CHideShowCommands::TakeBackJournal() {
    const auto data = m_Journal.Read(journal::kMaxBytes);
    if (!data) return;
    const auto records = journal::Decode(*data);
    if (!records) {
        // Damaged, cut short or of another make: never trusted.
        m_Journal.Remove();
        return;
    }
    // A handle may name another window by now: only a window that exists, is
    // still hidden and still belongs to the process that owned it is ours.
    const std::uint32_t own = m_Windows.OwnProcessId();
    for (const CWndDes& record : *records) {
        const WindowHandle w = record.m_hWindow;
        if (record.m_nProcessId != own && m_Windows.IsWindow(w) && !m_Windows.IsWindowVisible(w) &&
            m_Windows.ProcessId(w) == record.m_nProcessId)
            m_HiddenList.Append(record);
    }
    m_Written = *data;
}
