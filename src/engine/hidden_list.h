#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "engine/wnd_des.h"

// The hidden-window list: records in the order they were hidden. A hide
// appends a family (principal first, then its dependents top to bottom); a
// show takes records out and keeps the others in their order.
class CHiddenList {
public:
    // What one show takes off the list: the records of the windows to show,
    // in list order, and the window the hide was aimed at (null when none
    // was taken).
    struct Taken {
        std::vector<CWndDes> records;
        WindowHandle aimed;
    };

    // Appends a record; a record the window had already is dropped first, so
    // that a window hidden again (its application showed it meanwhile) has
    // one record, at the end.
    void Append(const CWndDes& record);
    // Drops the records of windows that no longer exist; true when any went.
    template <typename Gone>
    bool DropIf(Gone gone) {
        const bool dropped = std::erase_if(m_records, [&](const CWndDes& r) { return gone(r.m_hWindow); }) > 0;
        if (dropped) ++m_revision;
        return dropped;
    }
    const std::vector<CWndDes>& Records() const { return m_records; }

    bool empty() const { return m_records.empty(); }
    std::size_t size() const { return m_records.size(); }
    const CWndDes& operator[](std::size_t index) const { return m_records[index]; }
    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

    // The position of w's record; -1 when w is not listed.
    int Find(WindowHandle w) const;
    // Principal records are the ones the tray menus list.
    int CountPrincipals() const;

    // Takes record index (-1 for the last) and every record whose principal
    // is its window; nothing when index names no record.
    Taken Take(int index);
    // Drops the records of windows whose hide did not happen. A family whose
    // principal stayed keeps its hidden windows within reach: the first of
    // them becomes the principal of the others.
    void Forget(const std::unordered_set<WindowHandle>& windows);

    // Moves on with every change of the records, so that a command can tell
    // whether it changed the list without comparing it.
    std::uint64_t Revision() const { return m_revision; }

private:
    std::vector<CWndDes> m_records;
    std::uint64_t m_revision = 0;
};
