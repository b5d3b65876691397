#include "engine/password.h"

namespace {

constexpr std::string_view kScheme = "pbkdf2-sha256";
// A work factor beyond this would keep a prompt busy for hours: such a value
// was not stored by us.
constexpr std::uint32_t kMaxIterations = 100000000;

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::uint8_t b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

int Nibble(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<std::vector<std::uint8_t>> Bytes(std::string_view hex, std::size_t count) {
    if (hex.size() != 2 * count) return std::nullopt;
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = Nibble(hex[i]), low = Nibble(hex[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        out.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return out;
}

// The next field up to a '$'; the text after it stays in rest.
std::string_view Field(std::string_view& rest) {
    const auto at = rest.find('$');
    const std::string_view field = rest.substr(0, at);
    rest = at == std::string_view::npos ? std::string_view{} : rest.substr(at + 1);
    return field;
}

}  // namespace

std::optional<PasswordHash> PasswordHash::Make(platform::ICrypto& crypto, std::string_view text,
                                               std::uint32_t iterations) {
    PasswordHash made;
    made.iterations = iterations;
    made.salt = crypto.Random(kSaltBytes);
    if (made.salt.size() != kSaltBytes) return std::nullopt;
    made.hash = crypto.Pbkdf2Sha256(text, made.salt, iterations, kHashBytes);
    if (made.hash.size() != kHashBytes) return std::nullopt;
    return made;
}

std::string PasswordHash::Encode() const {
    return std::string(kScheme) + "$" + std::to_string(iterations) + "$" + Hex(salt) + "$" + Hex(hash);
}

std::optional<PasswordHash> PasswordHash::Decode(std::string_view stored) {
    if (stored.empty() || stored.back() == '$') return std::nullopt;
    std::string_view rest = stored;
    if (Field(rest) != kScheme) return std::nullopt;
    const std::string_view count = Field(rest);
    if (count.empty() || count.size() > 9) return std::nullopt;
    std::uint32_t iterations = 0;
    for (char c : count) {
        if (c < '0' || c > '9') return std::nullopt;
        iterations = iterations * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (iterations == 0 || iterations > kMaxIterations) return std::nullopt;
    auto salt = Bytes(Field(rest), kSaltBytes);
    const std::string_view hashField = Field(rest);
    auto hash = Bytes(hashField, kHashBytes);
    if (!salt || !hash || !rest.empty()) return std::nullopt;
    return PasswordHash{iterations, std::move(*salt), std::move(*hash)};
}

bool PasswordHash::Matches(platform::ICrypto& crypto, std::string_view text) const {
    const std::vector<std::uint8_t> typed = crypto.Pbkdf2Sha256(text, salt, iterations, hash.size());
    if (typed.size() != hash.size() || hash.empty()) return false;
    // Every byte is looked at, whatever the first difference.
    std::uint8_t differ = 0;
    for (std::size_t i = 0; i < hash.size(); ++i) differ |= static_cast<std::uint8_t>(typed[i] ^ hash[i]);
    return differ == 0;
}
