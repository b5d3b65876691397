#include "groups/window_match.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// A character as one number: a Unicode code point in UTF-8, a byte or a
// lead and trail byte pair elsewhere; a byte that opens no character stands
// for itself, apart from every code point.
using Char = std::uint32_t;
constexpr Char kStray = 0x80000000u;
constexpr Char kPair = 0x40000000u;
// Pattern tokens beside the characters.
constexpr Char kStar = 0xFFFFFFFFu;
constexpr Char kOne = 0xFFFFFFFEu;

// Upper case to lower case, by the simple pairs of the scripts named in the
// header. Ranges of alternating pairs fold the upper (even or odd) member.
Char FoldCodePoint(Char c) {
    struct Offset {
        Char first, last;
        int delta;
    };
    static constexpr Offset kOffsets[] = {
        {'A', 'Z', 32},       {0x00C0, 0x00D6, 32}, {0x00D8, 0x00DE, 32}, {0x0388, 0x038A, 37},
        {0x038E, 0x038F, 63}, {0x0391, 0x03A1, 32}, {0x03A3, 0x03AB, 32}, {0x0400, 0x040F, 80},
        {0x0410, 0x042F, 32}, {0x0531, 0x0556, 48}, {0xFF21, 0xFF3A, 32},
    };
    struct Pairs {
        Char first, last;  // first is the upper member of the first pair
    };
    static constexpr Pairs kPairs[] = {
        {0x0100, 0x012F}, {0x0132, 0x0137}, {0x0139, 0x0148}, {0x014A, 0x0177}, {0x0179, 0x017E},
        {0x0460, 0x0481}, {0x048A, 0x04BF}, {0x04C1, 0x04CE}, {0x04D0, 0x052F}, {0x1E00, 0x1E95},
        {0x1EA0, 0x1EFF},
    };
    if (c < 'A') return c;
    for (const Offset& o : kOffsets)
        if (c >= o.first && c <= o.last) return c + static_cast<Char>(o.delta);
    for (const Pairs& p : kPairs)
        if (c >= p.first && c <= p.last) return ((c - p.first) % 2 == 0) ? c + 1 : c;
    switch (c) {
        case 0x0178: return 0x00FF;  // Ÿ
        case 0x0386: return 0x03AC;  // Ά
        case 0x038C: return 0x03CC;  // Ό
        case 0x03C2: return 0x03C3;  // final sigma
        default: return c;
    }
}

Char DecodeUtf8(std::string_view s, std::size_t pos, std::size_t length) {
    const auto byte = [&](std::size_t i) { return static_cast<Char>(static_cast<unsigned char>(s[pos + i])); };
    switch (length) {
        case 2: return ((byte(0) & 0x1F) << 6) | (byte(1) & 0x3F);
        case 3: return ((byte(0) & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        case 4: return ((byte(0) & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F);
        default: return byte(0);
    }
}

// The characters of s, folded; with wildcards, "*" and "?" become tokens.
std::vector<Char> Characters(std::string_view s, const text::CodePage& cp, bool wildcards) {
    std::vector<Char> chars;
    chars.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t length = cp.CharLength(s, pos);
        const auto first = static_cast<unsigned char>(s[pos]);
        Char c;
        if (length == 1) {
            if (wildcards && first == '*') c = kStar;
            else if (wildcards && first == '?') c = kOne;
            else if (first < 0x80) c = FoldCodePoint(first);
            // A lone byte beyond ASCII: a letter of a single-byte code page
            // (compared exactly), or a byte UTF-8 does not take.
            else c = cp.IsUtf8() ? (kStray | first) : first;
        } else if (cp.IsUtf8()) {
            c = FoldCodePoint(DecodeUtf8(s, pos, length));
        } else {
            c = kPair | (static_cast<Char>(first) << 8) | static_cast<unsigned char>(s[pos + 1]);
        }
        chars.push_back(c);
        pos += length;
    }
    return chars;
}

// The usual walk with one way back: to the last star, which then takes one
// character more. Its cost stays within the product of the two lengths.
bool Match(const std::vector<Char>& pattern, const std::vector<Char>& text) {
    std::size_t p = 0, t = 0;
    std::size_t starAt = std::string::npos, starText = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == kOne || pattern[p] == text[t])) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == kStar) {
            starAt = p++;
            starText = t;
        } else if (starAt != std::string::npos) {
            p = starAt + 1;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == kStar) ++p;
    return p == pattern.size();
}

constexpr Char kBackslash = '\\';

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text, const text::CodePage& codePage) {
    return Match(Characters(pattern, codePage, true), Characters(text, codePage, false));
}

bool IsAnyName(std::string_view pattern) { return pattern.find_first_not_of('*') == std::string_view::npos; }

bool ProgramMatches(std::string_view pattern, const std::optional<std::string>& imagePath,
                    const text::CodePage& codePage) {
    if (IsAnyName(pattern)) return true;
    if (!imagePath) return false;
    const std::vector<Char> wanted = Characters(pattern, codePage, true);
    const bool wholePath = std::find(wanted.begin(), wanted.end(), kBackslash) != wanted.end();
    return Match(wanted, Characters(wholePath ? *imagePath : FileNameOf(*imagePath, codePage), codePage, false));
}

std::string FileNameOf(std::string_view path, const text::CodePage& codePage) {
    std::size_t name = 0;
    for (std::size_t pos = 0; pos < path.size(); pos = text::NextBoundary(path, pos, codePage))
        if (path[pos] == '\\' && codePage.CharLength(path, pos) == 1) name = pos + 1;
    return std::string(path.substr(name));
}

bool AsksCaption(const WindowCriteria& c) {
    return !c.search.empty() || (IsAnyName(c.program) && IsAnyName(c.className));
}

bool NamesWindows(const WindowCriteria& c) {
    if (!IsAnyName(c.program) || !IsAnyName(c.className)) return true;
    return !c.search.empty() && (c.compare == GROUP_COMPARE_INCLUDE || c.compare == GROUP_COMPARE_EQUAL);
}

bool Matches(const WindowCriteria& c, const WindowFacts& facts) {
    if (!IsAnyName(c.className) && !WildcardMatch(c.className, facts.className())) return false;
    if (!IsAnyName(c.program) && !ProgramMatches(c.program, facts.image())) return false;
    if (AsksCaption(c) && !CaptionMatches(facts.caption(), c.search, c.compare)) return false;
    return true;
}
