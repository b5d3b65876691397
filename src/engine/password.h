#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/crypto.h"

// The password as the profile keeps it: never the text, but a salted, slow
// hash of it (PBKDF2 with HMAC-SHA-256), stored as one text
//
//   pbkdf2-sha256$<iterations>$<salt, hex>$<hash, hex>
//
// so that the work factor travels with the hash and can be raised later.
struct PasswordHash {
    // Current guidance for PBKDF2 with HMAC-SHA-256.
    static constexpr std::uint32_t kIterations = 600000;
    static constexpr std::size_t kSaltBytes = 16;
    static constexpr std::size_t kHashBytes = 32;

    std::uint32_t iterations = 0;
    std::vector<std::uint8_t> salt;
    std::vector<std::uint8_t> hash;

    // A new hash of text with a fresh salt; nothing when the system cannot
    // give either.
    static std::optional<PasswordHash> Make(platform::ICrypto& crypto, std::string_view text,
                                            std::uint32_t iterations = kIterations);
    // The stored form; nothing when it is not one of ours (tampered, cut
    // short, or a work factor no system would finish).
    static std::optional<PasswordHash> Decode(std::string_view stored);
    std::string Encode() const;

    // Whether text is the password: hashed the same way and compared in
    // time that does not depend on where the hashes differ.
    bool Matches(platform::ICrypto& crypto, std::string_view text) const;
};
