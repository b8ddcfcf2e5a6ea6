// ICE (Information Concealment Engine) of any level: Thin-ICE (level 0, 8 rounds), ICE (level 1,
// 16 rounds) and ICE-n (16n rounds, 8n key bytes). One implementation, so that the three rows of
// the catalogue differ only in their round count and key length.
#include "crypto/Algorithms.h"
#include "crypto/SecureBytes.h"
#include "crypto/WordBytes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace partsmith {
namespace {

using wordbytes::LoadBe32;
using wordbytes::StoreBe32;

// Multiplication in GF(2^8) modulo the polynomial m (with its x^8 term).
constexpr unsigned GfMult(unsigned a, unsigned b, unsigned m) {
    unsigned result = 0;
    while (b != 0) {
        if ((b & 1) != 0) {
            result ^= a;
        }
        a <<= 1;
        b >>= 1;
        if (a >= 256) {
            a ^= m;
        }
    }
    return result;
}

constexpr unsigned GfExp7(unsigned b, unsigned m) {
    if (b == 0) {
        return 0;
    }
    unsigned x = GfMult(b, b, m); // b^2
    x = GfMult(b, x, m);          // b^3
    x = GfMult(x, x, m);          // b^6
    return GfMult(b, x, m);       // b^7
}

constexpr std::array<std::uint32_t, 32> kPbox = {
    0x00000001, 0x00000080, 0x00000400, 0x00002000, 0x00080000, 0x00200000, 0x01000000, 0x40000000,
    0x00000008, 0x00000020, 0x00000100, 0x00004000, 0x00010000, 0x00800000, 0x04000000, 0x20000000,
    0x00000004, 0x00000010, 0x00000200, 0x00008000, 0x00020000, 0x00400000, 0x08000000, 0x10000000,
    0x00000002, 0x00000040, 0x00000800, 0x00001000, 0x00040000, 0x00100000, 0x02000000, 0x80000000};

constexpr std::uint32_t Permute(std::uint32_t x) {
    std::uint32_t result = 0;
    for (std::size_t bit = 0; x != 0; ++bit, x >>= 1) {
        if ((x & 1) != 0) {
            result |= kPbox[bit];
        }
    }
    return result;
}

constexpr unsigned kSboxMod[4][4] = {
    {333, 313, 505, 369}, {379, 375, 319, 391}, {361, 445, 451, 397}, {397, 425, 395, 505}};
constexpr unsigned kSboxXor[4][4] = {{0x83, 0x85, 0x9b, 0xcd},
                                     {0xcc, 0xa7, 0xad, 0x41},
                                     {0x4b, 0x2e, 0xd4, 0x33},
                                     {0xea, 0xcb, 0x2e, 0x04}};

using Sboxes = std::array<std::array<std::uint32_t, 1024>, 4>;

// The four S-boxes with the permutation already applied, so that F is four look-ups.
constexpr Sboxes BuildSboxes() {
    Sboxes boxes{};
    for (unsigned i = 0; i < 1024; ++i) {
        const unsigned col = (i >> 1) & 0xff;
        const unsigned row = (i & 1) | ((i & 0x200) >> 8);
        for (unsigned s = 0; s < 4; ++s) {
            const std::uint32_t x = GfExp7(col ^ kSboxXor[s][row], kSboxMod[s][row]);
            boxes[s][i] = Permute(x << (24 - 8 * s));
        }
    }
    return boxes;
}

// Built when the program starts rather than by the compiler: a compile-time build of all 4096
// entries exceeds some compilers' constant-evaluation limits. No static initialiser enciphers.
const Sboxes kSbox = BuildSboxes();

constexpr std::array<int, 16> kKeyRotation = {0, 1, 2, 3, 2, 1, 3, 0, 1, 3, 2, 0, 3, 1, 0, 2};

// Three 20-bit words per round.
using Subkey = std::array<std::uint32_t, 3>;

std::uint32_t RoundFunction(std::uint32_t p, const Subkey& sk) noexcept {
    const std::uint32_t tl = ((p >> 16) & 0x3ff) | (((p >> 14) | (p << 18)) & 0xffc00);
    const std::uint32_t tr = (p & 0x3ff) | ((p << 2) & 0xffc00);
    std::uint32_t al = sk[2] & (tl ^ tr);
    std::uint32_t ar = al ^ tr;
    al ^= tl;
    al ^= sk[0];
    ar ^= sk[1];
    return kSbox[0][al >> 10] | kSbox[1][al & 0x3ff] | kSbox[2][ar >> 10] | kSbox[3][ar & 0x3ff];
}

class Ice final : public BlockCipher {
public:
    explicit Ice(int level)
        : rounds_(level == 0 ? 8 : 16 * static_cast<std::size_t>(level)),
          keyBytes_(level == 0 ? 8 : 8 * static_cast<std::size_t>(level)) {}
    ~Ice() override { Wipe(); }
    Ice(const Ice&) = delete;
    Ice& operator=(const Ice&) = delete;

    std::size_t BlockBytes() const override { return 8; }
    std::size_t KeyLimitBits() const override { return keyBytes_ * 8; }

    void SetKey(std::span<const std::uint8_t> key) override {
        if (key.size() != keyBytes_) {
            throw std::invalid_argument("ICE: wrong key length");
        }
        if (rounds_ == 8) {
            std::array<std::uint32_t, 4> kb = ChunkWords(key.data());
            BuildSubkeys(kb, 0, 0);
            SecureFill(kb.data(), sizeof(kb), 0);
            return;
        }
        for (std::size_t chunk = 0; chunk < keyBytes_ / 8; ++chunk) {
            // Both halves of the schedule draw on the same, progressively rotated key words.
            std::array<std::uint32_t, 4> kb = ChunkWords(key.data() + 8 * chunk);
            BuildSubkeys(kb, 8 * chunk, 0);
            BuildSubkeys(kb, rounds_ - 8 - 8 * chunk, 8);
            SecureFill(kb.data(), sizeof(kb), 0);
        }
    }

    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t l = LoadBe32(in);
        std::uint32_t r = LoadBe32(in + 4);
        for (std::size_t i = 0; i < rounds_; i += 2) {
            l ^= RoundFunction(r, schedule_[i]);
            r ^= RoundFunction(l, schedule_[i + 1]);
        }
        StoreBe32(out, r);
        StoreBe32(out + 4, l);
    }

    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t l = LoadBe32(in);
        std::uint32_t r = LoadBe32(in + 4);
        for (std::size_t i = rounds_; i > 0; i -= 2) {
            l ^= RoundFunction(r, schedule_[i - 1]);
            r ^= RoundFunction(l, schedule_[i - 2]);
        }
        StoreBe32(out, r);
        StoreBe32(out + 4, l);
    }

    void Wipe() noexcept override { SecureFill(schedule_.data(), sizeof(schedule_), 0); }

private:
    static constexpr std::size_t kMaxRounds = 32;

    static std::array<std::uint32_t, 4> ChunkWords(const std::uint8_t* chunk) {
        std::array<std::uint32_t, 4> kb{};
        for (std::size_t j = 0; j < 4; ++j) {
            kb[3 - j] = (std::uint32_t{chunk[2 * j]} << 8) | chunk[2 * j + 1];
        }
        return kb;
    }

    // Eight subkeys from first, each gathering 60 bits from the 16-bit words in kb, which
    // are rotated (with inversion of the bit fed back) as they are read.
    void BuildSubkeys(std::array<std::uint32_t, 4>& kb, std::size_t first,
                      std::size_t rotationOffset) noexcept {
        for (std::size_t i = 0; i < 8; ++i) {
            const auto kr = static_cast<std::size_t>(kKeyRotation[rotationOffset + i]);
            Subkey& sk = schedule_[first + i];
            sk = {0, 0, 0};
            for (std::size_t j = 0; j < 15; ++j) {
                std::uint32_t& word = sk[j % 3];
                for (std::size_t k = 0; k < 4; ++k) {
                    std::uint32_t& source = kb[(kr + k) & 3];
                    const std::uint32_t bit = source & 1;
                    word = (word << 1) | bit;
                    source = (source >> 1) | ((bit ^ 1) << 15);
                }
            }
        }
    }

    std::size_t rounds_;
    std::size_t keyBytes_;
    std::array<Subkey, kMaxRounds> schedule_{};
};

} // namespace

std::unique_ptr<BlockCipher> MakeIce(int level) {
    if (level < 0 || level > 2) {
        throw std::invalid_argument("ICE: level must be 0, 1 or 2");
    }
    return std::make_unique<Ice>(level);
}

} // namespace partsmith
