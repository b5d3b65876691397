#include <algorithm>

#include "engine/app_kernel.h"
#include "groups/caption_match.h"

// A group hide visits the eligible windows top to bottom, as seen by one walk
// of the z-order, and hides the whole family of each window whose caption
// matches. A window already hidden (or tried) by this command is not visited
// again, so each window costs a bounded number of calls.
bool CAppKernel::HideGroup(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_Groups.size()) return false;
    const CWindowsGroup& group = *m_Groups[static_cast<std::size_t>(index)];
    // A mode that matches nothing needs no walk.
    if (group.m_nCompare < GROUP_COMPARE_INCLUDE || group.m_nCompare > GROUP_COMPARE_NOT_EQUAL) return false;

    auto& wm = m_Platform.windows;
    const LeadByteTest isLeadByte = [this](unsigned char c) { return m_Platform.module.IsLeadByte(c); };
    WindowWalk walk(wm);
    const std::vector<WindowHandle> eligible = walk.CollectEligible(TopmostWindow());
    auto families = walk.GroupByRoot(eligible);
    HideBatch batch;
    bool hidden = false;
    for (WindowHandle w : eligible) {
        if (batch.tried.count(w)) continue;
        if (!CaptionMatches(wm.GetWindowText(w, kCaptionBufferSize), group.m_strSearch, group.m_nCompare, isLeadByte))
            continue;
        const WindowHandle root = walk.Root(w);
        HideFamily(walk, families.members[root], root, w, group.m_nID, batch);
        hidden = true;
    }
    WaitUntilHidden(std::move(batch.requested));
    if (hidden) RefreshTray();
    return hidden;
}

bool CAppKernel::ShowGroup(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_Groups.size()) return false;
    // Asked even when the group has nothing hidden.
    if (m_bPassOnShow && !CheckPassword()) return false;
    if (m_HiddenList.empty()) return false;

    const std::int32_t id = m_Groups[static_cast<std::size_t>(index)]->m_nID;
    bool shown = false;
    // From the last record to the first, so that each window of a family is
    // shown through its own record. Showing a record can also take records
    // before it off the list (a principal hidden twice), so the position is
    // kept inside the list as it shrinks.
    for (int i = static_cast<int>(m_HiddenList.size()) - 1; i >= 0; --i) {
        i = std::min(i, static_cast<int>(m_HiddenList.size()) - 1);
        if (i < 0) break;
        if (m_HiddenList[static_cast<std::size_t>(i)].m_nGroupId == id) shown = ShowEntry(i, false) || shown;
    }
    if (shown) RefreshTray();
    return shown;
}

void CAppKernel::ToggleGroup(int index) {
    if (!HideGroup(index)) ShowGroup(index);
}
