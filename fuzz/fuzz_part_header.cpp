// The 12-byte header that the join reads from the start of part 1 of an encrypted set.
#include "FuzzCheck.h"
#include "split/PartSet.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using partsmith::HeaderBytes;
    using partsmith::kHeaderSize;
    // The join reads exactly the first 12 bytes; a shorter file holds no header.
    if (size < kHeaderSize) {
        return 0;
    }
    HeaderBytes bytes{};
    std::memcpy(bytes.data(), data, kHeaderSize);

    const std::optional<partsmith::PartHeader> header = partsmith::ParseHeader(bytes);
    if (!header) {
        return 0;
    }
    FUZZ_CHECK(header->CipherCode >= 1 && header->CipherCode <= 19);
    FUZZ_CHECK(header->HashCode >= 1 && header->HashCode <= 10);
    // The checksum characters are passed on as they stand, for the join to compare.
    FUZZ_CHECK(header->CrcText.size() == 8);
    FUZZ_CHECK(std::memcmp(header->CrcText.data(), data + 4, 8) == 0);

    // Bytes 0 and 2 are not examined, so only the others must come back.
    const HeaderBytes encoded = partsmith::EncodeHeader(*header);
    FUZZ_CHECK(encoded[0] == std::byte{0} && encoded[2] == std::byte{0});
    FUZZ_CHECK(encoded[1] == bytes[1] && encoded[3] == bytes[3]);
    FUZZ_CHECK(std::equal(encoded.begin() + 4, encoded.end(), bytes.begin() + 4));

    const std::optional<partsmith::PartHeader> again = partsmith::ParseHeader(encoded);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(again->CipherCode == header->CipherCode && again->HashCode == header->HashCode &&
               again->CrcText == header->CrcText);
    return 0;
}
