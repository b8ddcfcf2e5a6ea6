// Hashes of the library. A fresh library object per digest keeps the shared hash objects free
// of state, so any thread may use them.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include "crypto/EncryptMod.h"
#include "crypto/LibraryAlgorithms.h"

#include <crypto++/md4.h>
#include <crypto++/md5.h>
#include <crypto++/ripemd.h>
#include <crypto++/sha.h>
#include <crypto++/tiger.h>

namespace partsmith {
namespace {

template <class Algo> class LibraryHash final : public HashAlgorithm {
public:
    [[nodiscard]] std::size_t DigestBytes() const override { return Algo::DIGESTSIZE; }
    [[nodiscard]] std::vector<std::uint8_t>
    Digest(std::span<const std::uint8_t> data) const override {
        std::vector<std::uint8_t> digest(Algo::DIGESTSIZE);
        Algo().CalculateDigest(digest.data(), data.data(), data.size());
        return digest;
    }
};

template <class Algo> const HashAlgorithm& Instance() {
    static const LibraryHash<Algo> hash;
    return hash;
}

} // namespace

const HashAlgorithm& Md4Hash() {
    return Instance<CryptoPP::Weak::MD4>();
}
const HashAlgorithm& Md5Hash() {
    return Instance<CryptoPP::Weak::MD5>();
}
const HashAlgorithm& Ripemd128Hash() {
    return Instance<CryptoPP::RIPEMD128>();
}
const HashAlgorithm& Ripemd160Hash() {
    return Instance<CryptoPP::RIPEMD160>();
}
const HashAlgorithm& Sha1Hash() {
    return Instance<CryptoPP::SHA1>();
}
const HashAlgorithm& Sha256Hash() {
    return Instance<CryptoPP::SHA256>();
}
const HashAlgorithm& Sha384Hash() {
    return Instance<CryptoPP::SHA384>();
}
const HashAlgorithm& Sha512Hash() {
    return Instance<CryptoPP::SHA512>();
}
// The library's Tiger is the first version (0x01 padding) and emits each state word least
// significant byte first, which is the digest the catalogue wants.
const HashAlgorithm& TigerHash() {
    return Instance<CryptoPP::Tiger>();
}

} // namespace partsmith
