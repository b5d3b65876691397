#pragma once
#include <array>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/command_table.h"
#include "engine/preferences.h"
#include "hotkeys/hot_keys.h"
#include "platform/crypto.h"
#include "platform/platform.h"

// The user's settings outside the groups: the preferences with the password,
// and the program hot-keys (index = hot-key identifier, as the commands table
// gives it), with their load, save and the program's entry in the Run key.
class CSettings {
public:
    static constexpr const char* kProductName = "Tarnvell";

    CSettings(platform::IHotKeySystem& hotKeys, platform::IProfile& profile, platform::IRunKey& runKey,
              platform::IModule& module, platform::ICrypto& crypto);
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // Binds the hot-keys to the frame, then reads and registers them, reads
    // the preferences, and on the first start enters the program in the Run
    // key. A password an earlier version kept as text is stored as its hash,
    // and only then is the text deleted.
    void Load(WindowHandle frame);
    // Writes the preferences and the program's hot-keys, whole.
    void Save();
    // What OK in the Preferences dialog changes: the hot-keys registered anew,
    // the preferences, the password when one was typed (empty: none), and
    // the Run value when autorun changed. Save follows.
    void Apply(const Preferences& prefs, const ProgramKeys& keys,
               const std::optional<std::string>& newPassword = std::nullopt);
    // Whether entered is the password (with none set, only the empty text is).
    bool CheckPassword(std::string_view entered) const;
    bool HasPassword() const { return !m_Prefs.m_PasswordHash.empty() || !m_LegacyPassword.empty(); }
    // The click action goes back to the list of hidden windows when it names
    // a group (or the separator): group positions may have moved.
    void ForgetGroupAction();
    // Gives up the program's registrations (a capture field needs the keys);
    // the values stay.
    void ReleaseHotKeys();
    // Registers again each key that is set and not held.
    void RetryHotKeys();

    const Preferences& Prefs() const { return m_Prefs; }
    // Moves on with every change of the preferences or the keys, so that a
    // command can tell whether it changed what the tray shows.
    std::uint64_t Revision() const { return m_revision; }
    const CHotKeys& HotKey(int index) const { return m_HotKeys[static_cast<std::size_t>(index)]; }
    ProgramKeys Keys() const;

private:
    void AddToRunKey();
    void ConvertPlainPassword();

    platform::IProfile& m_Profile;
    platform::IRunKey& m_RunKey;
    platform::IModule& m_Module;
    platform::ICrypto& m_Crypto;
    // A password of an earlier version whose hash could not be made (the
    // system gave no random bytes): kept as it was, and checked as text.
    std::string m_LegacyPassword;
    std::array<CHotKeys, kProgramHotKeys> m_HotKeys;
    Preferences m_Prefs;
    std::uint64_t m_revision = 0;
};
