#include "groups/caption_match.h"

#include "groups/windows_group.h"

namespace {

bool Contains(std::string_view caption, std::string_view search, const LeadByteTest& isLeadByte) {
    if (search.size() > caption.size()) return false;
    const std::size_t last = caption.size() - search.size();
    std::size_t pos = 0;
    while (pos <= last) {
        if (caption.compare(pos, search.size(), search) == 0) return true;
        // A trail byte can look like any single-byte character; stepping
        // over whole characters keeps a match from starting inside one. A
        // lead byte at the very end has no trail and counts as one byte.
        const bool lead = isLeadByte && isLeadByte(static_cast<unsigned char>(caption[pos]));
        pos += lead && pos + 1 < caption.size() ? 2 : 1;
    }
    return false;
}

}  // namespace

bool CaptionMatches(std::string_view caption, std::string_view search, int compare, const LeadByteTest& isLeadByte) {
    caption = caption.substr(0, kCaptionMaxLength);
    switch (compare) {
        case GROUP_COMPARE_INCLUDE: return Contains(caption, search, isLeadByte);
        case GROUP_COMPARE_EQUAL: return caption == search;
        case GROUP_COMPARE_NOT_EQUAL: return caption != search;
        default: return false;
    }
}
