#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/platform.h"
#include "platform/registry.h"

namespace platform {

// The profile below one key of HKEY_CURRENT_USER, over the registry.
//
// During a hold each section's key is opened once, and read whole on its
// first read with one pass of RegEnumValue: a load asks for many values that
// are not there (the hot-keys of groups that have none), and those then cost
// no call at all. The load's limit is one registry call per stored value.
// A section that changes while it is read, or cannot be read whole, is asked
// value by value for the rest of the hold.
//
// A batch is stored as a write-ahead record: every write of it, encoded in
// one binary value of the profile's own key (one registry write, which the
// system makes whole or not at all), then the writes themselves, then the
// record is deleted. The first use of the profile in a later run finds a
// record a killed run left behind and carries its writes out, so a save is
// either absent or whole.
class RegistryProfile final : public IProfile {
public:
    explicit RegistryProfile(IRegistry& registry) : m_Registry(registry) {}
    RegistryProfile(const RegistryProfile&) = delete;
    RegistryProfile& operator=(const RegistryProfile&) = delete;

    // The profile's key, relative to HKEY_CURRENT_USER.
    void SetRoot(std::string root) { m_root = std::move(root); }
    const std::string& Root() const { return m_root; }

    unsigned GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) override;
    bool WriteProfileInt(std::string_view section, std::string_view entry, int value) override;
    std::string GetProfileString(std::string_view section, std::string_view entry,
                                 std::string_view defaultValue) override;
    bool WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) override;
    bool DeleteProfileValue(std::string_view section, std::string_view entry) override;
    void Hold(bool held) override;
    void Batch(bool open) override;

    // The value that holds a batch while it is stored, in the profile's key.
    static constexpr const char* kPendingValue = "Pending Writes";

private:
    struct Stored {
        std::uint32_t type = 0;
        // The registry holds what is current: the data was handed out (a
        // text goes to its reader, not copied) or the value was written since.
        bool ask = false;
        std::string data;
    };
    // Value names compare without regard to case, as the registry's do.
    struct NameHash {
        std::size_t operator()(const std::string& name) const;
    };
    struct NameEqual {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    using Values = std::unordered_map<std::string, Stored, NameHash, NameEqual>;
    enum class State { kUnread, kWhole, kValueByValue };
    struct Section {
        std::unique_ptr<IRegistryKey> key;
        State state = State::kUnread;
        Values values;
    };
    // A section's key: held for the hold, or opened for this call only.
    struct Open {
        IRegistryKey* key = nullptr;
        Section* held = nullptr;
        std::unique_ptr<IRegistryKey> owned;
    };

    // A write of this type deletes the value.
    static constexpr std::uint32_t kDeleteType = 0xFFFFFFFF;
    struct Write {
        std::string section;
        std::string entry;
        std::uint32_t type = 0;
        std::string data;
    };

    Open OpenSection(std::string_view section);
    // A write held for the open batch, or stored now when none is open.
    bool Submit(Write write);
    bool Store(const Write& write);
    // Stores what the batch collected, through its record.
    void Commit();
    // Carries out a record that an earlier run left, once per profile.
    void Recover();
    // The held section's values when it is read whole; null when it must be
    // asked value by value.
    static Values* WholeValues(Section* held);
    static bool ReadWhole(IRegistryKey& key, Values& values);
    static void Remember(Section* held, const std::string& name, std::uint32_t type, std::string data, bool ask);

    IRegistry& m_Registry;
    std::string m_root;
    int m_nHolds = 0;
    int m_nBatches = 0;
    std::vector<Write> m_Batch;
    bool m_bRecovered = false;
    std::map<std::string, Section, std::less<>> m_Held;
};

}  // namespace platform
