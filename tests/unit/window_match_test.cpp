#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "groups/window_match.h"
#include "groups/windows_group.h"

namespace {

const text::CodePage kUtf8 = text::CodePage::Utf8();
const text::CodePage kSingleByte;
// Shift-JIS: lead bytes 0x81-0x9F and 0xE0-0xFC; trail bytes may be 0x5C.
const text::CodePage kShiftJis{[](unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }};

struct WildcardCase {
    const char* pattern;
    const char* text;
    bool matches;
    const text::CodePage* codePage = &kUtf8;
};

TEST(Wildcards, StarsQuestionMarksAndLetterCase) {
    const WildcardCase cases[] = {
        {"chrome.exe", "chrome.exe", true},
        {"chrome.exe", "CHROME.EXE", true},
        {"Chrome.Exe", "chrome.exe", true},
        {"chrome.exe", "chrome.exe.bak", false},
        {"chrome.exe", "xchrome.exe", false},
        {"*", "", true},
        {"*", "anything", true},
        {"", "", true},
        {"", "a", false},
        {"?", "", false},
        {"?", "a", true},
        {"?", "ab", false},
        {"c*e", "chrome", true},
        {"c*e", "chromex", false},
        {"*.exe", "note.pad.exe", true},
        {"*pad*", "Notepad++", true},
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXcYb", false},
        {"**a**", "bab", true},
        {"?ote*", "Notepad", true},
        {"??", "é", false},  // one character of two bytes is one "?"
        {"?", "é", true},
        {"?", "😀", true},
        // A star is a wildcard in the pattern, a letter in the text.
        {"a*", "a*", true},
        {"a\\*", "a*", false},
        // Letters beyond ASCII fold in UTF-8: Latin-1, Latin Extended-A,
        // Greek with its final sigma, Cyrillic, Armenian, full-width Latin.
        {"ÉDITEUR", "éditeur", true},
        {"Łódź", "ŁÓDŹ", true},
        {"ΟΔΥΣΣΕΥΣ", "οδυσσευς", true},
        {"οδυσσευς", "ΟΔΥΣΣΕΥΣ", true},
        {"ПРИВЕТ", "привет", true},
        {"ЁЖ", "ёж", true},
        {"ԱԲ", "աբ", true},
        {"ＡＢＣ", "ａｂｃ", true},
        // Not folded: ß and ẞ, and scripts without case pairs compare exactly.
        {"STRASSE", "straße", false},
        {"日本", "日本", true},
        {"日本", "日文", false},
        // A single-byte code page folds ASCII letters only.
        {"ABC", "abc", true, &kSingleByte},
        {"\xC9", "\xE9", false, &kSingleByte},
        {"?", "\xE9", true, &kSingleByte},
        // A double-byte character is one "?", and its trail byte no letter.
        {"?", "\x83\x41", true, &kShiftJis},
        {"??", "\x83\x41", false, &kShiftJis},
        {"\x83\x61", "\x83\x41", false, &kShiftJis},
        // Bytes UTF-8 does not take stand for themselves.
        {"\xFF", "\xFF", true},
        {"?", "\xFF", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.text, *c.codePage), c.matches) << c.pattern << " / " << c.text;
}

TEST(Wildcards, APatternOfStarsAloneNamesNothing) {
    for (const char* any : {"", "*", "***"}) EXPECT_TRUE(IsAnyName(any)) << any;
    for (const char* some : {"*.exe", "?", "a*", " "}) EXPECT_FALSE(IsAnyName(some)) << some;
}

struct ProgramCase {
    const char* pattern;
    std::optional<std::string> image;
    bool matches;
    const text::CodePage* codePage = &kUtf8;
};

TEST(ProgramCriterion, TheFileNameOrWithABackslashTheWholePath) {
    const std::string chrome = "C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe";
    const ProgramCase cases[] = {
        {"chrome.exe", chrome, true},
        {"CHROME.EXE", chrome, true},
        {"chr*", chrome, true},
        {"*.exe", chrome, true},
        {"Application\\chrome.exe", chrome, false},  // a path is compared whole
        {"*\\chrome.exe", chrome, true},
        {"c:\\program files\\*\\chrome.exe", chrome, true},
        {"C:\\Program Files\\Google\\chrome.exe", chrome, false},
        {"Google", chrome, false},
        {"chrome.exe", std::string("chrome.exe"), true},  // a bare name
        // A process that could not be asked matches no criterion, but a
        // criterion of stars alone is none.
        {"chrome.exe", std::nullopt, false},
        {"*", std::nullopt, true},
        {"", std::nullopt, true},
        // In Shift-JIS "表" is 0x95 0x5C: its trail byte is no backslash.
        {"\x95\x5C.exe", std::string("C:\\\x95\x5C.exe"), true, &kShiftJis},
        {"*.exe", std::string("C:\\\x95\x5C.exe"), true, &kShiftJis},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramMatches(c.pattern, c.image, *c.codePage), c.matches) << c.pattern;
    EXPECT_EQ(FileNameOf(chrome, kUtf8), "chrome.exe");
    EXPECT_EQ(FileNameOf("C:\\\x95\x5C.exe", kShiftJis), "\x95\x5C.exe");
    EXPECT_EQ(FileNameOf("\x95\x5C", kShiftJis), "\x95\x5C");
}

// Every combination of the three criteria, each met or not, and what each
// costs: a fact is asked only when its criterion is given.
TEST(GroupCriteria, EachGivenCriterionMustHoldAndOnlyItsFactIsAsked) {
    struct Asked {
        int caption = 0, className = 0, image = 0;
    };
    const std::string caption = "Inbox - Mail", cls = "MailFrame", image = "C:\\Apps\\mail.exe";
    for (int given = 0; given < 8; ++given) {
        for (int met = 0; met < 8; ++met) {
            const bool bySearch = given & 1, byProgram = given & 2, byClass = given & 4;
            WindowCriteria c;
            c.compare = GROUP_COMPARE_INCLUDE;
            if (bySearch) c.search = (met & 1) ? "Inbox" : "Chat";
            if (byProgram) c.program = (met & 2) ? "MAIL.exe" : "chat.exe";
            if (byClass) c.className = (met & 4) ? "mail*" : "Chat*";
            Asked asked;
            const WindowFacts facts{[&] { ++asked.caption; return caption; },
                                    [&] { ++asked.className; return cls; },
                                    [&] { ++asked.image; return std::optional<std::string>(image); }};
            const bool expected = (!bySearch || (met & 1)) && (!byProgram || (met & 2)) && (!byClass || (met & 4));
            const std::string what = "given " + std::to_string(given) + " met " + std::to_string(met);
            EXPECT_EQ(Matches(c, facts), expected) << what;
            // No criterion at all is the group of an empty search text of
            // before: its caption is asked, and "Include" takes every one.
            const bool captionAsked = bySearch || (!byProgram && !byClass);
            EXPECT_LE(asked.caption, captionAsked ? 1 : 0) << what;
            EXPECT_LE(asked.image, byProgram ? 1 : 0) << what;
            EXPECT_LE(asked.className, byClass ? 1 : 0) << what;
        }
    }
}

TEST(GroupCriteria, AMatchWithoutCriteriaFollowsTheModeOfAnEmptySearch) {
    const auto matches = [](int compare, const std::string& caption) {
        WindowCriteria c;
        c.compare = compare;
        return Matches(c, WindowFacts{[&] { return caption; }, [] { return std::string("C"); },
                                      [] { return std::optional<std::string>(); }});
    };
    EXPECT_TRUE(matches(GROUP_COMPARE_INCLUDE, "Anything"));
    EXPECT_TRUE(matches(GROUP_COMPARE_EQUAL, ""));
    EXPECT_FALSE(matches(GROUP_COMPARE_EQUAL, "Anything"));
    EXPECT_FALSE(matches(7, "Anything"));
}

TEST(GroupCriteria, WhatNamesItsWindowsForAGroupThatHidesThemAsTheyAppear) {
    const struct {
        WindowCriteria criteria;
        bool names;
    } cases[] = {
        {{"", GROUP_COMPARE_INCLUDE, "", ""}, false},
        {{"x", GROUP_COMPARE_INCLUDE, "", ""}, true},
        {{"x", GROUP_COMPARE_EQUAL, "", ""}, true},
        {{"x", GROUP_COMPARE_NOT_EQUAL, "", ""}, false},
        {{"x", 9, "", ""}, false},
        {{"", GROUP_COMPARE_INCLUDE, "chrome.exe", ""}, true},
        {{"x", GROUP_COMPARE_NOT_EQUAL, "chrome.exe", ""}, true},
        {{"", GROUP_COMPARE_INCLUDE, "", "Chrome_WidgetWin_1"}, true},
        {{"", GROUP_COMPARE_INCLUDE, "**", "*"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesWindows(c.criteria), c.names) << c.criteria.search << "|" << c.criteria.program << "|"
                                                     << c.criteria.className << "|" << c.criteria.compare;
}

}  // namespace
