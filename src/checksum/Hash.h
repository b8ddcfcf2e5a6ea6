// File digests written against a small algorithm record, so the file routine knows nothing of
// the algorithm behind it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace partsmith {

class FileSystem;

// The outcome of a file digest: error code 0 on success; otherwise the digest is not to be
// used and reason holds the system's explanation.
struct DigestStatus {
    std::uint16_t errorCode = 0;
    std::string reason;
    explicit operator bool() const { return errorCode == 0; }
};

// The error codes of DigestStatus; the user sees the number in decimal.
inline constexpr std::uint16_t kDigestOpenFailed = 1;
inline constexpr std::uint16_t kDigestReadFailed = 2;

// Large enough for the digest of any algorithm behind the record.
using DigestArea = std::array<std::uint8_t, 64>;

// The working state of one digest, in storage the caller owns, so a digest allocates nothing.
struct DigestContext {
    alignas(64) std::byte bytes[512];
};

// One digest algorithm. final fills the first digestSize bytes of the area and leaves the
// context wiped: no message data stays behind in it.
struct DigestAlgorithm {
    std::size_t digestSize;
    void (*init)(DigestContext& context);
    void (*update)(DigestContext& context, const std::byte* data, std::size_t size);
    void (*final)(DigestContext& context, DigestArea& digest);
};

// Digest of the whole file, read through buffer (which must not be empty) until a read delivers
// nothing. A file that cannot be opened leaves digest untouched; after a failed read, digest
// covers the bytes before the failure and is not to be used.
DigestStatus DigestOfFile(FileSystem& files, const std::filesystem::path& path,
                          const DigestAlgorithm& algorithm, DigestArea& digest,
                          std::span<std::byte> buffer);
DigestStatus DigestOfFile(const std::filesystem::path& path, const DigestAlgorithm& algorithm,
                          DigestArea& digest, std::span<std::byte> buffer);

} // namespace partsmith
