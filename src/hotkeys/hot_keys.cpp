#include "hotkeys/hot_keys.h"

#include <cstdio>

#include "hotkeys/key_names.h"

namespace {

// "%s%i" of a prefix of at most three letters and an int always fits: the
// longest is "Mod-2147483648".
std::string ValueName(const char* prefix, int id) {
    char name[32];
    std::snprintf(name, sizeof(name), "%s%i", prefix, id);
    return name;
}

}  // namespace

CHotKeys::~CHotKeys() { Unregister(); }

CHotKeys& CHotKeys::Assign(const CHotKeys& source) {
    Copy(source);
    Unregister();
    Register();
    return *this;
}

bool CHotKeys::SetTarget(WindowHandle target, int id) {
    m_hTarget = target;
    m_nHotKeyID = id;
    return true;
}

bool CHotKeys::Register() {
    if (!m_hTarget || !m_pSystem) return false;
    // No combination can be pressed: there is nothing to ask the system for,
    // and a profile of thousands of groups without keys loads without
    // thousands of calls.
    if (m_nModifiers == 0 && m_nKey == 0) return false;
    m_bRegistered = m_pSystem->Register(m_hTarget, m_nHotKeyID, m_nModifiers, m_nKey);
    return m_bRegistered;
}

bool CHotKeys::RetryIfFailed() {
    if (m_bRegistered) return true;
    if (m_nKey == 0) return false;
    return Register();
}

void CHotKeys::Unregister() {
    // Only a registration of our own is given back.
    if (!m_bRegistered) return;
    m_pSystem->Unregister(m_hTarget, m_nHotKeyID);
    m_bRegistered = false;
}

void CHotKeys::Copy(const CHotKeys& source) {
    m_nModifiers = source.m_nModifiers;
    m_nKey = source.m_nKey;
}

bool CHotKeys::Exchange(bool load) {
    if (!m_pProfile) return false;
    const std::string modName = ValueName(kModPrefix, m_nHotKeyID);
    const std::string keyName = ValueName(kKeyPrefix, m_nHotKeyID);
    if (load) {
        // Whatever another program left there is kept as it is: a value the
        // system does not accept simply fails to register.
        m_nModifiers = m_pProfile->GetProfileInt(kSection, modName, 0);
        m_nKey = m_pProfile->GetProfileInt(kSection, keyName, 0);
        // The system refuses a second registration of the same identifier.
        Unregister();
        return Register();
    }
    // The profile stores DWORDs; the int is only the call's carrier.
    m_pProfile->WriteProfileInt(kSection, modName, static_cast<int>(m_nModifiers));
    return m_pProfile->WriteProfileInt(kSection, keyName, static_cast<int>(m_nKey));
}

std::string CHotKeys::FormatName(unsigned modifiers, unsigned key) {
    std::string name;
    for (const auto& [bit, word] : kModifierWords)
        if (modifiers & bit) name.append(KeyWordText(word)).append(" + ");
    name += KeyName(key);
    return name;
}

std::string CHotKeys::GetName() const { return FormatName(m_nModifiers, m_nKey); }
