#include "checksum/CRC32.h"
#include "io/File.h"
#include "support/FaultyFileSystem.h"
#include "support/SlowFifo.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <random>

namespace partsmith {
namespace {

using testing::RandomBytes;
using testing::TempDir;

std::uint32_t TableCrc(std::span<const std::byte> data) {
    std::uint32_t value = 0xFFFFFFFFu;
    Crc32UpdateTable(value, data.data(), data.size());
    return ~value;
}

std::span<const std::byte> Ascii(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

TEST(Crc32, TableEntriesFromTheReversedPolynomial) {
    const std::pair<std::uint8_t, std::uint32_t> entries[] = {
        {0, 0x00000000u}, {1, 0x77073096u}, {2, 0xEE0E612Cu}, {255, 0x2D02EF8Du}};
    for (const auto& [index, entry] : entries) {
        // From a running value of 0, one byte leaves exactly its table entry.
        std::uint32_t value = 0;
        Crc32UpdateTable(value, &index, 1);
        EXPECT_EQ(value, entry) << "entry " << int{index};
    }
}

TEST(Crc32, CheckValuesInMemoryAndAsFiles) {
    TempDir dir;
    const std::pair<std::string_view, const char*> cases[] = {
        {"123456789", "CBF43926"}, {"abc", "352441C2"}, {"", "00000000"}};
    for (const auto& [input, text] : cases) {
        SCOPED_TRACE(std::string(input));
        std::uint32_t fast = 0xFFFFFFFFu;
        Crc32Update(fast, input.data(), input.size());
        EXPECT_EQ(Crc32ToText(~fast), text);
        EXPECT_EQ(Crc32ToText(TableCrc(Ascii(input))), text);
        EXPECT_EQ(Crc32ToText(Crc32OfFile(dir.Write("f", std::string(input)))), text);
    }
}

TEST(Crc32, TextIsEightUppercaseDigits) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0x0000ABCDu, "0000ABCD"}, {0xCBF43926u, "CBF43926"}, {0x00000000u, "00000000"},
        {0x00000001u, "00000001"}, {0xFFFFFFFFu, "FFFFFFFF"}, {0xabcdef10u, "ABCDEF10"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(Crc32ToText(value), text);
    }
}

// The hardware routine takes different paths by length and alignment; each must agree with the
// table, from any running value.
TEST(Crc32, FastRoutineEqualsTableRoutine) {
    const auto data = RandomBytes((1 << 20) + 64, 42);
    std::mt19937 generator(5);
    auto check = [&](std::size_t offset, std::size_t length) {
        const std::uint32_t start = generator();
        std::uint32_t fast = start;
        std::uint32_t table = start;
        Crc32Update(fast, data.data() + offset, length);
        Crc32UpdateTable(table, data.data() + offset, length);
        EXPECT_EQ(fast, table) << "offset " << offset << ", length " << length;
    };
    for (std::size_t length = 0; length <= 300; ++length) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            check(offset, length);
        }
    }
    for (const std::size_t length : {1023u, 4096u, 65537u, 1u << 20}) {
        for (const std::size_t offset : {0u, 1u, 7u, 63u}) {
            check(offset, length);
        }
    }
}

TEST(Crc32, PiecewiseUpdatesEqualOnePass) {
    const auto data = RandomBytes(100'000, 3);
    std::uint32_t whole = 0xFFFFFFFFu;
    Crc32Update(whole, data.data(), data.size());
    std::uint32_t pieces = 0xFFFFFFFFu;
    for (std::size_t at = 0, step = 1; at < data.size(); at += step, step = step * 3 + 1) {
        Crc32Update(pieces, data.data() + at, std::min(step, data.size() - at));
    }
    EXPECT_EQ(pieces, whole);
}

TEST(Crc32OfFile, EqualsTheValueInMemoryAtBlockBoundaries) {
    TempDir dir;
    for (const std::size_t size : {0u, 1u, 32767u, 32768u, 32769u, (1u << 20) - 1, 1u << 20,
                                   (1u << 20) + 1, 3u * (1u << 20) + 17}) {
        const auto data = RandomBytes(size, static_cast<unsigned>(size));
        EXPECT_EQ(Crc32OfFile(dir.Write("f", data)), TableCrc(data)) << size << " bytes";
    }
}

TEST(Crc32OfFile, ReadsThroughShortReadsToTheEnd) {
    TempDir dir;
    const auto data = RandomBytes(200'000, 9);
    testing::SlowFifo fifo(dir / "fifo", data, 7000);
    EXPECT_EQ(Crc32OfFile(fifo.Path()), TableCrc(data));
}

// A file that cannot be read must never pass for an empty one.
TEST(Crc32OfFile, UnreadableFilesRaise) {
    TempDir dir;
    const auto file = dir.Write("f", RandomBytes(100'000));
    testing::FaultyFileSystem faulty;
    faulty.FailReadsAfter(40'000);
    struct Case {
        const char* what;
        FileSystem& fs;
        std::filesystem::path path;
        IoOp op;
        std::errc code;
    };
    const Case cases[] = {
        {"missing", RealFileSystem(), dir / "none", IoOp::Open,
         std::errc::no_such_file_or_directory},
        {"folder", RealFileSystem(), dir.Path(), IoOp::Open, std::errc::is_a_directory},
        {"failing read", faulty, file, IoOp::Read, std::errc::io_error},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            (void)Crc32OfFile(c.fs, c.path);
            ADD_FAILURE() << "no IoError";
        } catch (const IoError& error) {
            EXPECT_EQ(error.Op(), c.op);
            EXPECT_EQ(error.Code(), c.code);
        }
    }
}

} // namespace
} // namespace partsmith
