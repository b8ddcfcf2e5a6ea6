// MD5 digest of a file (units Hash and MD5).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace partsmith {

using Md5Digest = std::array<std::uint8_t, 16>;

// The outcome of a file digest: error code 0 on success; otherwise the digest is not to be
// used and reason holds the system's explanation.
struct DigestStatus {
    std::uint16_t errorCode = 0;
    std::string reason;
    explicit operator bool() const { return errorCode == 0; }
};

// Digest of the whole file, read through buffer until a read delivers nothing.
DigestStatus Md5OfFile(const std::filesystem::path& path, Md5Digest& digest,
                       std::span<std::byte> buffer);

// 32 uppercase hexadecimal digits.
std::string DigestToText(const Md5Digest& digest);

} // namespace partsmith
