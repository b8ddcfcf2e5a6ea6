#include "io/File.h"
#include "support/FaultyFileSystem.h"
#include "support/TempDir.h"

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace partsmith {
namespace {

using testing::FaultyFileSystem;
using testing::RandomBytes;
using testing::ReadAll;
using testing::TempDir;

std::vector<std::byte> Bytes(const std::string& text) {
    const auto view = std::as_bytes(std::span(text.data(), text.size()));
    return {view.begin(), view.end()};
}

std::vector<std::byte> ReadToEnd(InputFile& file, std::size_t block) {
    std::vector<std::byte> all;
    std::vector<std::byte> buffer(block);
    while (const std::size_t got = file.Read(buffer)) {
        all.insert(all.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(got));
    }
    return all;
}

template <class Action> IoError Failure(Action action) {
    try {
        action();
    } catch (const IoError& error) {
        return error;
    }
    throw std::runtime_error("no IoError was raised");
}

TEST(IoError, SentenceNamesOperationPathAndReason) {
    const IoError full(IoOp::Write, "/tmp/x.001",
                       std::make_error_code(std::errc::no_space_on_device));
    EXPECT_STREQ(full.what(), "Unable to write \"/tmp/x.001\": No space left on device");
    EXPECT_EQ(full.Reason(), "No space left on device");
    EXPECT_EQ(full.Op(), IoOp::Write);
    EXPECT_EQ(full.Path(), "/tmp/x.001");

    const IoError early(IoOp::Read, "/tmp/x.002", kUnexpectedEndReason);
    EXPECT_STREQ(early.what(), "Unable to read \"/tmp/x.002\": Unexpected end of file");
    EXPECT_FALSE(early.Code());
}

TEST(PosixFile, WrittenBytesReadBackUntilAnEmptyRead) {
    TempDir dir;
    const auto data = RandomBytes(100'000);
    FileSystem& fs = RealFileSystem();
    auto out = fs.Create(dir / "f");
    out->Write(std::span(data).first(1));
    out->Write(std::span(data).subspan(1));
    out->Close();

    auto in = fs.OpenRead(dir / "f");
    EXPECT_EQ(in->Size(), data.size());
    EXPECT_EQ(ReadToEnd(*in, 4096), data);
    std::byte extra[8];
    EXPECT_EQ(in->Read(extra), 0u);
}

TEST(PosixFile, ReadExactRefusesAFileThatEndsFirst) {
    TempDir dir;
    auto in = RealFileSystem().OpenRead(dir.Write("ten", "0123456789"));
    std::byte four[4];
    in->ReadExact(four);
    EXPECT_EQ(four[3], std::byte{'3'});
    std::byte seven[7];
    const IoError error = Failure([&] { in->ReadExact(seven); });
    EXPECT_EQ(error.Op(), IoOp::Read);
    EXPECT_EQ(error.Reason(), kUnexpectedEndReason);
}

TEST(PosixFile, OpenAndCreateReportTheSystemsReason) {
    TempDir dir;
    FileSystem& fs = RealFileSystem();
    struct Case {
        const char* what;
        std::function<void()> action;
        IoOp op;
        std::filesystem::path path;
        std::errc code;
    };
    const Case cases[] = {
        {"missing input", [&] { (void)fs.OpenRead(dir / "none"); }, IoOp::Open, dir / "none",
         std::errc::no_such_file_or_directory},
        {"folder as input", [&] { (void)fs.OpenRead(dir.Path()); }, IoOp::Open, dir.Path(),
         std::errc::is_a_directory},
        {"missing folder", [&] { (void)fs.Create(dir / "no" / "f"); }, IoOp::Create,
         dir / "no" / "f", std::errc::no_such_file_or_directory},
        {"folder as output", [&] { (void)fs.Create(dir.Path()); }, IoOp::Create, dir.Path(),
         std::errc::is_a_directory},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const IoError error = Failure(c.action);
        EXPECT_EQ(error.Op(), c.op);
        EXPECT_EQ(error.Path(), c.path);
        EXPECT_EQ(error.Code(), c.code);
        EXPECT_EQ(error.Reason(), std::make_error_code(c.code).message());
    }
}

TEST(PosixFile, CreateReplacesTheFileWithUmaskAppliedAndNoInheritedHandle) {
    TempDir dir;
    const auto old = dir.Write("old", std::string(5000, 'x'));
    const mode_t previous = ::umask(027);
    auto replaced = RealFileSystem().Create(old);
    auto fresh = RealFileSystem().Create(dir / "fresh");
    ::umask(previous);
    replaced->Write(Bytes("new"));
    EXPECT_NE(::fcntl(replaced->NativeHandle(), F_GETFD) & FD_CLOEXEC, 0);
    EXPECT_NE(::fcntl(RealFileSystem().OpenRead(old)->NativeHandle(), F_GETFD) & FD_CLOEXEC, 0);
    replaced->Close();
    fresh->Close();
    EXPECT_EQ(ReadAll(old), Bytes("new"));
    struct stat info {};
    ASSERT_EQ(::stat((dir / "fresh").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(PosixFile, AFullDeviceIsReportedOnWrite) {
    if (::access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    auto out = RealFileSystem().Create("/dev/full");
    const auto data = RandomBytes(10);
    const IoError error = Failure([&] { out->Write(data); });
    EXPECT_STREQ(error.what(), "Unable to write \"/dev/full\": No space left on device");
}

// Copies 2 MiB and a bit from offset 1000 of the source into an output that already holds a
// few bytes, then reads and writes on from where the copy left both files.
struct CopyCheck {
    std::vector<std::byte> source = RandomBytes(3'000'000, 7);
    static constexpr std::size_t kStart = 1000;
    static constexpr std::size_t kCount = (2 << 20) + 123;

    std::vector<std::byte> Expected() const {
        auto expected = Bytes("head");
        expected.insert(expected.end(), source.begin() + kStart, source.begin() + kStart + kCount);
        const auto tail = Bytes("tail");
        expected.insert(expected.end(), tail.begin(), tail.end());
        return expected;
    }

    // Returns whether the copy went through scratch.
    bool Run(InputFile& in, OutputFile& out) const {
        std::vector<std::byte> skipped(kStart);
        in.ReadExact(skipped);
        out.Write(Bytes("head"));
        std::vector<std::byte> scratch(64 * 1024, std::byte{0x5A});
        out.CopyFrom(in, kCount, scratch);
        std::byte next[16];
        in.ReadExact(next);
        EXPECT_TRUE(std::equal(std::begin(next), std::end(next), source.begin() + kStart + kCount));
        out.Write(Bytes("tail"));
        out.Close();
        return std::any_of(scratch.begin(), scratch.end(),
                           [](std::byte b) { return b != std::byte{0x5A}; });
    }
};

TEST(PosixFileCopy, KernelCopyBetweenRegularFiles) {
    TempDir dir;
    const CopyCheck check;
    const auto source = dir.Write("src", check.source);
    auto in = RealFileSystem().OpenRead(source);
    auto out = RealFileSystem().Create(dir / "dst");
    EXPECT_FALSE(check.Run(*in, *out)) << "the kernel was expected to copy without the buffer";
    EXPECT_EQ(ReadAll(dir / "dst"), check.Expected());
}

TEST(PosixFileCopy, FallsBackWhenTheKernelRefusesThePipe) {
    TempDir dir;
    const CopyCheck check;
    const auto fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        auto end = RealFileSystem().Create(fifo);
        end->Write(check.source);
        end->Close();
    });
    auto in = RealFileSystem().OpenRead(fifo);
    auto out = RealFileSystem().Create(dir / "dst");
    EXPECT_TRUE(check.Run(*in, *out));
    (void)ReadToEnd(*in, 64 * 1024); // the writer must not meet a closed pipe
    writer.join();
    EXPECT_EQ(ReadAll(dir / "dst"), check.Expected());
}

TEST(PosixFileCopy, GenericCopyForFilesWithoutHandle) {
    TempDir dir;
    const CopyCheck check;
    FaultyFileSystem fs;
    const auto source = dir.Write("src", check.source);
    auto in = fs.OpenRead(source);
    auto out = fs.Create(dir / "dst");
    EXPECT_TRUE(check.Run(*in, *out));
    EXPECT_EQ(ReadAll(dir / "dst"), check.Expected());
}

TEST(PosixFileCopy, ASourceThatEndsEarlyIsAnError) {
    TempDir dir;
    const auto source = dir.Write("src", RandomBytes(5000));
    FaultyFileSystem faulty;
    for (FileSystem* fs : {&RealFileSystem(), static_cast<FileSystem*>(&faulty)}) {
        auto in = fs->OpenRead(source);
        auto out = fs->Create(dir / "dst");
        std::vector<std::byte> scratch(1024);
        const IoError error = Failure([&] { out->CopyFrom(*in, 5001, scratch); });
        EXPECT_EQ(error.Op(), IoOp::Read);
        EXPECT_EQ(error.Path(), source);
        EXPECT_EQ(error.Reason(), kUnexpectedEndReason);
        out->Close();
        EXPECT_EQ(ReadAll(dir / "dst"), ReadAll(source));
    }
}

TEST(PosixFileSystem, QueriesAndRemoval) {
    TempDir dir;
    FileSystem& fs = RealFileSystem();
    const auto a = dir.Write("a", "12345");
    const auto b = dir.Write("b", "12345");
    std::filesystem::create_hard_link(a, dir / "hard");
    std::filesystem::create_symlink(a, dir / "soft");

    EXPECT_TRUE(fs.IsFile(a));
    EXPECT_FALSE(fs.IsFile(dir.Path()));
    EXPECT_FALSE(fs.IsFile(dir / "none"));

    EXPECT_TRUE(fs.SameFile(a, a));
    EXPECT_TRUE(fs.SameFile(a, dir.Path() / "." / "a"));
    EXPECT_TRUE(fs.SameFile(a, dir / "hard"));
    EXPECT_TRUE(fs.SameFile(dir / "soft", a));
    EXPECT_FALSE(fs.SameFile(a, b));
    EXPECT_FALSE(fs.SameFile(dir / "none", dir / "none"));

    EXPECT_EQ(fs.FileSize(a), 5u);
    EXPECT_EQ(Failure([&] { (void)fs.FileSize(dir / "none"); }).Op(), IoOp::Size);
    EXPECT_EQ(Failure([&] { (void)fs.FileSize(dir.Path()); }).Code(), std::errc::is_a_directory);

    fs.Remove(b);
    EXPECT_FALSE(fs.IsFile(b));
    const IoError gone = Failure([&] { fs.Remove(b); });
    EXPECT_EQ(gone.Op(), IoOp::Delete);
    EXPECT_EQ(gone.Code(), std::errc::no_such_file_or_directory);
}

TEST(FaultyFileSystem, AFullDiskStoresTheBytesUpToTheMark) {
    TempDir dir;
    FaultyFileSystem fs;
    fs.FailWritesAfter(1000);
    const auto data = RandomBytes(1200);
    auto first = fs.Create(dir / "x.001");
    first->Write(std::span(data).first(600));
    auto second = fs.Create(dir / "x.002");
    const IoError error = Failure([&] { second->Write(std::span(data).subspan(600)); });
    EXPECT_STREQ(
        error.what(),
        ("Unable to write \"" + (dir / "x.002").string() + "\": No space left on device").c_str());
    EXPECT_EQ(fs.BytesWritten(), 1000u);
    first->Close();
    second->Close();
    EXPECT_EQ(ReadAll(dir / "x.002").size(), 400u);
}

TEST(FaultyFileSystem, CopiesHonourTheWriteLimit) {
    TempDir dir;
    FaultyFileSystem fs;
    fs.FailWritesAfter(3000);
    auto in = fs.OpenRead(dir.Write("src", RandomBytes(5000)));
    auto out = fs.Create(dir / "dst");
    std::vector<std::byte> scratch(1024);
    EXPECT_EQ(Failure([&] { out->CopyFrom(*in, 5000, scratch); }).Code(),
              std::errc::no_space_on_device);
}

TEST(FaultyFileSystem, RefusedOpenAndCreateForTheNamedPathsOnly) {
    TempDir dir;
    FaultyFileSystem fs;
    const auto input = dir.Write("in", "data");
    fs.FailOpenRead(input);
    fs.FailCreate(dir / "x.002");
    EXPECT_EQ(Failure([&] { (void)fs.OpenRead(dir.Path() / "." / "in"); }).Code(),
              std::errc::permission_denied);
    const IoError create = Failure([&] { (void)fs.Create(dir / "x.002"); });
    EXPECT_EQ(create.Op(), IoOp::Create);
    EXPECT_EQ(create.Code(), std::errc::permission_denied);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.002"));
    fs.Create(dir / "x.001")->Close();
    EXPECT_TRUE(fs.IsFile(dir / "x.001"));
}

TEST(FaultyFileSystem, ReadsFailAfterTheMark) {
    TempDir dir;
    FaultyFileSystem fs;
    fs.FailReadsAfter(100);
    auto in = fs.OpenRead(dir.Write("in", std::string(500, 'r')));
    std::byte block[64];
    EXPECT_EQ(in->Read(block), 64u);
    EXPECT_EQ(in->Read(block), 36u);
    const IoError error = Failure([&] { (void)in->Read(block); });
    EXPECT_EQ(error.Op(), IoOp::Read);
    EXPECT_EQ(error.Code(), std::errc::io_error);
}

TEST(FaultyFileSystem, AFailedCloseStillLeavesTheData) {
    TempDir dir;
    FaultyFileSystem fs;
    fs.FailClose();
    auto out = fs.Create(dir / "f");
    out->Write(Bytes("kept"));
    EXPECT_EQ(Failure([&] { out->Close(); }).Op(), IoOp::Close);
    EXPECT_EQ(ReadAll(dir / "f"), Bytes("kept"));
}

} // namespace
} // namespace partsmith
