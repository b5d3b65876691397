#pragma once
#include <functional>
#include <string_view>

// Whether a byte opens a two-byte character in the system's ANSI code page
// (IsDBCSLeadByte). Null stands for a single-byte code page.
using LeadByteTest = std::function<bool(unsigned char)>;

// A caption is read into a buffer of 1024 characters: only its first 1023
// characters take part in a comparison.
inline constexpr int kCaptionBufferSize = 1024;
inline constexpr std::size_t kCaptionMaxLength = kCaptionBufferSize - 1;

// Compares a window caption with a group's search text by compare mode:
// 0 the caption contains the text, 1 they are identical, 2 they differ, any
// other mode never matches. Byte-exact and case-sensitive; in a double-byte
// code page a contained text must start on a character boundary.
bool CaptionMatches(std::string_view caption, std::string_view search, int compare,
                    const LeadByteTest& isLeadByte = nullptr);
