// AES encryption with the processor's AES instructions, for the cipher-block chaining of the
// Rijndael row. The library's chained path reloads the previous ciphertext block from memory on
// every block; this one keeps the chaining value in a register across the whole run. Only the
// encryption direction lives here: CBC decryption has no serial chain and the library already
// pipelines it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace partsmith {

// Whether this processor has the AES instructions; asked once, then remembered. The routines
// below must only run when it says yes.
[[nodiscard]] bool AesNiAvailable() noexcept;

// The expanded encryption key: Nr + 1 round keys of 16 bytes, zeroed when wiped or destroyed.
class RoundKeys {
public:
    static constexpr std::size_t kMaxRounds = 14;

    RoundKeys() = default;
    RoundKeys(const RoundKeys&) = delete;
    RoundKeys& operator=(const RoundKeys&) = delete;
    ~RoundKeys() { Wipe(); }

    void Wipe() noexcept;
    // 10, 12 or 14 once expanded; 0 while holding no key.
    [[nodiscard]] unsigned Rounds() const noexcept { return rounds_; }
    [[nodiscard]] const std::uint8_t* Bytes() const noexcept { return bytes_.data(); }

private:
    friend void AesNiExpandKey(std::span<const std::uint8_t> key, RoundKeys& keys);

    alignas(16) std::array<std::uint8_t, (kMaxRounds + 1) * 16> bytes_{};
    unsigned rounds_ = 0;
};

// Expands a 16-, 24- or 32-byte key; any other length is a caller's error
// (std::invalid_argument) and leaves keys wiped.
void AesNiExpandKey(std::span<const std::uint8_t> key, RoundKeys& keys);

// CBC encryption of blocks whole 16-byte blocks: each plaintext block is XORed with cv (the
// previous ciphertext block), and cv ends as the last ciphertext block. in and out may be the
// same buffer. keys must hold an expanded key.
void AesNiCbcEncrypt(const RoundKeys& keys, const std::uint8_t* in, std::uint8_t* out,
                     std::size_t blocks, std::uint8_t cv[16]);

} // namespace partsmith
