// The stream rule of a part set: cipher-block chaining for whole blocks, and for a run's tail
// the enciphered chaining value as a key stream; RC4 restarts i and j at every run.
#include "crypto/BlockCipher.h"
#include "crypto/EncryptMod.h"
#include "crypto/SecureBytes.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

namespace partsmith {
namespace {

constexpr std::size_t kMaxBlockBytes = 16;
constexpr std::size_t kRc4KeyLimitBits = 2048;

} // namespace

struct PartCipher::State {
    std::unique_ptr<BlockCipher> block; // nullptr: RC4
    bool keyed = false;
    std::array<std::uint8_t, kMaxBlockBytes> iv{};
    std::array<std::uint8_t, kMaxBlockBytes> cv{};
    std::array<std::uint8_t, 256> s{};
    std::array<std::uint8_t, 256> s0{};

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        Wipe();
        // The 0xFF pattern is what a wiped object shows; zero the memory before it is returned.
        SecureFill(iv.data(), iv.size(), 0);
        SecureFill(cv.data(), cv.size(), 0);
        SecureFill(s.data(), s.size(), 0);
        SecureFill(s0.data(), s0.size(), 0);
    }

    void Wipe() noexcept {
        SecureFill(iv.data(), iv.size(), 0xFF);
        SecureFill(cv.data(), cv.size(), 0xFF);
        SecureFill(s.data(), s.size(), 0xFF);
        SecureFill(s0.data(), s0.size(), 0xFF);
        if (block) {
            block->Wipe();
        }
        keyed = false;
    }

    void KeyRc4(std::span<const std::uint8_t> key) noexcept {
        for (std::size_t i = 0; i < s.size(); ++i) {
            s[i] = static_cast<std::uint8_t>(i);
        }
        std::uint8_t j = 0;
        for (std::size_t i = 0; i < s.size(); ++i) {
            j = static_cast<std::uint8_t>(j + s[i] + key[i % key.size()]);
            std::swap(s[i], s[j]);
        }
        s0 = s;
    }

    void Rc4Run(const std::uint8_t* in, std::uint8_t* out, std::size_t length) noexcept {
        std::uint8_t i = 0;
        std::uint8_t j = 0;
        for (std::size_t k = 0; k < length; ++k) {
            i = static_cast<std::uint8_t>(i + 1);
            j = static_cast<std::uint8_t>(j + s[i]);
            std::swap(s[i], s[j]);
            out[k] = in[k] ^ s[static_cast<std::uint8_t>(s[i] + s[j])];
        }
    }

    // The tail of a run, in both directions: CV := E(CV), then the first r bytes of CV as a
    // key stream.
    void Tail(const std::uint8_t* in, std::uint8_t* out, std::size_t r) {
        WipedArray<kMaxBlockBytes> previous;
        std::memcpy(previous.data(), cv.data(), kMaxBlockBytes);
        block->EncryptBlock(previous.data(), cv.data());
        for (std::size_t k = 0; k < r; ++k) {
            out[k] = in[k] ^ cv[k];
        }
    }

    void BlockRun(const std::uint8_t* in, std::uint8_t* out, std::size_t length, bool decipher) {
        const std::size_t n = block->BlockBytes();
        const std::size_t whole = length / n;
        if (whole > 0) {
            if (decipher) {
                block->DecryptChained(in, out, whole, cv.data());
            } else {
                block->EncryptChained(in, out, whole, cv.data());
            }
        }
        if (whole * n < length) {
            Tail(in + whole * n, out + whole * n, length - whole * n);
        }
    }
};

PartCipher::PartCipher(std::unique_ptr<BlockCipher> block) : state_(std::make_unique<State>()) {
    if (!block) {
        throw std::invalid_argument("PartCipher needs a block cipher");
    }
    if (block->BlockBytes() > kMaxBlockBytes || block->BlockBytes() == 0) {
        throw std::invalid_argument("PartCipher takes blocks of 1 to 16 bytes");
    }
    state_->block = std::move(block);
}

PartCipher::PartCipher() : state_(std::make_unique<State>()) {}

PartCipher::~PartCipher() = default;

void PartCipher::KeyFromPassword(std::string_view password8bit, const HashAlgorithm& hash) {
    Wipe();
    try {
        std::vector<std::uint8_t> digest = hash.Digest(std::span(
            reinterpret_cast<const std::uint8_t*>(password8bit.data()), password8bit.size()));
        struct DigestWipe {
            std::vector<std::uint8_t>& bytes;
            ~DigestWipe() { SecureFill(bytes.data(), bytes.size(), 0xFF); }
        } wipe{digest};
        const std::size_t bits = std::min(KeyLimitBits(), digest.size() * 8);
        KeyWithBytes(std::span(digest).first(bits / 8), bits);
    } catch (...) {
        Wipe();
        throw CryptoError("Unable to allocate sufficient memory for hash digest");
    }
}

void PartCipher::KeyWithBytes(std::span<const std::uint8_t> key, std::size_t bits) {
    Wipe();
    // A length that leaves no whole key byte, or more bits than the bytes given, cannot key
    // anything.
    if (bits < 8 || bits % 4 != 0 || bits > KeyLimitBits() || key.size() < bits / 8) {
        throw CryptoError("Invalid key size");
    }
    const auto keyBytes = key.first(bits / 8);
    State& st = *state_;
    if (!st.block) {
        st.KeyRc4(keyBytes);
        st.keyed = true;
        return;
    }
    try {
        st.block->SetKey(keyBytes);
        const std::size_t n = st.block->BlockBytes();
        const std::array<std::uint8_t, kMaxBlockBytes> zero{};
        st.block->EncryptBlock(zero.data(), st.iv.data());
        std::fill(st.iv.begin() + static_cast<std::ptrdiff_t>(n), st.iv.end(), std::uint8_t{0});
        st.cv = st.iv;
    } catch (...) {
        st.Wipe();
        throw;
    }
    st.keyed = true;
}

void PartCipher::EncryptRun(const std::uint8_t* in, std::uint8_t* out, std::size_t length) {
    State& st = *state_;
    if (!st.keyed) {
        throw CryptoError("Cipher not initialized");
    }
    if (st.block) {
        st.BlockRun(in, out, length, false);
    } else {
        st.Rc4Run(in, out, length);
    }
}

void PartCipher::DecryptRun(const std::uint8_t* in, std::uint8_t* out, std::size_t length) {
    State& st = *state_;
    if (!st.keyed) {
        throw CryptoError("Cipher not initialized");
    }
    if (st.block) {
        st.BlockRun(in, out, length, true);
    } else {
        st.Rc4Run(in, out, length);
    }
}

void PartCipher::Wipe() noexcept {
    state_->Wipe();
}

bool PartCipher::Keyed() const noexcept {
    return state_->keyed;
}

std::size_t PartCipher::KeyLimitBits() const noexcept {
    return state_->block ? state_->block->KeyLimitBits() : kRc4KeyLimitBits;
}

} // namespace partsmith
