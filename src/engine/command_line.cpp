#include "engine/command_line.h"

#include <cstring>

#include "engine/command_table.h"
#include "groups/windows_group.h"
#include "platform/text.h"
#include "res/resource.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Where the program name of a command line ends: at the first blank outside
// quotes. Quotes group, and a path's backslashes are literal.
template <class Char>
std::size_t ProgramNameEnd(std::basic_string_view<Char> line) {
    std::size_t i = 0;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != Char(' ') && line[i] != Char('\t')))) {
        if (line[i] == Char('"')) quoted = !quoted;
        ++i;
    }
    return i;
}

// The command's name without its "/" or "-", folded to lower case; empty when
// the argument is no command.
std::string CommandName(const std::string& arg) {
    if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return {};
    std::string name;
    for (std::size_t i = 1; i < arg.size(); ++i) name += text::AsciiLower(arg[i]);
    return name;
}

ParsedCommandLine Usage(UsageError error) {
    ParsedCommandLine parsed;
    parsed.kind = ParsedCommandLine::Kind::Usage;
    parsed.error = error;
    return parsed;
}

std::uint32_t ReadU32(const unsigned char* p) {
    std::uint32_t value;
    std::memcpy(&value, p, sizeof(value));
    return value;
}

void PutU32(std::uint8_t* at, std::uint32_t value) { std::memcpy(at, &value, sizeof(value)); }

}  // namespace

bool IsValidUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t length;
        std::uint32_t code;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1Fu;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0Fu;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07u;
        } else {
            return false;  // a continuation byte, C0/C1 (overlong) or F5..FF
        }
        if (text.size() - i < length) return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0u) != 0x80u) return false;
            code = (code << 6) | (t & 0x3Fu);
        }
        if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

bool ArgumentsAreValidUtf16(std::u16string_view line) {
    for (std::size_t i = ProgramNameEnd(line); i < line.size(); ++i) {
        const char16_t c = line[i];
        if (c >= 0xDC00 && c <= 0xDFFF) return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= line.size() || line[i + 1] < 0xDC00 || line[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::size_t i = ProgramNameEnd(line);
    std::vector<std::string> args;
    for (;;) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        std::string arg;
        bool quoted = false;
        while (i < line.size() && (quoted || !IsBlank(line[i]))) {
            if (line[i] == '\\') {
                std::size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') ++slashes, ++i;
                if (i < line.size() && line[i] == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        arg += '"';
                        ++i;
                    }
                    // An even run leaves the quote to open or close below.
                } else {
                    arg.append(slashes, '\\');
                }
                continue;
            }
            if (line[i] == '"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == '"') {
                    arg += '"';
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            arg += line[i++];
        }
        args.push_back(std::move(arg));
    }
    return args;
}

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args, const TextCheck& validText) {
    if (args.empty()) return {};
    // Text the code page cannot hold was already mangled on its way here:
    // acting on it could hit a group of another name.
    for (const auto& arg : args)
        if (validText && !validText(arg)) return Usage(UsageError::InvalidText);

    const std::string name = CommandName(args[0]);
    if (name == "help" || name == "?") {
        if (args.size() > 1) return Usage(UsageError::ExtraArgument);
        ParsedCommandLine parsed;
        parsed.kind = ParsedCommandLine::Kind::Help;
        return parsed;
    }
    const std::optional<Verb> verb = VerbOfCliName(name);
    if (!verb) return Usage(UsageError::UnknownCommand);

    ParsedCommandLine parsed;
    parsed.kind = ParsedCommandLine::Kind::Run;
    parsed.command.verb = *verb;
    if (!RowOf(*verb).takesGroup) {
        if (args.size() > 1) return Usage(UsageError::ExtraArgument);
        return parsed;
    }
    // A group is never nameless: "" names none.
    if (args.size() < 2 || args[1].empty()) return Usage(UsageError::MissingArgument);
    if (args.size() > 2) return Usage(UsageError::ExtraArgument);
    if (text::CountChars(args[1]) > GROUP_NAME_MAX_CHARS) return Usage(UsageError::NameTooLong);
    parsed.command.groupName = args[1];
    return parsed;
}

unsigned UsageErrorStringId(UsageError error) {
    switch (error) {
        case UsageError::UnknownCommand: return IDS_USAGE_UNKNOWN;
        case UsageError::MissingArgument: return IDS_USAGE_MISSING;
        case UsageError::ExtraArgument: return IDS_USAGE_EXTRA;
        case UsageError::NameTooLong: return IDS_USAGE_TOO_LONG;
        case UsageError::InvalidText: return IDS_USAGE_INVALID_TEXT;
    }
    return IDS_USAGE_UNKNOWN;
}

std::string UsageText(const std::function<std::string(unsigned id)>& load) {
    std::string text = load(IDS_USAGE_HEAD);
    for (const CommandInfo& row : kCommands) {
        if (!row.cliName) continue;
        std::string command = std::string("  /") + row.cliName;
        if (row.takesGroup) command += " " + load(IDS_USAGE_GROUP_NAME);
        // Tab stops fall every eight characters: a short command takes two
        // tabs to reach the column of the others.
        text += "\n" + command + (command.size() < 8 ? "\t\t" : "\t") + load(row.cliHelpId);
    }
    text += "\n  /help\t\t" + load(IDS_CLI_HELP);
    return text + "\n\n" + load(IDS_USAGE_TAIL);
}

std::vector<std::uint8_t> EncodeRemoteCommand(const Command& command) {
    const std::string& name = command.groupName;
    // Zero-filled, so the terminator is already in place.
    std::vector<std::uint8_t> out(kCopyDataHeader + name.size() + 1, 0);
    PutU32(out.data(), kCopyDataVersion);
    PutU32(out.data() + 4, RowOf(command.verb).wire);
    PutU32(out.data() + 8, static_cast<std::uint32_t>(name.size()));
    if (!name.empty()) std::memcpy(out.data() + kCopyDataHeader, name.data(), name.size());
    return out;
}

std::optional<Command> DecodeRemoteCommand(std::uintptr_t magic, const void* data, std::size_t size,
                                                 const TextCheck& validText) {
    if (magic != kCopyDataMagic || !data) return std::nullopt;
    if (size < kCopyDataHeader + 1 ||
        size > kCopyDataHeader + static_cast<std::size_t>(text::BufferFor(GROUP_NAME_MAX_CHARS)))
        return std::nullopt;
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (ReadU32(bytes) != kCopyDataVersion) return std::nullopt;
    const std::optional<Verb> verb = VerbOfWire(ReadU32(bytes + 4));
    const std::uint32_t length = ReadU32(bytes + 8);
    if (!verb) return std::nullopt;
    // The length must account for every byte: no slack a later version could
    // be mistaken for, and the terminator exactly at the end.
    if (length != size - kCopyDataHeader - 1 || bytes[size - 1] != 0) return std::nullopt;
    const std::string_view name(reinterpret_cast<const char*>(bytes + kCopyDataHeader), length);
    if (name.find('\0') != std::string_view::npos) return std::nullopt;
    Command command;
    command.verb = *verb;
    if (RowOf(command.verb).takesGroup != !name.empty()) return std::nullopt;
    if (validText && !validText(name)) return std::nullopt;
    if (text::CountChars(name) > GROUP_NAME_MAX_CHARS) return std::nullopt;
    command.groupName = std::string(name);
    return command;
}

bool HungCopyWatch::GiveUp(std::uint64_t nowMs, bool hung) {
    if (!hung) {
        m_HungSince.reset();
        return false;
    }
    if (!m_HungSince) m_HungSince = nowMs;
    return nowMs - *m_HungSince >= kHungCopyGraceMs;
}
