#pragma once
#include <windows.h>

#include <optional>
#include <string_view>

#include "engine/command_line.h"

// The Win32 side of Tarnvell.exe COMMAND [ARGUMENT].

// Whether text is valid in the process's ANSI code page, as the system's
// own conversion judges it.
bool ValidInCodePage(std::string_view text);

// The arguments of this process's command line, parsed. Split here rather
// than taken from __argv: the runtime's argv may expand wildcards (a group
// named "Chat*" would become file names), and its rules differ between C
// runtimes; SplitCommandLine is the one set of rules, tested.
ParsedCommandLine ParseOwnCommandLine();

// The usage box, captioned "Tarnvell", headed by the error's line when there
// is one.
void ShowUsage(HINSTANCE instance, std::optional<UsageError> error);

// Hands command to the copy that holds the single-instance guard and waits
// for its answer, however long that copy takes while it pumps messages: the
// exit code; NoAnswer when no frame was found, the copy refused the message
// (it was hung, or it went) or it stayed hung (kHungCopyGraceMs).
CommandResult HandToRunningCopy(const Command& command, const char* frameClass);
