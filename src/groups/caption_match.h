#pragma once
#include <string_view>

#include "platform/text.h"

using LeadByteTest = text::LeadByteTest;

// How a group's caption compares with its search text ("Compare<n>").
inline constexpr int GROUP_COMPARE_INCLUDE = 0;
inline constexpr int GROUP_COMPARE_EQUAL = 1;
inline constexpr int GROUP_COMPARE_NOT_EQUAL = 2;

// A caption takes part in a comparison with its first 1,023 characters; the
// buffer it is read into holds that many of the widest (UTF-8's four bytes)
// and the terminator.
inline constexpr std::size_t kCaptionMaxChars = 1023;
inline constexpr int kCaptionBufferSize = text::BufferFor(kCaptionMaxChars);

// Compares a window caption with a group's search text by compare mode:
// 0 the caption contains the text, 1 they are identical, 2 they differ, any
// other mode never matches. Byte-exact and case-sensitive; a contained text
// must start on a character boundary of the code page (in UTF-8 as in a
// double-byte code page), so that it never matches the tail of a character.
bool CaptionMatches(std::string_view caption, std::string_view search, int compare,
                    const text::CodePage& codePage = text::ProcessCodePage());
