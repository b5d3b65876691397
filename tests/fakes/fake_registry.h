#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

// An in-memory registry that counts every call, as each is a round trip to
// Wine's server. Keys are paths below HKEY_CURRENT_USER; a key's values keep
// the order they were first written in, which is their enumeration order.
class FakeRegistry final : public platform::IRegistry {
public:
    struct Value {
        std::string name;
        std::uint32_t type = 0;
        std::string data;
    };
    struct Key {
        std::vector<Value> values;
        // Moves with every change, like the key's last-write time. A clock
        // that does not move stands for one too coarse to see a change.
        std::uint64_t lastWrite = 1;
        bool clockStands = false;
    };
    struct Calls {
        int create = 0, info = 0, enumerate = 0, query = 0, set = 0, remove = 0;
        int Total() const { return create + info + enumerate + query + set + remove; }
    };

    std::unique_ptr<platform::IRegistryKey> CreateKey(const std::string& path) override;

    // Writes a value as another program would (no call is counted).
    void Set(const std::string& path, const std::string& name, std::uint32_t type, std::string data);
    void SetDword(const std::string& path, const std::string& name, std::uint32_t value);
    void SetString(const std::string& path, const std::string& name, const std::string& text);
    void Delete(const std::string& path, const std::string& name);
    const Value* Find(const std::string& path, const std::string& name) const;

    std::map<std::string, Key> keys;
    Calls calls;
    // Runs before each enumeration call with its index: another writer
    // changing the key during a pass, or an allocation failing.
    std::function<void(std::uint32_t index)> beforeEnumerate;
    // The process is killed after this many more writes (value writes and
    // deletes): every later one is lost. Negative: never.
    int writesLeft = -1;
};
