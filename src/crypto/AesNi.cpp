// Each routine that issues AES instructions carries its own target attribute instead of a
// global compile flag, so that the rest of the program still runs on processors without them;
// AesNiAvailable guards every call.
#include "crypto/AesNi.h"

#include "crypto/SecureBytes.h"

#include <cstring>
#include <stdexcept>

#if defined(__x86_64__) || defined(__i386__)
#define PARTSMITH_AESNI_X86 1
#include <immintrin.h>
#endif

namespace partsmith {

void RoundKeys::Wipe() noexcept {
    SecureFill(bytes_.data(), bytes_.size(), 0);
    rounds_ = 0;
}

#ifdef PARTSMITH_AESNI_X86

namespace {

#define PARTSMITH_AESNI_TARGET __attribute__((target("aes,sse2")))

// Intel's AESKEYGENASSIST takes the word from lane 1 and returns SubWord of it in lane 0 and
// RotWord(SubWord) in lane 1; with the round constant left at zero, the key expansion itself
// can follow the word loop of the standard for all three key lengths.
struct SubstitutedWord {
    std::uint32_t sub;    // SubWord(w)
    std::uint32_t rotSub; // RotWord(SubWord(w)) = SubWord(RotWord(w))
};

PARTSMITH_AESNI_TARGET SubstitutedWord Substitute(std::uint32_t w) {
    const __m128i assisted = _mm_aeskeygenassist_si128(_mm_set1_epi32(static_cast<int>(w)), 0);
    return {static_cast<std::uint32_t>(_mm_cvtsi128_si32(assisted)),
            static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(assisted, 4)))};
}

PARTSMITH_AESNI_TARGET inline __m128i LoadBlock(const std::uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

PARTSMITH_AESNI_TARGET inline void StoreBlock(std::uint8_t* p, __m128i v) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
}

template <unsigned Nr>
PARTSMITH_AESNI_TARGET inline __m128i MiddleRounds(const __m128i* k, __m128i x) {
    for (unsigned r = 1; r < Nr; ++r) {
        x = _mm_aesenc_si128(x, _mm_load_si128(k + r));
    }
    return x;
}

// The serial chain is all there is to CBC encryption: the next block cannot start before this
// one ends, so the chaining value never leaves its register, and nothing but the rounds stays
// on the chain. The last round of a block already XORs in the next plaintext block and the first
// round key (AESENCLAST adds its key at the very end), so its result enters round 1 of the next
// block directly; the ciphertext is recovered from it off the chain. The round keys are loaded
// where they are used: those loads do not wait on the chain, and no copy of the key is left on
// the stack.
template <unsigned Nr>
PARTSMITH_AESNI_TARGET void CbcRun(const std::uint8_t* keyBytes, const std::uint8_t* in,
                                   std::uint8_t* out, std::size_t blocks, std::uint8_t* cv) {
    if (blocks == 0) {
        return;
    }
    const auto* k = reinterpret_cast<const __m128i*>(keyBytes);
    // x: the state entering round 1 of block b.
    __m128i x = _mm_xor_si128(LoadBlock(cv), _mm_xor_si128(LoadBlock(in), _mm_load_si128(k)));
    for (std::size_t b = 0; b + 1 < blocks; ++b) {
        const __m128i next = _mm_xor_si128(LoadBlock(in + 16 * (b + 1)), _mm_load_si128(k));
        x = _mm_aesenclast_si128(MiddleRounds<Nr>(k, x),
                                 _mm_xor_si128(_mm_load_si128(k + Nr), next));
        StoreBlock(out + 16 * b, _mm_xor_si128(x, next));
    }
    const __m128i last = _mm_aesenclast_si128(MiddleRounds<Nr>(k, x), _mm_load_si128(k + Nr));
    StoreBlock(out + 16 * (blocks - 1), last);
    StoreBlock(cv, last);
}

} // namespace

bool AesNiAvailable() noexcept {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("aes") && __builtin_cpu_supports("sse2");
    }();
    return available;
}

void AesNiExpandKey(std::span<const std::uint8_t> key, RoundKeys& keys) {
    keys.Wipe();
    const std::size_t nk = key.size() / 4;
    if (key.size() != 16 && key.size() != 24 && key.size() != 32) {
        throw std::invalid_argument("AES takes keys of 16, 24 or 32 bytes");
    }
    const std::size_t nr = nk + 6;
    const std::size_t words = 4 * (nr + 1);
    // Bytes of each word in key order; on this little-endian processor the first byte is the
    // low one, which is where RotWord and the round constant expect it.
    std::uint32_t w[4 * (RoundKeys::kMaxRounds + 1)];
    std::memcpy(w, key.data(), key.size());
    std::uint32_t rcon = 0x01;
    for (std::size_t i = nk; i < words; ++i) {
        std::uint32_t temp = w[i - 1];
        if (i % nk == 0) {
            temp = Substitute(temp).rotSub ^ rcon;
            rcon = (rcon << 1) ^ ((rcon & 0x80) != 0 ? 0x11b : 0);
        } else if (nk > 6 && i % nk == 4) {
            temp = Substitute(temp).sub;
        }
        w[i] = w[i - nk] ^ temp;
    }
    std::memcpy(keys.bytes_.data(), w, words * 4);
    SecureFill(w, sizeof w, 0);
    keys.rounds_ = static_cast<unsigned>(nr);
}

void AesNiCbcEncrypt(const RoundKeys& keys, const std::uint8_t* in, std::uint8_t* out,
                     std::size_t blocks, std::uint8_t cv[16]) {
    switch (keys.Rounds()) {
    case 10:
        CbcRun<10>(keys.Bytes(), in, out, blocks, cv);
        return;
    case 12:
        CbcRun<12>(keys.Bytes(), in, out, blocks, cv);
        return;
    case 14:
        CbcRun<14>(keys.Bytes(), in, out, blocks, cv);
        return;
    default:
        throw std::logic_error("AES round keys not expanded");
    }
}

#else

bool AesNiAvailable() noexcept {
    return false;
}

void AesNiExpandKey(std::span<const std::uint8_t>, RoundKeys&) {
    throw std::logic_error("AES instructions not available on this processor");
}

void AesNiCbcEncrypt(const RoundKeys&, const std::uint8_t*, std::uint8_t*, std::size_t,
                     std::uint8_t[16]) {
    throw std::logic_error("AES instructions not available on this processor");
}

#endif

} // namespace partsmith
