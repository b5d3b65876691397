#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/diagnostics.h"
#include "platform/win32/handles.h"
#include "platform/win32/resources.h"
#include "platform/win32/win32_platform.h"

namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::string Str(std::string_view v) { return std::string(v); }

// The registry functions return their error instead of setting it.
void RegistryFailed(const char* call, const std::string& path, LONG error) {
    diag::Failed(std::string(call) + "(HKCU\\" + path + ")", static_cast<DWORD>(error));
}
void RegistryFailed(const char* call, const std::string& path, std::string_view value, LONG error) {
    diag::Failed(std::string(call) + "(HKCU\\" + path + ", " + diag::Quoted(value) + ")", static_cast<DWORD>(error));
}

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

namespace {

platform::RegistryStatus Status(LONG error) {
    switch (error) {
        case ERROR_SUCCESS: return platform::RegistryStatus::kOk;
        case ERROR_MORE_DATA: return platform::RegistryStatus::kMoreData;
        case ERROR_NO_MORE_ITEMS: return platform::RegistryStatus::kNoMoreItems;
        default: return platform::RegistryStatus::kFailed;
    }
}

class Win32RegistryKey final : public platform::IRegistryKey {
public:
    Win32RegistryKey(HKEY key, std::string path) : m_key(key), m_path(std::move(path)) {}

    bool QueryInfo(platform::RegistryKeyInfo& info) override {
        DWORD count = 0, longestName = 0, longestData = 0;
        FILETIME written{};
        if (::RegQueryInfoKeyA(m_key.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longestName,
                               &longestData, nullptr, &written) != ERROR_SUCCESS)
            return false;
        info.values = count;
        info.longestName = longestName;
        info.longestData = longestData;
        info.lastWrite = (std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime;
        return true;
    }

    platform::RegistryStatus EnumValue(std::uint32_t index, char* name, std::uint32_t& nameLength, std::uint32_t& type,
                                       unsigned char* data, std::uint32_t& dataSize) override {
        DWORD n = nameLength, size = dataSize, t = 0;
        const LONG error = ::RegEnumValueA(m_key.get(), index, name, &n, nullptr, &t, data, &size);
        nameLength = n;
        dataSize = size;
        type = t;
        return Status(error);
    }

    platform::RegistryStatus QueryValue(const char* name, std::uint32_t& type, unsigned char* data,
                                        std::uint32_t& dataSize) override {
        DWORD size = dataSize, t = 0;
        const LONG error = ::RegQueryValueExA(m_key.get(), name, nullptr, &t, data, &size);
        dataSize = size;
        type = t;
        return Status(error);
    }

    bool SetValue(const char* name, std::uint32_t type, const unsigned char* data, std::uint32_t size) override {
        const LONG error = ::RegSetValueExA(m_key.get(), name, 0, type, data, size);
        if (error == ERROR_SUCCESS) return true;
        RegistryFailed("RegSetValueEx", m_path, name ? name : "", error);
        return false;
    }

    bool DeleteValue(const char* name) override {
        const LONG error = ::RegDeleteValueA(m_key.get(), name);
        if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND) return true;
        RegistryFailed("RegDeleteValue", m_path, name ? name : "", error);
        return false;
    }

private:
    UniqueRegKey m_key;
    std::string m_path;  // below HKEY_CURRENT_USER, for the report of a failed write
};

}  // namespace

std::unique_ptr<platform::IRegistryKey> Win32Registry::CreateKey(const std::string& path) {
    HKEY key = nullptr;
    const LONG error = ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                         KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS) {
        RegistryFailed("RegCreateKeyEx", path, error);
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(key, path);
}

void Win32Profile::SetRegistryKey(const std::string& company, const std::string& application) {
    m_Profile.SetRoot("Software\\" + company + "\\" + application);
}

namespace {
constexpr const char* kHiddenKey = "Hidden Windows";
constexpr const char* kHiddenValue = "Records";
}  // namespace

std::string Win32VolatileStore::KeyPath() const { return m_Profile.Root() + "\\" + kHiddenKey; }

bool Win32VolatileStore::Write(const std::vector<std::uint8_t>& data) {
    HKEY raw = nullptr;
    const std::string path = KeyPath();
    // Volatile: the system keeps the key in memory and drops it at logoff, as
    // it drops the window handles the value names.
    LONG error = ::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE,
                                   nullptr, &raw, nullptr);
    if (error != ERROR_SUCCESS) {
        RegistryFailed("RegCreateKeyEx", path, error);
        return false;
    }
    UniqueRegKey key(raw);
    error = ::RegSetValueExA(key.get(), kHiddenValue, 0, REG_BINARY, data.data(), static_cast<DWORD>(data.size()));
    if (error == ERROR_SUCCESS) return true;
    RegistryFailed("RegSetValueEx", path, kHiddenValue, error);
    return false;
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
    const std::string path = KeyPath();
    // No key: nothing was written since logon, and there is nothing to remove.
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
    UniqueRegKey key(raw);
    const LONG error = ::RegDeleteValueA(key.get(), kHiddenValue);
    if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
        RegistryFailed("RegDeleteValue", path, kHiddenValue, error);
}

bool Win32RunKey::WriteValue(std::string_view name, std::string_view data) {
    HKEY raw = nullptr;
    // The Run key is opened, never created: where it is missing there is no
    // entry to make.
    LONG error = ::RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &raw);
    if (error != ERROR_SUCCESS) {
        RegistryFailed("RegOpenKey", kRunKey, error);
        return false;
    }
    UniqueRegKey key(raw);
    const std::string text = Str(data);
    error = ::RegSetValueExA(key.get(), Str(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + 1));
    if (error == ERROR_SUCCESS) return true;
    RegistryFailed("RegSetValueEx", kRunKey, name, error);
    return false;
}

bool Win32RunKey::DeleteValue(std::string_view name) {
    HKEY raw = nullptr;
    // Without the key or the value there is no entry, which is what was asked.
    LONG error = ::RegOpenKeyA(HKEY_CURRENT_USER, kRunKey, &raw);
    if (error != ERROR_SUCCESS) {
        if (error != ERROR_FILE_NOT_FOUND) RegistryFailed("RegOpenKey", kRunKey, error);
        return false;
    }
    UniqueRegKey key(raw);
    error = ::RegDeleteValueA(key.get(), Str(name).c_str());
    if (error == ERROR_SUCCESS) return true;
    if (error != ERROR_FILE_NOT_FOUND) RegistryFailed("RegDeleteValue", kRunKey, name, error);
    return false;
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
    // As LoadStringA: at most size - 1 bytes and the terminator.
    if (size <= 0) return 0;
    const std::string text = win32::LoadText(m_instance, id);
    const int n = std::min(static_cast<int>(text.size()), size - 1);
    std::memcpy(buffer, text.data(), static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
}

void Win32Module::SetLanguage(unsigned langId) { win32::SetResourceLanguage(static_cast<LANGID>(langId)); }

std::vector<std::string> Win32Module::PreferredLanguages() { return win32::PreferredUiLanguages(); }

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
