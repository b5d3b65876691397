#include "platform/registry_profile.h"

#include <cstring>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "platform/win_constants.h"

namespace platform {

namespace {

// Up to the first zero: stored text need not end with a terminator, and may
// hold one early.
void CutAtZero(std::string& text) {
    const std::size_t length = std::strlen(text.c_str());
    if (length == text.size()) return;
    text.resize(length);
    if (text.capacity() > 2 * length + 64) text.shrink_to_fit();
}

std::optional<std::uint32_t> QueryDword(IRegistryKey& key, const std::string& name) {
    std::uint32_t type = 0, value = 0, size = sizeof(value);
    // Anything but a whole DWORD (a string, binary data, an empty value)
    // reads as the default.
    if (key.QueryValue(name.c_str(), type, reinterpret_cast<unsigned char*>(&value), size) != RegistryStatus::kOk ||
        type != reg::kDword || size != sizeof(value))
        return std::nullopt;
    return value;
}

std::optional<std::string> QueryString(IRegistryKey& key, const std::string& name) {
    std::uint32_t type = 0, size = 0;
    if (key.QueryValue(name.c_str(), type, nullptr, size) != RegistryStatus::kOk || type != reg::kSz)
        return std::nullopt;
    // Another writer may grow the value between the two calls: read into a
    // buffer of the size asked for, one byte more for a terminator, retrying
    // while it grows.
    std::string buffer;
    RegistryStatus status = RegistryStatus::kMoreData;
    for (int attempt = 0; attempt < 4 && status == RegistryStatus::kMoreData; ++attempt) {
        buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
        std::uint32_t got = size;
        status = key.QueryValue(name.c_str(), type, reinterpret_cast<unsigned char*>(buffer.data()), got);
        size = got;
    }
    if (status != RegistryStatus::kOk || type != reg::kSz || size >= buffer.size()) return std::nullopt;
    buffer.resize(size);
    CutAtZero(buffer);
    return buffer;
}

// The record of a batch: "TVPW", version 1, the count, then each write's
// section, entry, type and data, every length a little-endian u32.
constexpr char kRecordMagic[4] = {'T', 'V', 'P', 'W'};
constexpr std::uint32_t kRecordVersion = 1;

void PutU32(std::string& out, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}
void PutField(std::string& out, std::string_view text) {
    PutU32(out, static_cast<std::uint32_t>(text.size()));
    out.append(text);
}

// Reads from a record, refusing anything that runs past its end.
class RecordReader {
public:
    explicit RecordReader(std::string_view data) : m_data(data) {}
    bool U32(std::uint32_t& value) {
        if (m_data.size() - m_at < 4) return false;
        value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(m_data[m_at + i]);
        m_at += 4;
        return true;
    }
    bool Field(std::string& text) {
        std::uint32_t length = 0;
        if (!U32(length) || m_data.size() - m_at < length) return false;
        text.assign(m_data.substr(m_at, length));
        m_at += length;
        return true;
    }
    bool AtEnd() const { return m_at == m_data.size(); }

private:
    std::string_view m_data;
    std::size_t m_at = 0;
};

}  // namespace

std::size_t RegistryProfile::NameHash::operator()(const std::string& name) const {
    std::size_t hash = 14695981039346656037ull & static_cast<std::size_t>(-1);
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(text::AsciiLower(c))) * 1099511628211ull;
    return hash;
}

bool RegistryProfile::NameEqual::operator()(const std::string& a, const std::string& b) const {
    return text::AsciiEqualNoCase(a, b);
}

void RegistryProfile::Hold(bool held) {
    if (held) {
        ++m_nHolds;
    } else if (m_nHolds > 0 && --m_nHolds == 0) {
        m_Held.clear();
    }
}

// Outside a hold the key is opened (created when missing) for every call, so
// no handle is kept and other writers are seen at once; during one (a load of
// hundreds of values) each section is opened once.
RegistryProfile::Open RegistryProfile::OpenSection(std::string_view section) {
    if (!m_bRecovered) Recover();
    Open open;
    if (m_nHolds > 0) {
        auto it = m_Held.find(section);
        if (it == m_Held.end()) {
            auto key = m_Registry.CreateKey(m_root + "\\" + std::string(section));
            if (!key) return open;
            it = m_Held.emplace(std::string(section), Section{std::move(key), State::kUnread, {}}).first;
        }
        open.key = it->second.key.get();
        open.held = &it->second;
        return open;
    }
    open.owned = m_Registry.CreateKey(m_root + "\\" + std::string(section));
    open.key = open.owned.get();
    return open;
}

RegistryProfile::Values* RegistryProfile::WholeValues(Section* held) {
    if (!held) return nullptr;
    if (held->state == State::kUnread)
        held->state = ReadWhole(*held->key, held->values) ? State::kWhole : State::kValueByValue;
    return held->state == State::kWhole ? &held->values : nullptr;
}

// One call for the key's sizes, one per value, and one more to see that
// nothing changed meanwhile. A value written, added or deleted during the
// pass moves the key's last-write time (and shifts the indices after it); a
// pass over a changed key could miss a value, which would then load as its
// default and be saved back over the user's. Such a section, and one that
// fails to read or does not fit in memory, is asked value by value instead.
bool RegistryProfile::ReadWhole(IRegistryKey& key, Values& values) {
    RegistryKeyInfo before;
    if (!key.QueryInfo(before)) return false;
    if (before.values == 0) return true;
    try {
        // The longest name is counted in characters, and in a double-byte
        // code page one character may take two bytes of an ANSI name.
        std::vector<char> name(2 * static_cast<std::size_t>(before.longestName) + 1);
        const std::size_t dataCapacity = static_cast<std::size_t>(before.longestData) + 1;
        const std::unique_ptr<unsigned char[]> data(new unsigned char[dataCapacity]);
        values.reserve(before.values);
        for (std::uint32_t i = 0; i < before.values; ++i) {
            std::uint32_t nameLength = static_cast<std::uint32_t>(name.size());
            std::uint32_t size = static_cast<std::uint32_t>(dataCapacity);
            std::uint32_t type = 0;
            if (key.EnumValue(i, name.data(), nameLength, type, data.get(), size) != RegistryStatus::kOk ||
                nameLength >= name.size() || size > dataCapacity) {
                Values().swap(values);
                return false;
            }
            // Each value's data is kept in a string of its own size, never
            // in a buffer of the longest one's.
            values.insert_or_assign(std::string(name.data(), nameLength),
                                    Stored{type, false, std::string(reinterpret_cast<const char*>(data.get()), size)});
        }
    } catch (const std::bad_alloc&) {
        Values().swap(values);
        return false;
    }
    RegistryKeyInfo after;
    if (!key.QueryInfo(after) || after.values != before.values || after.lastWrite != before.lastWrite) {
        Values().swap(values);
        return false;
    }
    return true;
}

void RegistryProfile::Remember(Section* held, const std::string& name, std::uint32_t type, std::string data,
                               bool ask) {
    if (!held || held->state != State::kWhole) return;
    held->values.insert_or_assign(name, Stored{type, ask, std::move(data)});
}

unsigned RegistryProfile::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) {
    const auto fallback = static_cast<unsigned>(defaultValue);
    const Open open = OpenSection(section);
    if (!open.key) return fallback;
    const std::string name(entry);
    if (Values* values = WholeValues(open.held)) {
        const auto it = values->find(name);
        if (it == values->end()) return fallback;
        if (!it->second.ask) {
            const Stored& stored = it->second;
            if (stored.type != reg::kDword || stored.data.size() != sizeof(std::uint32_t)) return fallback;
            std::uint32_t value = 0;
            std::memcpy(&value, stored.data.data(), sizeof(value));
            return value;
        }
    }
    return QueryDword(*open.key, name).value_or(fallback);
}

std::string RegistryProfile::GetProfileString(std::string_view section, std::string_view entry,
                                              std::string_view defaultValue) {
    const Open open = OpenSection(section);
    if (!open.key) return std::string(defaultValue);
    const std::string name(entry);
    if (Values* values = WholeValues(open.held)) {
        const auto it = values->find(name);
        if (it == values->end()) return std::string(defaultValue);
        Stored& stored = it->second;
        if (!stored.ask) {
            if (stored.type != reg::kSz) return std::string(defaultValue);
            // The text is handed over, not copied: a load keeps every group's
            // search text, and a copy would hold each one twice until the
            // hold ends. A second read of it asks the registry.
            std::string text = std::move(stored.data);
            stored.data = std::string();
            stored.ask = true;
            CutAtZero(text);
            return text;
        }
    }
    if (auto text = QueryString(*open.key, name)) return std::move(*text);
    return std::string(defaultValue);
}

bool RegistryProfile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    const std::uint32_t data = static_cast<std::uint32_t>(value);
    return Submit({std::string(section), std::string(entry), reg::kDword,
                   std::string(reinterpret_cast<const char*>(&data), sizeof(data))});
}

bool RegistryProfile::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    // The terminator is part of the stored data.
    return Submit({std::string(section), std::string(entry), reg::kSz, std::string(value) + '\0'});
}

bool RegistryProfile::DeleteProfileValue(std::string_view section, std::string_view entry) {
    return Submit({std::string(section), std::string(entry), kDeleteType, {}});
}

bool RegistryProfile::Submit(Write write) {
    if (m_nBatches > 0) {
        m_Batch.push_back(std::move(write));
        return true;
    }
    return Store(write);
}

bool RegistryProfile::Store(const Write& write) {
    const Open open = OpenSection(write.section);
    if (!open.key) return false;
    if (write.type == kDeleteType) {
        if (!open.key->DeleteValue(write.entry.c_str())) return false;
        if (open.held && open.held->state == State::kWhole) open.held->values.erase(write.entry);
        return true;
    }
    if (!open.key->SetValue(write.entry.c_str(), write.type, reinterpret_cast<const unsigned char*>(write.data.data()),
                            static_cast<std::uint32_t>(write.data.size())))
        return false;
    // A text is not kept: the writer has it, and a read of it during the
    // hold is rare enough to cost a call.
    if (write.type == reg::kSz)
        Remember(open.held, write.entry, reg::kSz, std::string(), true);
    else
        Remember(open.held, write.entry, write.type, write.data, false);
    return true;
}

void RegistryProfile::Batch(bool open) {
    if (open) {
        ++m_nBatches;
    } else if (m_nBatches > 0 && --m_nBatches == 0) {
        Commit();
    }
}

void RegistryProfile::Commit() {
    std::vector<Write> writes = std::exchange(m_Batch, {});
    if (writes.empty()) return;
    if (!m_bRecovered) Recover();
    // One value is stored whole by the registry itself.
    std::unique_ptr<IRegistryKey> root = writes.size() > 1 ? m_Registry.CreateKey(m_root) : nullptr;
    std::string record(kRecordMagic, sizeof(kRecordMagic));
    PutU32(record, kRecordVersion);
    PutU32(record, static_cast<std::uint32_t>(writes.size()));
    for (const Write& w : writes) {
        PutField(record, w.section);
        PutField(record, w.entry);
        PutU32(record, w.type);
        PutField(record, w.data);
    }
    const bool logged =
        root && root->SetValue(kPendingValue, reg::kBinary, reinterpret_cast<const unsigned char*>(record.data()),
                               static_cast<std::uint32_t>(record.size()));
    bool stored = true;
    for (const Write& w : writes) stored = Store(w) && stored;
    // A write that failed is tried again from the record at the next start,
    // rather than leaving half a save behind.
    if (logged && stored) root->DeleteValue(kPendingValue);
}

void RegistryProfile::Recover() {
    m_bRecovered = true;
    std::unique_ptr<IRegistryKey> root = m_Registry.CreateKey(m_root);
    if (!root) return;
    // The profile's own key holds no value but a record: the common case,
    // nothing left behind, costs one question more than the key's opening.
    RegistryKeyInfo info;
    if (!root->QueryInfo(info) || info.values == 0) return;
    std::uint32_t type = 0, size = 0;
    if (root->QueryValue(kPendingValue, type, nullptr, size) != RegistryStatus::kOk) return;
    std::vector<Write> writes;
    bool whole = false;
    try {
        std::string data(size, '\0');
        std::uint32_t got = size;
        if (type == reg::kBinary &&
            root->QueryValue(kPendingValue, type, reinterpret_cast<unsigned char*>(data.data()), got) ==
                RegistryStatus::kOk &&
            got == size && data.compare(0, sizeof(kRecordMagic), kRecordMagic, sizeof(kRecordMagic)) == 0) {
            RecordReader reader(std::string_view(data).substr(sizeof(kRecordMagic)));
            std::uint32_t version = 0, count = 0;
            whole = reader.U32(version) && version == kRecordVersion && reader.U32(count);
            for (std::uint32_t i = 0; whole && i < count; ++i) {
                Write w;
                whole = reader.Field(w.section) && reader.Field(w.entry) && reader.U32(w.type) && reader.Field(w.data);
                if (whole) writes.push_back(std::move(w));
            }
            whole = whole && reader.AtEnd();
        }
    } catch (const std::bad_alloc&) {
        whole = false;
    }
    // A record that is not whole was never written by us: it is dropped,
    // and the profile stays as it was.
    bool stored = true;
    if (whole)
        for (const Write& w : writes) stored = Store(w) && stored;
    if (stored) root->DeleteValue(kPendingValue);
}

}  // namespace platform
