#include "checksum/CRC32.h"

#include "io/File.h"

#include <array>
#include <isa-l/crc.h>
#include <memory>

namespace partsmith {

namespace {

constexpr std::array<std::uint32_t, 256> MakeTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < table.size(); ++n) {
        std::uint32_t value = n;
        for (int bit = 0; bit < 8; ++bit) {
            value = (value & 1) != 0 ? (value >> 1) ^ 0xEDB88320u : value >> 1;
        }
        table[n] = value;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kTable = MakeTable();
static_assert(kTable[0] == 0x00000000u && kTable[1] == 0x77073096u && kTable[2] == 0xEE0E612Cu &&
              kTable[255] == 0x2D02EF8Du);

// Large reads keep the system calls rare; the block stays small enough to sit in the cache
// between the copy out of the page cache and the checksum pass over it.
constexpr std::size_t kReadBlock = std::size_t{1} << 20;

} // namespace

void Crc32UpdateTable(std::uint32_t& value, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        value = kTable[(value ^ bytes[i]) & 0xFF] ^ (value >> 8);
    }
}

void Crc32Update(std::uint32_t& value, const void* data, std::size_t size) {
    if (size == 0) {
        return;
    }
    // The library works on the complemented value, the form in which a CRC-32 is published.
    value = ~crc32_gzip_refl(~value, static_cast<const unsigned char*>(data), size);
}

std::uint32_t Crc32OfFile(FileSystem& files, const std::filesystem::path& path) {
    const std::unique_ptr<InputFile> file = files.OpenRead(path);
    const auto buffer = std::make_unique_for_overwrite<std::byte[]>(kReadBlock);
    std::uint32_t value = 0xFFFFFFFFu;
    for (;;) {
        const std::size_t got = file->Read({buffer.get(), kReadBlock});
        if (got == 0) {
            break;
        }
        Crc32Update(value, buffer.get(), got);
    }
    return ~value;
}

std::uint32_t Crc32OfFile(const std::filesystem::path& path) {
    return Crc32OfFile(RealFileSystem(), path);
}

std::string Crc32ToText(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(8, '0');
    for (auto digit = text.rbegin(); digit != text.rend(); ++digit) {
        *digit = kDigits[value & 0x0F];
        value >>= 4;
    }
    return text;
}

} // namespace partsmith
