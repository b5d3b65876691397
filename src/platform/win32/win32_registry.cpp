#include <algorithm>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/win32/handles.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Str(std::string_view v) { return std::string(v); }

}  // namespace

std::optional<std::string> ClassesRootDefault(const std::string& key, std::size_t maxChars) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS)
        return std::nullopt;
    UniqueRegKey owner(raw);
    std::vector<char> buffer(maxChars + 1, '\0');
    LONG size = static_cast<LONG>(maxChars);
    if (::RegQueryValueA(raw, nullptr, buffer.data(), &size) != ERROR_SUCCESS) return std::nullopt;
    // The stored text need not end with a terminator.
    buffer[maxChars] = '\0';
    return std::string(buffer.data());
}

void Win32Profile::SetRegistryKey(const std::string& company, const std::string& application) {
    m_root = "Software\\" + company + "\\" + application;
}

void Win32Profile::Hold(bool held) {
    if (held) {
        ++m_nHolds;
    } else if (m_nHolds > 0 && --m_nHolds == 0) {
        m_Held.clear();
        m_Values.clear();
        m_Unreadable.clear();
    }
}

namespace {
// Value names are compared without regard to case, as the registry does.
std::string Folded(std::string_view name) {
    std::string folded(name);
    for (char& c : folded)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return folded;
}

struct EnumeratedValue {
    std::string name;
    DWORD type = 0;
    std::string data;
};

// Reads the values at indices [first, last) of a key; false when the key
// changed under the reader (a value grew past the sizes asked for, or went).
bool EnumerateRange(HKEY key, DWORD first, DWORD last, DWORD longestName, DWORD longestData,
                    std::vector<EnumeratedValue>& out) {
    // The longest name is counted in characters, and in a double-byte code
    // page one character may take two bytes of an ANSI name.
    std::vector<char> valueName(2 * static_cast<std::size_t>(longestName) + 1);
    std::vector<BYTE> data(static_cast<std::size_t>(longestData) + 1);
    out.reserve(last - first);
    for (DWORD i = first; i < last; ++i) {
        DWORD nameLength = static_cast<DWORD>(valueName.size());
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueA(key, i, valueName.data(), &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            return false;
        out.push_back(EnumeratedValue{Folded(std::string_view(valueName.data(), nameLength)), type,
                                      std::string(reinterpret_cast<const char*>(data.data()), size)});
    }
    return true;
}

// Below this many values one reader is quicker than starting others.
constexpr DWORD kValuesPerReader = 4096;
constexpr DWORD kMaxReaders = 8;

}  // namespace

// During a hold, a section is read whole on its first use: every registry
// call is a round trip to another process under Wine (and a kernel call on
// Windows), and a load asks for many values that are not there at all (the
// hot-keys of groups that have none). Enumerating the values that exist
// costs one call each; asking for each value the load wants cost several.
// A large section is read by several threads over disjoint index ranges:
// under Wine most of a call's cost is the wait for the server's answer, and
// eight readers take under half the time of one (90,000 values: 1.4 s
// against 3.1 s).
const Win32Profile::SectionValues* Win32Profile::HeldValues(std::string_view section, HKEY key) {
    if (m_nHolds == 0) return nullptr;
    const std::string name = Str(section);
    if (auto it = m_Values.find(name); it != m_Values.end()) return &it->second;
    if (m_Unreadable.count(name)) return nullptr;
    DWORD count = 0, longestName = 0, longestData = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                           &longestData, nullptr, nullptr) != ERROR_SUCCESS) {
        m_Unreadable.insert(name);
        return nullptr;
    }

    const DWORD readers = std::clamp<DWORD>(count / kValuesPerReader, 1, kMaxReaders);
    std::vector<std::vector<EnumeratedValue>> parts(readers);
    std::vector<char> complete(readers, 0);
    {
        std::vector<std::thread> threads;
        threads.reserve(readers);
        auto read = [&](DWORD r) {
            const DWORD first = static_cast<DWORD>(std::uint64_t{count} * r / readers);
            const DWORD last = static_cast<DWORD>(std::uint64_t{count} * (r + 1) / readers);
            complete[r] = EnumerateRange(key, first, last, longestName, longestData, parts[r]);
        };
        for (DWORD r = 1; r < readers; ++r) {
            // A thread the system refuses leaves its range to this one.
            try {
                threads.emplace_back(read, r);
            } catch (const std::system_error&) {
                read(r);
            }
        }
        read(0);
        for (auto& thread : threads) thread.join();
    }
    // Another writer changed the key meanwhile (indices shift when a value
    // comes or goes): ask value by value instead.
    DWORD countAfter = 0;
    if (std::find(complete.begin(), complete.end(), 0) != complete.end() ||
        ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &countAfter, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS ||
        countAfter != count) {
        m_Unreadable.insert(name);
        return nullptr;
    }

    SectionValues values;
    values.reserve(count);
    for (auto& part : parts)
        for (auto& value : part) values[std::move(value.name)] = StoredValue{value.type, std::move(value.data)};
    return &m_Values.emplace(name, std::move(values)).first->second;
}

void Win32Profile::Remember(std::string_view section, std::string_view entry, DWORD type, std::string data) {
    if (auto it = m_Values.find(Str(section)); it != m_Values.end())
        it->second[Folded(entry)] = StoredValue{type, std::move(data)};
}

// Opens (creating when missing) the section key. Outside a hold it is opened
// afresh for every call, so no handle is kept and other writers are seen at
// once; during one (a load of hundreds of values) each key is opened once.
Win32Profile::SectionKey Win32Profile::OpenSection(std::string_view section) {
    if (m_nHolds > 0)
        if (auto it = m_Held.find(Str(section)); it != m_Held.end()) return SectionKey{it->second.get(), {}};
    const std::string path = m_root + "\\" + Str(section);
    HKEY key = nullptr;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return SectionKey{};
    if (m_nHolds > 0) {
        m_Held.emplace(Str(section), UniqueRegKey(key));
        return SectionKey{key, {}};
    }
    return SectionKey{key, UniqueRegKey(key)};
}

unsigned Win32Profile::GetProfileInt(std::string_view section, std::string_view entry, int defaultValue) {
    const SectionKey key = OpenSection(section);
    if (!key) return static_cast<unsigned>(defaultValue);
    if (const SectionValues* held = HeldValues(section, key.get())) {
        const auto it = held->find(Folded(entry));
        if (it == held->end() || it->second.type != REG_DWORD || it->second.data.size() != sizeof(DWORD))
            return static_cast<unsigned>(defaultValue);
        DWORD value = 0;
        std::memcpy(&value, it->second.data.data(), sizeof(value));
        return value;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    // Anything but a whole DWORD (a string, binary data, an empty value) reads
    // as the default.
    if (::RegQueryValueExA(key.get(), Str(entry).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                           &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof(value))
        return static_cast<unsigned>(defaultValue);
    return value;
}

bool Win32Profile::WriteProfileInt(std::string_view section, std::string_view entry, int value) {
    const SectionKey key = OpenSection(section);
    if (!key) return false;
    const DWORD data = static_cast<DWORD>(value);
    if (::RegSetValueExA(key.get(), Str(entry).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                         sizeof(data)) != ERROR_SUCCESS)
        return false;
    Remember(section, entry, REG_DWORD, std::string(reinterpret_cast<const char*>(&data), sizeof(data)));
    return true;
}

std::string Win32Profile::GetProfileString(std::string_view section, std::string_view entry,
                                           std::string_view defaultValue) {
    const SectionKey key = OpenSection(section);
    if (!key) return Str(defaultValue);
    if (const SectionValues* held = HeldValues(section, key.get())) {
        const auto it = held->find(Folded(entry));
        if (it == held->end() || it->second.type != REG_SZ) return Str(defaultValue);
        // The stored data need not end with a terminator: up to the first zero.
        return std::string(it->second.data.c_str());
    }
    const std::string name = Str(entry);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return Str(defaultValue);
    // The stored data need not end with a terminator, and another writer may
    // grow it between the two calls: read into a buffer of the size asked
    // for, retrying while it grows, and stop at the first zero.
    std::vector<char> buffer;
    LONG status = ERROR_MORE_DATA;
    for (int attempt = 0; attempt < 4 && status == ERROR_MORE_DATA; ++attempt) {
        buffer.assign(static_cast<std::size_t>(size) + 1, '\0');
        DWORD got = size;
        status = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                                    &got);
        size = got;
    }
    if (status != ERROR_SUCCESS || type != REG_SZ) return Str(defaultValue);
    buffer.resize(static_cast<std::size_t>(size) + 1, '\0');
    buffer.back() = '\0';
    return std::string(buffer.data());
}

bool Win32Profile::WriteProfileString(std::string_view section, std::string_view entry, std::string_view value) {
    const SectionKey key = OpenSection(section);
    if (!key) return false;
    const std::string data = Str(value);
    if (::RegSetValueExA(key.get(), Str(entry).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
        return false;
    Remember(section, entry, REG_SZ, data + '\0');
    return true;
}

namespace {
constexpr const char* kHiddenKey = "Hidden Windows";
constexpr const char* kHiddenValue = "Records";
}  // namespace

std::string Win32VolatileStore::KeyPath() const { return m_Profile.Root() + "\\" + kHiddenKey; }

bool Win32VolatileStore::Write(const std::vector<std::uint8_t>& data) {
    HKEY raw = nullptr;
    // Volatile: the system keeps the key in memory and drops it at logoff, as
    // it drops the window handles the value names.
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, KeyPath().c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr,
                          &raw, nullptr) != ERROR_SUCCESS)
        return false;
    UniqueRegKey key(raw);
    return ::RegSetValueExA(key.get(), kHiddenValue, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size())) ==
           ERROR_SUCCESS;
}

std::optional<std::vector<std::uint8_t>> Win32VolatileStore::Read(std::size_t maxBytes) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath().c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return std::nullopt;
    UniqueRegKey key(raw);
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExA(key.get(), kHiddenValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_BINARY || size > maxBytes) return std::vector<std::uint8_t>{};
    std::vector<std::uint8_t> data(size);
    DWORD got = size;
    if (::RegQueryValueExA(key.get(), kHiddenValue, nullptr, &type, data.data(), &got) != ERROR_SUCCESS ||
        got != size)
        return std::vector<std::uint8_t>{};
    return data;
}

void Win32VolatileStore::Remove() {
    HKEY raw = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, KeyPath().c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
    UniqueRegKey key(raw);
    ::RegDeleteValueA(key.get(), kHiddenValue);
}

bool Win32RunKey::WriteValue(std::string_view name, std::string_view data) {
    HKEY raw = nullptr;
    // The Run key is opened, never created: where it is missing there is no
    // entry to make.
    if (::RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &raw) != ERROR_SUCCESS) return false;
    UniqueRegKey key(raw);
    const std::string text = Str(data);
    return ::RegSetValueExA(key.get(), Str(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool Win32RunKey::DeleteValue(std::string_view name) {
    HKEY raw = nullptr;
    if (::RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &raw) != ERROR_SUCCESS) return false;
    UniqueRegKey key(raw);
    return ::RegDeleteValueA(key.get(), Str(name).c_str()) == ERROR_SUCCESS;
}

std::string Win32Module::ModulePath() {
    // GetModuleFileName cuts a long path silently (and on XP without a
    // terminator): grow the buffer until the whole path fits, so that a
    // caller never mistakes a cut path for the program's own.
    std::vector<char> path(MAX_PATH);
    for (;;) {
        const DWORD size = static_cast<DWORD>(path.size());
        const DWORD n = ::GetModuleFileNameA(m_instance, path.data(), size);
        if (n == 0) return {};
        if (n < size) return std::string(path.data(), n);
        if (size >= 32768) return {};
        path.resize(static_cast<std::size_t>(size) * 2);
    }
}

bool Win32Module::IsLeadByte(unsigned char c) { return ::IsDBCSLeadByte(c) != FALSE; }

int Win32Module::LoadString(unsigned id, char* buffer, int size) {
    return ::LoadStringA(m_instance, id, buffer, size);
}

IconHandle Win32Module::LoadIcon(unsigned id) {
    // The notification area shows small icons; loading at that size picks the
    // image of that size rather than stretching another. The manifest makes
    // the process DPI-aware, so the metric is already scaled (20, 24 or 32
    // pixels at 125, 150 and 200 %), and the icons carry those sizes. Shared
    // icons are never destroyed by their user.
    HANDLE icon = ::LoadImageA(m_instance, MAKEINTRESOURCEA(id), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
                               ::GetSystemMetrics(SM_CYSMICON), LR_SHARED);
    return IconHandle{reinterpret_cast<std::uintptr_t>(icon)};
}
