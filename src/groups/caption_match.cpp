#include "groups/caption_match.h"

namespace {

bool Contains(std::string_view caption, std::string_view search, const text::CodePage& codePage) {
    if (search.size() > caption.size()) return false;
    const std::size_t last = caption.size() - search.size();
    // A trail byte can look like any single-byte character, and in UTF-8 a
    // malformed search text could start inside a sequence; stepping over
    // whole characters keeps a match from starting inside one.
    for (std::size_t pos = 0; pos <= last; pos = text::NextBoundary(caption, pos, codePage)) {
        if (caption.compare(pos, search.size(), search) == 0) return true;
        if (pos == caption.size()) break;
    }
    return false;
}

}  // namespace

bool CaptionMatches(std::string_view caption, std::string_view search, int compare, const text::CodePage& codePage) {
    caption = caption.substr(0, text::PrefixOfChars(caption, kCaptionMaxChars, codePage));
    switch (compare) {
        case GROUP_COMPARE_INCLUDE: return Contains(caption, search, codePage);
        case GROUP_COMPARE_EQUAL: return caption == search;
        case GROUP_COMPARE_NOT_EQUAL: return caption != search;
        default: return false;
    }
}
