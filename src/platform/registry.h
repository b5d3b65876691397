#pragma once
#include <cstdint>
#include <memory>
#include <string>

// The registry as the profile reads and writes it: keys below
// HKEY_CURRENT_USER and their values. Small enough for a fake that counts
// every call, since under Wine each call is a round trip to its server.

namespace platform {

// What RegQueryInfoKey tells of a key.
struct RegistryKeyInfo {
    std::uint32_t values = 0;
    std::uint32_t longestName = 0;  // in characters, without the terminator
    std::uint32_t longestData = 0;  // in bytes
    std::uint64_t lastWrite = 0;    // a FILETIME; moves with every change of the key's values
};

enum class RegistryStatus {
    kOk,
    kMoreData,     // a buffer was too small; the sizes say what it takes
    kNoMoreItems,  // no value at that index
    kFailed,       // missing, refused, or anything else
};

// One open key, closed when the object goes.
class IRegistryKey {
public:
    virtual ~IRegistryKey() = default;
    virtual bool QueryInfo(RegistryKeyInfo& info) = 0;
    // The value at index: its name into name (nameLength: its capacity in,
    // the name's length out), its type, and its data into data (dataSize:
    // the capacity in, the data's size out).
    virtual RegistryStatus EnumValue(std::uint32_t index, char* name, std::uint32_t& nameLength, std::uint32_t& type,
                                     unsigned char* data, std::uint32_t& dataSize) = 0;
    // The value called name; with data null only its type and size.
    virtual RegistryStatus QueryValue(const char* name, std::uint32_t& type, unsigned char* data,
                                      std::uint32_t& dataSize) = 0;
    virtual bool SetValue(const char* name, std::uint32_t type, const unsigned char* data, std::uint32_t size) = 0;
    // True when the value is gone afterwards (also when it was never there).
    virtual bool DeleteValue(const char* name) = 0;
};

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // The key at path below HKEY_CURRENT_USER, created when missing, opened
    // for reading and writing; null when that fails.
    virtual std::unique_ptr<IRegistryKey> CreateKey(const std::string& path) = 0;
};

}  // namespace platform
