// The algorithms of the catalogue that are written here rather than taken from a library.
// Each factory returns an unkeyed cipher; SetKey takes the raw key bytes of its row.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "crypto/BlockCipher.h"

namespace partsmith {

// ICE of level 0 (Thin-ICE, 8 rounds, 8-byte key), 1 (16 rounds, 8 bytes), 2 (32 rounds, 16 bytes).
std::unique_ptr<BlockCipher> MakeIce(int level);
// MISTY1 (RFC 2994): 64-bit block, 128-bit key, big-endian.
std::unique_ptr<BlockCipher> MakeMisty1();
// MARS with the original 1998 key schedule: keys of 4 to 39 32-bit words (16 to 156 bytes).
std::unique_ptr<BlockCipher> MakeMars();
// RC6-32/20/b for any b from 1 to 255 bytes.
std::unique_ptr<BlockCipher> MakeRc6();
// The TEA variant of the catalogue (not the reference TEA): 64-bit block, 16-byte key.
std::unique_ptr<BlockCipher> MakeTeaVariant();

// HAVAL with 5 passes and 256-bit output.
std::vector<std::uint8_t> Haval5_256(std::span<const std::uint8_t> message);

} // namespace partsmith
