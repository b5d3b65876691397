#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/command_line.h"
#include "engine/command_table.h"
#include "engine_steps.h"
#include "groups/windows_group.h"
#include "ui/dialog_model.h"

namespace {

using Args = std::vector<std::string>;
using Kind = ParsedCommandLine::Kind;

ParsedCommandLine Parse(const Args& args) { return ParseCommandLine(args, IsValidUtf8); }

void ExpectUsage(const Args& args, UsageError error) {
    const ParsedCommandLine parsed = Parse(args);
    EXPECT_EQ(parsed.kind, Kind::Usage) << args[0];
    EXPECT_EQ(parsed.error, error) << args[0];
}

TEST(CommandLineSplit, BlanksSeparateAndTheProgramNameIsDropped) {
    EXPECT_EQ(SplitCommandLine("Tarnvell.exe"), Args{});
    EXPECT_EQ(SplitCommandLine("Tarnvell.exe   "), Args{});
    EXPECT_EQ(SplitCommandLine("Tarnvell.exe /hide-all"), Args{"/hide-all"});
    EXPECT_EQ(SplitCommandLine("Tarnvell.exe\t/hide-group \t Mail"), (Args{"/hide-group", "Mail"}));
    // A quoted program path may hold blanks; its backslashes are literal.
    EXPECT_EQ(SplitCommandLine(R"("C:\Program Files\Tarnvell\Tarnvell.exe" /exit)"), Args{"/exit"});
    EXPECT_EQ(SplitCommandLine(R"(C:\a\"b c"\Tarnvell.exe x)"), Args{"x"});
}

TEST(CommandLineSplit, QuotesAndBackslashesFollowTheRuntimeRules) {
    EXPECT_EQ(SplitCommandLine(R"(t /hide-group "My Mail")"), (Args{"/hide-group", "My Mail"}));
    EXPECT_EQ(SplitCommandLine(R"(t a"b c"d)"), Args{"ab cd"});
    EXPECT_EQ(SplitCommandLine(R"(t "")"), Args{""});
    EXPECT_EQ(SplitCommandLine(R"(t "a""b")"), Args{"a\"b"});
    EXPECT_EQ(SplitCommandLine(R"(t a\\b)"), Args{R"(a\\b)"});
    EXPECT_EQ(SplitCommandLine(R"(t a\"b)"), Args{R"(a"b)"});
    EXPECT_EQ(SplitCommandLine(R"(t a\\"b c")"), Args{R"(a\b c)"});
    EXPECT_EQ(SplitCommandLine(R"(t a\\\"b)"), Args{R"(a\"b)"});
    EXPECT_EQ(SplitCommandLine(R"(t "open)"), Args{"open"});
    EXPECT_EQ(SplitCommandLine(R"(t "C:\dir\\" x)"), (Args{R"(C:\dir\)", "x"}));
}

TEST(CommandLineParse, NoArgumentStartsAsAlways) { EXPECT_EQ(Parse({}).kind, Kind::None); }

TEST(CommandLineParse, EveryCommandInEitherPrefixAndAnyCase) {
    const struct {
        const char* text;
        Verb verb;
    } cases[] = {{"/hide-window", Verb::HideWindow}, {"-SHOW-WINDOW", Verb::ShowWindow},
                 {"/Hide-All", Verb::HideAll},       {"-show-all", Verb::ShowAll},
                 {"/toggle-WINDOW", Verb::ToggleWindow}, {"-Toggle-All", Verb::ToggleAll},
                 {"/EXIT", Verb::Exit}};
    for (const auto& c : cases) {
        const ParsedCommandLine parsed = Parse({c.text});
        ASSERT_EQ(parsed.kind, Kind::Run) << c.text;
        EXPECT_EQ(parsed.command, (Command{c.verb})) << c.text;
    }
    EXPECT_EQ(Parse({"/Hide-Group", "Mail Box"}).command, (Command{Verb::HideGroup, -1, "Mail Box"}));
    EXPECT_EQ(Parse({"-show-group", "x"}).command, (Command{Verb::ShowGroup, -1, "x"}));
    EXPECT_EQ(Parse({"/TOGGLE-GROUP", "x"}).command, (Command{Verb::ToggleGroup, -1, "x"}));
    // The group name keeps its case and blanks: names compare exactly.
    EXPECT_EQ(Parse({"/hide-group", " MiXed "}).command.groupName, " MiXed ");
    EXPECT_EQ(Parse({"/help"}).kind, Kind::Help);
    EXPECT_EQ(Parse({"-HELP"}).kind, Kind::Help);
    EXPECT_EQ(Parse({"/?"}).kind, Kind::Help);
}

TEST(CommandLineParse, UnknownCommands) {
    for (const char* text : {"hide-all", "/", "-", "", "/hideall", "/hide-all-", "//hide-all", "--hide-all",
                             "/hide_all", "/hide-grou", "\\hide-all", "/exit\t"})
        ExpectUsage({text}, UsageError::UnknownCommand);
    // A group name alone is no command.
    ExpectUsage({"Mail", "/hide-all"}, UsageError::UnknownCommand);
}

TEST(CommandLineParse, MissingAndExtraArguments) {
    for (const char* text : {"/hide-group", "/show-group", "/toggle-group"}) {
        ExpectUsage({text}, UsageError::MissingArgument);
        ExpectUsage({text, ""}, UsageError::MissingArgument);
        ExpectUsage({text, "a", "b"}, UsageError::ExtraArgument);
    }
    for (const char* text : {"/hide-window", "/show-window", "/hide-all", "/show-all", "/toggle-window",
                             "/toggle-all", "/exit", "/help"}) {
        ExpectUsage({text, "x"}, UsageError::ExtraArgument);
        ExpectUsage({text, ""}, UsageError::ExtraArgument);
    }
}

std::optional<Command> Decode(const std::vector<std::uint8_t>& data, std::uintptr_t magic = kCopyDataMagic);

// A name's limit counts characters, whatever their width: the command line,
// the record another copy sends and the Group dialog agree.
TEST(CommandLineParse, GroupNameUpToTheLimitInCharactersOfAnyScript) {
    const ScopedCodePage utf8(text::CodePage::Utf8());
    for (const std::string unit : {"n", "\xE6\x97\xA5", "\xF0\x9F\x98\x80"}) {  // n, 日, 😀
        std::string longest;
        for (std::size_t i = 0; i < GROUP_NAME_MAX_CHARS; ++i) longest += unit;
        EXPECT_EQ(Parse({"/hide-group", longest}).command.groupName, longest) << unit;
        ExpectUsage({"/hide-group", longest + unit}, UsageError::NameTooLong);
        const Command named{Verb::ShowGroup, -1, longest};
        EXPECT_EQ(Decode(EncodeRemoteCommand(named)), named) << unit;
        EXPECT_FALSE(Decode(EncodeRemoteCommand({Verb::ShowGroup, -1, longest + unit}))) << unit;
        EXPECT_EQ(CheckTyped(longest, "search"), std::nullopt) << unit;
        EXPECT_EQ(CheckTyped(longest + unit, "search"), IDS_GROUP_NAME_TOO_LONG) << unit;
    }
}

TEST(CommandLineParse, TextInvalidInTheCodePageChangesNothing) {
    ExpectUsage({"/hide-group", "caf\xC3"}, UsageError::InvalidText);
    ExpectUsage({"/hide-group", "\xC0\xAF"}, UsageError::InvalidText);
    // Even in an argument that would be an error of its own kind.
    ExpectUsage({"/hide-all", "\xFF"}, UsageError::InvalidText);
    EXPECT_EQ(Parse({"/hide-group", "caf\xC3\xA9"}).command.groupName, "caf\xC3\xA9");
    // In a code page where every byte is a character, the same bytes pass.
    const auto parsed = ParseCommandLine({"/hide-group", "caf\xC3"}, [](std::string_view) { return true; });
    EXPECT_EQ(parsed.kind, Kind::Run);
}

TEST(Utf8Check, RejectsEveryMalformedForm) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF \xED\x9F\xBF"));
    for (const char* bad : {"\x80", "\xC2", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF0\x8F\xBF\xBF",
                            "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xE2\x82", "\xE2\x28\xA1", "\xFE"})
        EXPECT_FALSE(IsValidUtf8(bad)) << static_cast<int>(static_cast<unsigned char>(bad[0]));
}

TEST(Utf16Check, ALoneSurrogateInAnArgumentIsInvalidAndTheProgramNameIsNeverJudged) {
    const struct {
        std::u16string line;
        bool valid;
    } cases[] = {
        {u"Tarnvell.exe", true},
        {u"Tarnvell.exe /hide-group caf\u00E9", true},
        {u"t /hide-group \xD83D\xDE00", true},  // a pair: U+1F600
        {u"t /hide-group Adv\xD800Grp", false},
        {u"t /hide-group \xDC00", false},
        {u"t /hide-group x\xD800", false},        // high at the end
        {u"t /hide-group \xD800\xD800\xDC00", false},  // high, then a pair
        {u"t /hide-group \xDC00\xD800", false},   // the pair reversed
        {u"t \"a \xD800\"", false},               // inside quotes
        // The program's path may hold anything a file name holds.
        {u"C:\\x\xD800\\Tarnvell.exe /hide-all", true},
        {u"\"C:\\a \xDC00\\Tarnvell.exe\" /hide-all", true},
        {u"\"C:\\a b\\Tarnvell.exe\" \xDC00", false},
    };
    for (const auto& c : cases) EXPECT_EQ(ArgumentsAreValidUtf16(c.line), c.valid) << &c - cases;
}

// ------------------------------------------------------------ the hand-over's wait

TEST(HungCopyWatch, OnlyACopyHungAtEveryLookForTheGraceIsGivenUp) {
    struct Look {
        std::uint64_t at;
        bool hung;
        bool giveUp;
    };
    const std::uint64_t t = 1'000'000;  // any start: the clock's origin does not matter
    const struct {
        const char* name;
        std::vector<Look> looks;
    } cases[] = {
        {"answering, however long", {{t, false, false}, {t + 3'600'000, false, false}}},
        {"hung for the grace", {{t, true, false}, {t + kHungCopyGraceMs - 1, true, false}, {t + kHungCopyGraceMs, true, true}}},
        {"wakes within the grace: counted anew",
         {{t, true, false}, {t + 4000, false, false}, {t + 4250, true, false}, {t + 4250 + kHungCopyGraceMs - 1, true, false},
          {t + 4250 + kHungCopyGraceMs, true, true}}},
        // A look that comes late (the machine was busy) still needs two looks
        // of a hung copy: the first one starts the count.
        {"first seen hung after a long pause", {{t, false, false}, {t + 60'000, true, false}}},
    };
    for (const auto& c : cases) {
        HungCopyWatch watch;
        for (const Look& look : c.looks) EXPECT_EQ(watch.GiveUp(look.at, look.hung), look.giveUp) << c.name << " at " << look.at - t;
    }
}

// ------------------------------------------------------------ WM_COPYDATA

std::optional<Command> Decode(const std::vector<std::uint8_t>& data, std::uintptr_t magic) {
    return DecodeRemoteCommand(magic, data.data(), data.size(), IsValidUtf8);
}

std::vector<std::uint8_t> Record(std::uint32_t version, std::uint32_t verb, std::uint32_t length,
                                 const std::string& tail) {
    std::vector<std::uint8_t> out(12 + tail.size());
    std::memcpy(out.data(), &version, 4);
    std::memcpy(out.data() + 4, &verb, 4);
    std::memcpy(out.data() + 8, &length, 4);
    if (!tail.empty()) std::memcpy(out.data() + 12, tail.data(), tail.size());
    return out;
}

TEST(CopyDataRecord, EveryCommandOfTheCommandLineSurvivesTheTrip) {
    int commands = 0;
    for (const CommandInfo& row : kCommands) {
        if (!row.cliName) continue;
        ++commands;
        const Command command{row.verb, -1, row.takesGroup ? "My group" : ""};
        EXPECT_EQ(Decode(EncodeRemoteCommand(command)), command) << row.cliName;
        // What is sent is what the command line parses.
        const std::string name = std::string("/") + row.cliName;
        EXPECT_EQ(Parse(row.takesGroup ? Args{name, "My group"} : Args{name}).command, command) << row.cliName;
    }
    EXPECT_EQ(commands, 10);
    const Command longest{Verb::ToggleGroup, -1, std::string(GROUP_NAME_MAX_CHARS, 'x')};
    EXPECT_EQ(Decode(EncodeRemoteCommand(longest)), longest);
}

// The numbers of earlier versions' records keep their meaning.
TEST(CopyDataRecord, PublishedVerbNumbersKeepTheirCommands) {
    const std::pair<std::uint32_t, Verb> published[] = {
        {1, Verb::HideWindow}, {2, Verb::ShowWindow},  {3, Verb::HideAll},     {4, Verb::ShowAll},
        {5, Verb::ToggleWindow}, {6, Verb::HideGroup}, {7, Verb::ShowGroup},   {8, Verb::ToggleGroup},
        {9, Verb::Exit},       {10, Verb::ToggleAll}};
    for (const auto& [wire, verb] : published) EXPECT_EQ(VerbOfWire(wire), verb) << wire;
}

TEST(CopyDataRecord, RefusesWhatNoCopyOfOursSends) {
    const auto good = EncodeRemoteCommand({Verb::HideGroup, -1, "Mail"});
    EXPECT_FALSE(Decode(good, 0));
    EXPECT_FALSE(Decode(good, kCopyDataMagic + 1));
    EXPECT_FALSE(DecodeRemoteCommand(kCopyDataMagic, nullptr, good.size(), IsValidUtf8));
    EXPECT_FALSE(Decode({}));
    // Every truncation and one byte of slack.
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(Decode(std::vector<std::uint8_t>(good.begin(), good.begin() + n))) << n;
    auto slack = good;
    slack.push_back(0);
    EXPECT_FALSE(Decode(slack));

    EXPECT_FALSE(Decode(Record(2, 6, 4, std::string("Mail") + '\0')));   // a version we do not know
    EXPECT_FALSE(Decode(Record(1, 0, 0, std::string(1, '\0'))));         // no verb
    EXPECT_FALSE(Decode(Record(1, 11, 0, std::string(1, '\0'))));        // beyond the last verb
    EXPECT_FALSE(Decode(Record(1, 6, 4, "Mail!")));                     // no terminator
    EXPECT_FALSE(Decode(Record(1, 6, 3, std::string("Mail") + '\0')));   // length short of the data
    EXPECT_FALSE(Decode(Record(1, 6, 0xFFFFFFFF, std::string("Mail") + '\0')));
    EXPECT_FALSE(Decode(Record(1, 6, 4, std::string("Ma\0l", 4) + '\0')));  // a zero inside the name
    EXPECT_FALSE(Decode(Record(1, 6, 0, std::string(1, '\0'))));         // a group command without a name
    EXPECT_FALSE(Decode(Record(1, 3, 4, std::string("Mail") + '\0')));   // a name for a command without one
    EXPECT_FALSE(Decode(Record(1, 6, 2, std::string("\xC3\x28") + '\0')));  // not valid in the code page
    const std::string tooLong(GROUP_NAME_MAX_CHARS + 1, 'x');
    EXPECT_FALSE(Decode(Record(1, 6, static_cast<std::uint32_t>(tooLong.size()), tooLong + '\0')));
    // A huge claimed size is refused before anything is read.
    EXPECT_FALSE(DecodeRemoteCommand(kCopyDataMagic, good.data(), std::size_t{1} << 30, IsValidUtf8));
}

}  // namespace
