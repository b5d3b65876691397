#include "engine/key_registrations.h"

#include "engine/command_table.h"
#include "res/resource.h"

CKeyRegistrations::CKeyRegistrations(platform::IHotKeySystem& system, CSettings& settings, CGroupList& groups,
                                     const CResource& strings)
    : m_System(system), m_Settings(settings), m_Groups(groups), m_Strings(strings) {}

void CKeyRegistrations::OnCaptureFocus(bool focused) {
    if (focused == m_bGivenUp) return;
    m_bGivenUp = focused;
    if (focused) {
        m_Settings.ReleaseHotKeys();
        m_Groups.ReleaseHotKeys();
    } else {
        RetryFailed();
    }
}

void CKeyRegistrations::OnDialogEnded() {
    m_bGivenUp = false;
    RetryFailed();
}

void CKeyRegistrations::RetryFailed() {
    if (m_bGivenUp) return;
    m_Settings.RetryHotKeys();
    m_Groups.RetryHotKeys();
}

std::vector<LabelledKey> CKeyRegistrations::ProgramLabels() const {
    std::vector<LabelledKey> keys;
    for (int n = 0; n < kProgramHotKeys; ++n) {
        const CHotKeys& key = m_Settings.HotKey(n);
        const CommandInfo* row = RowOfHotKey(n);
        keys.push_back(LabelledKey{row ? m_Strings.Load(row->textId) : std::string(), key.Value(), key.IsRegistered()});
    }
    return keys;
}

std::vector<LabelledKey> CKeyRegistrations::LabelsOf(const CWindowsGroup& group) const {
    return LabelledGroupKeys(group, m_Strings.Load(IDS_GROUP_HIDE_KEY), m_Strings.Load(IDS_GROUP_SHOW_KEY));
}

std::vector<LabelledKey> CKeyRegistrations::GroupLabels() const {
    const std::string hide = m_Strings.Load(IDS_GROUP_HIDE_KEY);
    const std::string show = m_Strings.Load(IDS_GROUP_SHOW_KEY);
    std::vector<LabelledKey> keys;
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        for (LabelledKey& key : LabelledGroupKeys(*m_Groups.At(i), hide, show)) keys.push_back(std::move(key));
    return keys;
}

std::vector<KeyCombination> CKeyRegistrations::GroupKeysNotHeld() const {
    std::vector<KeyCombination> notHeld;
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        for (const CHotKeys& key : m_Groups.At(i)->m_HotKeys)
            if (key.IsSet() && !key.IsRegistered()) notHeld.push_back(key.Value());
    return notHeld;
}

std::vector<KeyCombination> CKeyRegistrations::Held() const {
    std::vector<KeyCombination> held;
    for (int n = 0; n < kProgramHotKeys; ++n)
        if (m_Settings.HotKey(n).IsRegistered()) held.push_back(m_Settings.HotKey(n).Value());
    for (std::size_t i = 0; i < m_Groups.size(); ++i)
        for (const CHotKeys& key : m_Groups.At(i)->m_HotKeys)
            if (key.IsRegistered()) held.push_back(key.Value());
    return held;
}

std::optional<std::string> CKeyRegistrations::Check(const std::vector<LabelledKey>& edited,
                                                    const std::vector<LabelledKey>& others,
                                                    WindowHandle frame) const {
    const KeyCheckTexts texts{m_Strings.Load(IDS_KEY_DUPLICATE), m_Strings.Load(IDS_KEY_TAKEN)};
    return CheckKeys(edited, others, SystemKeyProbe(m_System, frame, kProbeId, Held()), texts);
}
