#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"

// The program's entry in the current user's Run key: the first start and the
// Preferences dialog write it.

// Paths are taken as the system sizes them: 259 characters and the terminator.
inline constexpr std::size_t kModulePathSize = 260;

// The Run value for an executable: its path, without arguments, in quotes
// when it holds a space. Unquoted, the shell would try each prefix that
// ends at a space ("C:\Program.exe" for "C:\Program Files\...") and could
// start some other program.
std::string RunCommand(std::string_view path);

// Writes the module's Run value under the value name. Nothing is written when
// the system cannot tell the path or it is too long, since a cut path would
// name some other file.
bool AddToAutorun(platform::IModule& module, platform::IRunKey& runKey, const char* name);
