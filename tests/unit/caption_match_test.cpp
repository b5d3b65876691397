#include <gtest/gtest.h>

#include <set>

#include "groups/caption_match.h"
#include "groups/windows_group.h"

namespace {

TEST(CaptionMatch, IncludeFindsTheTextAnywhereButOnlyInItsOwnCase) {
    const std::string caption = "Notes - Notepad";
    EXPECT_TRUE(CaptionMatches(caption, "Notes", GROUP_COMPARE_INCLUDE));
    EXPECT_TRUE(CaptionMatches(caption, "s - N", GROUP_COMPARE_INCLUDE));
    EXPECT_TRUE(CaptionMatches(caption, "Notepad", GROUP_COMPARE_INCLUDE));
    EXPECT_TRUE(CaptionMatches(caption, caption, GROUP_COMPARE_INCLUDE));
    EXPECT_FALSE(CaptionMatches(caption, "notepad", GROUP_COMPARE_INCLUDE));
    EXPECT_FALSE(CaptionMatches(caption, "Notepad ", GROUP_COMPARE_INCLUDE));
    EXPECT_FALSE(CaptionMatches("Note", "Notes", GROUP_COMPARE_INCLUDE));
    // The empty text is in every caption, the empty one too.
    EXPECT_TRUE(CaptionMatches(caption, "", GROUP_COMPARE_INCLUDE));
    EXPECT_TRUE(CaptionMatches("", "", GROUP_COMPARE_INCLUDE));
    EXPECT_FALSE(CaptionMatches("", "x", GROUP_COMPARE_INCLUDE));
}

TEST(CaptionMatch, EqualAndNotEqualCompareWholeCaptionsExactly) {
    EXPECT_TRUE(CaptionMatches("Calculator", "Calculator", GROUP_COMPARE_EQUAL));
    EXPECT_FALSE(CaptionMatches("Calculator ", "Calculator", GROUP_COMPARE_EQUAL));
    EXPECT_FALSE(CaptionMatches("calculator", "Calculator", GROUP_COMPARE_EQUAL));
    EXPECT_FALSE(CaptionMatches("Calc", "Calculator", GROUP_COMPARE_EQUAL));
    EXPECT_FALSE(CaptionMatches("Calculator", "Calculator", GROUP_COMPARE_NOT_EQUAL));
    EXPECT_TRUE(CaptionMatches("Calculator ", "Calculator", GROUP_COMPARE_NOT_EQUAL));
    // Texts with zero bytes inside are compared whole.
    EXPECT_FALSE(CaptionMatches(std::string("a\0b", 3), std::string("a\0c", 3), GROUP_COMPARE_EQUAL));
}

TEST(CaptionMatch, OtherModesMatchNothing) {
    for (int mode : {-1, 3, 7, -2147483647 - 1, 2147483647}) {
        EXPECT_FALSE(CaptionMatches("x", "x", mode)) << mode;
        EXPECT_FALSE(CaptionMatches("x", "", mode)) << mode;
        EXPECT_FALSE(CaptionMatches("x", "y", mode)) << mode;
    }
}

TEST(CaptionMatch, OnlyTheFirst1023CharactersCount) {
    const std::string caption = std::string(1023, 'a') + "TAIL";
    EXPECT_FALSE(CaptionMatches(caption, "TAIL", GROUP_COMPARE_INCLUDE));
    EXPECT_FALSE(CaptionMatches(caption, "aT", GROUP_COMPARE_INCLUDE));
    EXPECT_TRUE(CaptionMatches(caption, std::string(1023, 'a'), GROUP_COMPARE_EQUAL));
    EXPECT_FALSE(CaptionMatches(caption, std::string(1023, 'a'), GROUP_COMPARE_NOT_EQUAL));
    EXPECT_TRUE(CaptionMatches(std::string(1022, 'a') + "Z", "aZ", GROUP_COMPARE_INCLUDE));
    // A search text longer than any caption can be only differs.
    const std::string longSearch(5000, 'a');
    EXPECT_FALSE(CaptionMatches(std::string(5000, 'a'), longSearch, GROUP_COMPARE_EQUAL));
    EXPECT_TRUE(CaptionMatches(std::string(5000, 'a'), longSearch, GROUP_COMPARE_NOT_EQUAL));
}

TEST(CaptionMatch, InADoubleByteCodePageAMatchStartsOnACharacterBoundary) {
    // Shift-JIS style: 0x83 opens a two-byte character whose trail byte here
    // is 'A'. Searching "AB" must not find the trail byte.
    const std::set<unsigned char> leads = {0x83, 0x82};
    const LeadByteTest isLead = [&](unsigned char c) { return leads.count(c) > 0; };
    const std::string caption = "x\x83" "AB";
    EXPECT_TRUE(CaptionMatches(caption, "AB", GROUP_COMPARE_INCLUDE)) << "single-byte code page";
    EXPECT_FALSE(CaptionMatches(caption, "AB", GROUP_COMPARE_INCLUDE, isLead));
    EXPECT_TRUE(CaptionMatches(caption, "B", GROUP_COMPARE_INCLUDE, isLead));
    EXPECT_TRUE(CaptionMatches(caption, "\x83" "A", GROUP_COMPARE_INCLUDE, isLead));
    // Two double-byte characters in a row: the boundary after the first.
    EXPECT_TRUE(CaptionMatches("\x82\x83\x83\x41", "\x83\x41", GROUP_COMPARE_INCLUDE, isLead));
    EXPECT_FALSE(CaptionMatches("\x82\x83\x41", "\x83\x41", GROUP_COMPARE_INCLUDE, isLead));
    // A lead byte at the very end has no trail byte and is still reached.
    EXPECT_TRUE(CaptionMatches("ab\x83", "\x83", GROUP_COMPARE_INCLUDE, isLead));
    EXPECT_TRUE(CaptionMatches("\x83", "", GROUP_COMPARE_INCLUDE, isLead));
}

}  // namespace
