#include "engine/settings.h"

#include <utility>

#include "engine/autorun.h"
#include "engine/password.h"

namespace {
constexpr const char* kFirstStart = "First Start";

template <std::size_t... N>
std::array<CHotKeys, sizeof...(N)> MakeKeys(platform::IHotKeySystem& hotKeys, platform::IProfile& profile,
                                            std::index_sequence<N...>) {
    return {((void)N, CHotKeys(&hotKeys, &profile))...};
}
}  // namespace

CSettings::CSettings(platform::IHotKeySystem& hotKeys, platform::IProfile& profile, platform::IRunKey& runKey,
                     platform::IModule& module, platform::ICrypto& crypto)
    : m_Profile(profile),
      m_RunKey(runKey),
      m_Module(module),
      m_Crypto(crypto),
      m_HotKeys(MakeKeys(hotKeys, profile, std::make_index_sequence<kProgramHotKeys>{})) {}

// The hot-keys first (each read and registered), then the preferences and
// the first-start step.
void CSettings::Load(WindowHandle frame) {
    for (int n = 0; n < kProgramHotKeys; ++n) m_HotKeys[static_cast<std::size_t>(n)].SetTarget(frame, n);
    for (auto& hotKey : m_HotKeys) hotKey.Exchange(true);
    m_Prefs.Load(m_Profile);
    ConvertPlainPassword();
    ++m_revision;

    // Only the first start enters the program in the Run key; afterwards the
    // Preferences dialog alone changes the entry.
    if (m_Profile.GetProfileInt(Preferences::kSection, kFirstStart, 1) != 0) {
        if (m_Prefs.m_bAutorun) AddToRunKey();
        m_Profile.WriteProfileInt(Preferences::kSection, kFirstStart, 0);
    }
}

void CSettings::ConvertPlainPassword() {
    // No stored text holds a zero, so this default tells an absent value
    // from an empty one.
    const std::string absent(1, '\0');
    const std::string plain = m_Profile.GetProfileString(Preferences::kSection, Preferences::kPlainPassword, absent);
    if (plain == absent) return;
    if (!m_Prefs.m_PasswordHash.empty() || plain.empty()) {
        // The hash is stored already (a run was killed between the two
        // writes), or there never was a password.
        m_Profile.DeleteProfileValue(Preferences::kSection, Preferences::kPlainPassword);
        return;
    }
    const auto hash = PasswordHash::Make(m_Crypto, plain);
    if (!hash) {
        m_LegacyPassword = plain;
        return;
    }
    m_Prefs.m_PasswordHash = hash->Encode();
    // The hash first: a kill between the two writes leaves a profile that
    // still guards.
    if (m_Profile.WriteProfileString(Preferences::kSection, Preferences::kPasswordHash, m_Prefs.m_PasswordHash))
        m_Profile.DeleteProfileValue(Preferences::kSection, Preferences::kPlainPassword);
}

bool CSettings::CheckPassword(std::string_view entered) const {
    if (!m_Prefs.m_PasswordHash.empty()) {
        const auto hash = PasswordHash::Decode(m_Prefs.m_PasswordHash);
        // A stored value that is no hash of ours opens for nothing.
        return hash && hash->Matches(m_Crypto, entered);
    }
    if (!m_LegacyPassword.empty()) return entered == m_LegacyPassword;
    return entered.empty();
}

void CSettings::Save() {
    const platform::ProfileHold hold(m_Profile);
    // The preferences and keys are stored whole or not at all.
    const platform::ProfileBatch batch(m_Profile);
    for (auto& hotKey : m_HotKeys) hotKey.Exchange(false);
    m_Prefs.Save(m_Profile);
}

void CSettings::Apply(const Preferences& prefs, const ProgramKeys& keys,
                      const std::optional<std::string>& newPassword) {
    // Every old registration goes before the first new one: a combination
    // moved from one command to another in one step works at once.
    for (auto& hotKey : m_HotKeys) hotKey.Unregister();
    for (std::size_t n = 0; n < m_HotKeys.size(); ++n) {
        m_HotKeys[n].SetValue(keys[n]);
        m_HotKeys[n].Register();
    }
    const bool autorunChanged = prefs.m_bAutorun != m_Prefs.m_bAutorun;
    const std::string stored = m_Prefs.m_PasswordHash;
    m_Prefs = prefs;
    // The hash is the engine's: a form only says what was typed.
    m_Prefs.m_PasswordHash = stored;
    if (newPassword) {
        if (newPassword->empty()) {
            m_Prefs.m_PasswordHash.clear();
            m_LegacyPassword.clear();
        } else if (const auto hash = PasswordHash::Make(m_Crypto, *newPassword)) {
            m_Prefs.m_PasswordHash = hash->Encode();
            m_LegacyPassword.clear();
        }
    }
    ++m_revision;
    // The Run value is touched only when the choice changed, so an entry the
    // user edited by hand survives every other OK.
    if (autorunChanged) {
        if (m_Prefs.m_bAutorun)
            AddToRunKey();
        else
            m_RunKey.DeleteValue(kProductName);
    }
}

void CSettings::ForgetGroupAction() {
    if (m_Prefs.m_uAction.IsFixed()) return;
    m_Prefs.m_uAction = ClickAction(ClickAction::kShowList);
    ++m_revision;
    m_Prefs.SaveAction(m_Profile);
}

void CSettings::ReleaseHotKeys() {
    for (auto& hotKey : m_HotKeys) hotKey.Unregister();
}

void CSettings::RetryHotKeys() {
    for (auto& hotKey : m_HotKeys) hotKey.RetryIfFailed();
}

ProgramKeys CSettings::Keys() const {
    ProgramKeys keys;
    for (std::size_t n = 0; n < m_HotKeys.size(); ++n) keys[n] = m_HotKeys[n].Value();
    return keys;
}

void CSettings::AddToRunKey() { AddToAutorun(m_Module, m_RunKey, kProductName); }
