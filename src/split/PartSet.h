// The part-set format in one place: how many parts a set has and how large each is, the runs in
// which the payload is enciphered, the 12-byte header of an encrypted set, the names of the part
// files, and the part size that the Split page works out from its controls. The split writes
// exactly this and the join reads exactly this; neither repeats a rule of its own.
//
// All sizes are 64-bit byte counts: sources and parts of 4 GiB and more are ordinary. The format
// itself stores no size, so a set is byte-identical whatever the width of the sizes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace partsmith {

// The header at the start of part 1 of an encrypted set: 0x00, cipher code, 0x00, hash code,
// then the source's CRC-32 as 8 uppercase hexadecimal characters.
inline constexpr std::uint64_t kHeaderSize = 12;
using HeaderBytes = std::array<std::byte, kHeaderSize>;

// The split always names its parts with this number width ("001", "e01").
inline constexpr int kSplitNumberWidth = 3;

// T: the bytes the set holds in total (the source size, plus the header when encrypted).
[[nodiscard]] std::uint64_t StreamLength(std::uint64_t sourceSize, bool encrypted);

// N: the smallest count with N * partSize >= streamLength (0 for an empty stream).
// partSize must be at least 1.
[[nodiscard]] std::uint64_t PartCount(std::uint64_t streamLength, std::uint64_t partSize);

// S(k) for k from 1 to PartCount: partSize for every part but the last, the rest for the last
// (between 1 and partSize). Part 1 of an encrypted set counts its header in.
[[nodiscard]] std::uint64_t PartBytes(std::uint64_t streamLength, std::uint64_t partSize,
                                      std::uint64_t k);

// R(k): the length of every run of a part but its last; the smaller of the buffer and the
// part's whole size (header included for part 1).
[[nodiscard]] std::uint64_t RunLength(std::uint64_t bufferSize, std::uint64_t partBytes);

// Whether a part size can make a set: at least 1, and at least the header for an encrypted set
// (the header must fit into part 1).
[[nodiscard]] bool PartSizeFits(std::uint64_t partSize, bool encrypted);

struct PartHeader {
    std::uint8_t CipherCode = 0; // 1 to 19
    std::uint8_t HashCode = 0;   // 1 to 10
    std::string CrcText;         // Crc32ToText of the whole source, 8 characters
};

// The 12 header bytes. CrcText must be 8 characters.
[[nodiscard]] HeaderBytes EncodeHeader(const PartHeader& header);

// Reads a header; nullopt when its cipher or hash code is not in the catalogue, which is how a
// file that is not the first part of an encrypted set of this program shows. Bytes 0 and 2 are
// not examined. The checksum characters are taken as they stand.
[[nodiscard]] std::optional<PartHeader> ParseHeader(std::span<const std::byte, kHeaderSize> bytes);

// The name of part k of a split: PartFileName(baseName, k, 3, encrypted) ("report.pdf.e01").
[[nodiscard]] std::string SplitPartName(std::string_view baseName, std::uint64_t k, bool encrypted);

// outputDir / SplitPartName(...): the path at which the split writes part k.
[[nodiscard]] std::filesystem::path SplitPartPath(const std::filesystem::path& outputDir,
                                                  std::string_view baseName, std::uint64_t k,
                                                  bool encrypted);

// Whether a part's name is of an encrypted set: "e" or "E" right after its last dot (the dot
// of the extension, never one inside a folder name).
[[nodiscard]] bool IsEncryptedPartName(std::string_view path);

// The Split page's size units, in the order of its unit list.
enum class SizeUnit { Bytes, KiloBytes, MegaBytes, GigaBytes };

// The factor of a unit; no unit selected counts as MegaBytes.
[[nodiscard]] std::uint64_t SizeUnitFactor(std::optional<SizeUnit> unit);

// The unit at a list position (0 "Bytes" to 3 "GigaBytes"); nullopt for any other position,
// which SizeUnitFactor then takes as MegaBytes.
[[nodiscard]] std::optional<SizeUnit> SizeUnitForListIndex(int index);

// The part size of the size mode: spin value times the unit's factor, in 64 bits
// ("2 GigaBytes" is 2147483648). 0 when the value is not above 0 or the product does not fit
// into 64 bits: the page then refuses the split as a size of 0.
[[nodiscard]] std::uint64_t PartSizeFromUnits(std::int64_t value, std::optional<SizeUnit> unit);

// The part size of the number mode: sourceSize / count rounded up. 0 when count is below 1 or
// the source is empty: the page refuses the split as a size of 0.
[[nodiscard]] std::uint64_t PartSizeFromCount(std::uint64_t sourceSize, std::int64_t count);

} // namespace partsmith
