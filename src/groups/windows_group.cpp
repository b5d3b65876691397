#include "groups/windows_group.h"

#include <cstdio>

namespace {

std::string SlotValue(const char* prefix, int index) {
    char name[32];
    std::snprintf(name, sizeof(name), "%s%i", prefix, index);
    return name;
}

constexpr const char* kDefaultName = "MS Internet Explorer";
constexpr const char* kDefaultSearch = "Internet Explorer";

}  // namespace

CWindowsGroup::CWindowsGroup() : m_HotKeys{CHotKeys(nullptr), CHotKeys(nullptr)} {}

CWindowsGroup::CWindowsGroup(platform::IHotKeySystem& system, platform::IProfile& profile)
    : m_HotKeys{CHotKeys(&system, &profile), CHotKeys(&system, &profile)}, m_pProfile(&profile) {}

CWindowsGroup::CWindowsGroup(platform::IHotKeySystem& system, platform::IProfile& profile, int index,
                             WindowHandle target)
    : CWindowsGroup(system, profile) {
    m_HotKeys[0].SetTarget(target, HideHotKeyId(index));
    m_HotKeys[1].SetTarget(target, ShowHotKeyId(index));
}

CWindowsGroup::~CWindowsGroup() {
    // Hide key before show key; each does something only when bound.
    m_HotKeys[0].Unregister();
    m_HotKeys[1].Unregister();
}

bool CWindowsGroup::Load(int index, WindowHandle target) {
    m_HotKeys[0].SetTarget(target, HideHotKeyId(index));
    m_HotKeys[1].SetTarget(target, ShowHotKeyId(index));
    // The hot-keys come first, so they are registered even for the slot that
    // ends the list, until that group is discarded.
    m_HotKeys[0].Exchange(true);
    m_HotKeys[1].Exchange(true);
    if (!m_pProfile) return false;

    m_strName = m_pProfile->GetProfileString(kSection, SlotValue("Name", index), "");
    m_strSearch = m_pProfile->GetProfileString(kSection, SlotValue("Search", index), "");
    // Any other stored mode is kept: it matches nothing but survives a save.
    m_nCompare = static_cast<std::int32_t>(
        m_pProfile->GetProfileInt(kSection, SlotValue("Compare", index), GROUP_COMPARE_END));
    m_strProgram = m_pProfile->GetProfileString(kSection, SlotValue("Program", index), "");
    m_strClass = m_pProfile->GetProfileString(kSection, SlotValue("Class", index), "");
    // Asked of the section read whole at start-up, so it costs no registry
    // call of its own. Earlier versions took any non-zero value for "as they
    // appear"; every value but the new 2 and 3 keeps that meaning.
    const unsigned flags = m_pProfile->GetProfileInt(kSection, SlotValue("AutoHide", index), 0);
    const bool known = flags == GROUP_HIDE_ON_MINIMIZE || flags == (GROUP_HIDE_ON_APPEAR | GROUP_HIDE_ON_MINIMIZE);
    m_bAutoHide = known ? (flags & GROUP_HIDE_ON_APPEAR) != 0 : flags != 0;
    m_bHideMinimized = known;

    // A slot 0 that never held a group and was never named starts the list
    // with the built-in group; a deleted list leaves its name behind.
    if (index == 0 && m_nCompare == GROUP_COMPARE_END && m_strName.empty()) {
        m_strName = kDefaultName;
        m_strSearch = kDefaultSearch;
        m_nCompare = GROUP_COMPARE_INCLUDE;
    }
    return m_nCompare != GROUP_COMPARE_END;
}

void CWindowsGroup::Save(int index) {
    if (!m_pProfile) return;
    m_pProfile->WriteProfileString(kSection, SlotValue("Name", index), m_strName);
    m_pProfile->WriteProfileString(kSection, SlotValue("Search", index), m_strSearch);
    m_pProfile->WriteProfileInt(kSection, SlotValue("Compare", index), m_nCompare);
    // Written off and empty as well: the profile has no delete, and a slot
    // rewritten by another group must not keep an earlier group's values.
    const unsigned flags = (m_bAutoHide ? GROUP_HIDE_ON_APPEAR : 0) | (m_bHideMinimized ? GROUP_HIDE_ON_MINIMIZE : 0);
    m_pProfile->WriteProfileInt(kSection, SlotValue("AutoHide", index), static_cast<int>(flags));
    m_pProfile->WriteProfileString(kSection, SlotValue("Program", index), m_strProgram);
    m_pProfile->WriteProfileString(kSection, SlotValue("Class", index), m_strClass);
    m_HotKeys[0].Exchange(false);
    m_HotKeys[1].Exchange(false);
}

void CWindowsGroup::Erase(int index) {
    if (!m_pProfile) return;
    m_pProfile->WriteProfileInt(kSection, SlotValue("Compare", index), GROUP_COMPARE_END);
}

void CWindowsGroup::CopyValues(const CWindowsGroup& source) {
    m_strName = source.m_strName;
    m_strSearch = source.m_strSearch;
    m_nCompare = source.m_nCompare;
    m_strProgram = source.m_strProgram;
    m_strClass = source.m_strClass;
    m_bAutoHide = source.m_bAutoHide;
    m_bHideMinimized = source.m_bHideMinimized;
    m_HotKeys[0].Copy(source.m_HotKeys[0]);
    m_HotKeys[1].Copy(source.m_HotKeys[1]);
}

std::unique_ptr<CWindowsGroup> CopyGroup(const CWindowsGroup& group) {
    auto copy = std::make_unique<CWindowsGroup>();
    copy->CopyValues(group);
    copy->m_nID = group.m_nID;
    return copy;
}

std::vector<LabelledKey> LabelledGroupKeys(const CWindowsGroup& group, std::string_view hideFormat,
                                           std::string_view showFormat) {
    return {
        LabelledKey{GroupKeyLabel(hideFormat, group.m_strName), group.m_HotKeys[0].Value(),
                    group.m_HotKeys[0].IsRegistered()},
        LabelledKey{GroupKeyLabel(showFormat, group.m_strName), group.m_HotKeys[1].Value(),
                    group.m_HotKeys[1].IsRegistered()},
    };
}
