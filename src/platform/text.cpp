#include "platform/text.h"

#include <array>

#include "platform/platform.h"

namespace text {

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// The length a UTF-8 lead byte announces and the range its second byte must
// fall in (which refuses overlong forms, surrogates and values past
// U+10FFFF); 0 for a byte that opens no sequence.
struct Utf8Lead {
    std::size_t length;
    unsigned char low, high;
};
Utf8Lead LeadOf(unsigned char c) {
    if (c < 0x80) return {1, 0, 0};
    if (c >= 0xC2 && c <= 0xDF) return {2, 0x80, 0xBF};
    if (c == 0xE0) return {3, 0xA0, 0xBF};
    if (c == 0xED) return {3, 0x80, 0x9F};
    if (c >= 0xE1 && c <= 0xEF) return {3, 0x80, 0xBF};
    if (c == 0xF0) return {4, 0x90, 0xBF};
    if (c >= 0xF1 && c <= 0xF3) return {4, 0x80, 0xBF};
    if (c == 0xF4) return {4, 0x80, 0x8F};
    return {0, 0, 0};
}

// How many bytes from pos agree with the sequence the byte at pos opens.
std::size_t Utf8Valid(std::string_view s, std::size_t pos, const Utf8Lead& lead) {
    std::size_t n = 1;
    while (n < lead.length && pos + n < s.size()) {
        const auto c = static_cast<unsigned char>(s[pos + n]);
        const bool ok = n == 1 ? c >= lead.low && c <= lead.high : IsContinuation(c);
        if (!ok) break;
        ++n;
    }
    return n;
}

}  // namespace

namespace {
CodePage& Process() {
    static CodePage codePage;
    return codePage;
}
}  // namespace

const CodePage& ProcessCodePage() { return Process(); }

void SetProcessCodePage(CodePage codePage) { Process() = std::move(codePage); }

CodePage CodePage::Utf8() {
    CodePage cp;
    cp.m_utf8 = true;
    return cp;
}

CodePage CodePage::Of(platform::IModule& module) {
    if (module.AnsiCodePage() == kUtf8CodePage) return Utf8();
    // The lead bytes are asked once, so the description outlives the module
    // it came from.
    std::array<bool, 256> leads{};
    bool any = false;
    for (unsigned c = 0; c < leads.size(); ++c) any |= leads[c] = module.IsLeadByte(static_cast<unsigned char>(c));
    if (!any) return CodePage();
    return CodePage([leads](unsigned char c) { return leads[c]; });
}

std::size_t CodePage::CharLength(std::string_view s, std::size_t pos) const {
    const auto c = static_cast<unsigned char>(s[pos]);
    if (m_utf8) {
        const Utf8Lead lead = LeadOf(c);
        if (lead.length <= 1) return 1;
        return Utf8Valid(s, pos, lead) == lead.length ? lead.length : 1;
    }
    // A lead byte at the very end has no trail and counts as one byte.
    if (m_isLeadByte && pos + 1 < s.size() && m_isLeadByte(c)) return 2;
    return 1;
}

bool CodePage::IsCutOff(std::string_view s, std::size_t pos) const {
    if (!m_utf8 || pos >= s.size()) return false;
    const Utf8Lead lead = LeadOf(static_cast<unsigned char>(s[pos]));
    if (lead.length <= 1) return false;
    const std::size_t valid = Utf8Valid(s, pos, lead);
    return valid < lead.length && pos + valid == s.size();
}

std::size_t NextBoundary(std::string_view s, std::size_t pos, const CodePage& cp) {
    return pos >= s.size() ? s.size() : pos + cp.CharLength(s, pos);
}

std::size_t CountChars(std::string_view s, const CodePage& cp) {
    std::size_t n = 0;
    for (std::size_t pos = 0; pos < s.size(); pos = NextBoundary(s, pos, cp)) ++n;
    return n;
}

bool IsBoundary(std::string_view s, std::size_t pos, const CodePage& cp) {
    std::size_t at = 0;
    while (at < pos) at = NextBoundary(s, at, cp);
    return at == pos;
}

std::size_t PrefixOfChars(std::string_view s, std::size_t maxChars, const CodePage& cp) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < maxChars && pos < s.size() && !cp.IsCutOff(s, pos); ++n)
        pos = NextBoundary(s, pos, cp);
    return pos;
}

std::size_t PrefixOfBytes(std::string_view s, std::size_t maxBytes, const CodePage& cp) {
    std::size_t pos = 0;
    while (pos < s.size() && !cp.IsCutOff(s, pos)) {
        const std::size_t next = NextBoundary(s, pos, cp);
        if (next > maxBytes) break;
        pos = next;
    }
    return pos;
}

std::string CutToChars(std::string_view s, std::size_t maxChars, const CodePage& cp) {
    return std::string(s.substr(0, PrefixOfChars(s, maxChars, cp)));
}

std::string CutToBytes(std::string_view s, std::size_t maxBytes, const CodePage& cp) {
    return std::string(s.substr(0, PrefixOfBytes(s, maxBytes, cp)));
}

std::string MenuLiteral(std::string_view s, const CodePage& cp) {
    std::string out;
    out.reserve(s.size() + 4);
    for (std::size_t pos = 0; pos < s.size();) {
        const std::size_t next = NextBoundary(s, pos, cp);
        if (next - pos == 1 && s[pos] == '&') out += '&';
        out.append(s.substr(pos, next - pos));
        pos = next;
    }
    return out;
}

}  // namespace text
