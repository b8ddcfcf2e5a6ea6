// The stream rule of PartCipher, checked against a straightforward computation from raw block
// encryptions, and its keying, errors and state.
#include "crypto/BlockCipher.h"
#include "crypto/CryptoTestSupport.h"
#include "crypto/EncryptMod.h"
#include "text/CodePage.h"

#include <algorithm>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <numeric>
#include <string>

namespace partsmith {
namespace {

using testing::Bytes;
using testing::BytesOf;
using testing::FromHex;
using testing::Pattern;
using testing::ToHex;

// The stream rule written out the plain way, one block at a time, from the catalogue's raw
// block cipher (or a textbook RC4).
class Reference {
public:
    Reference(int code, const Bytes& key) : block_(BlockCipherForCode(code)) {
        if (block_) {
            block_->SetKey(key);
            n_ = block_->BlockBytes();
            cv_ = E(Bytes(n_, 0));
        } else {
            std::iota(s_.begin(), s_.end(), 0);
            for (int i = 0, j = 0; i < 256; ++i) {
                j = (j + s_[i] + key[static_cast<std::size_t>(i) % key.size()]) % 256;
                std::swap(s_[i], s_[j]);
            }
        }
    }

    Bytes Run(const Bytes& in, bool decipher) {
        Bytes out(in.size());
        if (!block_) {
            int i = 0;
            int j = 0;
            for (std::size_t k = 0; k < in.size(); ++k) {
                i = (i + 1) % 256;
                j = (j + s_[i]) % 256;
                std::swap(s_[i], s_[j]);
                out[k] = in[k] ^ s_[(s_[i] + s_[j]) % 256];
            }
            return out;
        }
        std::size_t at = 0;
        for (; at + n_ <= in.size(); at += n_) {
            const Bytes c(in.begin() + at, in.begin() + at + n_);
            Bytes p;
            if (decipher) {
                p = Xor(D(c), cv_);
                cv_ = c;
            } else {
                cv_ = E(Xor(c, cv_));
                p = cv_;
            }
            std::copy(p.begin(), p.end(), out.begin() + at);
        }
        if (at < in.size()) {
            cv_ = E(cv_);
            for (std::size_t k = 0; at + k < in.size(); ++k) {
                out[at + k] = in[at + k] ^ cv_[k];
            }
        }
        return out;
    }

    Bytes E(const Bytes& b) const {
        Bytes out(b.size());
        block_->EncryptBlock(b.data(), out.data());
        return out;
    }

private:
    Bytes D(const Bytes& b) const {
        Bytes out(b.size());
        block_->DecryptBlock(b.data(), out.data());
        return out;
    }
    static Bytes Xor(Bytes a, const Bytes& b) {
        for (std::size_t k = 0; k < a.size(); ++k) {
            a[k] ^= b[k];
        }
        return a;
    }

    std::unique_ptr<BlockCipher> block_;
    std::size_t n_ = 0;
    Bytes cv_;
    std::array<std::uint8_t, 256> s_{};
};

std::unique_ptr<PartCipher> Keyed(int code, std::string_view password, int hash) {
    auto cipher = CipherForCode(code);
    cipher->KeyFromPassword(password, *HashForCode(hash));
    return cipher;
}

// The key a row receives from a password: the first bits of its digest (checked separately).
Bytes KeyFor(int code, std::string_view password, int hash) {
    const Bytes digest = HashForCode(hash)->Digest(BytesOf(password));
    const std::size_t bits = std::min(CipherForCode(code)->KeyLimitBits(), digest.size() * 8);
    return Bytes(digest.begin(), digest.begin() + static_cast<long>(bits / 8));
}

// Runs the plaintext through in runs of the given lengths; returns the enciphered stream.
Bytes EncipherRuns(PartCipher& cipher, const Bytes& plain, const std::vector<std::size_t>& runs) {
    Bytes out = plain;
    std::size_t at = 0;
    for (std::size_t run : runs) {
        cipher.EncryptRun(out.data() + at, out.data() + at, run);
        at += run;
    }
    return out;
}

Bytes ReferenceRuns(Reference& ref, const Bytes& in, const std::vector<std::size_t>& runs,
                    bool decipher) {
    Bytes out;
    std::size_t at = 0;
    for (std::size_t run : runs) {
        const Bytes piece = ref.Run(Bytes(in.begin() + at, in.begin() + at + run), decipher);
        out.insert(out.end(), piece.begin(), piece.end());
        at += run;
    }
    return out;
}

std::size_t Total(const std::vector<std::size_t>& runs) {
    return std::accumulate(runs.begin(), runs.end(), std::size_t{0});
}

constexpr std::string_view kPassword = "correct horse";
constexpr int kSha256 = 7;
constexpr int kAes = 16;
constexpr int kBlowfish = 1;
constexpr int kRc4 = 13;

// 100 bytes in parts of 30 as an encrypted set: runs of 18, 30, 30 and 22 bytes.
TEST(StreamRule, WorkedDescriptionMatchesTheStraightforwardComputation) {
    const std::vector<std::size_t> runs = {18, 30, 30, 22};
    const Bytes plain = Pattern(Total(runs));
    for (int code : {kAes, kBlowfish, kRc4}) {
        SCOPED_TRACE("cipher code " + std::to_string(code));
        auto cipher = Keyed(code, kPassword, kSha256);
        Reference ref(code, KeyFor(code, kPassword, kSha256));
        const Bytes expected = ReferenceRuns(ref, plain, runs, false);
        EXPECT_EQ(ToHex(EncipherRuns(*cipher, plain, runs)), ToHex(expected));

        auto decipher = Keyed(code, kPassword, kSha256);
        Bytes back = expected;
        std::size_t at = 0;
        for (std::size_t run : runs) {
            decipher->DecryptRun(back.data() + at, back.data() + at, run);
            at += run;
        }
        EXPECT_EQ(ToHex(back), ToHex(plain));
    }
}

// The first run of the worked description, spelled out block by block for AES-256.
TEST(StreamRule, FirstRunIsOneChainedBlockThenTwoTailBytes) {
    const Bytes key = KeyFor(kAes, kPassword, kSha256);
    ASSERT_EQ(key.size(), 32u);
    auto block = BlockCipherForCode(kAes);
    block->SetKey(key);
    auto e = [&](Bytes b) {
        block->EncryptBlock(b.data(), b.data());
        return b;
    };
    const Bytes plain = Pattern(18);
    Bytes first(plain.begin(), plain.begin() + 16);
    const Bytes iv = e(Bytes(16, 0));
    for (int k = 0; k < 16; ++k) {
        first[k] ^= iv[k];
    }
    const Bytes c0 = e(first);
    const Bytes stream = e(c0);
    Bytes expected = c0;
    expected.push_back(plain[16] ^ stream[0]);
    expected.push_back(plain[17] ^ stream[1]);

    auto cipher = Keyed(kAes, kPassword, kSha256);
    EXPECT_EQ(ToHex(EncipherRuns(*cipher, plain, {18})), ToHex(expected));
}

TEST(StreamRule, RunShorterThanABlockIsXoredWithTheEncipheredChainValue) {
    const Bytes key = KeyFor(kBlowfish, kPassword, kSha256);
    Reference ref(kBlowfish, key);
    const Bytes iv = ref.E(Bytes(8, 0));
    const Bytes stream = ref.E(iv);
    const Bytes plain = Pattern(5);
    Bytes expected(5);
    for (int k = 0; k < 5; ++k) {
        expected[k] = plain[k] ^ stream[k];
    }
    auto cipher = Keyed(kBlowfish, kPassword, kSha256);
    EXPECT_EQ(ToHex(EncipherRuns(*cipher, plain, {5})), ToHex(expected));
    // Deciphering a tail enciphers the chaining value too, so it is the same operation.
    auto decipher = Keyed(kBlowfish, kPassword, kSha256);
    Bytes back = expected;
    decipher->DecryptRun(back.data(), back.data(), 5);
    EXPECT_EQ(ToHex(back), ToHex(plain));
}

TEST(StreamRule, ARunOfOneBlockLeavesItsCiphertextAsTheChainValue) {
    const Bytes key = KeyFor(kAes, kPassword, kSha256);
    Reference ref(kAes, key);
    const Bytes plain = Pattern(19);
    auto cipher = Keyed(kAes, kPassword, kSha256);
    const Bytes out = EncipherRuns(*cipher, plain, {16, 3});
    const Bytes c0(out.begin(), out.begin() + 16);
    const Bytes stream = ref.E(c0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(out[16 + k], plain[16 + k] ^ stream[k]) << k;
    }
}

TEST(StreamRule, OnlyRunsWithATailFixTheResultOfABlockCipher) {
    const Bytes plain = Pattern(16);
    const Bytes whole = EncipherRuns(*Keyed(kBlowfish, kPassword, kSha256), plain, {16});
    EXPECT_EQ(ToHex(EncipherRuns(*Keyed(kBlowfish, kPassword, kSha256), plain, {8, 8})),
              ToHex(whole));
    EXPECT_NE(ToHex(EncipherRuns(*Keyed(kBlowfish, kPassword, kSha256), plain, {5, 11})),
              ToHex(whole));
}

TEST(StreamRule, Rc4RestartsIAndJAtEveryRunAndCarriesTheState) {
    const Bytes key = FromHex("0102030405");
    auto fresh = [&] {
        auto c = CipherForCode(kRc4);
        c->KeyWithBytes(key, 40);
        return c;
    };
    const Bytes zeros(20, 0);
    const Bytes one = EncipherRuns(*fresh(), zeros, {20});
    const Bytes two = EncipherRuns(*fresh(), zeros, {10, 10});
    // RFC 6229, 40-bit key, offset 0: one run is the plain key stream.
    EXPECT_EQ(ToHex(Bytes(one.begin(), one.begin() + 16)), "b2396305f03dc027ccc3524a0a1118a8");
    EXPECT_EQ(ToHex(Bytes(one.begin(), one.begin() + 10)),
              ToHex(Bytes(two.begin(), two.begin() + 10)));
    EXPECT_NE(ToHex(Bytes(one.begin() + 10, one.end())), ToHex(Bytes(two.begin() + 10, two.end())));
    Reference ref(kRc4, key);
    EXPECT_EQ(ToHex(two), ToHex(ReferenceRuns(ref, zeros, {10, 10}, false)));
}

// Whole blocks are deciphered many at a time; the result must be that of the one-block loop for
// every run shape, in place or not, across the stretches the deciphering works in.
TEST(StreamRule, DecipheringEqualsTheOneBlockLoopForEveryRunShape) {
    const std::vector<std::vector<std::size_t>> shapes = {{1},
                                                          {7},
                                                          {8},
                                                          {16},
                                                          {17, 15, 1},
                                                          {18, 30, 30, 22},
                                                          {4096},
                                                          {4104},
                                                          {4095, 1},
                                                          {8192 + 24, 3},
                                                          {3 * 4096 + 5, 4096 + 16, 77}};
    for (const CipherEntry& entry : CipherList()) {
        const int code = entry.code;
        for (const auto& runs : shapes) {
            SCOPED_TRACE("cipher " + std::to_string(code) + ", " + std::to_string(runs.size()) +
                         " runs, first " + std::to_string(runs[0]));
            const Bytes plain = Pattern(Total(runs), static_cast<std::uint32_t>(runs[0]));
            const Bytes cipherText = EncipherRuns(*Keyed(code, kPassword, kSha256), plain, runs);
            Reference ref(code, KeyFor(code, kPassword, kSha256));
            ASSERT_EQ(ToHex(ReferenceRuns(ref, cipherText, runs, true)), ToHex(plain));

            auto inPlace = Keyed(code, kPassword, kSha256);
            auto apart = Keyed(code, kPassword, kSha256);
            Bytes a = cipherText;
            Bytes b(cipherText.size());
            std::size_t at = 0;
            for (std::size_t run : runs) {
                inPlace->DecryptRun(a.data() + at, a.data() + at, run);
                apart->DecryptRun(cipherText.data() + at, b.data() + at, run);
                at += run;
            }
            EXPECT_EQ(a, plain);
            EXPECT_EQ(b, plain);
        }
    }
}

TEST(StreamRule, EveryCipherWithEveryHashDeciphersWhatItEnciphered) {
    const std::vector<std::size_t> runs = {18, 30, 4096 + 5, 22, 1};
    const Bytes plain = Pattern(Total(runs));
    for (const CipherEntry& c : CipherList()) {
        for (const HashEntry& h : HashList()) {
            SCOPED_TRACE(std::string(c.listName) + " / " + std::string(h.listName));
            const Bytes enciphered = EncipherRuns(*Keyed(c.code, kPassword, h.code), plain, runs);
            EXPECT_NE(enciphered, plain);
            auto decipher = Keyed(c.code, kPassword, h.code);
            Bytes back = enciphered;
            std::size_t at = 0;
            for (std::size_t run : runs) {
                decipher->DecryptRun(back.data() + at, back.data() + at, run);
                at += run;
            }
            EXPECT_EQ(back, plain);
        }
    }
}

// Which key each row receives from each digest size: the smaller of its limit and the digest.
TEST(Keying, EachRowReceivesTheFirstBitsOfTheDigest) {
    // MD5, SHA-1, Tiger, SHA-256, SHA-384, SHA-512: 128, 160, 192, 256, 384, 512 bits.
    const std::array<int, 6> hashes = {3, 6, 10, 7, 8, 9};
    struct Row {
        std::vector<int> codes;
        std::array<std::size_t, 6> bits;
    };
    const std::vector<Row> table = {
        {{4, 6, 7}, {64, 64, 64, 64, 64, 64}},
        {{2, 8, 9, 11, 18}, {128, 128, 128, 128, 128, 128}},
        {{5}, {128, 160, 192, 192, 192, 192}},
        {{3, 16, 17, 19}, {128, 160, 192, 256, 256, 256}},
        {{1}, {128, 160, 192, 256, 384, 448}},
        {{12, 10, 13, 14, 15}, {128, 160, 192, 256, 384, 512}},
    };
    std::size_t rows = 0;
    const Bytes plain = Pattern(37);
    for (const Row& row : table) {
        for (int code : row.codes) {
            ++rows;
            for (std::size_t h = 0; h < hashes.size(); ++h) {
                SCOPED_TRACE("cipher " + std::to_string(code) + ", hash " +
                             std::to_string(hashes[h]));
                const Bytes digest = HashForCode(hashes[h])->Digest(BytesOf(kPassword));
                const Bytes key(digest.begin(),
                                digest.begin() + static_cast<long>(row.bits[h] / 8));
                Reference ref(code, key);
                EXPECT_EQ(ToHex(EncipherRuns(*Keyed(code, kPassword, hashes[h]), plain, {37})),
                          ToHex(ref.Run(plain, false)));
            }
        }
    }
    EXPECT_EQ(rows, CipherList().size());
}

TEST(Keying, KeyingAgainEqualsAFreshObject) {
    const Bytes plain = Pattern(45);
    for (int code : {kAes, kBlowfish, kRc4}) {
        SCOPED_TRACE(code);
        auto reused = Keyed(code, "first password", 5);
        EncipherRuns(*reused, plain, {13, 32});
        reused->KeyFromPassword(kPassword, *HashForCode(kSha256));
        EXPECT_EQ(EncipherRuns(*reused, plain, {13, 32}),
                  EncipherRuns(*Keyed(code, kPassword, kSha256), plain, {13, 32}));
    }
}

TEST(Keying, EmptyPasswordKeysFromTheDigestOfNoBytes) {
    const Bytes emptySha256 =
        FromHex("e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    Reference ref(kAes, emptySha256);
    const Bytes plain = Pattern(21);
    EXPECT_EQ(ToHex(EncipherRuns(*Keyed(kAes, "", kSha256), plain, {21})),
              ToHex(ref.Run(plain, false)));
}

TEST(Keying, ACharacterOutsideTheCodePageCountsAsItsReplacement) {
    const Bytes plain = Pattern(24);
    const std::string typed = "pass\u2713w\u00f6rd\u20ac"; // a check mark; o umlaut and euro exist
    const std::string converted = Utf8ToCodePage(typed);
    EXPECT_EQ(converted, "pass?w\xf6rd\x80");
    EXPECT_EQ(EncipherRuns(*Keyed(kAes, converted, kSha256), plain, {24}),
              EncipherRuns(*Keyed(kAes, "pass?w\xf6rd\x80", kSha256), plain, {24}));
    EXPECT_NE(EncipherRuns(*Keyed(kAes, converted, kSha256), plain, {24}),
              EncipherRuns(*Keyed(kAes, "pass!w\xf6rd\x80", kSha256), plain, {24}));
}

void ExpectCryptoError(const std::function<void()>& action, const std::string& text) {
    try {
        action();
        ADD_FAILURE() << "no error, expected \"" << text << "\"";
    } catch (const CryptoError& e) {
        EXPECT_EQ(std::string(e.what()), text);
    }
}

TEST(Errors, RunsOnAnUnkeyedOrWipedObjectAreRefused) {
    std::array<std::uint8_t, 16> data{};
    for (int code : {kAes, kRc4}) {
        SCOPED_TRACE(code);
        auto cipher = CipherForCode(code);
        ExpectCryptoError([&] { cipher->EncryptRun(data.data(), data.data(), 16); },
                          "Cipher not initialized");
        ExpectCryptoError([&] { cipher->DecryptRun(data.data(), data.data(), 3); },
                          "Cipher not initialized");
        cipher->KeyFromPassword(kPassword, *HashForCode(kSha256));
        EXPECT_TRUE(cipher->Keyed());
        cipher->Wipe();
        EXPECT_FALSE(cipher->Keyed());
        ExpectCryptoError([&] { cipher->EncryptRun(data.data(), data.data(), 16); },
                          "Cipher not initialized");
    }
}

TEST(Errors, KeySizesOutsideTheRowAreInvalid) {
    const Bytes key(256, 0x5A);
    struct Case {
        int code;
        std::size_t bits;
    };
    const std::vector<Case> cases = {
        {kAes, 0}, {kAes, 126},  {kAes, 260}, {kAes, 4},  {4, 68},
        {4, 32},   {kRc4, 2052}, {kRc4, 0},   {14, 2048}, {kBlowfish, 452},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("cipher " + std::to_string(c.code) + ", " + std::to_string(c.bits) + " bits");
        auto cipher = CipherForCode(c.code);
        ExpectCryptoError([&] { cipher->KeyWithBytes(key, c.bits); }, "Invalid key size");
        EXPECT_FALSE(cipher->Keyed());
    }
    // More bits than bytes given.
    auto aes = CipherForCode(kAes);
    ExpectCryptoError([&] { aes->KeyWithBytes(std::span(key).first(16), 256); },
                      "Invalid key size");
    // The edges that are valid.
    aes->KeyWithBytes(key, 256);
    EXPECT_TRUE(aes->Keyed());
    auto rc4 = CipherForCode(kRc4);
    rc4->KeyWithBytes(key, 2048);
    EXPECT_TRUE(rc4->Keyed());
}

// A hash that fails, and one whose digest is too short for the row: both are keying failures,
// reported with the one text the program has for them.
TEST(Errors, AnyFailureWhileKeyingFromAPasswordHasOneText) {
    struct Failing : HashAlgorithm {
        std::size_t DigestBytes() const override { return 32; }
        std::vector<std::uint8_t> Digest(std::span<const std::uint8_t>) const override {
            throw std::bad_alloc();
        }
    } failing;
    struct Short : HashAlgorithm {
        std::size_t DigestBytes() const override { return 4; }
        std::vector<std::uint8_t> Digest(std::span<const std::uint8_t>) const override {
            return {1, 2, 3, 4};
        }
    } tooShort;
    for (const HashAlgorithm* hash : {static_cast<const HashAlgorithm*>(&failing),
                                      static_cast<const HashAlgorithm*>(&tooShort)}) {
        auto cipher = Keyed(4, kPassword, kSha256); // DES needs 8 bytes
        ExpectCryptoError([&] { cipher->KeyFromPassword(kPassword, *hash); },
                          "Unable to allocate sufficient memory for hash digest");
        EXPECT_FALSE(cipher->Keyed());
    }
}

} // namespace
} // namespace partsmith
