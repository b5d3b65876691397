#include "engine/app_kernel.h"

void CAppKernel::LoadGroups() {
    auto& system = m_Platform.hotKeys;
    auto& profile = m_Platform.profile;
    // Bounded by the hot-key identifiers the system accepts: a profile with
    // an endless run of filled slots loads in linear time up to there.
    for (int index = 0; index < GROUP_MAX_COUNT; ++index) {
        auto group = std::make_unique<CWindowsGroup>(system, profile);
        // The discarded group releases the two hot-keys its load registered.
        if (!group->Load(index, m_pMainWnd)) return;
        group->m_nID = m_nNextGroupId++;
        m_Groups.push_back(std::move(group));
    }
}

void CAppKernel::ReplaceGroups(const std::vector<std::unique_ptr<CWindowsGroup>>& groups) {
    // Every old hot-key goes before the first new one is registered, so a
    // combination can move between groups or positions in one step.
    for (std::size_t j = 0; j < m_Groups.size(); ++j) {
        m_Groups[j]->Erase(static_cast<int>(j));
        m_Groups[j].reset();
    }
    m_Groups.clear();

    auto& system = m_Platform.hotKeys;
    auto& profile = m_Platform.profile;
    for (std::size_t k = 0; k < groups.size() && k < static_cast<std::size_t>(GROUP_MAX_COUNT); ++k) {
        if (!groups[k]) continue;
        const CWindowsGroup& source = *groups[k];
        const int index = static_cast<int>(m_Groups.size());
        auto group = std::make_unique<CWindowsGroup>(system, profile, index, m_pMainWnd);
        group->m_strName = source.m_strName;
        group->m_strSearch = source.m_strSearch;
        group->m_nCompare = source.m_nCompare;
        group->m_HotKeys[0].Assign(source.m_HotKeys[0]);
        group->m_HotKeys[1].Assign(source.m_HotKeys[1]);
        group->m_nID = source.m_nID != -1 ? source.m_nID : m_nNextGroupId++;
        m_Groups.push_back(std::move(group));
        m_Groups.back()->Save(index);
    }
}
