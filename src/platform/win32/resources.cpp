#include "platform/win32/resources.h"

#include <string_view>

namespace win32 {
namespace {

LANGID g_language = kEnglishLanguage;

// Entry id of a string block: the table is stored in blocks of 16, block n
// holding ids 16(n-1) to 16n-1, each entry a length and that many UTF-16
// units. An entry the block does not fill has length 0.
std::wstring_view Entry(HINSTANCE module, UINT id, LANGID language) {
    const HRSRC found =
        ::FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA((id >> 4) + 1), language);
    if (!found) return {};
    const HGLOBAL loaded = ::LoadResource(module, found);
    const auto* unit = static_cast<const WCHAR*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!unit) return {};
    const WCHAR* end = unit + ::SizeofResource(module, found) / sizeof(WCHAR);
    for (UINT skip = id & 15; skip > 0 && unit < end; --skip) unit += 1 + *unit;
    if (unit >= end || unit + 1 + *unit > end) return {};
    return {unit + 1, *unit};
}

}  // namespace

std::wstring Widen(UINT codePage, std::string_view text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = ::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0) ::MultiByteToWideChar(codePage, 0, text.data(), size, out.data(), n);
    return out;
}

std::string Narrow(UINT codePage, std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) ::WideCharToMultiByte(codePage, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

void SetResourceLanguage(LANGID language) { g_language = language; }
LANGID ResourceLanguage() { return g_language; }

std::wstring LoadWideText(HINSTANCE module, UINT id) {
    std::wstring_view text = Entry(module, id, g_language);
    if (text.empty() && g_language != kEnglishLanguage) text = Entry(module, id, kEnglishLanguage);
    return std::wstring(text);
}

std::string LoadText(HINSTANCE module, UINT id) { return Narrow(CP_ACP, LoadWideText(module, id)); }

const DLGTEMPLATE* DialogTemplate(HINSTANCE module, UINT id) {
    HRSRC found = ::FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id), g_language);
    if (!found) found = ::FindResourceExA(module, RT_DIALOG, MAKEINTRESOURCEA(id), kEnglishLanguage);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    return static_cast<const DLGTEMPLATE*>(loaded ? ::LockResource(loaded) : nullptr);
}

std::vector<std::string> PreferredUiLanguages() {
    // Vista and later; looked up so that the program still starts where the
    // export is missing, and then follows the one UI language.
    using Fn = BOOL(WINAPI*)(DWORD, PULONG, PZZWSTR, PULONG);
    const auto get = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetUserPreferredUILanguages")));
    std::vector<std::string> names;
    ULONG count = 0, size = 0;
    if (!get || !get(MUI_LANGUAGE_NAME, &count, nullptr, &size) || size == 0) return names;
    std::wstring list(size, L'\0');
    if (!get(MUI_LANGUAGE_NAME, &count, list.data(), &size)) return names;
    // A double-null-terminated list of names, which are plain ASCII.
    for (std::size_t at = 0; at < list.size() && list[at] != L'\0';) {
        const std::size_t end = list.find(L'\0', at);
        std::string name;
        for (std::size_t i = at; i < end; ++i) name += static_cast<char>(list[i] < 0x80 ? list[i] : '?');
        names.push_back(name);
        at = end + 1;
    }
    return names;
}

}  // namespace win32
