#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace platform {

// The system's cryptography (CNG): random bytes for salts, and the slow hash
// a password is kept as.
class ICrypto {
public:
    virtual ~ICrypto() = default;
    // Random bytes from the system's preferred generator; empty when it fails.
    virtual std::vector<std::uint8_t> Random(std::size_t count) = 0;
    // PBKDF2 with HMAC-SHA-256 of password and salt, length bytes long;
    // empty when the system cannot compute it.
    virtual std::vector<std::uint8_t> Pbkdf2Sha256(std::string_view password, const std::vector<std::uint8_t>& salt,
                                                   std::uint32_t iterations, std::size_t length) = 0;
};

}  // namespace platform
