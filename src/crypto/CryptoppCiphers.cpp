// Block ciphers of the library. Each keeps its own encryption and decryption objects because
// the chaining tail enciphers even while a run is being deciphered.
#include "crypto/AesNi.h"
#include "crypto/EncryptMod.h"
#include "crypto/LibraryAlgorithms.h"
#include "crypto/SecureBytes.h"

#include <algorithm>
#include <array>
#include <crypto++/argnames.h>
#include <crypto++/blowfish.h>
#include <crypto++/cast.h>
#include <crypto++/des.h>
#include <crypto++/idea.h>
#include <crypto++/rc2.h>
#include <crypto++/rc5.h>
#include <crypto++/rijndael.h>
#include <crypto++/serpent.h>
#include <crypto++/twofish.h>
#include <cstring>
#include <optional>

namespace partsmith {
namespace {

[[noreturn]] void ThrowInvalidKeySize() {
    throw CryptoError("Invalid key size");
}

// The largest key buffer any rule below builds (RC5 takes up to 255 bytes).
constexpr std::size_t kMaxPreparedKey = 256;
using PreparedKey = WipedArray<kMaxPreparedKey>;

// Key rules: turn the row's raw key bytes into what the library is keyed with and return its
// length. Anything the row cannot take is an invalid key size.

std::size_t KeyUnchanged(std::span<const std::uint8_t> key, std::size_t minBytes,
                         std::size_t maxBytes, PreparedKey& out) {
    if (key.size() < minBytes || key.size() > maxBytes) {
        ThrowInvalidKeySize();
    }
    std::copy(key.begin(), key.end(), out.data());
    return key.size();
}

// Zero bytes up to the first of sizes that holds the key.
std::size_t KeyZeroPadded(std::span<const std::uint8_t> key,
                          std::initializer_list<std::size_t> sizes, PreparedKey& out) {
    for (std::size_t size : sizes) {
        if (!key.empty() && key.size() <= size) {
            std::copy(key.begin(), key.end(), out.data()); // out starts zeroed
            return size;
        }
    }
    ThrowInvalidKeySize();
}

// K1 = bytes 0..7, K2 = bytes 8..15, K3 = bytes 16..23 for keys above 128 bits, else K1;
// missing bytes are zero.
std::size_t TripleDesLayout(std::span<const std::uint8_t> key, PreparedKey& out) {
    if (key.empty() || key.size() > 24) {
        ThrowInvalidKeySize();
    }
    std::copy(key.begin(), key.end(), out.data());
    if (key.size() <= 16) {
        std::memcpy(out.data() + 16, out.data(), 8);
    }
    return 24;
}

// The standard short-key rule: a single 1 bit right after the key (bit 0 of the next byte when
// the key is little-endian words), then zeros to 256 bits.
std::size_t SerpentPadded(std::span<const std::uint8_t> key, PreparedKey& out) {
    if (key.empty() || key.size() > 32) {
        ThrowInvalidKeySize();
    }
    std::copy(key.begin(), key.end(), out.data());
    if (key.size() < 32) {
        out[key.size()] = 0x01;
    }
    return 32;
}

struct BlowfishRow {
    using Algo = CryptoPP::Blowfish;
    static constexpr std::size_t kLimitBits = 448;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyUnchanged(k, Algo::MIN_KEYLENGTH, 56, out);
    }
};
struct Cast128Row {
    using Algo = CryptoPP::CAST128;
    static constexpr std::size_t kLimitBits = 128;
    // Shorter keys take the RFC's own zero padding and round rule inside the library.
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyUnchanged(k, Algo::MIN_KEYLENGTH, 16, out);
    }
};
struct Cast256Row {
    using Algo = CryptoPP::CAST256;
    static constexpr std::size_t kLimitBits = 256;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyZeroPadded(k, {32}, out);
    }
};
struct DesRow {
    using Algo = CryptoPP::DES;
    static constexpr std::size_t kLimitBits = 64;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyUnchanged(k, 8, 8, out);
    }
};
struct TripleDesRow {
    using Algo = CryptoPP::DES_EDE3;
    static constexpr std::size_t kLimitBits = 192;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return TripleDesLayout(k, out);
    }
};
struct IdeaRow {
    using Algo = CryptoPP::IDEA;
    static constexpr std::size_t kLimitBits = 128;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyUnchanged(k, 16, 16, out);
    }
};
struct Rc2Row {
    using Algo = CryptoPP::RC2;
    static constexpr std::size_t kLimitBits = 1024;
    static constexpr int kEffectiveBits = 1024;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyUnchanged(k, 1, 128, out);
    }
};
struct Rc5Row {
    using Algo = CryptoPP::RC5;
    static constexpr std::size_t kLimitBits = 2048;
    static constexpr unsigned kRounds = 12;
    // RC5 defines b up to 255 bytes, one below what the row's limit would allow.
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyUnchanged(k, 1, 255, out);
    }
};
struct RijndaelRow {
    using Algo = CryptoPP::Rijndael;
    static constexpr std::size_t kLimitBits = 256;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyZeroPadded(k, {16, 24, 32}, out);
    }
};
struct SerpentRow {
    using Algo = CryptoPP::Serpent;
    static constexpr std::size_t kLimitBits = 256;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return SerpentPadded(k, out);
    }
};
struct TwofishRow {
    using Algo = CryptoPP::Twofish;
    static constexpr std::size_t kLimitBits = 256;
    static std::size_t Prepare(std::span<const std::uint8_t> k, PreparedKey& out) {
        return KeyZeroPadded(k, {16, 24, 32}, out);
    }
};

template <class Row, class Object>
void KeyObject(Object& object, const std::uint8_t* key, std::size_t length) {
    if constexpr (std::is_same_v<Row, Rc2Row>) {
        object.SetKey(
            key, length,
            CryptoPP::MakeParameters(CryptoPP::Name::EffectiveKeyLength(), Row::kEffectiveBits));
    } else if constexpr (std::is_same_v<Row, Rc5Row>) {
        object.SetKeyWithRounds(key, length, Row::kRounds);
    } else {
        object.SetKey(key, length);
    }
}

template <class Row> class LibraryCipher final : public BlockCipher {
    using Encryption = typename Row::Algo::Encryption;
    using Decryption = typename Row::Algo::Decryption;

public:
    [[nodiscard]] std::size_t BlockBytes() const override { return Row::Algo::BLOCKSIZE; }
    [[nodiscard]] std::size_t KeyLimitBits() const override { return Row::kLimitBits; }

    void SetKey(std::span<const std::uint8_t> key) override {
        Wipe();
        PreparedKey prepared;
        const std::size_t length = Row::Prepare(key, prepared);
        try {
            KeyObject<Row>(encryption_.emplace(), prepared.data(), length);
            KeyObject<Row>(decryption_.emplace(), prepared.data(), length);
        } catch (const CryptoPP::InvalidArgument&) {
            Wipe();
            ThrowInvalidKeySize();
        }
    }

    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        Keyed(encryption_).ProcessBlock(in, out);
    }
    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        Keyed(decryption_).ProcessBlock(in, out);
    }
    // One call for the whole stretch lets the library interleave blocks (AES-NI pipelines
    // several at once); ciphers without such a path loop inside the library.
    void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                       std::size_t count) const override {
        if (count == 0) {
            return;
        }
        Keyed(decryption_)
            .AdvancedProcessBlocks(in, nullptr, out, count * Row::Algo::BLOCKSIZE,
                                   CryptoPP::BlockTransformation::BT_AllowParallel);
    }

    // Chaining inside the library: one call for the whole stretch, the XOR taken from the block
    // just written (encryption) or read backwards so that in-place deciphering still finds the
    // ciphertext block before each (decryption), as the library's own CBC mode does.
    void EncryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                        std::uint8_t* chain) const override {
        if (count == 0) {
            return;
        }
        constexpr std::size_t n = Row::Algo::BLOCKSIZE;
        const auto& e = Keyed(encryption_);
        e.AdvancedProcessBlocks(in, chain, out, n, CryptoPP::BlockTransformation::BT_XorInput);
        if (count > 1) {
            e.AdvancedProcessBlocks(in + n, out, out + n, (count - 1) * n,
                                    CryptoPP::BlockTransformation::BT_XorInput);
        }
        std::memcpy(chain, out + (count - 1) * n, n);
    }
    void DecryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                        std::uint8_t* chain) const override {
        if (count == 0) {
            return;
        }
        constexpr std::size_t n = Row::Algo::BLOCKSIZE;
        const auto& d = Keyed(decryption_);
        std::array<std::uint8_t, n> last;
        std::memcpy(last.data(), in + (count - 1) * n, n);
        if (count > 1) {
            d.AdvancedProcessBlocks(in + n, in, out + n, (count - 1) * n,
                                    CryptoPP::BlockTransformation::BT_ReverseDirection |
                                        CryptoPP::BlockTransformation::BT_AllowParallel);
        }
        d.ProcessAndXorBlock(in, chain, out);
        std::memcpy(chain, last.data(), n);
    }

    // The library's key schedules live in buffers that it zeroes on destruction.
    void Wipe() noexcept override {
        encryption_.reset();
        decryption_.reset();
    }

private:
    template <class Object> static const Object& Keyed(const std::optional<Object>& object) {
        if (!object) {
            throw CryptoError("Cipher not initialized");
        }
        return *object;
    }

    std::optional<Encryption> encryption_;
    std::optional<Decryption> decryption_;
};

// The library's AES for everything but chained encryption, which runs on our own AES-NI loop
// when the processor has it: the library's loop reloads each ciphertext block from memory on
// the serial chain. The round keys are expanded from the same prepared key as the library's.
class RijndaelCipher final : public BlockCipher {
public:
    [[nodiscard]] std::size_t BlockBytes() const override { return library_.BlockBytes(); }
    [[nodiscard]] std::size_t KeyLimitBits() const override { return library_.KeyLimitBits(); }

    void SetKey(std::span<const std::uint8_t> key) override {
        Wipe();
        library_.SetKey(key);
        if (AesNiAvailable()) {
            PreparedKey prepared;
            const std::size_t length = RijndaelRow::Prepare(key, prepared);
            AesNiExpandKey(std::span(prepared.data(), length), roundKeys_);
        }
    }

    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        library_.EncryptBlock(in, out);
    }
    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const override {
        library_.DecryptBlock(in, out);
    }
    void DecryptBlocks(const std::uint8_t* in, std::uint8_t* out,
                       std::size_t count) const override {
        library_.DecryptBlocks(in, out, count);
    }
    void EncryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                        std::uint8_t* chain) const override {
        if (roundKeys_.Rounds() == 0) {
            library_.EncryptChained(in, out, count, chain);
            return;
        }
        AesNiCbcEncrypt(roundKeys_, in, out, count, chain);
    }
    void DecryptChained(const std::uint8_t* in, std::uint8_t* out, std::size_t count,
                        std::uint8_t* chain) const override {
        library_.DecryptChained(in, out, count, chain);
    }

    void Wipe() noexcept override {
        library_.Wipe();
        roundKeys_.Wipe();
    }

private:
    LibraryCipher<RijndaelRow> library_;
    RoundKeys roundKeys_;
};

template <class Row> std::unique_ptr<BlockCipher> Make() {
    return std::make_unique<LibraryCipher<Row>>();
}

} // namespace

std::unique_ptr<BlockCipher> MakeBlowfish() {
    return Make<BlowfishRow>();
}
std::unique_ptr<BlockCipher> MakeCast128() {
    return Make<Cast128Row>();
}
std::unique_ptr<BlockCipher> MakeCast256() {
    return Make<Cast256Row>();
}
std::unique_ptr<BlockCipher> MakeDes() {
    return Make<DesRow>();
}
std::unique_ptr<BlockCipher> MakeTripleDes() {
    return Make<TripleDesRow>();
}
std::unique_ptr<BlockCipher> MakeIdea() {
    return Make<IdeaRow>();
}
std::unique_ptr<BlockCipher> MakeRc2() {
    return Make<Rc2Row>();
}
std::unique_ptr<BlockCipher> MakeRc5() {
    return Make<Rc5Row>();
}
std::unique_ptr<BlockCipher> MakeRijndael() {
    return std::make_unique<RijndaelCipher>();
}
std::unique_ptr<BlockCipher> MakeSerpent() {
    return Make<SerpentRow>();
}
std::unique_ptr<BlockCipher> MakeTwofish() {
    return Make<TwofishRow>();
}

} // namespace partsmith
