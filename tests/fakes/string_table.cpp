#include "string_table.h"

#include <cctype>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::map<std::string, unsigned> Defines(const std::string& header) {
    std::map<std::string, unsigned> values;
    std::istringstream lines(ReadFile(header));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string directive, name, value;
        if (!(words >> directive >> name >> value) || directive != "#define") continue;
        if (std::isdigit(static_cast<unsigned char>(value[0]))) values[name] = static_cast<unsigned>(std::stoul(value));
    }
    return values;
}

unsigned Identifier(const std::string& token, const std::map<std::string, unsigned>& defines) {
    const std::size_t plus = token.find('+');
    const std::string name = token.substr(0, plus);
    unsigned value = 0;
    if (std::isdigit(static_cast<unsigned char>(name[0])))
        value = static_cast<unsigned>(std::stoul(name));
    else if (const auto it = defines.find(name); it != defines.end())
        value = it->second;
    else
        throw std::runtime_error("unknown identifier " + name);
    if (plus != std::string::npos) value += static_cast<unsigned>(std::stoul(token.substr(plus + 1)));
    return value;
}

// The C string that starts at the quote at pos; pos ends after it.
std::string Literal(const std::string& text, std::size_t& pos) {
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            if (pos + 1 < text.size() && text[pos + 1] == '"') {
                out += '"';
                ++pos;
                continue;
            }
            ++pos;
            return out;
        }
        if (c == '\\' && pos + 1 < text.size()) {
            const char e = text[++pos];
            out += e == 'n' ? '\n' : e == 't' ? '\t' : e;
            continue;
        }
        out += c;
    }
    throw std::runtime_error("unterminated string");
}

}  // namespace

std::map<unsigned, std::string> ReadStringTable(const std::string& script) {
    const auto defines = Defines(TARNVELL_RES_DIR "/resource.h");
    const std::string text = ReadFile(script);
    std::map<unsigned, std::string> strings;
    for (std::size_t at = text.find("STRINGTABLE"); at != std::string::npos; at = text.find("STRINGTABLE", at)) {
        std::size_t pos = text.find("BEGIN", at) + 5;
        const std::size_t end = text.find("\nEND", pos);
        while (pos < end) {
            while (pos < end && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
            if (pos >= end) break;
            std::size_t stop = pos;
            while (stop < end && !std::isspace(static_cast<unsigned char>(text[stop])) && text[stop] != '"') ++stop;
            const unsigned id = Identifier(text.substr(pos, stop - pos), defines);
            pos = text.find('"', stop);
            strings[id] = Literal(text, pos);
        }
        at = end;
    }
    return strings;
}

const std::map<unsigned, std::string>& EnglishStrings() {
    static const std::map<unsigned, std::string> strings = ReadStringTable(TARNVELL_RES_DIR "/lang/en-US.rc");
    return strings;
}
