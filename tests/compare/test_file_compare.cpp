#include "checksum/CRC32.h"
#include "compare/FileCompare.h"
#include "io/File.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace partsmith {
namespace {

using testing::FaultyFileSystem;
using testing::RandomBytes;
using testing::TempDir;
using Bytes = std::vector<std::byte>;
namespace fs = std::filesystem;

struct RecordingHost final : CompareHost {
    std::vector<std::string> events; // "log:...", "box-ok:...", "box-error:...", ...
    int pumps = 0;
    void Started() override { events.push_back("started"); }
    void AddLog(const std::string& line) override { events.push_back("log:" + line); }
    void ShowBox(bool success, const std::string& text, const std::string& caption) override {
        events.push_back(std::string(success ? "box-ok:" : "box-error:") + caption + ":" + text);
    }
    void Finished(const std::string& status) override { events.push_back("finished:" + status); }
    void PumpEvents() override { ++pumps; }
};

class FileCompareTest : public ::testing::Test {
protected:
    CompareOutcome Compare(const Bytes& a, const Bytes& b, CompareMethod method,
                           bool sizeCheck = true, std::size_t block = 1 << 20) {
        params.File1 = dir.Write("one.bin", a);
        params.File2 = dir.Write("two.bin", b);
        params.Method = method;
        params.CompareSize = sizeCheck;
        params.BlockSize = block;
        host = {};
        return CompareFiles(params, host);
    }
    // The five events every comparison of two present files begins with and the two it ends
    // with, around the verdict line and box.
    std::vector<std::string> Expected(std::uint64_t size1, std::uint64_t size2,
                                      const std::string& verdict, const std::string& box) const {
        return {"started",
                "log:File 1 as \"" + params.File1.string() + "\"",
                "log:File 2 as \"" + params.File2.string() + "\"",
                "log:Size of file 1 is " + std::to_string(size1) + " Bytes",
                "log:Size of file 2 is " + std::to_string(size2) + " Bytes",
                "log:" + verdict,
                box,
                "finished:File Compare end."};
    }

    TempDir dir;
    CompareParams params;
    RecordingHost host;
};

TEST_F(FileCompareTest, EqualFilesInBothModes) {
    const Bytes data = RandomBytes(3000);
    const std::string crc = Crc32ToText(Crc32OfFile(dir.Write("ref", data)));
    CompareOutcome outcome = Compare(data, data, CompareMethod::ByChecksum);
    EXPECT_EQ(outcome.Verdict, CompareVerdict::Equal);
    EXPECT_EQ(host.events, Expected(3000, 3000, "Both file is equal!",
                                    "box-ok:Success:Both file is equal. " + crc + " = " + crc));
    outcome = Compare(data, data, CompareMethod::ByContent);
    EXPECT_EQ(outcome.Verdict, CompareVerdict::Equal);
    EXPECT_EQ(host.events,
              Expected(3000, 3000, "Both file is equal!", "box-ok:Success:Both file is equal!"));
}

TEST_F(FileCompareTest, AnEmptyFileIsRefusedWhateverTheOptions) {
    for (const CompareMethod method : {CompareMethod::ByChecksum, CompareMethod::ByContent}) {
        for (const bool sizeCheck : {true, false}) {
            const CompareOutcome outcome = Compare({}, RandomBytes(5), method, sizeCheck);
            EXPECT_EQ(outcome.Verdict, CompareVerdict::EmptyFile);
            EXPECT_EQ(host.events, Expected(0, 5, "One or both file is null!",
                                            "box-error:Error:One or both file is null!"));
        }
    }
}

TEST_F(FileCompareTest, SizeCheckRefusesWithoutReadingContent) {
    FaultyFileSystem counting;
    params.Files = &counting;
    const CompareOutcome outcome =
        Compare(RandomBytes(10), RandomBytes(12), CompareMethod::ByChecksum);
    EXPECT_EQ(outcome.Verdict, CompareVerdict::SizeDiffers);
    EXPECT_EQ(host.events, Expected(10, 12, "File size is not equal! 10 <> 12",
                                    "box-error:Error:File size is not equal! 10 <> 12"));
    EXPECT_EQ(counting.BytesRead(), 0u);
}

TEST_F(FileCompareTest, WithoutSizeCheckChecksumsOfDifferentSizesDiffer) {
    const Bytes a = RandomBytes(10);
    Bytes b = a;
    b.resize(12);
    const CompareOutcome outcome = Compare(a, b, CompareMethod::ByChecksum, false);
    EXPECT_EQ(outcome.Verdict, CompareVerdict::Different);
    const std::string text = "Both file is not equal! " + outcome.Crc1 + " <> " + outcome.Crc2;
    EXPECT_EQ(host.events, Expected(10, 12, text, "box-error:Error:" + text));
}

TEST_F(FileCompareTest, WithoutSizeCheckContentCoversFileOne) {
    const Bytes a = RandomBytes(100);
    Bytes longer = a;
    longer.resize(150, std::byte{7});
    EXPECT_EQ(Compare(a, longer, CompareMethod::ByContent, false).Verdict, CompareVerdict::Equal);
    // A shorter file 2 is not equal: it differs where it ends.
    const Bytes shorter(a.begin(), a.begin() + 60);
    const CompareOutcome outcome = Compare(a, shorter, CompareMethod::ByContent, false, 16);
    EXPECT_EQ(outcome.Verdict, CompareVerdict::Different);
    EXPECT_EQ(outcome.FirstDifference, 60u);
    EXPECT_EQ(host.events[5], "log:Both file is not equal at $0000003C !");
    EXPECT_EQ(host.events[6], "box-error:Error:Both file is not equal at $0000003C !");
}

TEST_F(FileCompareTest, FirstDifferenceIsTheOneOfAByteByByteLoop) {
    const Bytes base = RandomBytes(5000);
    struct Case {
        std::vector<std::size_t> changed;
        std::size_t block;
    };
    const std::vector<Case> cases = {
        {{0}, 1 << 20},       {{0}, 64},    {{63}, 64},        {{64}, 64},
        {{65}, 64},           {{4999}, 64}, {{4999}, 1 << 20}, {{128, 5, 4000}, 64},
        {{1023, 1024}, 1024}, {{2500}, 1},  {{4096, 200}, 7},
    };
    for (const Case& c : cases) {
        Bytes other = base;
        for (const std::size_t at : c.changed) {
            other[at] ^= std::byte{0x5A};
        }
        std::size_t expected = 0;
        while (base[expected] == other[expected]) {
            ++expected;
        }
        const CompareOutcome outcome =
            Compare(base, other, CompareMethod::ByContent, true, c.block);
        EXPECT_EQ(outcome.Verdict, CompareVerdict::Different);
        EXPECT_EQ(outcome.FirstDifference, expected) << "block " << c.block;
        EXPECT_EQ(outcome.Message,
                  "Both file is not equal at $" + DifferencePositionText(expected) + " !");
    }
}

TEST(FileCompare, PositionText) {
    EXPECT_EQ(DifferencePositionText(0), "00000000");
    EXPECT_EQ(DifferencePositionText(0x1F), "0000001F");
    EXPECT_EQ(DifferencePositionText(0xFFFFFFFF), "FFFFFFFF");
    EXPECT_EQ(DifferencePositionText(std::uint64_t{5} << 30), "140000000");
}

TEST_F(FileCompareTest, AMissingFileGivesOnlyTheBox) {
    params.File1 = dir.Write("one.bin", "abc");
    params.File2 = dir.Path() / "missing";
    CompareOutcome outcome = CompareFiles(params, host);
    EXPECT_EQ(outcome.Verdict, CompareVerdict::NotFound);
    EXPECT_EQ(host.events, std::vector<std::string>{"box-error:Error:One or both file not found!"});
    host = {};
    params.File2 = "";
    EXPECT_EQ(CompareFiles(params, host).Verdict, CompareVerdict::NotFound);
    host = {};
    params.File2 = dir.Path();
    EXPECT_EQ(CompareFiles(params, host).Verdict, CompareVerdict::NotFound);
}

TEST_F(FileCompareTest, UnreadableFilesAreReported) {
    for (const CompareMethod method : {CompareMethod::ByChecksum, CompareMethod::ByContent}) {
        FaultyFileSystem faulty;
        params.Files = &faulty;
        params.File2 = dir.Path() / "two.bin";
        faulty.FailOpenRead(params.File2);
        CompareOutcome outcome = Compare(RandomBytes(10), RandomBytes(10), method);
        EXPECT_EQ(outcome.Verdict, CompareVerdict::Failed);
        const std::string text =
            "Cannot open file \"" + params.File2.string() + "\": Permission denied";
        EXPECT_EQ(outcome.Message, text);
        EXPECT_EQ(host.events, (std::vector<std::string>{"started", host.events[1], host.events[2],
                                                         "log:" + text, "box-error:Error:" + text,
                                                         "finished:File Compare end."}));

        FaultyFileSystem failingRead;
        params.Files = &failingRead;
        failingRead.FailReadsAfter(1000);
        outcome = Compare(RandomBytes(5000), RandomBytes(5000), method, true, 256);
        EXPECT_EQ(outcome.Verdict, CompareVerdict::Failed);
        EXPECT_NE(outcome.Message.find("Input/output error"), std::string::npos);
        EXPECT_EQ(host.events.back(), "finished:File Compare end.");
        params.Files = nullptr;
    }
}

// Reads that take their time, as a slow disk's do.
class SlowFileSystem final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenRead(const fs::path& path) override {
        return std::make_unique<Input>(RealFileSystem().OpenRead(path));
    }
    std::unique_ptr<OutputFile> Create(const fs::path& path) override {
        return RealFileSystem().Create(path);
    }
    void Remove(const fs::path& path) override { RealFileSystem().Remove(path); }
    bool IsFile(const fs::path& path) override { return RealFileSystem().IsFile(path); }
    bool SameFile(const fs::path& a, const fs::path& b) override {
        return RealFileSystem().SameFile(a, b);
    }
    std::uint64_t FileSize(const fs::path& path) override {
        return RealFileSystem().FileSize(path);
    }

private:
    struct Input final : InputFile {
        explicit Input(std::unique_ptr<InputFile> in) : inner(std::move(in)) {}
        std::size_t Read(std::span<std::byte> buffer) override {
            std::this_thread::sleep_for(std::chrono::milliseconds(15));
            return inner->Read(buffer);
        }
        std::uint64_t Size() override { return inner->Size(); }
        const fs::path& Path() const override { return inner->Path(); }
        std::unique_ptr<InputFile> inner;
    };
};

TEST_F(FileCompareTest, ContentModeLetsTheWindowHandleItsEvents) {
    SlowFileSystem slow;
    params.Files = &slow;
    // 20 blocks of two slow reads each: at least 600 ms of work.
    const Bytes data = RandomBytes(20 * 100);
    const CompareOutcome outcome = Compare(data, data, CompareMethod::ByContent, true, 100);
    EXPECT_EQ(outcome.Verdict, CompareVerdict::Equal);
    EXPECT_GE(host.pumps, 600 / 50);
}

} // namespace
} // namespace partsmith
