// The cipher and hash catalogue of encrypted part sets, and the password-keyed stream cipher
// (PartCipher) that enciphers their payload run by run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace partsmith {

class BlockCipher;
class HashAlgorithm;

// "Cipher not initialized", "Invalid key size", "Unable to allocate sufficient memory for hash
// digest".
class CryptoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One row of the cipher catalogue, in the order of the Split page's list.
struct CipherEntry {
    std::uint8_t code;         // CipherCode stored in the header, 1 to 19
    std::string_view listName; // entry of the cipher list ("Twofish")
    std::size_t keyLimitBits;  // the largest key the row takes
    std::size_t blockBytes;    // 8 or 16; 0 for the stream cipher RC4
    // A new, unkeyed block cipher of the row; nullptr for RC4.
    std::unique_ptr<BlockCipher> (*makeBlock)();
};

struct HashEntry {
    std::uint8_t code;         // HashCode stored in the header, 1 to 10
    std::string_view listName; // entry of the hash list ("SHA-256")
    std::size_t digestBits;
    const HashAlgorithm& (*algorithm)();
};

// The 19 ciphers in list order ("Blowfish", "Twofish", "Cast-128", ...).
std::span<const CipherEntry> CipherList();
// The 10 hashes in list order, which is code order.
std::span<const HashEntry> HashList();

// List position (from 0) to code: position 1 ("Twofish") is code 19. nullopt out of range.
std::optional<std::uint8_t> CipherCodeForListIndex(int index);
std::optional<std::uint8_t> HashCodeForListIndex(int index);
// A list name (without regard to case) or a code written in decimal.
std::optional<std::uint8_t> CipherCodeForName(std::string_view nameOrCode);
std::optional<std::uint8_t> HashCodeForName(std::string_view nameOrCode);

// A hash of the catalogue: digest size and a one-piece digest of bytes.
class HashAlgorithm {
public:
    virtual ~HashAlgorithm() = default;
    [[nodiscard]] virtual std::size_t DigestBytes() const = 0;
    [[nodiscard]] virtual std::vector<std::uint8_t>
    Digest(std::span<const std::uint8_t> data) const = 0;
};

// The stream cipher of one part set: keyed once, then every run of every part in stream order.
class PartCipher {
public:
    explicit PartCipher(std::unique_ptr<BlockCipher> block); // block ciphers
    PartCipher();                                            // RC4
    ~PartCipher();
    PartCipher(const PartCipher&) = delete;
    PartCipher& operator=(const PartCipher&) = delete;

    // Keys from the password's 8-bit bytes (already converted to the code page) through hash.
    void KeyFromPassword(std::string_view password8bit, const HashAlgorithm& hash);
    void KeyWithBytes(std::span<const std::uint8_t> key, std::size_t bits);
    // One run; in and out may be the same buffer. length >= 1.
    void EncryptRun(const std::uint8_t* in, std::uint8_t* out, std::size_t length);
    void DecryptRun(const std::uint8_t* in, std::uint8_t* out, std::size_t length);
    // Overwrites key material and chaining state; the object becomes unkeyed.
    void Wipe() noexcept;
    [[nodiscard]] bool Keyed() const noexcept;
    [[nodiscard]] std::size_t KeyLimitBits() const noexcept;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// A new, unkeyed cipher for the code; nullptr outside 1 to 19.
std::unique_ptr<PartCipher> CipherForCode(int code);
// The raw block cipher of the code, unkeyed; nullptr for RC4 and outside 1 to 19.
std::unique_ptr<BlockCipher> BlockCipherForCode(int code);
// The hash for the code; nullptr outside 1 to 10. The object lives for the whole program.
const HashAlgorithm* HashForCode(int code);

} // namespace partsmith
