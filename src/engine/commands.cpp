#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>

#include "engine/app_kernel.h"
#include "res/resource.h"
#include "tray/resource_loader.h"

namespace {

// Fills the first %u of a string-table text with a count. The text is not
// used as a printf format: a resource edited by hand must not be able to
// make us read arguments that are not there.
std::string FormatCount(std::string text, std::size_t count) {
    if (const auto at = text.find("%u"); at != std::string::npos) text.replace(at, 2, std::to_string(count));
    return text;
}

}  // namespace

// Hides one family: the root as principal when it is eligible and not yet
// tried, otherwise the aimed window; then every other member, top to bottom.
// Members were all seen visible by the walk, so they are not asked again.
// Every window is tried at most once per command.
WindowHandle CAppKernel::HideFamily(WindowWalk& walk, const std::vector<WindowHandle>& members, WindowHandle root,
                                    WindowHandle aimed, int groupId, HideBatch& batch) {
    const WindowHandle principal = (walk.IsEligible(root) && !batch.tried.count(root)) ? root : aimed;
    auto hide = [&](WindowHandle v, WindowHandle principalOfRecord) {
        batch.tried.insert(v);
        m_Platform.windows.HideWindow(v);
        batch.requested.push_back(v);
        m_HiddenList.emplace_back(v, v == aimed, principalOfRecord, groupId);
    };
    hide(principal, WindowHandle{});
    for (WindowHandle v : members)
        if (v != principal && !batch.tried.count(v)) hide(v, principal);
    return principal;
}

WindowHandle CAppKernel::HideWithOwned(WindowHandle w, int groupId) {
    WindowWalk walk(m_Platform.windows);
    const WindowHandle r = walk.Root(w);
    auto families = walk.GroupByRoot(walk.CollectEligible(TopmostWindow()));
    HideBatch batch;
    const WindowHandle principal = HideFamily(walk, families.members[r], r, w, groupId, batch);
    WaitUntilHidden(std::move(batch.requested));
    return principal;
}

bool CAppKernel::ShowEntry(int index, bool activate) {
    WindowHandle toActivate;
    const bool shown = ShowEntry(index, activate, &toActivate);
    if (toActivate) Activate(toActivate);
    return shown;
}

// Shows record index with its dependents and drops their records. The window
// to activate is handed back instead of activated when the caller has more to
// show first.
bool CAppKernel::ShowEntry(int index, bool activate, WindowHandle* toActivate) {
    if (m_HiddenList.empty()) return false;
    if (index == -1) index = static_cast<int>(m_HiddenList.size()) - 1;
    if (index < 0 || index >= static_cast<int>(m_HiddenList.size())) return false;

    const WindowHandle target = m_HiddenList[static_cast<std::size_t>(index)].m_hWindow;
    bool shown = false;
    WindowHandle aimed;
    std::vector<CWndDes> kept;
    kept.reserve(m_HiddenList.size());
    for (std::size_t i = 0; i < m_HiddenList.size(); ++i) {
        const CWndDes& record = m_HiddenList[i];
        if (static_cast<int>(i) == index || record.m_hPrincipal == target) {
            shown = ShowOne(record.m_hWindow);
            if (record.m_bActivate) aimed = record.m_hWindow;
        } else {
            kept.push_back(record);
        }
    }
    if (aimed && activate) *toActivate = aimed;
    m_HiddenList = std::move(kept);
    return shown;
}

bool CAppKernel::ShowByHandle(WindowHandle w, bool activate) {
    const int index = FindHidden(w);
    return index != -1 && ShowEntry(index, activate);
}

int CAppKernel::FindHidden(WindowHandle w) const {
    for (std::size_t i = 0; i < m_HiddenList.size(); ++i)
        if (m_HiddenList[i].m_hWindow == w) return static_cast<int>(i);
    return -1;
}

int CAppKernel::CountPrincipals() const {
    return static_cast<int>(
        std::count_if(m_HiddenList.begin(), m_HiddenList.end(), [](const CWndDes& r) { return r.IsPrincipal(); }));
}

void CAppKernel::HideTopWindow() {
    if (WindowHandle w = GetFirstEligible()) HideWithOwned(w, -1);
    Activate(GetFirstEligible());
    RefreshTray();
}

void CAppKernel::ShowHidden(int index) {
    if (!m_HiddenList.empty()) {
        if (m_bPassOnShow && !CheckPassword()) return;
        ShowEntry(index, true);
    }
    RefreshTray();
}

void CAppKernel::HideAllWindows() {
    auto walk = std::make_unique<WindowWalk>(m_Platform.windows);
    std::vector<WindowHandle> eligible = walk->CollectEligible(TopmostWindow());
    if (eligible.empty()) return;

    // Windows that appear while we hide are caught by one more look from the
    // top; a window already tried is never tried again, so a window that
    // refuses to disappear cannot make the command start over.
    HideBatch batch;
    for (int pass = 0; pass < kMaxHidePasses && !eligible.empty(); ++pass) {
        auto families = walk->GroupByRoot(eligible);
        for (WindowHandle r : families.roots) {
            const auto& members = families.members[r];
            const auto aimed = std::find_if(members.begin(), members.end(),
                                            [&](WindowHandle v) { return !batch.tried.count(v); });
            if (aimed != members.end()) HideFamily(*walk, members, r, *aimed, -1, batch);
        }
        WaitUntilHidden(std::exchange(batch.requested, {}));
        walk = std::make_unique<WindowWalk>(m_Platform.windows);
        eligible = walk->CollectEligible(TopmostWindow());
        std::erase_if(eligible, [&](WindowHandle w) { return batch.tried.count(w) > 0; });
    }
    RefreshTray();
}

void CAppKernel::ShowAllWindows() {
    if (m_HiddenList.empty()) return;
    if (m_bPassOnShow && !CheckPassword()) return;
    // Records come back from the last to the first. Only the aimed window of
    // the last family is activated, once everything has been asked to show,
    // so that no later show takes the activation from it.
    WindowHandle toActivate;
    for (;;) {
        const bool activate = CountPrincipals() == 1;
        WindowHandle aimed;
        if (!ShowEntry(-1, activate, &aimed)) break;
        if (aimed) toActivate = aimed;
    }
    if (toActivate) Activate(toActivate);
    RefreshTray();
}

void CAppKernel::ToggleAllWindows() {
    if (!m_HiddenList.empty())
        ShowAllWindows();
    else
        HideAllWindows();
}

void CAppKernel::ToggleDesignatedWindow() {
    if (FindHidden(m_hDesignated) != -1 && m_bPassOnShow && !CheckPassword()) return;
    if (ShowByHandle(m_hDesignated, true)) {
        m_hDesignated = WindowHandle{};
    } else if (WindowHandle w = GetFirstEligible()) {
        m_hDesignated = HideWithOwned(w, -1);
        Activate(GetFirstEligible());
    }
    RefreshTray();
}

void CAppKernel::OnExit() {
    if (m_bShowOnClose) ShowAllWindows();
}

void CAppKernel::RefreshTray() {
    if (m_bShowHiddenInTip && !m_HiddenList.empty())
        m_TrayIcon.SetTipText(FormatCount(theResource.Load(IDS_HIDDEN_COUNT), m_HiddenList.size()));
    else
        m_TrayIcon.LoadTipText(IDR_MAINFRAME);
    if (m_bHideIcon) {
        if (!m_HiddenList.empty())
            m_TrayIcon.Hide();
        else
            m_TrayIcon.Show();
    }
}

