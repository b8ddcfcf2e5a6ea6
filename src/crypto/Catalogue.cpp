// The one table of the catalogue: list order, codes, names, limits and algorithms together, so
// the Split page's lists, the list-to-code rule and the code look-ups cannot disagree.
#include "crypto/Algorithms.h"
#include "crypto/BlockCipher.h"
#include "crypto/EncryptMod.h"
#include "crypto/LibraryAlgorithms.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace partsmith {
namespace {

std::unique_ptr<BlockCipher> MakeIce1() {
    return MakeIce(1);
}
std::unique_ptr<BlockCipher> MakeThinIce() {
    return MakeIce(0);
}
std::unique_ptr<BlockCipher> MakeIce2() {
    return MakeIce(2);
}

// List position 1 is Twofish (code 19): it was added after the codes were fixed.
constexpr std::array<CipherEntry, 19> kCiphers{{
    {1, "Blowfish", 448, 8, MakeBlowfish},
    {19, "Twofish", 256, 16, MakeTwofish},
    {2, "Cast-128", 128, 8, MakeCast128},
    {3, "Cast-256", 256, 16, MakeCast256},
    {4, "DES", 64, 8, MakeDes},
    {5, "3DES", 192, 8, MakeTripleDes},
    {6, "Ice", 64, 8, MakeIce1},
    {7, "Thin Ice", 64, 8, MakeThinIce},
    {8, "Ice 2", 128, 8, MakeIce2},
    {9, "IDEA", 128, 8, MakeIdea},
    {10, "MARS", 1248, 16, MakeMars},
    {11, "Misty1", 128, 8, MakeMisty1},
    {12, "RC2", 1024, 8, MakeRc2},
    {13, "RC4", 2048, 0, nullptr},
    {14, "RC5", 2048, 8, MakeRc5},
    {15, "RC6", 2048, 16, MakeRc6},
    {16, "Rijndael (AES)", 256, 16, MakeRijndael},
    {17, "Serpent", 256, 16, MakeSerpent},
    {18, "TEA", 128, 8, MakeTeaVariant},
}};

class HavalHash final : public HashAlgorithm {
public:
    [[nodiscard]] std::size_t DigestBytes() const override { return 32; }
    [[nodiscard]] std::vector<std::uint8_t>
    Digest(std::span<const std::uint8_t> data) const override {
        return Haval5_256(data);
    }
};

const HashAlgorithm& Haval5Hash() {
    static const HavalHash hash;
    return hash;
}

constexpr std::array<HashEntry, 10> kHashes{{
    {1, "Haval", 256, Haval5Hash},
    {2, "MD4", 128, Md4Hash},
    {3, "MD5", 128, Md5Hash},
    {4, "RipeMD-128", 128, Ripemd128Hash},
    {5, "RipeMD-160", 160, Ripemd160Hash},
    {6, "SHA-1", 160, Sha1Hash},
    {7, "SHA-256", 256, Sha256Hash},
    {8, "SHA-384", 384, Sha384Hash},
    {9, "SHA-512", 512, Sha512Hash},
    {10, "Tiger", 192, TigerHash},
}};

constexpr bool HashCodesAreOrdered() {
    for (std::size_t i = 0; i < kHashes.size(); ++i) {
        if (kHashes[i].code != i + 1) {
            return false;
        }
    }
    return true;
}
static_assert(HashCodesAreOrdered(), "the hash list is in code order");

const CipherEntry* CipherRow(int code) {
    const auto* row = std::find_if(kCiphers.begin(), kCiphers.end(),
                                   [code](const CipherEntry& e) { return e.code == code; });
    return row == kCiphers.end() ? nullptr : row;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<int> DecimalNumber(std::string_view text) {
    int value = 0;
    const auto* end = text.data() + text.size();
    const auto [ptr, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || ptr != end) {
        return std::nullopt;
    }
    return value;
}

template <class Entry, std::size_t N>
std::optional<std::uint8_t> CodeForName(const std::array<Entry, N>& list,
                                        std::string_view nameOrCode) {
    for (const Entry& e : list) {
        if (SameTextIgnoringCase(e.listName, nameOrCode)) {
            return e.code;
        }
    }
    if (const auto number = DecimalNumber(nameOrCode)) {
        for (const Entry& e : list) {
            if (e.code == *number) {
                return e.code;
            }
        }
    }
    return std::nullopt;
}

template <class Entry, std::size_t N>
std::optional<std::uint8_t> CodeForIndex(const std::array<Entry, N>& list, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= N) {
        return std::nullopt;
    }
    return list[static_cast<std::size_t>(index)].code;
}

} // namespace

std::span<const CipherEntry> CipherList() {
    return kCiphers;
}
std::span<const HashEntry> HashList() {
    return kHashes;
}

std::optional<std::uint8_t> CipherCodeForListIndex(int index) {
    return CodeForIndex(kCiphers, index);
}
std::optional<std::uint8_t> HashCodeForListIndex(int index) {
    return CodeForIndex(kHashes, index);
}

std::optional<std::uint8_t> CipherCodeForName(std::string_view nameOrCode) {
    return CodeForName(kCiphers, nameOrCode);
}
std::optional<std::uint8_t> HashCodeForName(std::string_view nameOrCode) {
    return CodeForName(kHashes, nameOrCode);
}

std::unique_ptr<BlockCipher> BlockCipherForCode(int code) {
    const CipherEntry* row = CipherRow(code);
    if (row == nullptr || row->makeBlock == nullptr) {
        return nullptr;
    }
    return row->makeBlock();
}

std::unique_ptr<PartCipher> CipherForCode(int code) {
    const CipherEntry* row = CipherRow(code);
    if (row == nullptr) {
        return nullptr;
    }
    if (row->makeBlock == nullptr) {
        return std::make_unique<PartCipher>();
    }
    return std::make_unique<PartCipher>(row->makeBlock());
}

const HashAlgorithm* HashForCode(int code) {
    // The list is in code order.
    if (code < 1 || static_cast<std::size_t>(code) > kHashes.size()) {
        return nullptr;
    }
    return &kHashes[static_cast<std::size_t>(code) - 1].algorithm();
}

} // namespace partsmith
