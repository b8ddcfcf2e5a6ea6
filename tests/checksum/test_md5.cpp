#include "checksum/MD5.h"
#include "support/FaultyFileSystem.h"
#include "support/SlowFifo.h"
#include "support/TempDir.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace partsmith {
namespace {

using testing::RandomBytes;
using testing::TempDir;

Md5Digest DigestInMemory(std::span<const std::byte> data) {
    const DigestAlgorithm& md5 = Md5Algorithm();
    DigestContext context;
    md5.init(context);
    md5.update(context, data.data(), data.size());
    DigestArea area{};
    md5.final(context, area);
    Md5Digest digest{};
    std::copy_n(area.begin(), digest.size(), digest.begin());
    return digest;
}

std::string FileDigestText(const std::filesystem::path& path, std::size_t bufferSize = 32768) {
    std::vector<std::byte> buffer(bufferSize);
    Md5Digest digest{};
    const DigestStatus status = Md5OfFile(path, digest, buffer);
    EXPECT_EQ(status.errorCode, 0) << status.reason;
    return DigestToText(digest);
}

TEST(Md5, Rfc1321TestSuiteAsFiles) {
    TempDir dir;
    const std::pair<std::string, const char*> cases[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"abcdefghijklmnopqrstuvwxyz", "C3FCD3D76192E4007DFB496CCA67E13B"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
         "D174AB98D277D9F5A5611C2C9F419D9F"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [input, text] : cases) {
        EXPECT_EQ(FileDigestText(dir.Write("f", input)), text) << '"' << input << '"';
    }
}

TEST(Md5, FileDigestEqualsTheDigestInMemoryForAnyBufferSize) {
    TempDir dir;
    for (const std::size_t size : {1u, 32767u, 32768u, 32769u, 65536u, 1'000'003u}) {
        const auto data = RandomBytes(size, static_cast<unsigned>(size));
        const auto path = dir.Write("f", data);
        const std::string expected = DigestToText(DigestInMemory(data));
        for (const std::size_t buffer : {100u, 4096u, 32768u, 1u << 20}) {
            EXPECT_EQ(FileDigestText(path, buffer), expected)
                << size << " bytes, buffer " << buffer;
        }
    }
}

TEST(Md5, ReadsThroughShortReadsToTheEnd) {
    TempDir dir;
    const auto data = RandomBytes(200'000, 11);
    testing::SlowFifo fifo(dir / "fifo", data, 7000);
    EXPECT_EQ(FileDigestText(fifo.Path()), DigestToText(DigestInMemory(data)));
}

TEST(Md5, FailuresGiveACodeAndTheSystemsReason) {
    TempDir dir;
    const auto file = dir.Write("f", RandomBytes(100'000));
    testing::FaultyFileSystem faulty;
    faulty.FailReadsAfter(50'000);
    struct Case {
        const char* what;
        FileSystem& fs;
        std::filesystem::path path;
        std::uint16_t code;
        std::errc reason;
    };
    const Case cases[] = {
        {"missing", RealFileSystem(), dir / "none", kDigestOpenFailed,
         std::errc::no_such_file_or_directory},
        {"folder", RealFileSystem(), dir.Path(), kDigestOpenFailed, std::errc::is_a_directory},
        {"failing read", faulty, file, kDigestReadFailed, std::errc::io_error},
    };
    std::vector<std::byte> buffer(32768);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Md5Digest digest{};
        digest.fill(0xEE);
        const DigestStatus status = Md5OfFile(c.fs, c.path, digest, buffer);
        EXPECT_FALSE(status);
        EXPECT_EQ(status.errorCode, c.code);
        EXPECT_EQ(status.reason, std::make_error_code(c.reason).message());
        EXPECT_TRUE(std::all_of(digest.begin(), digest.end(), [](auto b) { return b == 0xEE; }))
            << "a failed digest must not reach the caller";
    }
}

TEST(Md5, FinishingWipesTheContext) {
    const DigestAlgorithm& md5 = Md5Algorithm();
    DigestContext context;
    md5.init(context);
    const std::string secret(100, 'S');
    md5.update(context, std::as_bytes(std::span(secret)).data(), secret.size());
    DigestArea area{};
    md5.final(context, area);
    EXPECT_TRUE(std::all_of(std::begin(context.bytes), std::end(context.bytes),
                            [](std::byte b) { return b == std::byte{0}; }));
    EXPECT_EQ(md5.digestSize, 16u);
}

TEST(Md5, TextIsThirtyTwoUppercaseDigits) {
    const Md5Digest digest{0x00, 0x01, 0x0F, 0x10, 0x7F, 0x80, 0x9A, 0xAB,
                           0xBC, 0xCD, 0xDE, 0xEF, 0xF0, 0xFE, 0xFF, 0x5A};
    EXPECT_EQ(DigestToText(digest), "00010F107F809AABBCCDDEEFF0FEFF5A");
}

} // namespace
} // namespace partsmith
