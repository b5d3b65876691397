#pragma once
#include <string>
#include <string_view>

#include "platform/text.h"

// Topics of the compiled help file, one per dialog that has help.
inline constexpr const char* kHelpTopicAbout = "html\\about.html";
inline constexpr const char* kHelpTopicGroups = "html\\window-group.html";
inline constexpr const char* kHelpTopicPreferences = "html\\preferences.html";

// The help file of an executable: its path up to the last dot, then ".chm".
// In a double-byte code page the second byte of a character may have the
// value of a dot, so the path is walked character by character (in UTF-8
// no byte of a longer character is a dot, and the walk keeps the same
// rule); a path without a dot gives ".chm" alone.
std::string HelpFilePath(std::string_view modulePath, const text::CodePage& codePage = text::ProcessCodePage());
