#include "checksum/CRC32.h"
#include "compare/FileCompare.h"
#include "crypto/EncryptMod.h"
#include "join/FileJoin.h"
#include "split/FileSplit.h"
#include "split/PartSet.h"
#include "split/ScriptedHosts.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"
#include "text/UnicodeAdds.h"

#include <atomic>
#include <cstring>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace partsmith {
namespace {

using testing::FaultyFileSystem;
using testing::RandomBytes;
using testing::ReadAll;
using testing::ScriptedJoinHost;
using testing::ScriptedSplitHost;
using testing::TempDir;
using Bytes = std::vector<std::byte>;
namespace fs = std::filesystem;

constexpr std::uint8_t kAes = 16;
constexpr std::uint8_t kRc4 = 13;
constexpr std::uint8_t kSha256 = 7;

class FileJoinTest : public ::testing::Test {
protected:
    // Splits source into parts of partSize in dir/parts; returns the path of part 1.
    fs::path MakeSet(const Bytes& source, std::uint64_t partSize, bool encrypted,
                     std::uint8_t cipher = kAes, std::uint64_t buffer = 1024,
                     std::uint8_t hash = kSha256) {
        sourceBytes = source;
        const fs::path parts = dir.Path() / "parts";
        fs::create_directories(parts);
        SplitParams p;
        p.SourceFile = dir.Write("source.bin", source);
        p.OutputDir = parts;
        p.BaseName = "data.bin";
        p.PartSize = partSize;
        p.Encrypted = encrypted;
        p.Password = "pass word";
        p.CipherCode = cipher;
        p.HashCode = hash;
        p.BufferSize = buffer;
        const std::atomic<bool> noQuestions{false};
        p.AskWhenFileExists = &noQuestions;
        ScriptedSplitHost splitHost;
        EXPECT_EQ(RunFileSplit(p, splitHost).Result, SplitResult::Completed);
        fs::remove(p.SourceFile); // the join must rebuild it from the parts alone
        return SplitPartPath(parts, p.BaseName, 1, encrypted);
    }
    JoinParams Params(const fs::path& first, std::int64_t last, bool encrypted) {
        JoinParams p;
        p.SourceName = first;
        p.OutputName = dir.Path() / "joined.bin";
        p.Password = "pass word";
        p.FirstPart = 1;
        p.LastPart = last;
        p.Encrypted = encrypted;
        p.BufferSize = 1024;
        p.AskWhenFileExists = &ask;
        return p;
    }
    JoinOutcome Run(const JoinParams& p) {
        const JoinOutcome outcome = RunFileJoin(p, host);
        EXPECT_FALSE(host.calls.empty());
        EXPECT_EQ(host.calls.back().kind, "done") << "NotifyDone must be the last call";
        EXPECT_EQ(host.Only("done").size(), 1u);
        return outcome;
    }
    fs::path Part(const fs::path& first, std::int64_t n, bool encrypted) const {
        return PartFileName(first.parent_path().string() + "/data.bin", n, 3, encrypted);
    }

    TempDir dir;
    ScriptedJoinHost host;
    Bytes sourceBytes;
    // Most tests join into the same output again and again; the overwrite tests turn it on.
    std::atomic<bool> ask{false};
};

TEST_F(FileJoinTest, PlainSetOfThreeParts) {
    const fs::path first = MakeSet(RandomBytes(2500), 1000, false);
    const JoinParams p = Params(first, 3, false);
    const JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Completed);
    EXPECT_EQ(outcome.Crc, CrcVerdict::NotChecked);
    EXPECT_EQ(outcome.OutputPath, p.OutputName);
    EXPECT_EQ(ReadAll(p.OutputName), sourceBytes);
    const auto progress = host.Only("progress");
    ASSERT_EQ(progress.size(), 3u);
    EXPECT_EQ(progress.back().text,
              "Joining file at \"" + Part(first, 3, false).string() + "\", Total 100.00%.");
    EXPECT_TRUE(host.Only("compare-crc").empty());
}

TEST_F(FileJoinTest, PlainCopyGivesTheSameBytesEitherWay) {
    const fs::path first = MakeSet(RandomBytes(10000), 3000, false);
    for (const bool kernel : {true, false}) {
        host = {};
        JoinParams p = Params(first, 4, false);
        p.KernelCopy = kernel;
        p.OutputName = dir.Path() / (kernel ? "k.bin" : "rw.bin");
        EXPECT_EQ(Run(p).Result, JoinResult::Completed);
        EXPECT_EQ(ReadAll(p.OutputName), sourceBytes);
        EXPECT_EQ(host.Hundredths(),
                  (std::vector<long>{1024, 2048, 3000, 4024, 5048, 6000, 7024, 8048, 9000, 10000}));
    }
}

TEST_F(FileJoinTest, EveryCipherRoundTrips) {
    for (const CipherEntry& cipher : CipherList()) {
        host = {};
        fs::remove_all(dir.Path() / "parts");
        const fs::path first = MakeSet(RandomBytes(3001, cipher.code), 1200, true, cipher.code);
        const JoinParams p = Params(first, 3, true);
        const JoinOutcome outcome = Run(p);
        EXPECT_EQ(outcome.Result, JoinResult::Completed) << cipher.listName;
        EXPECT_EQ(outcome.Crc, CrcVerdict::Match) << cipher.listName;
        EXPECT_EQ(ReadAll(p.OutputName), sourceBytes) << cipher.listName;
        ASSERT_TRUE(host.comparedCrc);
        EXPECT_EQ(host.comparedCrc->first, Crc32ToText(Crc32OfFile(p.OutputName)));
        // Status of the checksum pass, then the comparison, then the end.
        const auto kinds = host.Kinds();
        ASSERT_GE(kinds.size(), 3u);
        EXPECT_EQ(std::vector(kinds.end() - 3, kinds.end()),
                  (std::vector<std::string>{"crc-status", "compare-crc", "done"}));
    }
}

TEST_F(FileJoinTest, EveryHashRoundTrips) {
    for (const HashEntry& hash : HashList()) {
        host = {};
        fs::remove_all(dir.Path() / "parts");
        const fs::path first = MakeSet(RandomBytes(700, hash.code), 300, true, 19, 1024, hash.code);
        const JoinOutcome outcome = Run(Params(first, 3, true));
        EXPECT_EQ(outcome.Crc, CrcVerdict::Match) << hash.listName;
    }
}

TEST_F(FileJoinTest, EncryptedEmptySetJoinsIntoAnEmptyFile) {
    const fs::path first = MakeSet({}, 100, true);
    const JoinParams p = Params(first, 1, true);
    const JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Completed);
    EXPECT_EQ(outcome.Crc, CrcVerdict::Match);
    EXPECT_EQ(fs::file_size(p.OutputName), 0u);
}

TEST_F(FileJoinTest, OtherBufferSize) {
    // Parts larger than both buffers: an RC4 set then deciphers to other bytes, a block cipher
    // set does not care.
    for (const std::uint8_t cipher : {kRc4, kAes}) {
        host = {};
        fs::remove_all(dir.Path() / "parts");
        const fs::path first = MakeSet(RandomBytes(5000), 2500, true, cipher, 1024);
        JoinParams p = Params(first, 3, true);
        p.BufferSize = 2048;
        const JoinOutcome outcome = Run(p);
        EXPECT_EQ(outcome.Result, JoinResult::Completed);
        if (cipher == kRc4) {
            EXPECT_EQ(outcome.Crc, CrcVerdict::Mismatch);
            EXPECT_NE(ReadAll(p.OutputName), sourceBytes);
        } else {
            EXPECT_EQ(outcome.Crc, CrcVerdict::Match);
            EXPECT_EQ(ReadAll(p.OutputName), sourceBytes);
        }
    }
}

TEST_F(FileJoinTest, WrongPasswordGivesAMismatchWithTheStoredChecksumFirst) {
    const fs::path first = MakeSet(RandomBytes(3000), 1000, true);
    JoinParams p = Params(first, 4, true);
    p.Password = "pass Word";
    const JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Completed);
    EXPECT_EQ(outcome.Crc, CrcVerdict::Mismatch);
    const std::string stored = Crc32ToText(Crc32OfFile(dir.Write("x", sourceBytes)));
    ASSERT_TRUE(host.comparedCrc);
    EXPECT_EQ(host.comparedCrc->first, stored);
    EXPECT_EQ(outcome.StoredCrc, stored);
    EXPECT_EQ(outcome.JoinedCrc, host.comparedCrc->second);
    EXPECT_NE(outcome.JoinedCrc, stored);
    EXPECT_EQ(fs::file_size(p.OutputName), sourceBytes.size());
}

TEST_F(FileJoinTest, PauseThenStopSkipsTheChecksum) {
    const fs::path first = MakeSet(RandomBytes(3000), 1000, true);
    host.pauseAfterRun = 2;
    const JoinParams p = Params(first, 4, true);
    const JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Stopped);
    EXPECT_EQ(outcome.Crc, CrcVerdict::NotChecked);
    EXPECT_TRUE(host.Only("crc-status").empty());
    EXPECT_TRUE(host.Only("compare-crc").empty());
    // Runs of part 1: 988 bytes (the rest of a 1000-byte chunk after the header)... then 1000.
    EXPECT_EQ(fs::file_size(p.OutputName), 988u + 1000u);
    EXPECT_TRUE(fs::exists(first));
}

TEST_F(FileJoinTest, OverwriteAnswers) {
    const fs::path first = MakeSet(RandomBytes(2500), 1000, false);
    ask = true;
    JoinParams p = Params(first, 3, false);
    dir.Write("joined.bin", "old");
    // Cancel: nothing created, nothing read.
    host.overwriteAnswers = {OverwriteAnswer::Cancel};
    JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Cancelled);
    EXPECT_TRUE(outcome.OutputPath.empty());
    EXPECT_EQ(ReadAll(p.OutputName).size(), 3u);
    EXPECT_EQ(host.Only("ask-overwrite")[0].text,
              "File \"" + p.OutputName.string() + "\" is exists, do you want to overwrite?");
    // No and a chosen path: written there, the first file untouched.
    host = {};
    const fs::path chosen = dir.Path() / "chosen.bin";
    host.overwriteAnswers = {OverwriteAnswer::No};
    host.savePaths = {chosen};
    outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Completed);
    EXPECT_EQ(outcome.OutputPath, chosen);
    EXPECT_EQ(ReadAll(chosen), sourceBytes);
    EXPECT_EQ(ReadAll(p.OutputName).size(), 3u);
    // No and no path: as Cancel.
    host = {};
    host.overwriteAnswers = {OverwriteAnswer::No};
    EXPECT_EQ(Run(p).Result, JoinResult::Cancelled);
    // Yes: replaced.
    host = {};
    host.overwriteAnswers = {OverwriteAnswer::Yes};
    EXPECT_EQ(Run(p).Result, JoinResult::Completed);
    EXPECT_EQ(ReadAll(p.OutputName), sourceBytes);
}

TEST_F(FileJoinTest, MissingMiddlePart) {
    const fs::path first = MakeSet(RandomBytes(2500), 1000, true);
    const fs::path middle = Part(first, 2, true);
    const fs::path aside = dir.Path() / "aside";
    fs::rename(middle, aside);
    // OK after the part was put back where the dialog expects it.
    host.onNextPart = [&](const fs::path& expected) {
        EXPECT_EQ(expected, middle);
        fs::rename(aside, middle);
    };
    host.nextParts = {middle};
    const JoinParams p = Params(first, 3, true);
    JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Completed);
    EXPECT_EQ(outcome.Crc, CrcVerdict::Match);
    EXPECT_EQ(ReadAll(p.OutputName), sourceBytes);

    // A path of the user's choosing; a path that names nothing brings the question again.
    host = {};
    fs::rename(middle, aside);
    host.nextParts = {dir.Path() / "nothing", aside};
    outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Completed);
    EXPECT_EQ(outcome.Crc, CrcVerdict::Match);
    const auto asked = host.Only("next-part");
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].text, (dir.Path() / "nothing").string());

    // Cancel: stopped, the output holds the parts before the gap.
    host = {};
    outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Stopped);
    EXPECT_EQ(outcome.Crc, CrcVerdict::NotChecked);
    EXPECT_EQ(fs::file_size(p.OutputName), 1000u - 12u);
    EXPECT_TRUE(fs::exists(first));
    EXPECT_TRUE(fs::exists(aside));
}

TEST_F(FileJoinTest, NoPartFoundCreatesNoOutput) {
    const fs::path first = MakeSet(RandomBytes(2500), 1000, false);
    // First above last.
    JoinParams p = Params(first, 3, false);
    p.FirstPart = 4;
    JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::NoPartFound);
    EXPECT_EQ(outcome.Message, "No part of the set was found! Nothing was joined.");
    EXPECT_FALSE(fs::exists(p.OutputName));
    // The first part missing and its question cancelled.
    host = {};
    fs::remove(first);
    outcome = Run(Params(first, 3, false));
    EXPECT_EQ(outcome.Result, JoinResult::NoPartFound);
    EXPECT_EQ(host.Only("next-part").size(), 1u);
    EXPECT_FALSE(fs::exists(p.OutputName));
}

TEST_F(FileJoinTest, RefusedWhenTheOutputIsAPart) {
    const fs::path first = MakeSet(RandomBytes(2500), 1000, false);
    const Bytes part2 = ReadAll(Part(first, 2, false));
    JoinParams p = Params(first, 3, false);
    p.OutputName = first.parent_path() / "." / "data.bin.002";
    JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Refused);
    EXPECT_NE(outcome.Message.find("is one of the parts"), std::string::npos);
    EXPECT_TRUE(host.Only("ask-overwrite").empty());
    EXPECT_EQ(ReadAll(Part(first, 2, false)), part2);
    // Chosen after No.
    host = {};
    ask = true;
    dir.Write("joined.bin", "old");
    p = Params(first, 3, false);
    host.overwriteAnswers = {OverwriteAnswer::No};
    host.savePaths = {Part(first, 3, false)};
    EXPECT_EQ(Run(p).Result, JoinResult::Refused);
    EXPECT_EQ(ReadAll(p.OutputName).size(), 3u);
    // Given in the next-part dialog after the output exists.
    host = {};
    fs::remove(p.OutputName);
    fs::remove(Part(first, 3, false));
    host.nextParts = {p.OutputName};
    const JoinOutcome given = Run(p);
    EXPECT_EQ(given.Result, JoinResult::Failed);
    EXPECT_EQ(fs::file_size(p.OutputName), 2000u);
}

TEST_F(FileJoinTest, AFirstPartThatIsNoHeaderFails) {
    const fs::path first = MakeSet(RandomBytes(2500), 1000, true);
    // Joined from part 2, whose first bytes are enciphered data.
    JoinParams p = Params(first, 3, true);
    p.FirstPart = 2;
    JoinOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Failed);
    EXPECT_EQ(outcome.Message, "\"" + Part(first, 2, true).string() +
                                   "\" is not a part set of this program, or not its first part.");
    EXPECT_FALSE(fs::exists(p.OutputName));
    // A plain part taken for an encrypted one.
    host = {};
    const fs::path plain = dir.Write("text.e01", "Hello, world, and more text");
    p = Params(plain, 1, true);
    outcome = Run(p);
    EXPECT_EQ(outcome.Result, JoinResult::Failed);
    EXPECT_FALSE(fs::exists(p.OutputName));
}

TEST_F(FileJoinTest, IoFailuresFailTheRunAndDeleteNothing) {
    const fs::path first = MakeSet(RandomBytes(2500), 1000, false);
    for (const int which : {0, 1, 2}) {
        host = {};
        FaultyFileSystem faulty;
        JoinParams p = Params(first, 3, false);
        p.Files = &faulty;
        std::string expected;
        if (which == 0) {
            faulty.FailWritesAfter(1500);
            expected = "\"" + p.OutputName.string() + "\": No space left on device";
        } else if (which == 1) {
            faulty.FailOpenRead(Part(first, 2, false));
            expected = "\"" + Part(first, 2, false).string() + "\": Permission denied";
        } else {
            faulty.FailCreate(p.OutputName);
            expected = "\"" + p.OutputName.string() + "\": Permission denied";
        }
        const JoinOutcome outcome = Run(p);
        EXPECT_EQ(outcome.Result, JoinResult::Failed) << which;
        EXPECT_NE(outcome.Message.find(expected), std::string::npos) << outcome.Message;
        for (int n = 1; n <= 3; ++n) {
            EXPECT_TRUE(fs::exists(Part(first, n, false)));
        }
    }
}

// Writes runs of zero bytes as holes, so sets and joined files of several GiB made from a sparse
// source take next to no disk. Its files report no native handle, so every byte still passes
// through the engines' own copy loop.
class SparseFileSystem final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenRead(const fs::path& path) override {
        return RealFileSystem().OpenRead(path);
    }
    std::unique_ptr<OutputFile> Create(const fs::path& path) override {
        return std::make_unique<Output>(path);
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
    class Output final : public OutputFile {
    public:
        explicit Output(fs::path path)
            : path_(std::move(path)),
              fd_(::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600)) {
            if (fd_ < 0) {
                throw IoError(IoOp::Create, path_, std::error_code(errno, std::system_category()));
            }
        }
        ~Output() override {
            if (fd_ >= 0) {
                ::close(fd_);
            }
        }
        void Write(std::span<const std::byte> data) override {
            const bool zero =
                data.empty() || (data[0] == std::byte{0} &&
                                 std::memcmp(data.data(), data.data() + 1, data.size() - 1) == 0);
            if (zero) {
                end_ += data.size();
                if (::lseek(fd_, static_cast<off_t>(end_), SEEK_SET) < 0) {
                    Fail(IoOp::Write);
                }
                return;
            }
            while (!data.empty()) {
                const ssize_t put = ::write(fd_, data.data(), data.size());
                if (put <= 0) {
                    Fail(IoOp::Write);
                }
                data = data.subspan(static_cast<std::size_t>(put));
                end_ += static_cast<std::uint64_t>(put);
            }
        }
        void Close() override {
            if (::ftruncate(fd_, static_cast<off_t>(end_)) != 0 || ::close(fd_) != 0) {
                fd_ = -1;
                Fail(IoOp::Close);
            }
            fd_ = -1;
        }
        const fs::path& Path() const override { return path_; }

    private:
        [[noreturn]] void Fail(IoOp op) {
            throw IoError(op, path_, std::error_code(errno, std::system_category()));
        }
        fs::path path_;
        int fd_;
        std::uint64_t end_ = 0;
    };
};

struct SilentCompareHost final : CompareHost {
    void AddLog(const std::string&) override {}
    void ShowBox(bool, const std::string&, const std::string&) override {}
    void Finished(const std::string&) override {}
};

TEST_F(FileJoinTest, FiveGiBSourceSplitsAndJoinsBack) {
    constexpr std::uint64_t kGiB = std::uint64_t{1} << 30;
    constexpr std::uint64_t kSize = 5 * kGiB;
    struct statvfs space {};
    ASSERT_EQ(::statvfs(dir.Path().c_str(), &space), 0);
    if (static_cast<std::uint64_t>(space.f_bavail) * space.f_frsize < 256u << 20) {
        GTEST_SKIP() << "less than 256 MiB free beside the temporary folder";
    }
    // A sparse source with data where 32-bit sizes and offsets would go wrong: around the part
    // boundary at 2 GiB, around 4 GiB and at the very end.
    const fs::path source = dir.Path() / "big.bin";
    {
        const int fd = ::open(source.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        const std::uint64_t marks[] = {0, 2 * kGiB - 2048, 4 * kGiB - 100, kSize - 4096};
        for (const std::uint64_t at : marks) {
            const Bytes block = RandomBytes(4096, static_cast<unsigned>(at % 1000));
            ASSERT_EQ(::pwrite(fd, block.data(), block.size(), static_cast<off_t>(at)), 4096);
        }
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kSize)), 0);
        ::close(fd);
    }
    SparseFileSystem sparse;
    SplitParams split;
    split.SourceFile = source;
    split.OutputDir = dir.Path();
    split.BaseName = "big.bin";
    split.PartSize = PartSizeFromUnits(2, SizeUnit::GigaBytes);
    split.BufferSize = 8 << 20;
    split.Files = &sparse;
    ScriptedSplitHost splitHost;
    const SplitOutcome splitOutcome = RunFileSplit(split, splitHost);
    ASSERT_EQ(splitOutcome.Result, SplitResult::Completed) << splitOutcome.Message;
    EXPECT_EQ(fs::file_size(dir.Path() / "big.bin.001"), 2 * kGiB);
    EXPECT_EQ(fs::file_size(dir.Path() / "big.bin.002"), 2 * kGiB);
    EXPECT_EQ(fs::file_size(dir.Path() / "big.bin.003"), kGiB);
    EXPECT_EQ(splitHost.Percents().back(), 100);

    JoinParams join;
    join.SourceName = dir.Path() / "big.bin.001";
    join.OutputName = dir.Path() / "joined.bin";
    join.LastPart = 3;
    join.BufferSize = 8 << 20;
    join.Files = &sparse;
    const JoinOutcome joinOutcome = Run(join);
    ASSERT_EQ(joinOutcome.Result, JoinResult::Completed) << joinOutcome.Message;
    EXPECT_EQ(joinOutcome.DoneSize, kSize);
    EXPECT_EQ(host.Percents().back(), 100);
    for (int n = 1; n <= 3; ++n) {
        fs::remove(dir.Path() / ("big.bin.00" + std::to_string(n)));
    }

    CompareParams compare;
    compare.File1 = source;
    compare.File2 = join.OutputName;
    compare.Method = CompareMethod::ByContent;
    SilentCompareHost quiet;
    const CompareOutcome same = CompareFiles(compare, quiet);
    EXPECT_EQ(same.Verdict, CompareVerdict::Equal) << same.Message;
    EXPECT_EQ(same.Size2, kSize);
}

} // namespace
} // namespace partsmith
