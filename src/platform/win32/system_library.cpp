#include "platform/win32/system_library.h"

#include <vector>

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

void RestrictLibrarySearch() {
    // Looked up, not linked: a Windows 7 without KB2533623 lacks it.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    const auto set = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void (*)()>(::GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (set) set(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const char* name) {
    if (HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
    // A system without KB2533623 refuses the flag itself: the full path in
    // the system directory then says the same.
    if (::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
    const UINT length = ::GetSystemDirectoryA(nullptr, 0);
    if (length == 0) return nullptr;
    std::vector<char> directory(length);
    const UINT got = ::GetSystemDirectoryA(directory.data(), length);
    if (got == 0 || got >= length) return nullptr;
    const std::string path = std::string(directory.data(), got) + "\\" + name;
    return ::LoadLibraryA(path.c_str());
}

bool IsAbsolutePath(const std::string& path) {
    const auto separator = [](char c) { return c == '\\' || c == '/'; };
    if (path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
        path[1] == ':' && separator(path[2]))
        return true;
    return path.size() >= 3 && separator(path[0]) && separator(path[1]) && !separator(path[2]);
}
