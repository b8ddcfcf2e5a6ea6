#include "checksum/MD5.h"

#include "io/File.h"

#include <algorithm>
#include <cstring>
#include <new>

// MD5 is kept in the library's namespace for outdated algorithms; a file checksum is what we
// need it for.
#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md5.h>
#include <cryptopp/misc.h>

namespace partsmith {

namespace {

using Md5Engine = CryptoPP::Weak::MD5;

static_assert(sizeof(Md5Engine) <= sizeof(DigestContext::bytes));
static_assert(alignof(Md5Engine) <= alignof(DigestContext));
static_assert(static_cast<std::size_t>(Md5Engine::DIGESTSIZE) == std::tuple_size_v<Md5Digest>);

Md5Engine& Engine(DigestContext& context) {
    return *std::launder(reinterpret_cast<Md5Engine*>(context.bytes));
}

void Md5Init(DigestContext& context) {
    std::memset(context.bytes, 0, sizeof context.bytes);
    new (context.bytes) Md5Engine();
}

void Md5Update(DigestContext& context, const std::byte* data, std::size_t size) {
    Engine(context).Update(reinterpret_cast<const CryptoPP::byte*>(data), size);
}

void Md5Final(DigestContext& context, DigestArea& digest) {
    Md5Engine& engine = Engine(context);
    engine.Final(digest.data());
    engine.~Md5Engine();
    // The engine's last block of message data would otherwise outlive the call.
    CryptoPP::SecureWipeBuffer(reinterpret_cast<CryptoPP::byte*>(context.bytes),
                               sizeof context.bytes);
}

constexpr DigestAlgorithm kMd5{static_cast<std::size_t>(Md5Engine::DIGESTSIZE), Md5Init, Md5Update,
                               Md5Final};

} // namespace

const DigestAlgorithm& Md5Algorithm() {
    return kMd5;
}

DigestStatus Md5OfFile(FileSystem& files, const std::filesystem::path& path, Md5Digest& digest,
                       std::span<std::byte> buffer) {
    DigestArea area{};
    DigestStatus status = DigestOfFile(files, path, kMd5, area, buffer);
    if (status) {
        std::copy_n(area.begin(), digest.size(), digest.begin());
    }
    return status;
}

DigestStatus Md5OfFile(const std::filesystem::path& path, Md5Digest& digest,
                       std::span<std::byte> buffer) {
    return Md5OfFile(RealFileSystem(), path, digest, buffer);
}

std::string DigestToText(const Md5Digest& digest) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * digest.size());
    for (const std::uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

} // namespace partsmith
