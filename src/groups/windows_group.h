#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "hotkeys/hot_keys.h"

inline constexpr int GROUP_HOTKEY_BASE = 25;
inline constexpr int GROUP_COMPARE_INCLUDE = 0;
inline constexpr int GROUP_COMPARE_EQUAL = 1;
inline constexpr int GROUP_COMPARE_NOT_EQUAL = 2;

// A named criterion on window captions with a hide and a show hot-key.
class CWindowsGroup {
public:
    // An unbound group: its hot-keys never call the system.
    CWindowsGroup();
    // A group at list position index whose hot-keys report to window target.
    CWindowsGroup(platform::IHotKeySystem& system, int index, WindowHandle target);
    virtual ~CWindowsGroup();
    CWindowsGroup(const CWindowsGroup&) = delete;
    CWindowsGroup& operator=(const CWindowsGroup&) = delete;

    std::string m_strName;
    std::array<CHotKeys, 2> m_HotKeys;  // [0] hides the group, [1] shows it
    std::string m_strSearch;
    std::int32_t m_nCompare = GROUP_COMPARE_INCLUDE;
    std::int32_t m_nID = -1;
    const char* const m_pszSection = "Groups";
};
