// RC6-32/20/b: 32-bit words, 20 rounds, a key of any length b. Written here because the rows
// of the catalogue also need the 20-, 48- and 64-byte keys that libraries commonly refuse.
#include "crypto/Algorithms.h"
#include "crypto/SecureBytes.h"
#include "crypto/WordBytes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace partsmith {
namespace {

using wordbytes::LoadLe32;
using wordbytes::StoreLe32;

constexpr std::size_t kRounds = 20;
constexpr std::size_t kScheduleWords = 2 * kRounds + 4;
constexpr std::size_t kMaxKeyBytes = 256;
constexpr std::uint32_t kP32 = 0xb7e15163;
constexpr std::uint32_t kQ32 = 0x9e3779b9;

int Amount(std::uint32_t x) noexcept {
    return static_cast<int>(x & 31);
}

class Rc6 final : public BlockCipher {
public:
    Rc6() = default;
    ~Rc6() override { Wipe(); }
    Rc6(const Rc6&) = delete;
    Rc6& operator=(const Rc6&) = delete;

    std::size_t BlockBytes() const override { return 16; }
    std::size_t KeyLimitBits() const override { return kMaxKeyBytes * 8; }

    void SetKey(std::span<const std::uint8_t> key) override {
        if (key.empty() || key.size() > kMaxKeyBytes) {
            throw std::invalid_argument("RC6: the key must be 1 to 256 bytes");
        }
        // The key as little-endian words, the last one filled up with zero bytes.
        std::array<std::uint32_t, kMaxKeyBytes / 4> l{};
        const std::size_t c = (key.size() + 3) / 4;
        for (std::size_t i = 0; i < key.size(); ++i) {
            l[i / 4] |= std::uint32_t{key[i]} << (8 * (i % 4));
        }

        s_[0] = kP32;
        for (std::size_t i = 1; i < kScheduleWords; ++i) {
            s_[i] = s_[i - 1] + kQ32;
        }
        std::uint32_t a = 0;
        std::uint32_t b = 0;
        std::size_t i = 0;
        std::size_t j = 0;
        const std::size_t steps = 3 * std::max(c, kScheduleWords);
        for (std::size_t step = 0; step < steps; ++step) {
            a = s_[i] = std::rotl(s_[i] + a + b, 3);
            b = l[j] = std::rotl(l[j] + a + b, Amount(a + b));
            i = (i + 1) % kScheduleWords;
            j = (j + 1) % c;
        }
        SecureFill(l.data(), sizeof(l), 0);
    }

    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t a = LoadLe32(in);
        std::uint32_t b = LoadLe32(in + 4) + s_[0];
        std::uint32_t c = LoadLe32(in + 8);
        std::uint32_t d = LoadLe32(in + 12) + s_[1];
        for (std::size_t i = 1; i <= kRounds; ++i) {
            const std::uint32_t t = std::rotl(b * (2 * b + 1), 5);
            const std::uint32_t u = std::rotl(d * (2 * d + 1), 5);
            a = std::rotl(a ^ t, Amount(u)) + s_[2 * i];
            c = std::rotl(c ^ u, Amount(t)) + s_[2 * i + 1];
            const std::uint32_t first = a;
            a = b;
            b = c;
            c = d;
            d = first;
        }
        StoreLe32(out, a + s_[2 * kRounds + 2]);
        StoreLe32(out + 4, b);
        StoreLe32(out + 8, c + s_[2 * kRounds + 3]);
        StoreLe32(out + 12, d);
    }

    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t a = LoadLe32(in) - s_[2 * kRounds + 2];
        std::uint32_t b = LoadLe32(in + 4);
        std::uint32_t c = LoadLe32(in + 8) - s_[2 * kRounds + 3];
        std::uint32_t d = LoadLe32(in + 12);
        for (std::size_t i = kRounds; i >= 1; --i) {
            const std::uint32_t last = d;
            d = c;
            c = b;
            b = a;
            a = last;
            const std::uint32_t u = std::rotl(d * (2 * d + 1), 5);
            const std::uint32_t t = std::rotl(b * (2 * b + 1), 5);
            c = std::rotr(c - s_[2 * i + 1], Amount(t)) ^ u;
            a = std::rotr(a - s_[2 * i], Amount(u)) ^ t;
        }
        StoreLe32(out, a);
        StoreLe32(out + 4, b - s_[0]);
        StoreLe32(out + 8, c);
        StoreLe32(out + 12, d - s_[1]);
    }

    void Wipe() noexcept override { SecureFill(s_.data(), sizeof(s_), 0); }

private:
    std::array<std::uint32_t, kScheduleWords> s_{};
};

} // namespace

std::unique_ptr<BlockCipher> MakeRc6() {
    return std::make_unique<Rc6>();
}

} // namespace partsmith
