#include "groups/group_list.h"

void CGroupList::Load(WindowHandle target) {
    // Bounded by the hot-key identifiers the system accepts: a profile with
    // an endless run of filled slots loads in linear time up to there.
    for (int index = 0; index < GROUP_MAX_COUNT; ++index) {
        auto group = std::make_unique<CWindowsGroup>(m_System, m_Profile);
        // The discarded group releases the two hot-keys its load registered.
        if (!group->Load(index, target)) return;
        group->m_nID = m_nNextGroupId++;
        m_Groups.push_back(std::move(group));
    }
}

int CGroupList::PositionOf(std::int32_t id) const {
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        if (m_Groups[i]->m_nID == id) return static_cast<int>(i);
    return -1;
}

void CGroupList::Clear() {
    // Front to back, so that group 0's keys go first.
    for (auto& group : m_Groups) group.reset();
    m_Groups.clear();
}

void CGroupList::ReleaseHotKeys() {
    for (auto& group : m_Groups)
        for (auto& hotKey : group->m_HotKeys) hotKey.Unregister();
}

void CGroupList::RetryHotKeys() {
    for (auto& group : m_Groups)
        for (auto& hotKey : group->m_HotKeys) hotKey.RetryIfFailed();
}

void CGroupList::Replace(const std::vector<std::unique_ptr<CWindowsGroup>>& groups, WindowHandle target) {
    // Hundreds of values, each key opened once, and stored whole or not at
    // all: a save cut short must never leave an end marker in an early slot.
    const platform::ProfileHold hold(m_Profile);
    const platform::ProfileBatch batch(m_Profile);
    for (std::size_t j = 0; j < m_Groups.size(); ++j) {
        m_Groups[j]->Erase(static_cast<int>(j));
        m_Groups[j].reset();
    }
    m_Groups.clear();

    for (std::size_t k = 0; k < groups.size() && k < static_cast<std::size_t>(GROUP_MAX_COUNT); ++k) {
        if (!groups[k]) continue;
        const CWindowsGroup& source = *groups[k];
        const int index = static_cast<int>(m_Groups.size());
        auto group = std::make_unique<CWindowsGroup>(m_System, m_Profile, index, target);
        group->CopyValues(source);
        group->m_HotKeys[0].Register();
        group->m_HotKeys[1].Register();
        group->m_nID = source.m_nID != -1 ? source.m_nID : m_nNextGroupId++;
        m_Groups.push_back(std::move(group));
        m_Groups.back()->Save(index);
    }
}
