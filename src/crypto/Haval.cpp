// HAVAL with five passes and a 256-bit fingerprint: 128-byte blocks of 32 little-endian words,
// eight 32-bit registers started from the fraction of pi.
#include "crypto/Algorithms.h"
#include "crypto/SecureBytes.h"
#include "crypto/WordBytes.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace partsmith {
namespace {

using wordbytes::LoadLe32;
using wordbytes::StoreLe32;

constexpr std::size_t kBlockBytes = 128;
constexpr std::size_t kPasses = 5;
constexpr std::size_t kStepsPerPass = 32;

// clang-format off
// The first eight words of the fraction of pi.
constexpr std::array<std::uint32_t, 8> kInitialState = {
    0x243f6a88, 0x85a308d3, 0x13198a2e, 0x03707344,
    0xa4093822, 0x299f31d0, 0x082efa98, 0xec4e6c89,
};

// The next 128 words of pi: step i of pass r >= 2 adds word 32 (r - 2) + i.
constexpr std::array<std::uint32_t, (kPasses - 1) * kStepsPerPass> kPassConstants = {
    0x452821e6, 0x38d01377, 0xbe5466cf, 0x34e90c6c, 0xc0ac29b7, 0xc97c50dd, 0x3f84d5b5, 0xb5470917,
    0x9216d5d9, 0x8979fb1b, 0xd1310ba6, 0x98dfb5ac, 0x2ffd72db, 0xd01adfb7, 0xb8e1afed, 0x6a267e96,
    0xba7c9045, 0xf12c7f99, 0x24a19947, 0xb3916cf7, 0x0801f2e2, 0x858efc16, 0x636920d8, 0x71574e69,
    0xa458fea3, 0xf4933d7e, 0x0d95748f, 0x728eb658, 0x718bcd58, 0x82154aee, 0x7b54a41d, 0xc25a59b5,
    0x9c30d539, 0x2af26013, 0xc5d1b023, 0x286085f0, 0xca417918, 0xb8db38ef, 0x8e79dcb0, 0x603a180e,
    0x6c9e0e8b, 0xb01e8a3e, 0xd71577c1, 0xbd314b27, 0x78af2fda, 0x55605c60, 0xe65525f3, 0xaa55ab94,
    0x57489862, 0x63e81440, 0x55ca396a, 0x2aab10b6, 0xb4cc5c34, 0x1141e8ce, 0xa15486af, 0x7c72e993,
    0xb3ee1411, 0x636fbc2a, 0x2ba9c55d, 0x741831f6, 0xce5c3e16, 0x9b87931e, 0xafd6ba33, 0x6c24cf5c,
    0x7a325381, 0x28958677, 0x3b8f4898, 0x6b4bb9af, 0xc4bfe81b, 0x66282193, 0x61d809cc, 0xfb21a991,
    0x487cac60, 0x5dec8032, 0xef845d5d, 0xe98575b1, 0xdc262302, 0xeb651b88, 0x23893e81, 0xd396acc5,
    0x0f6d6ff3, 0x83f44239, 0x2e0b4482, 0xa4842004, 0x69c8f04a, 0x9e1f9b5e, 0x21c66842, 0xf6e96c9a,
    0x670c9c61, 0xabd388f0, 0x6a51a0d2, 0xd8542f68, 0x960fa728, 0xab5133a3, 0x6eef0b6c, 0x137a3be4,
    0xba3bf050, 0x7efb2a98, 0xa1f1651d, 0x39af0176, 0x66ca593e, 0x82430e88, 0x8cee8619, 0x456f9fb4,
    0x7d84a5c3, 0x3b8b5ebe, 0xe06f75d8, 0x85c12073, 0x401a449f, 0x56c16aa6, 0x4ed3aa62, 0x363f7706,
    0x1bfedf72, 0x429b023d, 0x37d0d724, 0xd00a1248, 0xdb0fead3, 0x49f1c09b, 0x075372c9, 0x80991b7b,
    0x25d479d8, 0xf6e8def7, 0xe3fe501a, 0xb6794c3b, 0x976ce0bd, 0x04c006ba, 0xc1a94fb6, 0x409f60c4,
};

// The message word that each step of each pass adds.
constexpr std::array<std::array<std::uint8_t, kStepsPerPass>, kPasses> kWordOrder = {{
    { 0,  1,  2,  3,  4,  5,  6,  7,  8,  9, 10, 11, 12, 13, 14, 15,
     16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31},
    { 5, 14, 26, 18, 11, 28,  7, 16,  0, 23, 20, 22,  1, 10,  4,  8,
     30,  3, 21,  9, 17, 24, 29,  6, 19, 12, 15, 13,  2, 25, 31, 27},
    {19,  9,  4, 20, 28, 17,  8, 22, 29, 14, 25, 12, 24, 30, 16, 26,
     31, 15,  7,  3,  1,  0, 18, 27, 13,  6, 21, 10, 23, 11,  5,  2},
    {24,  4,  0, 14,  2,  7, 28, 23, 26,  6, 30, 20, 18, 25, 19,  3,
     22, 11, 31, 21,  8, 27, 12,  9,  1, 29,  5, 15, 17, 10, 16, 13},
    {27,  3, 21, 26, 17, 11, 20, 29, 19,  0, 12,  7, 13,  8, 31, 10,
      5,  9, 14, 30, 18,  6, 28, 24,  2, 23, 16, 22,  4,  1, 25, 15},
}};
// clang-format on

// The five Boolean functions, each on the arguments (x6, ..., x0) of its published form.
std::uint32_t F1(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                 std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) noexcept {
    return (x1 & (x0 ^ x4)) ^ (x2 & x5) ^ (x3 & x6) ^ x0;
}

std::uint32_t F2(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                 std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) noexcept {
    return (x2 & ((x1 & ~x3) ^ (x4 & x5) ^ x6 ^ x0)) ^ (x4 & (x1 ^ x5)) ^ (x3 & x5) ^ x0;
}

std::uint32_t F3(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                 std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) noexcept {
    return (x3 & ((x1 & x2) ^ x6 ^ x0)) ^ (x1 & x4) ^ (x2 & x5) ^ x0;
}

std::uint32_t F4(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                 std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) noexcept {
    return (x4 & ((x5 & ~x2) ^ (x3 & ~x6) ^ x1 ^ x6 ^ x0)) ^ (x3 & ((x1 & x2) ^ x5 ^ x6)) ^
           (x2 & x6) ^ x0;
}

std::uint32_t F5(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                 std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) noexcept {
    return (x0 & ~((x1 & x2 & x3) ^ x5)) ^ (x1 & x4) ^ (x2 & x5) ^ (x3 & x6);
}

// Each pass hands its function the registers in its own order (the five-pass permutations).
template <std::size_t Pass>
std::uint32_t Phi(std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
                  std::uint32_t x2, std::uint32_t x1, std::uint32_t x0) noexcept {
    if constexpr (Pass == 0) {
        return F1(x3, x4, x1, x0, x5, x2, x6);
    } else if constexpr (Pass == 1) {
        return F2(x6, x2, x1, x0, x3, x4, x5);
    } else if constexpr (Pass == 2) {
        return F3(x2, x6, x0, x4, x3, x1, x5);
    } else if constexpr (Pass == 3) {
        return F4(x1, x5, x3, x2, x0, x4, x6);
    } else {
        return F5(x2, x5, x0, x6, x4, x3, x1);
    }
}

template <std::size_t Pass>
void Step(std::uint32_t& x7, std::uint32_t x6, std::uint32_t x5, std::uint32_t x4, std::uint32_t x3,
          std::uint32_t x2, std::uint32_t x1, std::uint32_t x0, std::uint32_t addend) noexcept {
    x7 = std::rotr(Phi<Pass>(x6, x5, x4, x3, x2, x1, x0), 7) + std::rotr(x7, 11) + addend;
}

template <std::size_t Pass>
void RunPass(std::array<std::uint32_t, 8>& t, const std::array<std::uint32_t, 32>& w) noexcept {
    const auto& order = kWordOrder[Pass];
    const auto addend = [&](std::size_t i) {
        const std::uint32_t word = w[order[i]];
        if constexpr (Pass == 0) {
            return word;
        } else {
            return word + kPassConstants[(Pass - 1) * kStepsPerPass + i];
        }
    };
    // The registers rotate by one each step; eight steps bring them back in place.
    for (std::size_t i = 0; i < kStepsPerPass; i += 8) {
        Step<Pass>(t[7], t[6], t[5], t[4], t[3], t[2], t[1], t[0], addend(i));
        Step<Pass>(t[6], t[5], t[4], t[3], t[2], t[1], t[0], t[7], addend(i + 1));
        Step<Pass>(t[5], t[4], t[3], t[2], t[1], t[0], t[7], t[6], addend(i + 2));
        Step<Pass>(t[4], t[3], t[2], t[1], t[0], t[7], t[6], t[5], addend(i + 3));
        Step<Pass>(t[3], t[2], t[1], t[0], t[7], t[6], t[5], t[4], addend(i + 4));
        Step<Pass>(t[2], t[1], t[0], t[7], t[6], t[5], t[4], t[3], addend(i + 5));
        Step<Pass>(t[1], t[0], t[7], t[6], t[5], t[4], t[3], t[2], addend(i + 6));
        Step<Pass>(t[0], t[7], t[6], t[5], t[4], t[3], t[2], t[1], addend(i + 7));
    }
}

void Compress(std::array<std::uint32_t, 8>& state, const std::uint8_t* block) noexcept {
    std::array<std::uint32_t, 32> w{};
    for (std::size_t i = 0; i < w.size(); ++i) {
        w[i] = LoadLe32(block + 4 * i);
    }
    std::array<std::uint32_t, 8> t = state;
    RunPass<0>(t, w);
    RunPass<1>(t, w);
    RunPass<2>(t, w);
    RunPass<3>(t, w);
    RunPass<4>(t, w);
    for (std::size_t i = 0; i < state.size(); ++i) {
        state[i] += t[i];
    }
    // The message may be a password.
    SecureFill(w.data(), sizeof(w), 0);
    SecureFill(t.data(), sizeof(t), 0);
}

// The last block carries, after the 0x01 pad byte and zeros, the version (1), the number of
// passes and the fingerprint length in two bytes, then the bit length of the message.
constexpr std::size_t kTrailerBytes = 10;
constexpr std::uint8_t kTrailerFirst = (256 & 3) << 6 | kPasses << 3 | 1;
constexpr std::uint8_t kTrailerSecond = (256 >> 2) & 0xff;
static_assert(kTrailerFirst == 0x29 && kTrailerSecond == 0x40);

} // namespace

std::vector<std::uint8_t> Haval5_256(std::span<const std::uint8_t> message) {
    std::array<std::uint32_t, 8> state = kInitialState;
    const std::size_t whole = message.size() / kBlockBytes * kBlockBytes;
    for (std::size_t offset = 0; offset < whole; offset += kBlockBytes) {
        Compress(state, message.data() + offset);
    }

    WipedArray<2 * kBlockBytes> tail;
    const std::size_t rest = message.size() - whole;
    if (rest != 0) {
        std::memcpy(tail.data(), message.data() + whole, rest);
    }
    tail[rest] = 0x01;
    const std::size_t tailBytes =
        rest + 1 + kTrailerBytes <= kBlockBytes ? kBlockBytes : 2 * kBlockBytes;
    std::uint8_t* trailer = tail.data() + tailBytes - kTrailerBytes;
    trailer[0] = kTrailerFirst;
    trailer[1] = kTrailerSecond;
    const std::uint64_t bits = static_cast<std::uint64_t>(message.size()) * 8;
    for (std::size_t i = 0; i < 8; ++i) {
        trailer[2 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
    }
    for (std::size_t offset = 0; offset < tailBytes; offset += kBlockBytes) {
        Compress(state, tail.data() + offset);
    }

    std::vector<std::uint8_t> digest(32);
    for (std::size_t i = 0; i < state.size(); ++i) {
        StoreLe32(digest.data() + 4 * i, state[i]);
    }
    SecureFill(state.data(), sizeof(state), 0);
    return digest;
}

} // namespace partsmith
