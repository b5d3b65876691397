#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "hotkeys/hot_keys.h"
#include "hotkeys/key_status.h"

inline constexpr int GROUP_HOTKEY_BASE = 25;
inline constexpr int GROUP_COMPARE_INCLUDE = 0;
inline constexpr int GROUP_COMPARE_EQUAL = 1;
inline constexpr int GROUP_COMPARE_NOT_EQUAL = 2;
// In storage: the slot holds no group and the list ends before it.
inline constexpr int GROUP_COMPARE_END = -1;
// Applications may give RegisterHotKey identifiers up to 0xBFFF only; the
// show key of the last group must stay within them. The bound also keeps
// 25 + 2i far from overflowing, whatever a tampered profile holds.
inline constexpr int GROUP_HOTKEY_LAST_ID = 0xBFFF;
inline constexpr int GROUP_MAX_COUNT = (GROUP_HOTKEY_LAST_ID - GROUP_HOTKEY_BASE - 1) / 2 + 1;
// The longest group name the Group dialog takes and a command line may name,
// in characters of the process's code page (up to four bytes each). A longer
// name stored by other means still loads and shows; it just cannot be named
// from the command line.
inline constexpr std::size_t GROUP_NAME_MAX_CHARS = 255;

// A named criterion on window captions with a hide and a show hot-key.
class CWindowsGroup {
public:
    // An unbound group (a dialog's working copy): its hot-keys never call the
    // system and it is never stored.
    CWindowsGroup();
    // A group not yet placed, ready to be loaded from a slot.
    CWindowsGroup(platform::IHotKeySystem& system, platform::IProfile& profile);
    // A group at list position index whose hot-keys report to window target.
    CWindowsGroup(platform::IHotKeySystem& system, platform::IProfile& profile, int index, WindowHandle target);
    virtual ~CWindowsGroup();
    CWindowsGroup(const CWindowsGroup&) = delete;
    CWindowsGroup& operator=(const CWindowsGroup&) = delete;

    // Binds and registers the hot-keys of slot index, then reads the slot;
    // true when the slot holds a group.
    bool Load(int index, WindowHandle target);
    // Writes name, search, compare and the auto-hide option of slot index,
    // then the hot-keys.
    void Save(int index);
    // Marks slot index as the end of the list.
    void Erase(int index);
    // Takes the source's name, search text, compare mode, auto-hide option
    // and key combinations; the slot, identifier and registrations stay this group's.
    void CopyValues(const CWindowsGroup& source);

    static int HideHotKeyId(int index) { return GROUP_HOTKEY_BASE + 2 * index; }
    static int ShowHotKeyId(int index) { return GROUP_HOTKEY_BASE + 2 * index + 1; }

    // The run-time identifier that tags the records this group hides: given
    // by the list, never reused within a run, kept by a dialog's copy so an
    // edited group keeps the windows it hid. -1 for a group not yet listed.
    std::int32_t Id() const { return m_nID; }

    std::string m_strName;
    std::array<CHotKeys, 2> m_HotKeys;  // [0] hides the group, [1] shows it
    std::string m_strSearch;
    std::int32_t m_nCompare = GROUP_COMPARE_INCLUDE;
    // Hide matching windows as soon as they appear (value "AutoHide<n>";
    // absent in profiles of earlier versions, which reads as off).
    bool m_bAutoHide = false;

private:
    friend class CGroupList;
    friend std::unique_ptr<CWindowsGroup> CopyGroup(const CWindowsGroup& group);
    static constexpr const char* kSection = "Groups";

    std::int32_t m_nID = -1;
    platform::IProfile* m_pProfile = nullptr;
};

// An unbound copy of a group (a dialog's working copy): its values, the
// values of its hot-keys and its identifier.
std::unique_ptr<CWindowsGroup> CopyGroup(const CWindowsGroup& group);

// A group's two keys for the texts that name them: hide then show, labelled
// with hideFormat and showFormat ("Hide [ %s ]") filled with the group's name.
std::vector<LabelledKey> LabelledGroupKeys(const CWindowsGroup& group, std::string_view hideFormat,
                                           std::string_view showFormat);
