#pragma once
#include <windows.h>

#include <string>

// Tarnvell may be installed in a folder the user can write, and the search
// path for a library starts in the program's folder: a file planted there
// under a system library's name must never be loaded.

// Limits the search for libraries loaded by name, for the whole process, to
// the system directory, where the system offers that (SetDefaultDllDirectories:
// Windows 8, and Windows 7 with KB2533623). Called first thing at start.
void RestrictLibrarySearch();

// Loads a system library from the system directory only; null when it is
// not there.
HMODULE LoadSystemLibrary(const char* name);

// Whether path names a file absolutely: a drive and a root ("C:\...") or a
// network share ("\\server\...").
bool IsAbsolutePath(const std::string& path);
