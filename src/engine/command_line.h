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

// The handing process waits for the running copy's answer for as long as
// that copy pumps messages: the answer comes after the command ran, and the
// command may wait on the password prompt first, for as long as the user
// takes. A copy that the system calls hung (its thread has taken no message
// for about 5 s) may only be busy; one that stays hung at every look, every
// kHungCheckMs, for kHungCopyGraceMs is given up, and the exit code is 4.
inline constexpr unsigned kHungCheckMs = 250;
inline constexpr unsigned kHungCopyGraceMs = 5000;

// The handing process's looks at the running copy while it waits.
class HungCopyWatch {
public:
    // At each look: the time (milliseconds of a clock that never goes back)
    // and whether the system calls the copy hung now. True once the copy has
    // been hung at every look for kHungCopyGraceMs.
    bool GiveUp(std::uint64_t nowMs, bool hung);

private:
    std::optional<std::uint64_t> m_HungSince;
};

// The running copy may have taken its single-instance guard and not yet
// created its frame: the handing process looks again for this long.
inline constexpr unsigned kFrameSearchBoundMs = 3000;
