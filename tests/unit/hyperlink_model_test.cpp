#include <gtest/gtest.h>

#include <string>

#include "res/resource.h"
#include "ui/hyperlink_model.h"

using namespace hyperlink;

namespace {

const std::string kUrl = "http://www.tarnvell.example";

TEST(FallbackCommand, QuotedPlaceholderIsCutAndTheAddressFollowsUnquoted) {
    EXPECT_EQ(FallbackCommand("C:\\Browser\\browse.exe \"%1\"", kUrl),
              "C:\\Browser\\browse.exe  http://www.tarnvell.example");
    EXPECT_EQ(FallbackCommand("\"C:\\Program Files\\B\\b.exe\" -new \"%1\" -x", kUrl),
              "\"C:\\Program Files\\B\\b.exe\" -new  http://www.tarnvell.example");
}

TEST(FallbackCommand, BarePlaceholderIsCut) {
    EXPECT_EQ(FallbackCommand("browse.exe %1", kUrl), "browse.exe  http://www.tarnvell.example");
    EXPECT_EQ(FallbackCommand("browse.exe -url=%1 -tail", kUrl), "browse.exe -url= http://www.tarnvell.example");
}

TEST(FallbackCommand, WithoutPlaceholderTheWholeCommandIsKept) {
    EXPECT_EQ(FallbackCommand("browse.exe -nohome", kUrl), "browse.exe -nohome http://www.tarnvell.example");
    EXPECT_EQ(FallbackCommand("", kUrl), " http://www.tarnvell.example");
}

TEST(FallbackCommand, ALineThatDoesNotFitIsRefusedNotCut) {
    // 519 characters and the terminator fill the 520 of the buffer exactly.
    const std::string program(200, 'p');
    const std::string fits(519 - 202, 'a');  // the program, its blank, one more blank
    const auto line = FallbackCommand(program + " \"%1\"", fits);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->size(), 519u);
    EXPECT_FALSE(FallbackCommand(program + " \"%1\"", fits + "a"));
    // A long registry value alone, or a long address alone.
    EXPECT_FALSE(FallbackCommand(std::string(600, 'p'), kUrl));
    EXPECT_FALSE(FallbackCommand("browse.exe", std::string(2000, 'u')));
    // Only the kept part counts, not what followed the placeholder.
    EXPECT_TRUE(FallbackCommand("browse.exe \"%1\"" + std::string(600, 'x'), kUrl));
}

TEST(ErrorMessage, AKnownCodeGetsItsTextAndAnyOtherTheUnknownOneWithTheCode) {
    // Texts stand in by their identifiers: what matters is which are put
    // together, and how.
    const auto load = [](unsigned id) { return id == IDS_LINK_UNKNOWN ? std::string("?%d?") : std::to_string(id); };
    const std::string head = std::to_string(IDS_LINK_CANT_OPEN) + "\n\n";
    for (int code : {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32})
        EXPECT_EQ(ErrorMessage(code, load), head + std::to_string(IDS_LINK_ERROR_BASE + code)) << code;
    for (int code : {1, 4, 33, -5}) EXPECT_EQ(ErrorMessage(code, load), head + "?" + std::to_string(code) + "?");
}

TEST(LinkColours, ActiveBeatsVisitedBeatsLink) {
    EXPECT_EQ(TextColour(false, false), 0x00FF0000u);
    EXPECT_EQ(TextColour(false, true), 0x00800080u);
    EXPECT_EQ(TextColour(true, false), 0x00808000u);
    EXPECT_EQ(TextColour(true, true), 0x00808000u);
}

TEST(FitToText, PlainStaticKeepsLeftAndTop) {
    const Rect r{10, 20, 110, 40};
    EXPECT_EQ(FitToText(r, r, 60, 13, 0), (Rect{10, 20, 70, 33}));
}

TEST(FitToText, RightAndCentredText) {
    const Rect r{10, 20, 110, 40};
    EXPECT_EQ(FitToText(r, r, 60, 13, kStyleRight), (Rect{50, 20, 110, 33}));
    EXPECT_EQ(FitToText(r, r, 60, 13, kStyleCenter), (Rect{30, 20, 90, 33}));
    // Half the difference, rounded toward zero, from both sides.
    EXPECT_EQ(FitToText(r, r, 61, 13, kStyleCenter | kStyleCenterImage), (Rect{29, 23, 91, 37}));
}

TEST(FitToText, TheBorderStaysAroundTheText) {
    const Rect window{10, 20, 112, 42};
    const Rect client{11, 21, 111, 41};
    EXPECT_EQ(FitToText(window, client, 60, 13, 0), (Rect{10, 20, 72, 35}));
}

}  // namespace
