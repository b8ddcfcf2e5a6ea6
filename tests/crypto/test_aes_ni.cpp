// The AES-NI key expansion and CBC loop against the published AES and CBC vectors and against
// the library's CBC mode, and the Rijndael row that switches between the two.
#include "crypto/AesNi.h"
#include "crypto/CryptoTestSupport.h"
#include "crypto/EncryptMod.h"
#include "crypto/LibraryAlgorithms.h"

#include <algorithm>
#include <crypto++/aes.h>
#include <crypto++/modes.h>
#include <cstddef>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

namespace partsmith {
namespace {

using testing::Bytes;
using testing::FromHex;
using testing::Pattern;
using testing::ToHex;

#define SKIP_WITHOUT_AES_NI()                                                                      \
    if (!AesNiAvailable()) {                                                                       \
        GTEST_SKIP() << "this processor has no AES instructions";                                  \
    }

// The library's CBC mode over whole blocks; cv is updated as the routine under test does.
Bytes LibraryCbc(const Bytes& key, Bytes& cv, const Bytes& plain) {
    CryptoPP::CBC_Mode<CryptoPP::AES>::Encryption cbc;
    cbc.SetKeyWithIV(key.data(), key.size(), cv.data(), cv.size());
    Bytes out(plain.size());
    cbc.ProcessData(out.data(), plain.data(), plain.size());
    if (!out.empty()) {
        std::copy(out.end() - 16, out.end(), cv.begin());
    }
    return out;
}

Bytes RandomBytes(std::mt19937& random, std::size_t length) {
    Bytes out(length);
    for (auto& b : out) {
        b = static_cast<std::uint8_t>(random());
    }
    return out;
}

struct CbcVector {
    const char* name;
    const char* key;
    const char* iv;
    const char* plain;
    const char* cipher;
};

void PrintTo(const CbcVector& v, std::ostream* os) {
    *os << v.name;
}

class AesNiVectors : public ::testing::TestWithParam<CbcVector> {};

TEST_P(AesNiVectors, EncryptAsPublished) {
    SKIP_WITHOUT_AES_NI();
    const CbcVector& v = GetParam();
    RoundKeys keys;
    AesNiExpandKey(FromHex(v.key), keys);
    const Bytes plain = FromHex(v.plain);
    Bytes cv = FromHex(v.iv);
    Bytes out(plain.size());
    AesNiCbcEncrypt(keys, plain.data(), out.data(), plain.size() / 16, cv.data());
    EXPECT_EQ(ToHex(out), v.cipher);
    EXPECT_EQ(ToHex(cv), std::string(v.cipher).substr(std::string(v.cipher).size() - 32));
}

constexpr const char* kZeroIv = "00000000000000000000000000000000";
constexpr const char* kSp80038aIv = "000102030405060708090a0b0c0d0e0f";
constexpr const char* kSp80038aPlain =
    "6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
    "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710";

// clang-format off
INSTANTIATE_TEST_SUITE_P(AesNi, AesNiVectors, ::testing::Values(
    // FIPS 197 Appendix C: one block, so CBC from a zero chaining value is the bare cipher.
    CbcVector{"FIPS-197 C.1 AES-128", "000102030405060708090a0b0c0d0e0f", kZeroIv,
              "00112233445566778899aabbccddeeff", "69c4e0d86a7b0430d8cdb78070b4c55a"},
    CbcVector{"FIPS-197 C.2 AES-192", "000102030405060708090a0b0c0d0e0f1011121314151617",
              kZeroIv, "00112233445566778899aabbccddeeff", "dda97ca4864cdfe06eaf70a0ec0d7191"},
    CbcVector{"FIPS-197 C.3 AES-256",
              "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f", kZeroIv,
              "00112233445566778899aabbccddeeff", "8ea2b7ca516745bfeafc49904b496089"},
    // NIST SP 800-38A F.2.1, F.2.3, F.2.5: four chained blocks.
    CbcVector{"SP 800-38A F.2.1 CBC-AES128", "2b7e151628aed2a6abf7158809cf4f3c", kSp80038aIv,
              kSp80038aPlain,
              "7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
              "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7"},
    CbcVector{"SP 800-38A F.2.3 CBC-AES192", "8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b",
              kSp80038aIv, kSp80038aPlain,
              "4f021db243bc633d7178183a9fa071e8b4d9ada9ad7dedf4e5e738763f69145a"
              "571b242012fb7ae07fa9baac3df102e008b0e27988598881d920a9e64f5615cd"},
    CbcVector{"SP 800-38A F.2.5 CBC-AES256",
              "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4", kSp80038aIv,
              kSp80038aPlain,
              "f58c4c04d6e5f1ba779eabfb5f7bfbd69cfc4e967edb808d679f777bc6702c7d"
              "39f23369a9d9bacfa530e26304231461b2eb05e2c39be9fcda6c19078c6a9d1b"}));
// clang-format on

TEST(AesNiKeyExpansion, LastRoundKeysAreThoseOfFips197AppendixA) {
    SKIP_WITHOUT_AES_NI();
    struct Case {
        const char* key;
        unsigned rounds;
        const char* lastRoundKey;
    };
    const Case cases[] = {
        {"2b7e151628aed2a6abf7158809cf4f3c", 10, "d014f9a8c9ee2589e13f0cc8b6630ca6"},
        {"8e73b0f7da0e6452c810f32b809079e562f8ead2522c6b7b", 12,
         "e98ba06f448c773c8ecc720401002202"},
        {"603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4", 14,
         "fe4890d1e6188d0b046df344706c631e"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        RoundKeys keys;
        AesNiExpandKey(FromHex(c.key), keys);
        ASSERT_EQ(keys.Rounds(), c.rounds);
        const std::uint8_t* last = keys.Bytes() + 16 * c.rounds;
        EXPECT_EQ(ToHex(Bytes(last, last + 16)), c.lastRoundKey);
    }
}

TEST(AesNiKeyExpansion, OtherLengthsAreRefusedAndWipeClearsTheKeys) {
    SKIP_WITHOUT_AES_NI();
    RoundKeys keys;
    AesNiExpandKey(Pattern(32), keys);
    const auto zero = [&] {
        return std::all_of(keys.Bytes(), keys.Bytes() + 16 * (RoundKeys::kMaxRounds + 1),
                           [](std::uint8_t b) { return b == 0; });
    };
    ASSERT_FALSE(zero());
    keys.Wipe();
    EXPECT_EQ(keys.Rounds(), 0u);
    EXPECT_TRUE(zero());

    AesNiExpandKey(Pattern(16), keys);
    EXPECT_THROW(AesNiExpandKey(Pattern(20), keys), std::invalid_argument);
    EXPECT_EQ(keys.Rounds(), 0u);
    EXPECT_TRUE(zero());
    Bytes block(16);
    EXPECT_THROW(AesNiCbcEncrypt(keys, block.data(), block.data(), 1, block.data()),
                 std::logic_error);
}

// Random keys of the three lengths, run lengths around the small counts and the unrolled
// sizes, in place and into a second buffer, each run split in two calls so that the chaining
// value is carried between them as a run of the part stream carries it.
TEST(AesNiCbc, EqualsTheLibrarysCbcForRandomKeysAndRunLengths) {
    SKIP_WITHOUT_AES_NI();
    std::mt19937 random(20240611);
    const std::size_t runs[] = {0, 1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 64, 257};
    for (std::size_t keyBytes : {16u, 24u, 32u}) {
        for (int trial = 0; trial < 4; ++trial) {
            const Bytes key = RandomBytes(random, keyBytes);
            RoundKeys keys;
            AesNiExpandKey(key, keys);
            for (std::size_t blocks : runs) {
                for (bool inPlace : {false, true}) {
                    SCOPED_TRACE(ToHex(key) + " blocks " + std::to_string(blocks) +
                                 (inPlace ? " in place" : " apart"));
                    const Bytes plain = RandomBytes(random, 16 * blocks);
                    const Bytes iv = RandomBytes(random, 16);
                    Bytes expectedCv = iv;
                    const Bytes expected = LibraryCbc(key, expectedCv, plain);

                    Bytes cv = iv;
                    Bytes out = plain;
                    const std::uint8_t* in = inPlace ? out.data() : plain.data();
                    const std::size_t first = blocks / 3;
                    AesNiCbcEncrypt(keys, in, out.data(), first, cv.data());
                    AesNiCbcEncrypt(keys, in + 16 * first, out.data() + 16 * first, blocks - first,
                                    cv.data());
                    EXPECT_EQ(ToHex(out), ToHex(expected));
                    EXPECT_EQ(ToHex(cv), ToHex(expectedCv));
                }
            }
        }
    }
}

// Through the row: its key rule (zero padding to 16, 24 or 32 bytes), chained encryption on
// whichever path this processor takes, decryption on the library's, and no key after Wipe.
TEST(RijndaelRow, ChainedEncryptionEqualsTheLibrarysCbcForEveryKeyLength) {
    std::mt19937 random(7);
    for (std::size_t keyBytes = 1; keyBytes <= 32; ++keyBytes) {
        SCOPED_TRACE("key bytes " + std::to_string(keyBytes));
        const Bytes key = RandomBytes(random, keyBytes);
        Bytes padded = key;
        padded.resize(keyBytes <= 16 ? 16 : keyBytes <= 24 ? 24 : 32);
        const Bytes plain = RandomBytes(random, 16 * 41);
        const Bytes iv = RandomBytes(random, 16);
        Bytes expectedCv = iv;
        const Bytes expected = LibraryCbc(padded, expectedCv, plain);

        const std::unique_ptr<BlockCipher> cipher = MakeRijndael();
        cipher->SetKey(key);
        Bytes data = plain;
        Bytes cv = iv;
        cipher->EncryptChained(data.data(), data.data(), 40, cv.data());
        cipher->EncryptChained(data.data() + 16 * 40, data.data() + 16 * 40, 1, cv.data());
        EXPECT_EQ(ToHex(data), ToHex(expected));
        EXPECT_EQ(ToHex(cv), ToHex(expectedCv));

        cv = iv;
        cipher->DecryptChained(data.data(), data.data(), 41, cv.data());
        EXPECT_EQ(data, plain);

        cipher->Wipe();
        EXPECT_THROW(cipher->EncryptChained(data.data(), data.data(), 1, cv.data()), CryptoError);
    }
}

} // namespace
} // namespace partsmith
