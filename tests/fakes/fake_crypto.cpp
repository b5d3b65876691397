#include "fake_crypto.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// SHA-256 (FIPS 180-4), one block at a time.
class Sha256 {
public:
    Sha256() { Reset(); }
    void Reset() {
        m_h = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a, 0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
        m_length = 0;
        m_used = 0;
    }
    void Add(const std::uint8_t* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            m_block[m_used++] = data[i];
            if (m_used == 64) {
                Compress();
                m_used = 0;
            }
        }
        m_length += size;
    }
    std::array<std::uint8_t, 32> Finish() {
        const std::uint64_t bits = m_length * 8;
        const std::uint8_t one = 0x80, zero = 0;
        Add(&one, 1);
        while (m_used != 56) Add(&zero, 1);
        for (int i = 7; i >= 0; --i) {
            const auto b = static_cast<std::uint8_t>(bits >> (8 * i));
            Add(&b, 1);
        }
        std::array<std::uint8_t, 32> out{};
        for (int i = 0; i < 8; ++i)
            for (int k = 0; k < 4; ++k) out[4 * i + k] = static_cast<std::uint8_t>(m_h[i] >> (24 - 8 * k));
        return out;
    }

private:
    static std::uint32_t Rotate(std::uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }
    void Compress() {
        static constexpr std::uint32_t k[64] = {
            0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
            0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
            0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
            0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
            0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
            0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
            0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
            0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};
        std::uint32_t w[64];
        for (int i = 0; i < 16; ++i)
            w[i] = std::uint32_t{m_block[4 * i]} << 24 | std::uint32_t{m_block[4 * i + 1]} << 16 |
                   std::uint32_t{m_block[4 * i + 2]} << 8 | m_block[4 * i + 3];
        for (int i = 16; i < 64; ++i) {
            const std::uint32_t s0 = Rotate(w[i - 15], 7) ^ Rotate(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const std::uint32_t s1 = Rotate(w[i - 2], 17) ^ Rotate(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        std::array<std::uint32_t, 8> v = m_h;
        for (int i = 0; i < 64; ++i) {
            const std::uint32_t s1 = Rotate(v[4], 6) ^ Rotate(v[4], 11) ^ Rotate(v[4], 25);
            const std::uint32_t ch = (v[4] & v[5]) ^ (~v[4] & v[6]);
            const std::uint32_t t1 = v[7] + s1 + ch + k[i] + w[i];
            const std::uint32_t s0 = Rotate(v[0], 2) ^ Rotate(v[0], 13) ^ Rotate(v[0], 22);
            const std::uint32_t maj = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
            v = {t1 + s0 + maj, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
        }
        for (int i = 0; i < 8; ++i) m_h[i] += v[i];
    }

    std::array<std::uint32_t, 8> m_h{};
    std::array<std::uint8_t, 64> m_block{};
    std::size_t m_used = 0;
    std::uint64_t m_length = 0;
};

// HMAC-SHA-256 with the key's pads hashed once.
class Hmac {
public:
    explicit Hmac(std::string_view key) {
        std::array<std::uint8_t, 64> pad{};
        if (key.size() > 64) {
            Sha256 h;
            h.Add(reinterpret_cast<const std::uint8_t*>(key.data()), key.size());
            const auto digest = h.Finish();
            std::memcpy(pad.data(), digest.data(), digest.size());
        } else {
            std::memcpy(pad.data(), key.data(), key.size());
        }
        std::array<std::uint8_t, 64> inner{}, outer{};
        for (int i = 0; i < 64; ++i) {
            inner[i] = pad[i] ^ 0x36;
            outer[i] = pad[i] ^ 0x5c;
        }
        m_inner.Add(inner.data(), 64);
        m_outer.Add(outer.data(), 64);
    }
    std::array<std::uint8_t, 32> Of(const std::uint8_t* data, std::size_t size) const {
        Sha256 inner = m_inner;
        inner.Add(data, size);
        const auto first = inner.Finish();
        Sha256 outer = m_outer;
        outer.Add(first.data(), first.size());
        return outer.Finish();
    }

private:
    Sha256 m_inner, m_outer;
};

}  // namespace

std::vector<std::uint8_t> FakeCrypto::Random(std::size_t count) {
    if (fail) return {};
    std::vector<std::uint8_t> bytes(count);
    for (auto& b : bytes) b = m_next++;
    return bytes;
}

std::vector<std::uint8_t> FakeCrypto::Pbkdf2Sha256(std::string_view password, const std::vector<std::uint8_t>& salt,
                                                   std::uint32_t iterations, std::size_t length) {
    if (fail || iterations == 0) return {};
    if (cap) iterations = std::min(iterations, cap);
    auto key = std::make_tuple(std::string(password), salt, iterations, length);
    if (const auto it = m_done.find(key); it != m_done.end()) return it->second;
    const Hmac hmac(password);
    std::vector<std::uint8_t> out;
    for (std::uint32_t block = 1; out.size() < length; ++block) {
        std::vector<std::uint8_t> first = salt;
        for (int i = 3; i >= 0; --i) first.push_back(static_cast<std::uint8_t>(block >> (8 * i)));
        auto u = hmac.Of(first.data(), first.size());
        auto t = u;
        for (std::uint32_t n = 1; n < iterations; ++n) {
            u = hmac.Of(u.data(), u.size());
            for (std::size_t i = 0; i < t.size(); ++i) t[i] ^= u[i];
        }
        out.insert(out.end(), t.begin(), t.end());
    }
    out.resize(length);
    m_done.emplace(std::move(key), out);
    return out;
}
