#include "engine/hidden_list.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

void CHiddenList::Append(const CWndDes& record) {
    if (const int old = Find(record.m_hWindow); old != -1) m_records.erase(m_records.begin() + old);
    m_records.push_back(record);
    ++m_revision;
}

int CHiddenList::Find(WindowHandle w) const {
    for (std::size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i].m_hWindow == w) return static_cast<int>(i);
    return -1;
}

int CHiddenList::CountPrincipals() const {
    return static_cast<int>(
        std::count_if(m_records.begin(), m_records.end(), [](const CWndDes& r) { return r.IsPrincipal(); }));
}

void CHiddenList::Forget(const std::unordered_set<WindowHandle>& windows) {
    if (windows.empty()) return;
    // A forgotten principal hands its family to the first dependent that
    // stays, in list order.
    std::unordered_map<WindowHandle, WindowHandle> heir;
    for (const CWndDes& record : m_records)
        if (record.IsPrincipal() && windows.count(record.m_hWindow)) heir.emplace(record.m_hWindow, WindowHandle{});
    const std::size_t before = m_records.size();
    std::erase_if(m_records, [&](const CWndDes& r) { return windows.count(r.m_hWindow) > 0; });
    for (CWndDes& record : m_records) {
        const auto it = heir.find(record.m_hPrincipal);
        if (it == heir.end()) continue;
        if (!it->second) {
            it->second = record.m_hWindow;
            record.m_hPrincipal = WindowHandle{};
        } else {
            record.m_hPrincipal = it->second;
        }
    }
    if (m_records.size() != before) ++m_revision;
}

CHiddenList::Taken CHiddenList::Take(int index) {
    Taken taken;
    if (index == -1) index = static_cast<int>(m_records.size()) - 1;
    if (index < 0 || index >= static_cast<int>(m_records.size())) return taken;

    const WindowHandle target = m_records[static_cast<std::size_t>(index)].m_hWindow;
    std::vector<CWndDes> kept;
    kept.reserve(m_records.size());
    for (std::size_t i = 0; i < m_records.size(); ++i) {
        const CWndDes& record = m_records[i];
        if (static_cast<int>(i) == index || record.m_hPrincipal == target) {
            taken.records.push_back(record);
            if (record.m_bActivate) taken.aimed = record.m_hWindow;
        } else {
            kept.push_back(record);
        }
    }
    m_records = std::move(kept);
    ++m_revision;
    return taken;
}
