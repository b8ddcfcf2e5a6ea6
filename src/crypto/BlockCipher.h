// A raw block cipher as PartCipher sees it. Implementations wrap a library's cipher or are
// written here; no library type appears in this interface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace partsmith {

class BlockCipher {
public:
    virtual ~BlockCipher() = default;
    [[nodiscard]] virtual std::size_t BlockBytes() const = 0;
    [[nodiscard]] virtual std::size_t KeyLimitBits() const = 0;
    // Builds the key schedule from the raw key bytes by the row's own rule (padding, layout,
    // rounds). key.size() is at most KeyLimitBits() / 8.
    virtual void SetKey(std::span<const std::uint8_t> key) = 0;
    virtual void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const = 0;
    virtual void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const = 0;
    // Decrypts count independent blocks (no chaining); in and out do not overlap. A library may
    // pipeline this; the default loops over DecryptBlock.
    virtual void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out, std::size_t count) const;
    // Cipher-block chaining over count whole blocks: each block is XORed with the one before
    // (chain for the first), and chain ends as the last ciphertext block. in and out are the same
    // buffer or do not overlap. The defaults build on EncryptBlock and DecryptBlocks; a library
    // may chain inside one call.
    virtual void EncryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                                std::uint8_t* chain) const;
    virtual void DecryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                                std::uint8_t* chain) const;
    // Overwrites the key schedule.
    virtual void Wipe() noexcept = 0;
};

} // namespace partsmith
