#include "fake_registry.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/win_constants.h"

namespace {

bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

class FakeKey final : public platform::IRegistryKey {
public:
    FakeKey(FakeRegistry& registry, std::string path) : m_registry(registry), m_path(std::move(path)) {}

    bool QueryInfo(platform::RegistryKeyInfo& info) override {
        ++m_registry.calls.info;
        const FakeRegistry::Key& key = Key();
        info = platform::RegistryKeyInfo{};
        info.values = static_cast<std::uint32_t>(key.values.size());
        for (const auto& value : key.values) {
            info.longestName = std::max(info.longestName, static_cast<std::uint32_t>(value.name.size()));
            info.longestData = std::max(info.longestData, static_cast<std::uint32_t>(value.data.size()));
        }
        info.lastWrite = key.lastWrite;
        return true;
    }

    platform::RegistryStatus EnumValue(std::uint32_t index, char* name, std::uint32_t& nameLength,
                                       std::uint32_t& type, unsigned char* data, std::uint32_t& dataSize) override {
        ++m_registry.calls.enumerate;
        if (m_registry.beforeEnumerate) m_registry.beforeEnumerate(index);
        const FakeRegistry::Key& key = Key();
        if (index >= key.values.size()) return platform::RegistryStatus::kNoMoreItems;
        const auto& value = key.values[index];
        // The name's capacity counts its terminator, as RegEnumValue's does.
        const bool fits = value.name.size() < nameLength && value.data.size() <= dataSize;
        nameLength = static_cast<std::uint32_t>(value.name.size());
        dataSize = static_cast<std::uint32_t>(value.data.size());
        type = value.type;
        if (!fits) return platform::RegistryStatus::kMoreData;
        std::memcpy(name, value.name.c_str(), value.name.size() + 1);
        std::memcpy(data, value.data.data(), value.data.size());
        return platform::RegistryStatus::kOk;
    }

    platform::RegistryStatus QueryValue(const char* name, std::uint32_t& type, unsigned char* data,
                                        std::uint32_t& dataSize) override {
        ++m_registry.calls.query;
        const FakeRegistry::Value* value = m_registry.Find(m_path, name);
        if (!value) return platform::RegistryStatus::kFailed;
        type = value->type;
        const bool fits = value->data.size() <= dataSize;
        dataSize = static_cast<std::uint32_t>(value->data.size());
        if (!data) return platform::RegistryStatus::kOk;
        if (!fits) return platform::RegistryStatus::kMoreData;
        std::memcpy(data, value->data.data(), value->data.size());
        return platform::RegistryStatus::kOk;
    }

    bool SetValue(const char* name, std::uint32_t type, const unsigned char* data, std::uint32_t size) override {
        ++m_registry.calls.set;
        if (!Alive()) return true;
        m_registry.Set(m_path, name, type, std::string(reinterpret_cast<const char*>(data), size));
        return true;
    }

    bool DeleteValue(const char* name) override {
        ++m_registry.calls.remove;
        if (Alive()) m_registry.Delete(m_path, name);
        return true;
    }

private:
    const FakeRegistry::Key& Key() { return m_registry.keys[m_path]; }
    // A killed process believes its writes succeed; none reaches the registry.
    bool Alive() {
        if (m_registry.writesLeft < 0) return true;
        if (m_registry.writesLeft == 0) return false;
        --m_registry.writesLeft;
        return true;
    }

    FakeRegistry& m_registry;
    std::string m_path;
};

}  // namespace

std::unique_ptr<platform::IRegistryKey> FakeRegistry::CreateKey(const std::string& path) {
    ++calls.create;
    keys[path];
    return std::make_unique<FakeKey>(*this, path);
}

void FakeRegistry::Set(const std::string& path, const std::string& name, std::uint32_t type, std::string data) {
    Key& key = keys[path];
    auto it = std::find_if(key.values.begin(), key.values.end(), [&](const Value& v) { return SameName(v.name, name); });
    if (it == key.values.end())
        key.values.push_back(Value{name, type, std::move(data)});
    else
        *it = Value{it->name, type, std::move(data)};
    if (!key.clockStands) ++key.lastWrite;
}

void FakeRegistry::SetDword(const std::string& path, const std::string& name, std::uint32_t value) {
    Set(path, name, reg::kDword, std::string(reinterpret_cast<const char*>(&value), sizeof(value)));
}

void FakeRegistry::SetString(const std::string& path, const std::string& name, const std::string& text) {
    Set(path, name, reg::kSz, text + '\0');
}

void FakeRegistry::Delete(const std::string& path, const std::string& name) {
    Key& key = keys[path];
    const auto it =
        std::find_if(key.values.begin(), key.values.end(), [&](const Value& v) { return SameName(v.name, name); });
    if (it == key.values.end()) return;
    key.values.erase(it);
    if (!key.clockStands) ++key.lastWrite;
}

const FakeRegistry::Value* FakeRegistry::Find(const std::string& path, const std::string& name) const {
    const auto key = keys.find(path);
    if (key == keys.end()) return nullptr;
    for (const auto& value : key->second.values)
        if (SameName(value.name, name)) return &value;
    return nullptr;
}
