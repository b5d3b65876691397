#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/crypto.h"

// The system's cryptography, as the standard defines it: PBKDF2 with
// HMAC-SHA-256 computed here, and "random" bytes from a counter, so that a
// test sees the same salts every run. A derivation asked again with the same
// inputs (every check of the same password) is answered from memory: the
// work factor is meant to be slow.
class FakeCrypto final : public platform::ICrypto {
public:
    std::vector<std::uint8_t> Random(std::size_t count) override;
    std::vector<std::uint8_t> Pbkdf2Sha256(std::string_view password, const std::vector<std::uint8_t>& salt,
                                           std::uint32_t iterations, std::size_t length) override;

    bool fail = false;  // the system cannot give random bytes or a hash
    // At most this many iterations are computed (0: all): a fuzzer that
    // plants passwords looks at what surrounds the hash, not at its value.
    std::uint32_t cap = 0;

private:
    std::uint8_t m_next = 1;
    std::map<std::tuple<std::string, std::vector<std::uint8_t>, std::uint32_t, std::size_t>, std::vector<std::uint8_t>>
        m_done;
};
