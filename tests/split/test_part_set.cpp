#include "split/PartSet.h"

#include <gtest/gtest.h>
#include <vector>

namespace partsmith {
namespace {

constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;

struct LayoutCase {
    const char* name;
    std::uint64_t sourceSize;
    std::uint64_t partSize;
    bool encrypted;
    std::vector<std::uint64_t> parts;
};

class PartLayout : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(PartLayout, CountAndSizes) {
    const LayoutCase& c = GetParam();
    const std::uint64_t t = StreamLength(c.sourceSize, c.encrypted);
    ASSERT_EQ(PartCount(t, c.partSize), c.parts.size());
    std::uint64_t sum = 0;
    for (std::uint64_t k = 1; k <= c.parts.size(); ++k) {
        EXPECT_EQ(PartBytes(t, c.partSize, k), c.parts[k - 1]) << "part " << k;
        sum += PartBytes(t, c.partSize, k);
    }
    EXPECT_EQ(sum, t);
}

INSTANTIATE_TEST_SUITE_P(
    Format, PartLayout,
    ::testing::Values(LayoutCase{"Plain100By30", 100, 30, false, {30, 30, 30, 10}},
                      LayoutCase{"Encrypted100By30", 100, 30, true, {30, 30, 30, 22}},
                      LayoutCase{"PlainWholeMultiple", 90, 30, false, {30, 30, 30}},
                      LayoutCase{"PlainExactlyOnePart", 30, 30, false, {30}},
                      LayoutCase{"EncryptedExactlyOnePartGivesTwo", 30, 30, true, {30, 12}},
                      LayoutCase{"EncryptedHeaderOnlyFirstPart", 30, 12, true, {12, 12, 12, 6}},
                      LayoutCase{"PlainEmptyHasNoPart", 0, 30, false, {}},
                      LayoutCase{"EncryptedEmptyIsTheHeader", 0, 30, true, {12}},
                      LayoutCase{"NumberMode1000By3", 1000, 334, false, {334, 334, 332}},
                      LayoutCase{
                          "FiveGiBInto2GiB", 5 * kGiB, 2 * kGiB, false, {2 * kGiB, 2 * kGiB, kGiB}},
                      LayoutCase{"PartOf4GiBAndMore",
                                 9 * kGiB,
                                 4 * kGiB + 1,
                                 true,
                                 {4 * kGiB + 1, 4 * kGiB + 1, kGiB - 2 + 12}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(PartSet, RunLengthIsTheSmallerOfBufferAndPart) {
    EXPECT_EQ(RunLength(1024, 2500), 1024u);
    EXPECT_EQ(RunLength(8192 * 1024, 30), 30u);
    EXPECT_EQ(RunLength(8 * kGiB, 5 * kGiB), 5 * kGiB);
}

TEST(PartSet, PartSizeMustHoldTheHeaderOfAnEncryptedSet) {
    EXPECT_FALSE(PartSizeFits(0, false));
    EXPECT_TRUE(PartSizeFits(1, false));
    EXPECT_FALSE(PartSizeFits(11, true));
    EXPECT_TRUE(PartSizeFits(12, true));
}

TEST(PartSet, HeaderBytes) {
    const HeaderBytes bytes = EncodeHeader({16, 7, "CBF43926"});
    const unsigned char expected[] = {0, 16, 0, 7, 'C', 'B', 'F', '4', '3', '9', '2', '6'};
    ASSERT_EQ(bytes.size(), sizeof expected);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        EXPECT_EQ(static_cast<unsigned char>(bytes[i]), expected[i]) << "offset " << i;
    }
    const auto parsed = ParseHeader(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->CipherCode, 16);
    EXPECT_EQ(parsed->HashCode, 7);
    EXPECT_EQ(parsed->CrcText, "CBF43926");
}

TEST(PartSet, ParseIgnoresBytesZeroAndTwo) {
    HeaderBytes bytes = EncodeHeader({13, 10, "0000ABCD"});
    bytes[0] = std::byte{0xAA};
    bytes[2] = std::byte{0x55};
    const auto parsed = ParseHeader(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->CipherCode, 13);
    EXPECT_EQ(parsed->HashCode, 10);
}

TEST(PartSet, ParseRejectsCodesOutsideTheCatalogue) {
    const std::pair<int, int> codes[] = {{0, 7}, {20, 7}, {255, 7}, {16, 0}, {16, 11}, {1, 200}};
    for (const auto& [cipher, hash] : codes) {
        const HeaderBytes bytes = EncodeHeader(
            {static_cast<std::uint8_t>(cipher), static_cast<std::uint8_t>(hash), "00000000"});
        EXPECT_FALSE(ParseHeader(bytes)) << cipher << "/" << hash;
    }
    // The first bytes of a plain part (text) are no header either.
    HeaderBytes text{};
    const char* sample = "Hello, world";
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<std::byte>(sample[i]);
    }
    EXPECT_FALSE(ParseHeader(text));
}

TEST(PartSet, PartNames) {
    EXPECT_EQ(SplitPartName("report.pdf", 1, false), "report.pdf.001");
    EXPECT_EQ(SplitPartName("report.pdf", 5, true), "report.pdf.e05");
    EXPECT_EQ(SplitPartName("x", 999, false), "x.999");
    EXPECT_EQ(SplitPartName("x", 1000, false), "x.1000");
    EXPECT_EQ(SplitPartName("x", 99, true), "x.e99");
    EXPECT_EQ(SplitPartName("x", 100, true), "x.e100");
    EXPECT_EQ(SplitPartPath("/data/out", "x.bin", 2, false), "/data/out/x.bin.002");
}

TEST(PartSet, EncryptedNames) {
    EXPECT_TRUE(IsEncryptedPartName("/data/movie.avi.e01"));
    EXPECT_TRUE(IsEncryptedPartName("movie.avi.E01"));
    EXPECT_FALSE(IsEncryptedPartName("/data/movie.avi.001"));
    EXPECT_FALSE(IsEncryptedPartName("/data/x.e/movie"));
    EXPECT_FALSE(IsEncryptedPartName("movie"));
}

TEST(PartSet, PartSizeFromUnits) {
    EXPECT_EQ(PartSizeFromUnits(100, SizeUnit::MegaBytes), 104857600u);
    EXPECT_EQ(PartSizeFromUnits(100, std::nullopt), 104857600u);
    EXPECT_EQ(PartSizeFromUnits(30, SizeUnit::Bytes), 30u);
    EXPECT_EQ(PartSizeFromUnits(3, SizeUnit::KiloBytes), 3072u);
    EXPECT_EQ(PartSizeFromUnits(2, SizeUnit::GigaBytes), 2147483648u);
    EXPECT_EQ(PartSizeFromUnits(4, SizeUnit::GigaBytes), 4294967296u);
    EXPECT_EQ(PartSizeFromUnits(5, SizeUnit::GigaBytes), 5368709120u);
    EXPECT_EQ(PartSizeFromUnits(0, SizeUnit::MegaBytes), 0u);
    EXPECT_EQ(PartSizeFromUnits(-1, SizeUnit::Bytes), 0u);
    EXPECT_EQ(PartSizeFromUnits(std::int64_t{1} << 40, SizeUnit::GigaBytes), 0u);
    EXPECT_EQ(SizeUnitForListIndex(3), SizeUnit::GigaBytes);
    EXPECT_EQ(SizeUnitForListIndex(-1), std::nullopt);
    EXPECT_EQ(SizeUnitFactor(SizeUnitForListIndex(4)), 1048576u);
}

TEST(PartSet, PartSizeFromCount) {
    EXPECT_EQ(PartSizeFromCount(1000, 3), 334u);
    EXPECT_EQ(PartSizeFromCount(9, 4), 3u);
    EXPECT_EQ(PartCount(9, PartSizeFromCount(9, 4)), 3u); // four asked, three made
    EXPECT_EQ(PartSizeFromCount(100, 2), 50u);
    EXPECT_EQ(PartCount(StreamLength(100, true), 50), 3u);
    EXPECT_EQ(PartSizeFromCount(5 * kGiB, 2), 5 * kGiB / 2);
    EXPECT_EQ(PartSizeFromCount(1000, 0), 0u);
    EXPECT_EQ(PartSizeFromCount(1000, -3), 0u);
    EXPECT_EQ(PartSizeFromCount(0, 3), 0u);
}

} // namespace
} // namespace partsmith
