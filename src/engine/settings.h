#pragma once
#include <array>

#include <cstdint>

#include "engine/command_table.h"
#include "engine/preferences.h"
#include "hotkeys/hot_keys.h"
#include "platform/platform.h"

// The user's settings outside the groups: the preferences with the password,
// and the program hot-keys (index = hot-key identifier, as the commands table
// gives it), with their load, save and the program's entry in the Run key.
class CSettings {
public:
    static constexpr const char* kProductName = "Tarnvell";

    CSettings(platform::IHotKeySystem& hotKeys, platform::IProfile& profile, platform::IRunKey& runKey,
              platform::IModule& module);
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // Binds the hot-keys to the frame, then reads and registers them, reads
    // the preferences, and on the first start enters the program in the Run
    // key.
    void Load(WindowHandle frame);
    // Writes the preferences and the program hot-keys.
    void Save();
    // What OK in the Preferences dialog changes: the hot-keys registered anew,
    // the preferences, and the Run value when autorun changed. Save follows.
    void Apply(const Preferences& prefs, const ProgramKeys& keys);
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

    platform::IProfile& m_Profile;
    platform::IRunKey& m_RunKey;
    platform::IModule& m_Module;
    std::array<CHotKeys, kProgramHotKeys> m_HotKeys;
    Preferences m_Prefs;
    std::uint64_t m_revision = 0;
};
