// CRC-32 (ISO-HDLC, reflected polynomial 0xEDB88320) and its one text form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace partsmith {

class FileSystem;

// Folds size bytes into the running value (no start value, no final complement).
void Crc32Update(std::uint32_t& value, const void* data, std::size_t size);

// The byte-by-byte table routine that defines the value; Crc32Update must agree with it.
void Crc32UpdateTable(std::uint32_t& value, const void* data, std::size_t size);

// CRC-32 of the whole file. A file that cannot be opened or read raises IoError: it never
// passes for an empty file.
std::uint32_t Crc32OfFile(const std::filesystem::path& path);
std::uint32_t Crc32OfFile(FileSystem& files, const std::filesystem::path& path);

// Exactly 8 uppercase hexadecimal digits, zero-padded: 0x0000ABCD -> "0000ABCD".
std::string Crc32ToText(std::uint32_t value);

} // namespace partsmith
