#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/command_line.h"
#include "res/resource.h"
#include "ui/hyperlink_model.h"

using namespace hyperlink;

namespace {

const std::string kUrl = "http://www.tarnvell.example";

TEST(FallbackCommand, ThePlaceholderIsCutAndTheAddressFollowsInQuotes) {
    const struct {
        const char* browser;
        const char* line;
    } cases[] = {
        {"C:\\Browser\\browse.exe \"%1\"", "C:\\Browser\\browse.exe  \"http://www.tarnvell.example\""},
        {"\"C:\\Program Files\\B\\b.exe\" -new \"%1\" -x",
         "\"C:\\Program Files\\B\\b.exe\" -new  \"http://www.tarnvell.example\""},
        {"browse.exe %1", "browse.exe  \"http://www.tarnvell.example\""},
        {"browse.exe -url=%1 -tail", "browse.exe -url= \"http://www.tarnvell.example\""},
        // Without a placeholder the whole command is kept.
        {"browse.exe -nohome", "browse.exe -nohome \"http://www.tarnvell.example\""},
        {"", " \"http://www.tarnvell.example\""},
    };
    for (const auto& c : cases) EXPECT_EQ(FallbackCommand(c.browser, kUrl), c.line) << c.browser;
}

// The browser splits the line as the C runtime does (SplitCommandLine): it
// gets one argument, the address, a quote in it written as in a URL.
TEST(FallbackCommand, AnAddressNeverLeavesItsQuotes) {
    const struct {
        const char* address;
        const char* quoted;
        const char* argument;
    } cases[] = {
        {"http://x/a b", "\"http://x/a b\"", "http://x/a b"},
        {"http://x/?q=\"a\" & calc.exe", "\"http://x/?q=%22a%22 & calc.exe\"", "http://x/?q=%22a%22 & calc.exe"},
        {"http://x/\" -evil \"", "\"http://x/%22 -evil %22\"", "http://x/%22 -evil %22"},
        // A trailing backslash would make the closing quote a literal one.
        {"C:\\pages\\", "\"C:\\pages\\\\\"", "C:\\pages\\"},
        {"C:\\pages\\\\", "\"C:\\pages\\\\\\\\\"", "C:\\pages\\\\"},
        {"C:\\a\\b.htm", "\"C:\\a\\b.htm\"", "C:\\a\\b.htm"},
        {"", "\"\"", ""},
    };
    for (const auto& c : cases) {
        const auto line = FallbackCommand("b.exe", c.address);
        ASSERT_TRUE(line) << c.address;
        EXPECT_EQ(*line, std::string("b.exe ") + c.quoted) << c.address;
        EXPECT_EQ(SplitCommandLine(*line), std::vector<std::string>{c.argument}) << c.address;
    }
}

TEST(FallbackCommand, ALineThatDoesNotFitIsRefusedNotCut) {
    // 519 characters and the terminator fill the 520 of the buffer exactly.
    const std::string program(200, 'p');
    const std::string fits(519 - 204, 'a');  // the program, its blank, one more blank, two quotes
    const auto line = FallbackCommand(program + " \"%1\"", fits);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->size(), 519u);
    EXPECT_FALSE(FallbackCommand(program + " \"%1\"", fits + "a"));
    // What the quoting adds counts: a quote takes three characters.
    EXPECT_FALSE(FallbackCommand(program + " \"%1\"", fits.substr(2) + "\""));
    // A long registry value alone, or a long address alone.
    EXPECT_FALSE(FallbackCommand(std::string(600, 'p'), kUrl));
    EXPECT_FALSE(FallbackCommand("browse.exe", std::string(2000, 'u')));
    // Only the kept part counts, not what followed the placeholder.
    EXPECT_TRUE(FallbackCommand("browse.exe \"%1\"" + std::string(600, 'x'), kUrl));
}

TEST(FallbackErrorCode, TheSystemsErrorWhereTheLinkHasItsTextOtherwiseTheShells) {
    for (unsigned long error : {2ul, 3ul, 5ul, 8ul, 11ul}) EXPECT_EQ(FallbackErrorCode(error, 31), static_cast<int>(error));
    // 32 is a sharing violation for the system, a missing library for the shell.
    for (unsigned long error : {0ul, 1ul, 32ul, 193ul, 1155ul}) EXPECT_EQ(FallbackErrorCode(error, 31), 31) << error;
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
