// The TEA variant of the catalogue. It keeps TEA's shape (32 cycles, the golden-ratio constant)
// but joins its terms differently: the shifted word, the key word XORed with the word, and the
// sum XORed with the right-shifted word are all added, so a reference TEA gives other bytes.
// Words are big-endian.
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

constexpr std::uint32_t kDelta = 0x9e3779b9;
constexpr int kCycles = 32;
constexpr std::uint32_t kFinalSum = static_cast<std::uint32_t>(kDelta * kCycles);

std::uint32_t Mix(std::uint32_t w, std::uint32_t sum, std::uint32_t kx, std::uint32_t ka) noexcept {
    return (w << 4) + (kx ^ w) + (sum ^ (w >> 5)) + ka;
}

class TeaVariant final : public BlockCipher {
public:
    TeaVariant() = default;
    ~TeaVariant() override { Wipe(); }
    TeaVariant(const TeaVariant&) = delete;
    TeaVariant& operator=(const TeaVariant&) = delete;

    std::size_t BlockBytes() const override { return 8; }
    std::size_t KeyLimitBits() const override { return 128; }

    void SetKey(std::span<const std::uint8_t> key) override {
        if (key.size() != 16) {
            throw std::invalid_argument("TEA variant: the key must be 16 bytes");
        }
        for (std::size_t i = 0; i < 4; ++i) {
            k_[i] = LoadBe32(key.data() + 4 * i);
        }
    }

    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t y = LoadBe32(in);
        std::uint32_t z = LoadBe32(in + 4);
        std::uint32_t sum = 0;
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            sum += kDelta;
            y += Mix(z, sum, k_[0], k_[1]);
            z += Mix(y, sum, k_[2], k_[3]);
        }
        StoreBe32(out, y);
        StoreBe32(out + 4, z);
    }

    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t y = LoadBe32(in);
        std::uint32_t z = LoadBe32(in + 4);
        std::uint32_t sum = kFinalSum;
        for (int cycle = 0; cycle < kCycles; ++cycle) {
            z -= Mix(y, sum, k_[2], k_[3]);
            y -= Mix(z, sum, k_[0], k_[1]);
            sum -= kDelta;
        }
        StoreBe32(out, y);
        StoreBe32(out + 4, z);
    }

    void Wipe() noexcept override { SecureFill(k_.data(), sizeof(k_), 0); }

private:
    std::array<std::uint32_t, 4> k_{};
};

static_assert(kFinalSum == 0xc6ef3720);

} // namespace

std::unique_ptr<BlockCipher> MakeTeaVariant() {
    return std::make_unique<TeaVariant>();
}

} // namespace partsmith
