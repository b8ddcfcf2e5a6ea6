#include "checksum/CRC32.h"
#include "crypto/EncryptMod.h"
#include "split/FileSplit.h"
#include "split/PartSet.h"
#include "split/ScriptedHosts.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"

#include <atomic>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// The allocation test asks for far more memory than exists; the run must see the refusal.
extern "C" __attribute__((used)) const char* __asan_default_options() {
    return "allocator_may_return_null=1";
}
#endif

namespace partsmith {
namespace {

using testing::FaultyFileSystem;
using testing::RandomBytes;
using testing::ReadAll;
using testing::ScriptedSplitHost;
using testing::TempDir;
using Bytes = std::vector<std::byte>;
namespace fs = std::filesystem;

constexpr std::uint8_t kAes = 16;
constexpr std::uint8_t kSha256 = 7;

class FileSplitTest : public ::testing::Test {
protected:
    SplitParams Params(const Bytes& source, std::uint64_t partSize, bool encrypted = false) {
        sourceBytes = source;
        SplitParams p;
        p.SourceFile = dir.Write("src.bin", source);
        p.OutputDir = dir.Path() / "out";
        fs::create_directory(p.OutputDir);
        p.BaseName = "src.bin";
        p.PartSize = partSize;
        p.Encrypted = encrypted;
        if (encrypted) {
            p.Password = "secret";
            p.CipherCode = kAes;
            p.HashCode = kSha256;
        }
        p.BufferSize = 1024;
        return p;
    }
    fs::path Part(const SplitParams& p, std::uint64_t k) const {
        return SplitPartPath(p.OutputDir, p.BaseName, k, p.Encrypted);
    }
    SplitOutcome Run(const SplitParams& p) {
        const SplitOutcome outcome = RunFileSplit(p, host);
        EXPECT_FALSE(host.calls.empty());
        EXPECT_EQ(host.calls.back().kind, "done") << "NotifyDone must be the last call";
        EXPECT_EQ(host.Only("done").size(), 1u);
        return outcome;
    }
    std::vector<std::uint64_t> PartSizes(const SplitParams& p) const {
        std::vector<std::uint64_t> sizes;
        for (std::uint64_t k = 1; fs::exists(Part(p, k)); ++k) {
            sizes.push_back(fs::file_size(Part(p, k)));
        }
        return sizes;
    }
    // The payload as a cipher keyed the same way makes it from the given runs.
    static Bytes Encipher(const Bytes& plain, const std::vector<std::size_t>& runs,
                          std::uint8_t cipherCode, const std::string& password = "secret") {
        auto cipher = CipherForCode(cipherCode);
        cipher->KeyFromPassword(password, *HashForCode(kSha256));
        Bytes out = plain;
        std::size_t at = 0;
        for (const std::size_t run : runs) {
            auto* bytes = reinterpret_cast<std::uint8_t*>(out.data() + at);
            cipher->EncryptRun(bytes, bytes, run);
            at += run;
        }
        EXPECT_EQ(at, plain.size());
        return out;
    }
    // Parts 1.. laid end to end, header included.
    Bytes Stream(const SplitParams& p) const {
        Bytes all;
        for (std::uint64_t k = 1; fs::exists(Part(p, k)); ++k) {
            const Bytes part = ReadAll(Part(p, k));
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }

    TempDir dir;
    ScriptedSplitHost host;
    Bytes sourceBytes;
};

TEST_F(FileSplitTest, PlainWorkedExample) {
    const SplitParams p = Params(RandomBytes(100), 30);
    const SplitOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, SplitResult::Completed);
    EXPECT_EQ(outcome.PartsWritten, 4u);
    EXPECT_EQ(PartSizes(p), (std::vector<std::uint64_t>{30, 30, 30, 10}));
    EXPECT_EQ(Stream(p), sourceBytes);
    EXPECT_EQ(host.Hundredths(), (std::vector<long>{3000, 6000, 9000, 10000}));
    const auto progress = host.Only("progress");
    EXPECT_EQ(progress[0].text, "Spliting file at \"src.bin.001\", Total 30.00%.");
    EXPECT_EQ(progress[3].text, "Spliting file at \"src.bin.004\", Total 100.00%.");
    EXPECT_TRUE(host.Only("crc-status").empty());
}

TEST_F(FileSplitTest, EncryptedWorkedExample) {
    const SplitParams p = Params(RandomBytes(100), 30, true);
    const SplitOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, SplitResult::Completed);
    EXPECT_EQ(PartSizes(p), (std::vector<std::uint64_t>{30, 30, 30, 22}));
    EXPECT_TRUE(fs::exists(p.OutputDir / "src.bin.e01"));

    const Bytes stream = Stream(p);
    const HeaderBytes header =
        EncodeHeader({kAes, kSha256, Crc32ToText(Crc32OfFile(p.SourceFile))});
    ASSERT_EQ(std::memcmp(stream.data(), header.data(), header.size()), 0);
    const Bytes payload(stream.begin() + 12, stream.end());
    EXPECT_EQ(payload, Encipher(sourceBytes, {18, 30, 30, 22}, kAes));

    const auto percents = host.Percents();
    ASSERT_EQ(percents.size(), 4u);
    EXPECT_EQ(host.Only("progress").back().text, "Spliting file at \"src.bin.e04\", Total 89.29%.");
    // The checksum status comes before the first run.
    const auto kinds = host.Kinds();
    ASSERT_EQ(kinds.front(), "crc-status");
    EXPECT_EQ(host.calls.front().text, "Calculate checksum for \"" + p.SourceFile.string() + "\"");
}

TEST_F(FileSplitTest, RunsOfAOneKiBBuffer) {
    // Plain: a report after every run of 1024, 1024 and 452 bytes.
    {
        const SplitParams p = Params(RandomBytes(2500), 2500);
        EXPECT_EQ(Run(p).Result, SplitResult::Completed);
        EXPECT_EQ(host.Hundredths(), (std::vector<long>{4096, 8192, 10000}));
    }
    // Encrypted: part 1 in runs of 1024, 1024 and 440 after the header, every further full
    // part in runs of 1024, 1024 and 452.
    host = {};
    const SplitParams p = Params(RandomBytes(6000, 2), 2500, true);
    EXPECT_EQ(Run(p).Result, SplitResult::Completed);
    const Bytes stream = Stream(p);
    const Bytes payload(stream.begin() + 12, stream.end());
    EXPECT_EQ(payload, Encipher(sourceBytes, {1024, 1024, 440, 1024, 1024, 452, 1012}, kAes));
}

TEST_F(FileSplitTest, ZeroBufferWorksAsOneKiB) {
    SplitParams p = Params(RandomBytes(2500), 2500);
    p.BufferSize = 0;
    EXPECT_EQ(Run(p).Result, SplitResult::Completed);
    EXPECT_EQ(host.Only("progress").size(), 3u);
    EXPECT_EQ(Stream(p), sourceBytes);
}

TEST_F(FileSplitTest, TwoSplitsGiveIdenticalSets) {
    for (const std::uint8_t cipher : {std::uint8_t{13}, std::uint8_t{1}, kAes}) {
        SplitParams p = Params(RandomBytes(5000, cipher), 1500, true);
        p.CipherCode = cipher;
        const std::atomic<bool> ask{false}; // the second split replaces the first set
        p.AskWhenFileExists = &ask;
        ASSERT_EQ(Run(p).Result, SplitResult::Completed);
        const Bytes first = Stream(p);
        host = {};
        ASSERT_EQ(Run(p).Result, SplitResult::Completed);
        EXPECT_EQ(Stream(p), first) << "cipher " << int{cipher};
        host = {};
    }
}

TEST_F(FileSplitTest, PauseThenStop) {
    const SplitParams p = Params(RandomBytes(100), 30);
    host.pauseAfterRun = 2;
    host.pausePolls = 3;
    const SplitOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, SplitResult::Stopped);
    EXPECT_EQ(host.Only("progress").size(), 2u);
    // One read after run 1; after run 2 one read, three more while paused, the last with Stop.
    EXPECT_EQ(host.FlagReads(), 1 + 4);
    EXPECT_EQ(PartSizes(p), (std::vector<std::uint64_t>{30, 30}));
    EXPECT_EQ(outcome.PartsWritten, 1u);
    EXPECT_EQ(ReadAll(p.SourceFile), sourceBytes);
}

TEST_F(FileSplitTest, PauseThenResume) {
    const SplitParams p = Params(RandomBytes(100), 30);
    host.pauseAfterRun = 2;
    host.stopWhilePaused = false;
    EXPECT_EQ(Run(p).Result, SplitResult::Completed);
    EXPECT_EQ(Stream(p), sourceBytes);
}

TEST_F(FileSplitTest, StopAtABufferBoundaryKeepsThePartAsWritten) {
    const SplitParams p = Params(RandomBytes(5000), 2500);
    host.stopAfterRun = 1;
    EXPECT_EQ(Run(p).Result, SplitResult::Stopped);
    EXPECT_EQ(PartSizes(p), (std::vector<std::uint64_t>{1024}));
}

TEST_F(FileSplitTest, OverwriteAnswers) {
    const SplitParams p = Params(RandomBytes(100), 30);
    const Bytes old = RandomBytes(7, 99);
    for (int k = 1; k <= 3; ++k) {
        dir.Write("out/src.bin.00" + std::to_string(k), old);
    }
    const fs::path chosen = dir.Path() / "chosen.part";
    host.overwriteAnswers = {OverwriteAnswer::Yes, OverwriteAnswer::No, OverwriteAnswer::Cancel};
    host.savePaths = {chosen};
    const SplitOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, SplitResult::Stopped);
    const auto questions = host.Only("ask-overwrite");
    ASSERT_EQ(questions.size(), 3u);
    EXPECT_EQ(questions[0].text, "File \"src.bin.001\" is exists, do you want to overwrite?");
    // Yes replaced part 1; No wrote part 2 to the chosen file; Cancel left part 3 untouched.
    EXPECT_EQ(ReadAll(Part(p, 1)), Bytes(sourceBytes.begin(), sourceBytes.begin() + 30));
    EXPECT_EQ(ReadAll(Part(p, 2)), old);
    EXPECT_EQ(ReadAll(chosen), Bytes(sourceBytes.begin() + 30, sourceBytes.begin() + 60));
    EXPECT_EQ(ReadAll(Part(p, 3)), old);
    EXPECT_FALSE(fs::exists(Part(p, 4)));
    EXPECT_EQ(host.Only("progress")[1].text,
              "Spliting file at \"" + chosen.string() + "\", Total 60.00%.");
}

TEST_F(FileSplitTest, NoWithoutAChosenPathStops) {
    const SplitParams p = Params(RandomBytes(100), 30);
    dir.Write("out/src.bin.001", "old");
    host.overwriteAnswers = {OverwriteAnswer::No};
    EXPECT_EQ(Run(p).Result, SplitResult::Stopped);
    EXPECT_EQ(ReadAll(Part(p, 1)).size(), 3u);
}

TEST_F(FileSplitTest, SettingOffReplacesWithoutAsking) {
    SplitParams p = Params(RandomBytes(100), 30);
    dir.Write("out/src.bin.002", "old");
    const std::atomic<bool> ask{false};
    p.AskWhenFileExists = &ask;
    EXPECT_EQ(Run(p).Result, SplitResult::Completed);
    EXPECT_TRUE(host.Only("ask-overwrite").empty());
    EXPECT_EQ(Stream(p), sourceBytes);
}

TEST_F(FileSplitTest, EmptySources) {
    // Plain: refused with the "File cannot null!" box, no part written.
    {
        const SplitParams p = Params({}, 30);
        const SplitOutcome outcome = Run(p);
        EXPECT_EQ(outcome.Result, SplitResult::Refused);
        EXPECT_EQ(host.Kinds(), (std::vector<std::string>{"error", "done"}));
        EXPECT_EQ(host.calls[0].text, "File cannot null!");
        EXPECT_FALSE(fs::exists(Part(p, 1)));
    }
    // Encrypted: one part holding only the header.
    host = {};
    const SplitParams p = Params({}, 30, true);
    EXPECT_EQ(Run(p).Result, SplitResult::Completed);
    const Bytes part = ReadAll(Part(p, 1));
    ASSERT_EQ(part.size(), 12u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(part.data()) + 4, 8), "00000000");
}

TEST_F(FileSplitTest, RefusedBeforeAnythingIsWritten) {
    struct Case {
        const char* what;
        std::uint64_t partSize;
        bool encrypted;
        const char* message;
    };
    const Case cases[] = {
        {"size 0", 0, false, "Size of spilited file is under or zero!"},
        {"encrypted below the header", 11, true,
         "Size of an encrypted part must be at least 12 bytes!"},
    };
    for (const Case& c : cases) {
        host = {};
        const SplitParams p = Params(RandomBytes(100), c.partSize, c.encrypted);
        const SplitOutcome outcome = Run(p);
        EXPECT_EQ(outcome.Result, SplitResult::Refused) << c.what;
        EXPECT_EQ(outcome.Message, c.message) << c.what;
        EXPECT_EQ(host.Kinds(), (std::vector<std::string>{"error", "done"})) << c.what;
        EXPECT_TRUE(fs::is_empty(p.OutputDir)) << c.what;
    }
}

TEST_F(FileSplitTest, RefusedWhenAPartPathNamesTheSource) {
    const Bytes data = RandomBytes(100);
    // The source is the set's part 2 itself, reached through "./".
    {
        SplitParams p;
        p.SourceFile = dir.Write("x.002", data);
        p.OutputDir = dir.Path() / ".";
        p.BaseName = "x";
        p.PartSize = 30;
        const SplitOutcome outcome = Run(p);
        EXPECT_EQ(outcome.Result, SplitResult::Refused);
        EXPECT_NE(outcome.Message.find("would replace the file being split"), std::string::npos);
        EXPECT_FALSE(fs::exists(dir.Path() / "x.001"));
        EXPECT_EQ(ReadAll(p.SourceFile), data);
    }
    // A hard link of the source under the name of part 3.
    host = {};
    SplitParams p = Params(data, 30);
    fs::create_hard_link(p.SourceFile, Part(p, 3));
    EXPECT_EQ(Run(p).Result, SplitResult::Refused);
    EXPECT_FALSE(fs::exists(Part(p, 1)));
    EXPECT_EQ(ReadAll(p.SourceFile), data);
    // A path chosen after No that names the source.
    host = {};
    fs::remove(Part(p, 3));
    dir.Write("out/src.bin.002", "old");
    host.overwriteAnswers = {OverwriteAnswer::No};
    host.savePaths = {p.SourceFile};
    EXPECT_EQ(Run(p).Result, SplitResult::Failed);
    EXPECT_EQ(ReadAll(p.SourceFile), data);
}

TEST_F(FileSplitTest, IoFailuresFailTheRunAndDeleteNothing) {
    struct Case {
        const char* what;
        std::function<void(FaultyFileSystem&, const SplitParams&)> arm;
        std::uint64_t namedPart; // the part the message names; 0 for the source
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"full disk in part 2",
         [](FaultyFileSystem& f, const SplitParams&) { f.FailWritesAfter(45); }, 2,
         "No space left on device"},
        {"unreadable source",
         [](FaultyFileSystem& f, const SplitParams& p) { f.FailOpenRead(p.SourceFile); }, 0,
         "Permission denied"},
        {"part 3 cannot be created",
         [this](FaultyFileSystem& f, const SplitParams& p) { f.FailCreate(Part(p, 3)); }, 3,
         "Permission denied"},
        {"close reports an error", [](FaultyFileSystem& f, const SplitParams&) { f.FailClose(); },
         1, "Input/output error"},
        {"read error in the source",
         [](FaultyFileSystem& f, const SplitParams&) { f.FailReadsAfter(64); }, 0,
         "Input/output error"},
    };
    for (const bool encrypted : {false, true}) {
        for (const Case& c : cases) {
            host = {};
            FaultyFileSystem faulty;
            SplitParams p = Params(RandomBytes(100), 30, encrypted);
            p.Files = &faulty;
            c.arm(faulty, p);
            const SplitOutcome outcome = Run(p);
            const fs::path named = c.namedPart == 0 ? p.SourceFile : Part(p, c.namedPart);
            EXPECT_EQ(outcome.Result, SplitResult::Failed) << c.what;
            EXPECT_NE(outcome.Message.find("\"" + named.string() + "\": " + c.reason),
                      std::string::npos)
                << c.what << ": " << outcome.Message;
            EXPECT_EQ(ReadAll(p.SourceFile), sourceBytes) << c.what;
            fs::remove_all(p.OutputDir);
        }
    }
}

// A source that claims a size no buffer can be allocated for.
class HugeSourceFs final : public FileSystem {
public:
    static constexpr std::uint64_t kSize = std::uint64_t{1} << 48;
    std::unique_ptr<InputFile> OpenRead(const fs::path& path) override {
        return std::make_unique<Input>(path);
    }
    std::unique_ptr<OutputFile> Create(const fs::path& path) override {
        ++created;
        return std::make_unique<Output>(path);
    }
    void Remove(const fs::path&) override {}
    bool IsFile(const fs::path&) override { return false; }
    bool SameFile(const fs::path&, const fs::path&) override { return false; }
    std::uint64_t FileSize(const fs::path&) override { return kSize; }
    int created = 0;

private:
    struct Input final : InputFile {
        explicit Input(fs::path p) : path(std::move(p)) {}
        std::size_t Read(std::span<std::byte> buffer) override { return buffer.size(); }
        std::uint64_t Size() override { return kSize; }
        const fs::path& Path() const override { return path; }
        fs::path path;
    };
    struct Output final : OutputFile {
        explicit Output(fs::path p) : path(std::move(p)) {}
        void Write(std::span<const std::byte>) override {}
        void Close() override {}
        const fs::path& Path() const override { return path; }
        fs::path path;
    };
};

TEST_F(FileSplitTest, BufferThatCannotBeAllocatedFailsTheRun) {
    HugeSourceFs huge;
    SplitParams p;
    p.SourceFile = "/huge";
    p.OutputDir = "/out";
    p.BaseName = "huge";
    p.PartSize = HugeSourceFs::kSize;
    p.BufferSize = HugeSourceFs::kSize;
    p.Files = &huge;
    const SplitOutcome outcome = Run(p);
    EXPECT_EQ(outcome.Result, SplitResult::Failed);
    EXPECT_EQ(outcome.Message, "Not enough memory for a buffer of 281474976710656 bytes!");
}

// Host calls that throw (a window that went away) still end in one NotifyDone.
TEST_F(FileSplitTest, AHostFailureBecomesAFailedRun) {
    struct ThrowingHost final : SplitHost {
        void ShowProgress(const std::string&, double) override {
            throw std::runtime_error("window gone");
        }
        void ReadFlags(bool&, bool&) override {}
        void ShowCrcStatus(const std::string&) override {}
        OverwriteAnswer AskOverwrite(const std::string&, const fs::path&) override {
            return OverwriteAnswer::Cancel;
        }
        std::optional<fs::path> ChooseSavePath() override { return std::nullopt; }
        void ShowError(const std::string&) override {}
        void NotifyDone(const SplitOutcome& o) override { results.push_back(o.Result); }
        std::vector<SplitResult> results;
    } throwing;
    const SplitParams p = Params(RandomBytes(100), 30);
    const SplitOutcome outcome = RunFileSplit(p, throwing);
    EXPECT_EQ(outcome.Result, SplitResult::Failed);
    EXPECT_EQ(outcome.Message, "window gone");
    EXPECT_EQ(throwing.results, std::vector<SplitResult>{SplitResult::Failed});
}

} // namespace
} // namespace partsmith
