#include "engine/group_commands.h"

#include <algorithm>

bool HideMatching(const CWindowsGroup& group, CHider& hider, CHiddenList& list) {
    const WindowCriteria criteria = group.Criteria();
    // A mode that matches nothing needs no walk, when the caption is asked.
    if (AsksCaption(criteria) &&
        (group.m_nCompare < GROUP_COMPARE_INCLUDE || group.m_nCompare > GROUP_COMPARE_NOT_EQUAL))
        return false;
    return hider.HideWhere(criteria, group.Id(), list);
}

bool ShowTagged(std::int32_t groupId, CHider& hider, CHiddenList& list) {
    bool shown = false;
    // From the last record to the first, so that each window of a family is
    // shown through its own record. Showing a record can also take records
    // before it off the list (a principal hidden twice), so the position is
    // kept inside the list as it shrinks.
    for (int i = static_cast<int>(list.size()) - 1; i >= 0; --i) {
        i = std::min(i, static_cast<int>(list.size()) - 1);
        if (i < 0) break;
        if (list[static_cast<std::size_t>(i)].m_nGroupId != groupId) continue;
        const CHiddenList::Taken taken = list.Take(i);
        hider.Show(taken.records);
        shown = shown || !taken.records.empty();
    }
    return shown;
}
