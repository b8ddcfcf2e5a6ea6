// The catalogue against published vectors, its lists and codes, and the key rules of its rows.
#include "crypto/BlockCipher.h"
#include "crypto/CryptoTestSupport.h"
#include "crypto/EncryptMod.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace partsmith {
namespace {

using testing::Bytes;
using testing::FromHex;
using testing::ToHex;

std::string Trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = s.find_last_not_of(' ');
    return std::string(s.substr(first, last - first + 1));
}

struct VectorLine {
    int lineNumber = 0;
    std::string text;
    std::vector<std::string> fields;
    bool referenceOnly = false;
    bool isHash = false; // the second field is a message, not a hex key
    int code = 0; // the catalogue code: from "[n]", or what a REFERENCE-ONLY line warns about
};

// What each kind of REFERENCE-ONLY line shows a wrong choice of.
struct WrongVariant {
    std::string_view prefix;
    bool isHash;
    int code;
};
constexpr WrongVariant kWrongVariants[] = {
    {"REFERENCE-ONLY RC2 ", false, 12},          {"REFERENCE-ONLY MARS ", false, 10},
    {"REFERENCE-ONLY reference TEA", false, 18}, {"REFERENCE-ONLY RC5-32/16", false, 14},
    {"REFERENCE-ONLY Tiger", true, 10},          {"REFERENCE-ONLY HAVAL-256/3", true, 1},
};

// vectors.txt holds the published vectors; computed.txt those obtained from a second
// implementation where no published vector has the row's setting.
std::vector<VectorLine> LoadVectors(const std::string& name) {
    std::ifstream in(std::string(PARTSMITH_TEST_DATA) + "/crypto/" + name);
    if (!in) {
        throw std::runtime_error(name + " not found");
    }
    std::vector<VectorLine> lines;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (text.empty() || text[0] == '#') {
            continue;
        }
        VectorLine line;
        line.lineNumber = number;
        line.text = name + ": " + text;
        for (std::size_t start = 0;;) {
            const auto bar = text.find('|', start);
            line.fields.push_back(Trim(std::string_view(text).substr(start, bar - start)));
            if (bar == std::string::npos) {
                break;
            }
            start = bar + 1;
        }
        if (line.fields.size() < 4) {
            throw std::runtime_error("malformed vector line " + std::to_string(number));
        }
        const std::string& message = line.fields[1];
        line.isHash = !message.empty() &&
                      (message.front() == '"' || message.find(" x \"") != std::string::npos);
        line.referenceOnly = text.rfind("REFERENCE-ONLY", 0) == 0;
        if (line.referenceOnly) {
            const auto* wrong =
                std::find_if(std::begin(kWrongVariants), std::end(kWrongVariants),
                             [&](const WrongVariant& w) { return text.rfind(w.prefix, 0) == 0; });
            if (wrong == std::end(kWrongVariants) || wrong->isHash != line.isHash) {
                throw std::runtime_error("unclassified REFERENCE-ONLY line " +
                                         std::to_string(number));
            }
            line.code = wrong->code;
        } else {
            const auto open = line.fields[0].find('[');
            const auto close = line.fields[0].find(']');
            if (open == std::string::npos || close == std::string::npos) {
                throw std::runtime_error("no code on vector line " + std::to_string(number));
            }
            line.code = std::stoi(line.fields[0].substr(open + 1, close - open - 1));
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

// "abc", 8 x "1234567890", 1,000,000 x "a".
Bytes MessageOf(const std::string& field) {
    std::size_t repeat = 1;
    std::string quoted = field;
    if (const auto x = field.find(" x \""); x != std::string::npos) {
        std::string count = field.substr(0, x);
        count.erase(std::remove(count.begin(), count.end(), ','), count.end());
        repeat = std::stoul(count);
        quoted = field.substr(x + 3);
    }
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') {
        throw std::runtime_error("unreadable message: " + field);
    }
    const std::string unit = quoted.substr(1, quoted.size() - 2);
    Bytes message;
    message.reserve(unit.size() * repeat);
    for (std::size_t i = 0; i < repeat; ++i) {
        message.insert(message.end(), unit.begin(), unit.end());
    }
    return message;
}

Bytes Digest(int code, const Bytes& message) {
    const HashAlgorithm* hash = HashForCode(code);
    if (hash == nullptr) {
        throw std::runtime_error("no hash for code " + std::to_string(code));
    }
    return hash->Digest(message);
}

// One raw block under the row's key rule; RC4 (no block cipher) gives the key stream of a run as
// long as the plaintext.
Bytes EncipherOnce(int code, const Bytes& key, const Bytes& plain) {
    if (auto block = BlockCipherForCode(code)) {
        if (plain.size() != block->BlockBytes()) {
            throw std::runtime_error("plaintext is not one block");
        }
        block->SetKey(key);
        Bytes out(plain.size());
        block->EncryptBlock(plain.data(), out.data());
        return out;
    }
    auto stream = CipherForCode(code);
    stream->KeyWithBytes(key, key.size() * 8);
    Bytes out(plain.size());
    stream->EncryptRun(plain.data(), out.data(), plain.size());
    return out;
}

class Vectors : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        lines_ = new std::vector<VectorLine>(LoadVectors("vectors.txt"));
        const auto computed = LoadVectors("computed.txt");
        lines_->insert(lines_->end(), computed.begin(), computed.end());
    }
    static void TearDownTestSuite() {
        delete lines_;
        lines_ = nullptr;
    }
    static const std::vector<VectorLine>& Lines() { return *lines_; }

private:
    static inline std::vector<VectorLine>* lines_ = nullptr;
};

TEST_F(Vectors, EveryCipherLineEnciphersAndDeciphersThroughTheCatalogue) {
    for (const VectorLine& line : Lines()) {
        if (line.referenceOnly || line.isHash) {
            continue;
        }
        SCOPED_TRACE("line " + std::to_string(line.lineNumber) + " of " + line.text);
        const Bytes key = FromHex(line.fields[1]);
        const Bytes plain = FromHex(line.fields[2]);
        const Bytes cipher = FromHex(line.fields[3]);
        EXPECT_EQ(ToHex(EncipherOnce(line.code, key, plain)), ToHex(cipher));

        if (auto block = BlockCipherForCode(line.code)) {
            block->SetKey(key);
            Bytes single(plain.size());
            block->DecryptBlock(cipher.data(), single.data());
            EXPECT_EQ(ToHex(single), ToHex(plain));
            // The multi-block path, with the block in the middle of a stretch of three.
            const std::size_t n = block->BlockBytes();
            Bytes three(3 * n);
            Bytes threePlain(3 * n);
            for (std::size_t b = 0; b < 3; ++b) {
                std::copy(cipher.begin(), cipher.end(), three.begin() + b * n);
            }
            block->DecryptBlocks(three.data(), threePlain.data(), 3);
            EXPECT_EQ(ToHex(Bytes(threePlain.begin() + n, threePlain.begin() + 2 * n)),
                      ToHex(plain));
        }
    }
}

TEST_F(Vectors, EveryHashLineDigestsThroughTheCatalogue) {
    for (const VectorLine& line : Lines()) {
        if (line.referenceOnly || !line.isHash) {
            continue;
        }
        SCOPED_TRACE("line " + std::to_string(line.lineNumber) + " of " + line.text);
        EXPECT_EQ(ToHex(Digest(line.code, MessageOf(line.fields[1]))), line.fields[2]);
    }
}

// A REFERENCE-ONLY line is what a plausible wrong choice (rounds, effective key bits, key
// schedule, padding byte, byte order, passes) would give.
TEST_F(Vectors, NoWrongVariantComesOut) {
    int checked = 0;
    for (const VectorLine& line : Lines()) {
        if (!line.referenceOnly) {
            continue;
        }
        SCOPED_TRACE("line " + std::to_string(line.lineNumber) + " of " + line.text);
        const std::string wrong = line.fields[line.isHash ? 2 : 3];
        const std::string ours =
            line.isHash
                ? ToHex(Digest(line.code, MessageOf(line.fields[1])))
                : ToHex(EncipherOnce(line.code, FromHex(line.fields[1]), FromHex(line.fields[2])));
        EXPECT_NE(ours, wrong);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST_F(Vectors, EveryRowButTheTeaVariantHasAVector) {
    std::set<int> ciphers;
    std::set<int> hashes;
    for (const VectorLine& line : Lines()) {
        if (!line.referenceOnly) {
            (line.isHash ? hashes : ciphers).insert(line.code);
        }
    }
    for (const CipherEntry& e : CipherList()) {
        // The TEA variant has no published vectors; the tests of its implementation carry
        // vectors computed from its definition.
        if (e.code != 18) {
            EXPECT_TRUE(ciphers.count(e.code)) << "cipher code " << int{e.code};
        }
    }
    for (const HashEntry& e : HashList()) {
        EXPECT_TRUE(hashes.count(e.code)) << "hash code " << int{e.code};
    }
}

TEST(CatalogueLists, ShowTheEntriesInListOrderWithTheirCodes) {
    const std::vector<std::pair<std::string_view, int>> ciphers = {{"Blowfish", 1},
                                                                   {"Twofish", 19},
                                                                   {"Cast-128", 2},
                                                                   {"Cast-256", 3},
                                                                   {"DES", 4},
                                                                   {"3DES", 5},
                                                                   {"Ice", 6},
                                                                   {"Thin Ice", 7},
                                                                   {"Ice 2", 8},
                                                                   {"IDEA", 9},
                                                                   {"MARS", 10},
                                                                   {"Misty1", 11},
                                                                   {"RC2", 12},
                                                                   {"RC4", 13},
                                                                   {"RC5", 14},
                                                                   {"RC6", 15},
                                                                   {"Rijndael (AES)", 16},
                                                                   {"Serpent", 17},
                                                                   {"TEA", 18}};
    ASSERT_EQ(CipherList().size(), ciphers.size());
    for (std::size_t i = 0; i < ciphers.size(); ++i) {
        EXPECT_EQ(CipherList()[i].listName, ciphers[i].first);
        EXPECT_EQ(CipherList()[i].code, ciphers[i].second);
        EXPECT_EQ(CipherCodeForListIndex(static_cast<int>(i)), ciphers[i].second);
    }
    const std::vector<std::string_view> hashes = {"Haval",      "MD4",   "MD5",     "RipeMD-128",
                                                  "RipeMD-160", "SHA-1", "SHA-256", "SHA-384",
                                                  "SHA-512",    "Tiger"};
    ASSERT_EQ(HashList().size(), hashes.size());
    for (std::size_t i = 0; i < hashes.size(); ++i) {
        EXPECT_EQ(HashList()[i].listName, hashes[i]);
        EXPECT_EQ(HashCodeForListIndex(static_cast<int>(i)), static_cast<int>(i) + 1);
    }
    for (int outside : {-1, 19, 100}) {
        EXPECT_FALSE(CipherCodeForListIndex(outside));
    }
    for (int outside : {-1, 10}) {
        EXPECT_FALSE(HashCodeForListIndex(outside));
    }
}

TEST(CatalogueLists, NamesAndDecimalCodesSelectRows) {
    EXPECT_EQ(CipherCodeForName("twofish"), 19);
    EXPECT_EQ(CipherCodeForName("RIJNDAEL (aes)"), 16);
    EXPECT_EQ(CipherCodeForName("19"), 19);
    EXPECT_EQ(CipherCodeForName("tea"), 18);
    EXPECT_EQ(HashCodeForName("sha-256"), 7);
    EXPECT_EQ(HashCodeForName("10"), 10);
    for (std::string_view bad : {"", "0", "20", "Twofish2", " 5", "5x", "-1"}) {
        EXPECT_FALSE(CipherCodeForName(bad)) << bad;
    }
    for (std::string_view bad : {"0", "11", "SHA256"}) {
        EXPECT_FALSE(HashCodeForName(bad)) << bad;
    }
}

TEST(CatalogueLookUps, RowsAgreeWithTheirAlgorithmsAndCodesOutsideYieldNothing) {
    for (const CipherEntry& e : CipherList()) {
        SCOPED_TRACE(std::string(e.listName));
        auto cipher = CipherForCode(e.code);
        ASSERT_NE(cipher, nullptr);
        EXPECT_FALSE(cipher->Keyed());
        EXPECT_EQ(cipher->KeyLimitBits(), e.keyLimitBits);
        auto block = BlockCipherForCode(e.code);
        if (e.blockBytes == 0) {
            EXPECT_EQ(block, nullptr);
        } else {
            ASSERT_NE(block, nullptr);
            EXPECT_EQ(block->BlockBytes(), e.blockBytes);
            EXPECT_EQ(block->KeyLimitBits(), e.keyLimitBits);
        }
    }
    for (const HashEntry& e : HashList()) {
        const HashAlgorithm* hash = HashForCode(e.code);
        ASSERT_NE(hash, nullptr);
        EXPECT_EQ(hash->DigestBytes() * 8, e.digestBits) << e.listName;
        EXPECT_EQ(hash->Digest({}).size(), hash->DigestBytes()) << e.listName;
    }
    for (int code : {0, 20, 255, -1}) {
        EXPECT_EQ(CipherForCode(code), nullptr) << code;
        EXPECT_EQ(BlockCipherForCode(code), nullptr) << code;
    }
    for (int code : {0, 11, -1}) {
        EXPECT_EQ(HashForCode(code), nullptr) << code;
    }
}

// Rows whose short keys are extended before the library sees them: the short key and its
// extended form must give the same cipher.
TEST(CatalogueKeyRules, ShortKeysAreExtendedByTheRowsRule) {
    const Bytes k20 = FromHex("00112233445566778899aabbccddeeff01234567");
    const Bytes k16(k20.begin(), k20.begin() + 16);
    auto join = [](Bytes a, const Bytes& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const Bytes zeros4(4, 0);
    struct Case {
        const char* what;
        int code;
        Bytes shortKey;
        Bytes fullKey;
    };
    const std::vector<Case> cases = {
        {"two-key Triple DES: K3 = K1", 5, k16, join(k16, Bytes(k16.begin(), k16.begin() + 8))},
        {"160-bit Triple DES: K3 ends in zeros", 5, k20, join(k20, zeros4)},
        {"Rijndael 160 bits runs as AES-192", 16, k20, join(k20, zeros4)},
        {"Twofish pads to the next size", 19, k20, join(k20, zeros4)},
        {"CAST-256 pads with zeros to 256 bits", 3, k20, join(k20, Bytes(12, 0))},
        {"Serpent pads with a 1 bit, then zeros", 17, k20,
         join(join(k20, Bytes{0x01}), Bytes(11, 0))},
        {"Serpent 128 bits takes the same padding", 17, k16,
         join(join(k16, Bytes{0x01}), Bytes(15, 0))},
    };
    const Bytes plain = FromHex("000102030405060708090a0b0c0d0e0f");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto block = BlockCipherForCode(c.code);
        const Bytes p(plain.begin(), plain.begin() + static_cast<long>(block->BlockBytes()));
        const Bytes fromShort = [&] {
            auto b = BlockCipherForCode(c.code);
            b->SetKey(c.shortKey);
            Bytes out(p.size());
            b->EncryptBlock(p.data(), out.data());
            return out;
        }();
        block->SetKey(c.fullKey);
        Bytes fromFull(p.size());
        block->EncryptBlock(p.data(), fromFull.data());
        EXPECT_EQ(ToHex(fromShort), ToHex(fromFull));
    }
    // The rule must matter: zero padding is not Serpent's rule.
    auto serpent = BlockCipherForCode(17);
    serpent->SetKey(k16);
    Bytes padded(16);
    serpent->EncryptBlock(plain.data(), padded.data());
    serpent->SetKey(join(k16, Bytes(16, 0)));
    Bytes zeroPadded(16);
    serpent->EncryptBlock(plain.data(), zeroPadded.data());
    EXPECT_NE(ToHex(padded), ToHex(zeroPadded));
}

} // namespace
} // namespace partsmith
