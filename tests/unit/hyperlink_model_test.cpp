#include <gtest/gtest.h>

#include <string>

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

TEST(ErrorTable, EveryKnownCodeHasItsText) {
    EXPECT_EQ(ErrorMessage(0), "Can't open link:\n\nThe operating system is out\nof memory or resources.");
    EXPECT_EQ(ErrorMessage(2), "Can't open link:\n\nThe specified file was not found.");
    EXPECT_EQ(ErrorMessage(3), "Can't open link:\n\nThe specified path was not found.");
    EXPECT_EQ(ErrorMessage(5), "Can't open link:\n\nThe operating system denied\naccess to the specified file.");
    EXPECT_EQ(ErrorMessage(8), "Can't open link:\n\nThere was not enough memory to complete the operation.");
    EXPECT_EQ(ErrorMessage(11),
              "Can't open link:\n\nThe .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    EXPECT_EQ(ErrorMessage(26), "Can't open link:\n\nA sharing violation occurred. ");
    EXPECT_EQ(ErrorMessage(27), "Can't open link:\n\nThe filename association is\nincomplete or invalid.");
    EXPECT_EQ(ErrorMessage(28),
              "Can't open link:\n\nThe DDE transaction could not\nbe completed because the request timed out.");
    EXPECT_EQ(ErrorMessage(29), "Can't open link:\n\nThe DDE transaction failed.");
    EXPECT_EQ(ErrorMessage(30),
              "Can't open link:\n\nThe DDE transaction could not\nbe completed because other DDE "
              "transactions\nwere being processed.");
    EXPECT_EQ(ErrorMessage(31),
              "Can't open link:\n\nThere is no application associated\nwith the given filename extension.");
    EXPECT_EQ(ErrorMessage(32), "Can't open link:\n\nThe specified dynamic-link library was not found.");
}

TEST(ErrorTable, OtherCodesAreUnknownWithTheCodeInDecimal) {
    EXPECT_EQ(ErrorMessage(1), "Can't open link:\n\nUnknown Error (1) occurred.");
    EXPECT_EQ(ErrorMessage(33), "Can't open link:\n\nUnknown Error (33) occurred.");
    EXPECT_EQ(ErrorMessage(-5), "Can't open link:\n\nUnknown Error (-5) occurred.");
    EXPECT_EQ(ErrorText(4), nullptr);
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

TEST(LinkOptions, UnderlineAutosizeAndFocusOnClick) { EXPECT_EQ(kDefaultOptions, 0x15u); }

}  // namespace
