#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "groups/windows_group.h"

// The window groups in list order. A group's position is its slot in the
// "Groups" section and the index of its hot-key identifiers (25 + 2i and
// 26 + 2i); its run-time identifier tags the records it hides and is never
// reused within a run.
class CGroupList {
public:
    CGroupList(platform::IHotKeySystem& system, platform::IProfile& profile) : m_System(system), m_Profile(profile) {}
    // Groups go in list order; each releases its hot-keys.
    ~CGroupList() { Clear(); }
    CGroupList(const CGroupList&) = delete;
    CGroupList& operator=(const CGroupList&) = delete;

    // The start-up load: slots from 0 up to the first empty one, each group's
    // hot-keys registered for target.
    void Load(WindowHandle target);

    // Replaces the list and its stored slots with copies of groups (the
    // Windows Groups dialog's result). Every old hot-key is released before
    // the first new one is registered, so a combination can move between
    // groups in one step. A copy with identifier -1 gets a new one; any other
    // keeps its own, so the windows it hid stay its own.
    void Replace(const std::vector<std::unique_ptr<CWindowsGroup>>& groups, WindowHandle target);

    void Clear();

    // Gives up every group's two registrations; the values stay.
    void ReleaseHotKeys();
    // Registers again each group key that is set and not held.
    void RetryHotKeys();

    std::size_t size() const { return m_Groups.size(); }
    bool empty() const { return m_Groups.empty(); }
    // The position of the group with run-time identifier id; -1 for none.
    int PositionOf(std::int32_t id) const;
    // The group at position index; null beyond the end.
    const CWindowsGroup* At(std::size_t index) const {
        return index < m_Groups.size() ? m_Groups[index].get() : nullptr;
    }

private:
    platform::IHotKeySystem& m_System;
    platform::IProfile& m_Profile;
    std::vector<std::unique_ptr<CWindowsGroup>> m_Groups;
    std::int32_t m_nNextGroupId = 0;
};
