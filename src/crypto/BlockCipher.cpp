#include "crypto/BlockCipher.h"

#include "crypto/SecureBytes.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace partsmith {
namespace {

constexpr std::size_t kMaxBlockBytes = 16;
// Blocks deciphered per call: enough for a library to pipeline, few enough for the ciphertext
// copy of an in-place run to stay in the first-level cache.
constexpr std::size_t kDecryptStretchBytes = 4096;

void XorInto(std::uint8_t* target, const std::uint8_t* with, std::size_t n) noexcept {
    for (std::size_t k = 0; k < n; ++k) {
        target[k] ^= with[k];
    }
}

} // namespace

void BlockCipher::DecryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                                std::size_t count) const {
    const std::size_t n = BlockBytes();
    for (std::size_t b = 0; b < count; ++b) {
        DecryptBlock(in + b * n, out + b * n);
    }
}

void BlockCipher::EncryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                                 std::uint8_t* chain) const {
    const std::size_t n = BlockBytes();
    // Enciphered from a copy: a cipher need not allow in == out.
    WipedArray<kMaxBlockBytes> input;
    for (std::size_t b = 0; b < count; ++b) {
        for (std::size_t k = 0; k < n; ++k) {
            input[k] = chain[k] ^ in[b * n + k];
        }
        EncryptBlock(input.data(), chain);
        std::memcpy(out + b * n, chain, n);
    }
}

// A stretch at a time: decipher it, then XOR each block with the ciphertext block before it. A
// copy of the stretch keeps that ciphertext when the run is deciphered in place.
void BlockCipher::DecryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                                 std::uint8_t* chain) const {
    const std::size_t n = BlockBytes();
    const std::size_t stretchBlocks = kDecryptStretchBytes / n;
    alignas(64) std::array<std::uint8_t, kDecryptStretchBytes> copy;
    for (std::size_t b = 0; b < count;) {
        const std::size_t blocks = std::min(stretchBlocks, count - b);
        const std::size_t bytes = blocks * n;
        const std::uint8_t* cipher = in + b * n;
        std::uint8_t* plain = out + b * n;
        if (cipher == plain) {
            std::memcpy(copy.data(), cipher, bytes);
            cipher = copy.data();
        }
        DecryptBlocks(cipher, plain, blocks);
        XorInto(plain, chain, n);
        XorInto(plain + n, cipher, bytes - n);
        std::memcpy(chain, cipher + bytes - n, n);
        b += blocks;
    }
}

} // namespace partsmith
