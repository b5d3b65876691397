#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/command.h"

// Tarnvell.exe COMMAND [ARGUMENT]: the split of the raw command line, the
// parse, and the record one copy hands another in WM_COPYDATA.

// Whether a text is valid in the process's ANSI code page. The program asks
// the system (MultiByteToWideChar with MB_ERR_INVALID_CHARS); tests use
// IsValidUtf8 or a fixed answer.
using TextCheck = std::function<bool(std::string_view)>;

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text);

// Whether the arguments of a whole UTF-16 command line (GetCommandLineW),
// program name excluded, are valid UTF-16: each high surrogate followed by
// a low one, no low one alone. The conversion to the ANSI side puts U+FFFD
// for a lone surrogate, which is valid text in UTF-8 and could name a group
// of that spelling. The program name is taken as SplitCommandLine takes it,
// so wherever the program lies, it is never judged.
bool ArgumentsAreValidUtf16(std::u16string_view commandLine);

// The arguments of a whole command line (GetCommandLineA), program name
// excluded, split as the C runtime splits argv: blanks separate arguments,
// quotes group, 2n backslashes before a quote give n and the quote opens or
// closes, 2n+1 give n and a literal quote, "" inside quotes is a literal
// quote, other backslashes are literal. The program name is taken up to its
// closing quote or first blank, backslashes literal.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

enum class UsageError {
    UnknownCommand,
    MissingArgument,
    ExtraArgument,
    NameTooLong,
    InvalidText,
};

struct ParsedCommandLine {
    enum class Kind { None, Help, Run, Usage };
    Kind kind = Kind::None;
    Command command;  // for Run: the verb, and the group by name
    UsageError error = UsageError::UnknownCommand;  // for Usage
};

// The arguments after the program name. No argument is Kind::None (start as
// always); "/help" or "/?" alone is Help; a command is "/" or "-" and its name
// in any letter case, with a group name for the group commands.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args, const TextCheck& validText);

// The string-table id of the line that names a usage error.
unsigned UsageErrorStringId(UsageError error);

// The usage box's text: its head, a line for each command of the commands
// table that the command line takes, and its tail, each loaded with load.
std::string UsageText(const std::function<std::string(unsigned id)>& load);

// WM_COPYDATA: dwData is kCopyDataMagic, the data a record of version 1:
//   uint32 version, uint32 verb (the commands table's wire number), uint32
//   name length n, n bytes of name, 0.
// Any program of the session can send the frame WM_COPYDATA, so the decoder
// takes nothing on trust.
inline constexpr std::uintptr_t kCopyDataMagic = 0x54564C43;  // "TVLC"
inline constexpr std::uint32_t kCopyDataVersion = 1;
inline constexpr std::size_t kCopyDataHeader = 12;
std::vector<std::uint8_t> EncodeRemoteCommand(const Command& command);
// The command, its group by name; nothing for a record that is not a
// command of ours.
std::optional<Command> DecodeRemoteCommand(std::uintptr_t magic, const void* data, std::size_t size,
                                           const TextCheck& validText);

// How long the handing process waits for the running copy's answer. The
// answer comes after the command ran, and a command may ask for a password
// first: long enough to type one, short enough that a script or scheduled
// task that meets an unanswered prompt goes on soon with exit code 4.
inline constexpr unsigned kRemoteAnswerBoundMs = 10000;
// The running copy may have taken its single-instance guard and not yet
// created its frame: the handing process looks again for this long.
inline constexpr unsigned kFrameSearchBoundMs = 3000;
