#include "split/PartSet.h"

#include "crypto/EncryptMod.h"
#include "text/UnicodeAdds.h"

#include <algorithm>
#include <limits>

namespace partsmith {

std::uint64_t StreamLength(std::uint64_t sourceSize, bool encrypted) {
    return encrypted ? sourceSize + kHeaderSize : sourceSize;
}

std::uint64_t PartCount(std::uint64_t streamLength, std::uint64_t partSize) {
    // Written so that a stream near 2^64 cannot overflow the rounding.
    return streamLength / partSize + (streamLength % partSize != 0 ? 1 : 0);
}

std::uint64_t PartBytes(std::uint64_t streamLength, std::uint64_t partSize, std::uint64_t k) {
    const std::uint64_t count = PartCount(streamLength, partSize);
    return k < count ? partSize : streamLength - partSize * (count - 1);
}

std::uint64_t RunLength(std::uint64_t bufferSize, std::uint64_t partBytes) {
    return bufferSize < partBytes ? bufferSize : partBytes;
}

bool PartSizeFits(std::uint64_t partSize, bool encrypted) {
    return partSize >= (encrypted ? kHeaderSize : 1);
}

HeaderBytes EncodeHeader(const PartHeader& header) {
    HeaderBytes bytes{};
    bytes[1] = static_cast<std::byte>(header.CipherCode);
    bytes[3] = static_cast<std::byte>(header.HashCode);
    for (std::size_t i = 0; i < 8 && i < header.CrcText.size(); ++i) {
        bytes[4 + i] = static_cast<std::byte>(header.CrcText[i]);
    }
    return bytes;
}

std::optional<PartHeader> ParseHeader(std::span<const std::byte, kHeaderSize> bytes) {
    PartHeader header;
    header.CipherCode = static_cast<std::uint8_t>(bytes[1]);
    header.HashCode = static_cast<std::uint8_t>(bytes[3]);
    const auto hasCipher = [&](const CipherEntry& e) { return e.code == header.CipherCode; };
    const auto hasHash = [&](const HashEntry& e) { return e.code == header.HashCode; };
    if (std::ranges::none_of(CipherList(), hasCipher) ||
        std::ranges::none_of(HashList(), hasHash)) {
        return std::nullopt;
    }
    header.CrcText.reserve(8);
    for (std::size_t i = 4; i < kHeaderSize; ++i) {
        header.CrcText.push_back(static_cast<char>(bytes[i]));
    }
    return header;
}

std::string SplitPartName(std::string_view baseName, std::uint64_t k, bool encrypted) {
    return PartFileName(baseName, static_cast<std::int64_t>(k), kSplitNumberWidth, encrypted);
}

std::filesystem::path SplitPartPath(const std::filesystem::path& outputDir,
                                    std::string_view baseName, std::uint64_t k, bool encrypted) {
    return outputDir / PathFromUtf8(SplitPartName(baseName, k, encrypted));
}

bool IsEncryptedPartName(std::string_view path) {
    const std::string extension = PathExtension(path);
    return extension.size() > 1 && (extension[1] == 'e' || extension[1] == 'E');
}

std::uint64_t SizeUnitFactor(std::optional<SizeUnit> unit) {
    switch (unit.value_or(SizeUnit::MegaBytes)) {
    case SizeUnit::Bytes:
        return 1;
    case SizeUnit::KiloBytes:
        return std::uint64_t{1} << 10;
    case SizeUnit::MegaBytes:
        return std::uint64_t{1} << 20;
    case SizeUnit::GigaBytes:
        return std::uint64_t{1} << 30;
    }
    return std::uint64_t{1} << 20;
}

std::optional<SizeUnit> SizeUnitForListIndex(int index) {
    if (index < 0 || index > 3) {
        return std::nullopt;
    }
    return static_cast<SizeUnit>(index);
}

std::uint64_t PartSizeFromUnits(std::int64_t value, std::optional<SizeUnit> unit) {
    if (value <= 0) {
        return 0;
    }
    const std::uint64_t factor = SizeUnitFactor(unit);
    const auto v = static_cast<std::uint64_t>(value);
    if (v > std::numeric_limits<std::uint64_t>::max() / factor) {
        return 0;
    }
    return v * factor;
}

std::uint64_t PartSizeFromCount(std::uint64_t sourceSize, std::int64_t count) {
    if (count < 1) {
        return 0;
    }
    return PartCount(sourceSize, static_cast<std::uint64_t>(count));
}

} // namespace partsmith
