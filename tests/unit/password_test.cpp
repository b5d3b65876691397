#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <vector>

#include "engine/password.h"
#include "fake_crypto.h"

namespace {

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    char pair[3];
    for (std::uint8_t b : bytes) {
        std::snprintf(pair, sizeof(pair), "%02x", b);
        out += pair;
    }
    return out;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// The published vectors of PBKDF2 with HMAC-SHA-256 (those of RFC 6070's
// inputs, and RFC 7914's section 11), through the seam the engine hashes
// with.
TEST(PasswordHashing, TheSeamGivesTheStandardResults) {
    const struct {
        const char* password;
        const char* salt;
        std::uint32_t iterations;
        std::size_t length;
        const char* expected;
    } vectors[] = {
        {"password", "salt", 1, 32, "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"},
        {"password", "salt", 2, 32, "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43"},
        {"password", "salt", 4096, 32, "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"},
        {"passwd", "salt", 1, 64,
         "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"},
    };
    FakeCrypto crypto;
    for (const auto& v : vectors)
        EXPECT_EQ(Hex(crypto.Pbkdf2Sha256(v.password, Bytes(v.salt), v.iterations, v.length)), v.expected)
            << v.password << " " << v.iterations;
}

TEST(PasswordHashing, AHashOpensForItsTextAloneAndTravelsWithItsWorkFactor) {
    FakeCrypto crypto;
    const auto made = PasswordHash::Make(crypto, "pass word", 50);
    ASSERT_TRUE(made);
    EXPECT_EQ(made->salt.size(), PasswordHash::kSaltBytes);
    const auto stored = PasswordHash::Decode(made->Encode());
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->iterations, 50u);
    EXPECT_TRUE(stored->Matches(crypto, "pass word"));
    for (const char* other : {"pass wor", "pass word ", "Pass word", ""}) EXPECT_FALSE(stored->Matches(crypto, other));
    // The text is hashed as it is: no two salts give the same hash.
    EXPECT_NE(PasswordHash::Make(crypto, "pass word", 50)->Encode(), made->Encode());
    // A new hash takes today's work factor.
    EXPECT_EQ(PasswordHash::Make(crypto, "x")->iterations, 600000u);
    crypto.fail = true;
    EXPECT_FALSE(PasswordHash::Make(crypto, "x", 50));
}

TEST(PasswordHashing, AStoredValueThatIsNoHashOfOursIsRefused) {
    FakeCrypto crypto;
    const std::string good = PasswordHash::Make(crypto, "pw", 50)->Encode();
    EXPECT_TRUE(PasswordHash::Decode(good));
    const std::string salt(32, 'a'), hash(64, 'b');
    for (const std::string& bad :
         {std::string(), std::string("pw"), good + "$", good + "0", good.substr(0, good.size() - 1),
          "pbkdf2-sha1$50$" + salt + "$" + hash, "pbkdf2-sha256$0$" + salt + "$" + hash,
          "pbkdf2-sha256$999999999$" + salt + "$" + hash, "pbkdf2-sha256$-5$" + salt + "$" + hash,
          "pbkdf2-sha256$50$" + salt + "$" + std::string(64, 'G'), "pbkdf2-sha256$50$" + salt.substr(2) + "$" + hash,
          "pbkdf2-sha256$50$" + salt + "$" + hash + "$x"})
        EXPECT_FALSE(PasswordHash::Decode(bad)) << bad;
}

}  // namespace
