#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

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
    void Hold(bool held) override;

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

    Open OpenSection(std::string_view section);
    // The held section's values when it is read whole; null when it must be
    // asked value by value.
    static Values* WholeValues(Section* held);
    static bool ReadWhole(IRegistryKey& key, Values& values);
    static void Remember(Section* held, const std::string& name, std::uint32_t type, std::string data, bool ask);

    IRegistry& m_Registry;
    std::string m_root;
    int m_nHolds = 0;
    std::map<std::string, Section, std::less<>> m_Held;
};

}  // namespace platform
