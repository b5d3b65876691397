#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>

namespace platform {
class IModule;
}

// Whole characters of the process's ANSI code page. Every text the core reads
// or shows passes through the system's ANSI calls in that code page: UTF-8
// where the manifest's setting is honoured (1 to 4 bytes a character), a
// double-byte code page on older East Asian systems (a lead byte and a trail
// byte), a single-byte one elsewhere. Limits that count characters count them
// here, and a cut never ends inside a character.
namespace text {

// Whether a byte opens a two-byte character (IsDBCSLeadByte).
using LeadByteTest = std::function<bool(unsigned char)>;

inline constexpr unsigned kUtf8CodePage = 65001;
// The most bytes one character takes in any ANSI code page (UTF-8's four).
inline constexpr std::size_t kMaxCharBytes = 4;

// A buffer of bytes that holds n characters of any code page and the terminator.
constexpr int BufferFor(std::size_t chars) { return static_cast<int>(chars * kMaxCharBytes + 1); }

class CodePage {
public:
    // A single-byte code page.
    CodePage() = default;
    CodePage(std::nullptr_t) {}
    // A double-byte code page with this lead-byte test (null: single-byte).
    template <class F>
        requires std::is_invocable_r_v<bool, F&, unsigned char>
    CodePage(F isLeadByte) : m_isLeadByte(std::move(isLeadByte)) {}
    static CodePage Utf8();
    // The code page the module's process runs in. In UTF-8 the system's
    // lead-byte test answers "no" for every byte, so it is not asked; the
    // result does not refer to the module.
    static CodePage Of(platform::IModule& module);

    bool IsUtf8() const { return m_utf8; }
    // The bytes of the character that starts at pos (pos < s.size()): a whole
    // sequence of the code page, or 1 for a byte that opens none (a stray
    // trail byte, a malformed sequence), which then stands for itself.
    std::size_t CharLength(std::string_view s, std::size_t pos) const;
    // Whether the bytes from pos to the end are the beginning of a character
    // that the end of the text cuts off: a UTF-8 sequence missing its last
    // bytes, as a buffer that was too small leaves it.
    bool IsCutOff(std::string_view s, std::size_t pos) const;

private:
    bool m_utf8 = false;
    LeadByteTest m_isLeadByte;
};

// The code page this process runs in. It is a fact fixed for the life of the
// process, told once when the engine starts (and by a test for its own
// code page); single-byte until then. The cuts below take it unless given
// another.
const CodePage& ProcessCodePage();
void SetProcessCodePage(CodePage codePage);

// The position of the next character after the one at pos.
std::size_t NextBoundary(std::string_view s, std::size_t pos, const CodePage& cp = ProcessCodePage());
std::size_t CountChars(std::string_view s, const CodePage& cp = ProcessCodePage());
// Whether pos starts a character (or is the end of the text).
bool IsBoundary(std::string_view s, std::size_t pos, const CodePage& cp = ProcessCodePage());

// The bytes of the longest beginning of s made of whole characters, at most
// maxChars of them. A character cut off by the end of s is never taken.
std::size_t PrefixOfChars(std::string_view s, std::size_t maxChars, const CodePage& cp = ProcessCodePage());
// The same, at most maxBytes bytes long.
std::size_t PrefixOfBytes(std::string_view s, std::size_t maxBytes, const CodePage& cp = ProcessCodePage());

// s cut to at most maxChars whole characters.
std::string CutToChars(std::string_view s, std::size_t maxChars, const CodePage& cp = ProcessCodePage());
// s cut to whole characters that fit maxBytes bytes (a fixed field, without
// its terminator).
std::string CutToBytes(std::string_view s, std::size_t maxBytes, const CodePage& cp = ProcessCodePage());

// A text shown as a menu item exactly as it is: each "&" is doubled, so that
// it shows as itself instead of underlining the next character. An "&" is
// one byte in every ANSI code page and never the trail byte of a UTF-8
// character; in a double-byte code page a trail byte can have its value and
// is left alone.
std::string MenuLiteral(std::string_view s, const CodePage& cp = ProcessCodePage());

// Letter case of ASCII alone, for names the program defines or the system
// compares that way (command verbs, registry value names, locale names); no
// byte of another script's character is an ASCII letter in UTF-8.
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr bool AsciiEqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}

}  // namespace text
