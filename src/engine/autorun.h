#pragma once
#include <cstddef>

#include "platform/platform.h"

// The program's entry in the current user's Run key: the first start and the
// Preferences dialog write it.

// Paths are taken as the system sizes them: 259 characters and the terminator.
inline constexpr std::size_t kModulePathSize = 260;

// Writes the module's path, unquoted and without arguments, as value name.
// Nothing is written when the system cannot tell the path or it is too long,
// since a cut path would name some other file.
bool AddToAutorun(platform::IModule& module, platform::IRunKey& runKey, const char* name);
