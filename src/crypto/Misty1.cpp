// MISTY1 (RFC 2994): 64-bit block, 128-bit key, eight rounds, big-endian as in the RFC.
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

// clang-format off
constexpr std::array<std::uint8_t, 128> kS7 = {
     27,  50,  51,  90,  59,  16,  23,  84,  91,  26, 114, 115, 107,  44, 102,  73,
     31,  36,  19, 108,  55,  46,  63,  74,  93,  15,  64,  86,  37,  81,  28,   4,
     11,  70,  32,  13, 123,  53,  68,  66,  43,  30,  65,  20,  75, 121,  21, 111,
     14,  85,   9,  54, 116,  12, 103,  83,  40,  10, 126,  56,   2,   7,  96,  41,
     25,  18, 101,  47,  48,  57,   8, 104,  95, 120,  42,  76, 100,  69, 117,  61,
     89,  72,   3,  87, 124,  79,  98,  60,  29,  33,  94,  39, 106, 112,  77,  58,
      1, 109, 110,  99,  24, 119,  35,   5,  38, 118,   0,  49,  45, 122, 127,  97,
     80,  34,  17,   6,  71,  22,  82,  78, 113,  62, 105,  67,  52,  92,  88, 125,
};

constexpr std::array<std::uint16_t, 512> kS9 = {
    451, 203, 339, 415, 483, 233, 251,  53, 385, 185, 279, 491, 307,   9,  45, 211,
    199, 330,  55, 126, 235, 356, 403, 472, 163, 286,  85,  44,  29, 418, 355, 280,
    331, 338, 466,  15,  43,  48, 314, 229, 273, 312, 398,  99, 227, 200, 500,  27,
      1, 157, 248, 416, 365, 499,  28, 326, 125, 209, 130, 490, 387, 301, 244, 414,
    467, 221, 482, 296, 480, 236,  89, 145,  17, 303,  38, 220, 176, 396, 271, 503,
    231, 364, 182, 249, 216, 337, 257, 332, 259, 184, 340, 299, 430,  23, 113,  12,
     71,  88, 127, 420, 308, 297, 132, 349, 413, 434, 419,  72, 124,  81, 458,  35,
    317, 423, 357,  59,  66, 218, 402, 206, 193, 107, 159, 497, 300, 388, 250, 406,
    481, 361, 381,  49, 384, 266, 148, 474, 390, 318, 284,  96, 373, 463, 103, 281,
    101, 104, 153, 336,   8,   7, 380, 183,  36,  25, 222, 295, 219, 228, 425,  82,
    265, 144, 412, 449,  40, 435, 309, 362, 374, 223, 485, 392, 197, 366, 478, 433,
    195, 479,  54, 238, 494, 240, 147,  73, 154, 438, 105, 129, 293,  11,  94, 180,
    329, 455, 372,  62, 315, 439, 142, 454, 174,  16, 149, 495,  78, 242, 509, 133,
    253, 246, 160, 367, 131, 138, 342, 155, 316, 263, 359, 152, 464, 489,   3, 510,
    189, 290, 137, 210, 399,  18,  51, 106, 322, 237, 368, 283, 226, 335, 344, 305,
    327,  93, 275, 461, 121, 353, 421, 377, 158, 436, 204,  34, 306,  26, 232,   4,
    391, 493, 407,  57, 447, 471,  39, 395, 198, 156, 208, 334, 108,  52, 498, 110,
    202,  37, 186, 401, 254,  19, 262,  47, 429, 370, 475, 192, 267, 470, 245, 492,
    269, 118, 276, 427, 117, 268, 484, 345,  84, 287,  75, 196, 446, 247,  41, 164,
     14, 496, 119,  77, 378, 134, 139, 179, 369, 191, 270, 260, 151, 347, 352, 360,
    215, 187, 102, 462, 252, 146, 453, 111,  22,  74, 161, 313, 175, 241, 400,  10,
    426, 323, 379,  86, 397, 358, 212, 507, 333, 404, 410, 135, 504, 291, 167, 440,
    321,  60, 505, 320,  42, 341, 282, 417, 408, 213, 294, 431,  97, 302, 343, 476,
    114, 394, 170, 150, 277, 239,  69, 123, 141, 325,  83,  95, 376, 178,  46,  32,
    469,  63, 457, 487, 428,  68,  56,  20, 177, 363, 171, 181,  90, 386, 456, 468,
     24, 375, 100, 207, 109, 256, 409, 304, 346,   5, 288, 443, 445, 224,  79, 214,
    319, 452, 298,  21,   6, 255, 411, 166,  67, 136,  80, 351, 488, 289, 115, 382,
    188, 194, 201, 371, 393, 501, 116, 460, 486, 424, 405,  31,  65,  13, 442,  50,
     61, 465, 128, 168,  87, 441, 354, 328, 217, 261,  98, 122,  33, 511, 274, 264,
    448, 169, 285, 432, 422, 205, 243,  92, 258,  91, 473, 324, 502, 173, 165,  58,
    459, 310, 383,  70, 225,  30, 477, 230, 311, 506, 389, 140, 143,  64, 437, 190,
    120,   0, 172, 272, 350, 292,   2, 444, 162, 234, 112, 508, 278, 348,  76, 450,
};
// clang-format on

std::uint16_t Fi(std::uint16_t in, std::uint16_t key) noexcept {
    std::uint16_t d9 = in >> 7;
    std::uint16_t d7 = in & 0x7f;
    d9 = kS9[d9] ^ d7;
    d7 = kS7[d7] ^ (d9 & 0x7f);
    d7 ^= key >> 9;
    d9 ^= key & 0x1ff;
    d9 = kS9[d9] ^ d7;
    return static_cast<std::uint16_t>((d7 << 9) | d9);
}

class Misty1 final : public BlockCipher {
public:
    Misty1() = default;
    ~Misty1() override { Wipe(); }
    Misty1(const Misty1&) = delete;
    Misty1& operator=(const Misty1&) = delete;

    std::size_t BlockBytes() const override { return 8; }
    std::size_t KeyLimitBits() const override { return 128; }

    void SetKey(std::span<const std::uint8_t> key) override {
        if (key.size() != 16) {
            throw std::invalid_argument("MISTY1: the key must be 16 bytes");
        }
        for (std::size_t i = 0; i < 8; ++i) {
            ek_[i] = static_cast<std::uint16_t>((key[2 * i] << 8) | key[2 * i + 1]);
        }
        for (std::size_t i = 0; i < 8; ++i) {
            ek_[i + 8] = Fi(ek_[i], ek_[(i + 1) % 8]);
        }
    }

    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t d0 = LoadBe32(in);
        std::uint32_t d1 = LoadBe32(in + 4);
        for (std::size_t round = 0; round < 8; round += 2) {
            d0 = Fl(d0, round);
            d1 = Fl(d1, round + 1);
            d1 ^= Fo(d0, round);
            d0 ^= Fo(d1, round + 1);
        }
        d0 = Fl(d0, 8);
        d1 = Fl(d1, 9);
        StoreBe32(out, d1);
        StoreBe32(out + 4, d0);
    }

    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        std::uint32_t d1 = LoadBe32(in);
        std::uint32_t d0 = LoadBe32(in + 4);
        d0 = FlInverse(d0, 8);
        d1 = FlInverse(d1, 9);
        for (std::size_t round = 8; round > 0; round -= 2) {
            d0 ^= Fo(d1, round - 1);
            d1 ^= Fo(d0, round - 2);
            d0 = FlInverse(d0, round - 2);
            d1 = FlInverse(d1, round - 1);
        }
        StoreBe32(out, d0);
        StoreBe32(out + 4, d1);
    }

    void Wipe() noexcept override { SecureFill(ek_.data(), sizeof(ek_), 0); }

private:
    std::uint32_t Fo(std::uint32_t in, std::size_t k) const noexcept {
        auto t0 = static_cast<std::uint16_t>(in >> 16);
        auto t1 = static_cast<std::uint16_t>(in);
        t0 ^= ek_[k];
        t0 = Fi(t0, ek_[(k + 5) % 8 + 8]);
        t0 ^= t1;
        t1 ^= ek_[(k + 2) % 8];
        t1 = Fi(t1, ek_[(k + 1) % 8 + 8]);
        t1 ^= t0;
        t0 ^= ek_[(k + 7) % 8];
        t0 = Fi(t0, ek_[(k + 3) % 8 + 8]);
        t0 ^= t1;
        t1 ^= ek_[(k + 4) % 8];
        return (std::uint32_t{t1} << 16) | t0;
    }

    std::uint32_t Fl(std::uint32_t in, std::size_t k) const noexcept {
        auto d0 = static_cast<std::uint16_t>(in >> 16);
        auto d1 = static_cast<std::uint16_t>(in);
        if (k % 2 == 0) {
            d1 ^= d0 & ek_[k / 2];
            d0 ^= d1 | ek_[(k / 2 + 6) % 8 + 8];
        } else {
            d1 ^= d0 & ek_[((k - 1) / 2 + 2) % 8 + 8];
            d0 ^= d1 | ek_[((k - 1) / 2 + 4) % 8];
        }
        return (std::uint32_t{d0} << 16) | d1;
    }

    std::uint32_t FlInverse(std::uint32_t in, std::size_t k) const noexcept {
        auto d0 = static_cast<std::uint16_t>(in >> 16);
        auto d1 = static_cast<std::uint16_t>(in);
        if (k % 2 == 0) {
            d0 ^= d1 | ek_[(k / 2 + 6) % 8 + 8];
            d1 ^= d0 & ek_[k / 2];
        } else {
            d0 ^= d1 | ek_[((k - 1) / 2 + 4) % 8];
            d1 ^= d0 & ek_[((k - 1) / 2 + 2) % 8 + 8];
        }
        return (std::uint32_t{d0} << 16) | d1;
    }

    // EK[0..7] are the key words, EK[8..15] their FI images; the RFC's EK[16..31] are only
    // these split into their 9- and 7-bit halves, which Fi does itself.
    std::array<std::uint16_t, 16> ek_{};
};

} // namespace

std::unique_ptr<BlockCipher> MakeMisty1() {
    return std::make_unique<Misty1>();
}

} // namespace partsmith
