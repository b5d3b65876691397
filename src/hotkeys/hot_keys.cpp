#include "hotkeys/hot_keys.h"

CHotKeys::~CHotKeys() {
    if (m_hTarget) Unregister();
}

bool CHotKeys::SetTarget(WindowHandle target, int id) {
    m_hTarget = target;
    m_nHotKeyID = id;
    return true;
}

bool CHotKeys::Register() {
    if (!m_hTarget || !m_pSystem) return false;
    return m_pSystem->Register(m_hTarget, m_nHotKeyID, m_nModifiers, m_nKey);
}

void CHotKeys::Unregister() {
    if (m_hTarget && m_pSystem) m_pSystem->Unregister(m_hTarget, m_nHotKeyID);
}

// Key names arrive with the hot-key settings; until then no name is shown.
std::string CHotKeys::GetName() { return m_strName; }
