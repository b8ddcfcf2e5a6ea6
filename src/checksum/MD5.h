// MD5 digest of a file (units Hash and MD5).
#pragma once

#include "checksum/Hash.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace partsmith {

class FileSystem;

using Md5Digest = std::array<std::uint8_t, 16>;

// The MD5 record for DigestOfFile.
const DigestAlgorithm& Md5Algorithm();

// Digest of the whole file, read through buffer until a read delivers nothing. The digest is
// to be used only when the status is success.
DigestStatus Md5OfFile(const std::filesystem::path& path, Md5Digest& digest,
                       std::span<std::byte> buffer);
DigestStatus Md5OfFile(FileSystem& files, const std::filesystem::path& path, Md5Digest& digest,
                       std::span<std::byte> buffer);

// 32 uppercase hexadecimal digits.
std::string DigestToText(const Md5Digest& digest);

} // namespace partsmith
