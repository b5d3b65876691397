#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_handle.h"

// The seams between the core and the operating system. Each interface is as
// small as the engine needs; platform/win32 implements them with the real API
// and tests/fakes with recording simulations.

namespace platform {

// Global hot-key registration (RegisterHotKey / UnregisterHotKey).
class IHotKeySystem {
public:
    virtual ~IHotKeySystem() = default;
    virtual bool Register(WindowHandle target, int id, unsigned modifiers, unsigned key) = 0;
    virtual bool Unregister(WindowHandle target, int id) = 0;
};

// The application's registry profile: HKCU\Software\<company>\<app>\<section>.
// Outside a hold every call opens the key path afresh (creating missing keys) and closes it,
// so values written by other programs are seen at once. A missing or
// unreadable value reads as the default.
class IProfile {
public:
    virtual ~IProfile() = default;
    virtual unsigned GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) = 0;
    virtual bool WriteProfileInt(std::string_view section, std::string_view entry, int value) = 0;
    virtual std::string GetProfileString(std::string_view section, std::string_view entry,
                                         std::string_view defaultValue) = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) = 0;
    // True when the value is gone afterwards (also when it was never there).
    virtual bool DeleteProfileValue(std::string_view section, std::string_view entry) = 0;
    // While held (holds nest), the profile may keep each section's key open
    // between calls, so that a load or save of many values opens it once.
    virtual void Hold(bool held) = 0;
    // Writes made while a batch is open (batches nest) are stored together
    // when the outermost batch closes: whatever ends the process meanwhile,
    // the next start reads either none of them or all. Reads during a batch
    // see what was stored before it.
    virtual void Batch(bool open) = 0;
};

// Holds a profile's keys open for the life of the object: a load or save of
// many values opens each section once.
class ProfileHold {
public:
    explicit ProfileHold(IProfile& profile) : m_Profile(profile) { m_Profile.Hold(true); }
    ~ProfileHold() { m_Profile.Hold(false); }
    ProfileHold(const ProfileHold&) = delete;
    ProfileHold& operator=(const ProfileHold&) = delete;

private:
    IProfile& m_Profile;
};

// One save of many values, stored whole or not at all, for the life of the
// object.
class ProfileBatch {
public:
    explicit ProfileBatch(IProfile& profile) : m_Profile(profile) { m_Profile.Batch(true); }
    ~ProfileBatch() { m_Profile.Batch(false); }
    ProfileBatch(const ProfileBatch&) = delete;
    ProfileBatch& operator=(const ProfileBatch&) = delete;

private:
    IProfile& m_Profile;
};

// One binary value of the program's own in a volatile key of its profile:
// the system keeps it in memory only and drops it at logoff. Nothing of it
// is ever written to disk.
class IVolatileStore {
public:
    virtual ~IVolatileStore() = default;
    virtual bool Write(const std::vector<std::uint8_t>& data) = 0;
    // The value; nothing when there is none. A value larger than maxBytes
    // reads as empty data, which no reader takes for valid.
    virtual std::optional<std::vector<std::uint8_t>> Read(std::size_t maxBytes) = 0;
    virtual void Remove() = 0;
};

// The current user's Run key, which is opened and never created.
class IRunKey {
public:
    virtual ~IRunKey() = default;
    virtual bool WriteValue(std::string_view name, std::string_view data) = 0;
    virtual bool DeleteValue(std::string_view name) = 0;
};

// The program's own module: its path and its resources.
class IModule {
public:
    virtual ~IModule() = default;
    // Full path of the running executable, as the system reports it.
    virtual std::string ModulePath() = 0;
    // Copies string-table entry id into buffer (at most size - 1 characters and
    // the terminator) and returns the number of characters; 0 when missing.
    virtual int LoadString(unsigned id, char* buffer, int size) = 0;
    // An icon of the program's resources at the small icon size; null when missing.
    virtual IconHandle LoadIcon(unsigned id) = 0;
    // Whether c opens a two-byte character in the system's ANSI code page
    // (IsDBCSLeadByte); always false in a single-byte code page and in UTF-8.
    virtual bool IsLeadByte(unsigned char c) = 0;
    // The ANSI code page of the process (GetACP): 65001 where the manifest's
    // UTF-8 setting is honoured, the system's own elsewhere.
    virtual unsigned AnsiCodePage() = 0;
    // The language of every text and dialog loaded from now on, as a Windows
    // language identifier (engine/languages.h); what that language lacks
    // comes in English.
    virtual void SetLanguage(unsigned langId) = 0;
    // The user's display languages, most preferred first, as locale names
    // ("de-DE"); empty when the system cannot say.
    virtual std::vector<std::string> PreferredLanguages() = 0;
};

}  // namespace platform
