#pragma once
#include <cstddef>

#include "platform/platform.h"

// The program's entry in the current user's Run key. Plain functions: the
// Preferences command uses them as well as the first start.

// The module path buffer of the autorun entry, as the system sizes paths.
inline constexpr std::size_t kModulePathSize = 260;

// The full path of the program's module in buffer; null (and an empty
// buffer) when the system cannot tell it or it does not fit, since a cut path
// would name some other file.
char* GetModulePath(platform::IModule& module, char* buffer, std::size_t size);

// Opens the Run key (never creating it) and sets or deletes the value; false
// when the key cannot be opened or the change fails.
bool WriteRunValue(platform::IRunKey& runKey, const char* name, const char* text);
bool DeleteRunValue(platform::IRunKey& runKey, const char* name);

// Writes the module's path, unquoted and without arguments, as value name.
bool AddToAutorun(platform::IModule& module, platform::IRunKey& runKey, const char* name);
