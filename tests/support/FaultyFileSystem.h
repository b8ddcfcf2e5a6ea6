// A file system for tests that forwards to another one (the real one unless told otherwise) and
// fails on request, the way a full disk, a locked file or a failing device would:
//
//     FaultyFileSystem fs;
//     fs.FailWritesAfter(1000);        // the 1001st byte written, over all files, hits ENOSPC
//     fs.FailCreate(dir / "x.002");    // creating that path is refused (EACCES)
//     fs.FailOpenRead(dir / "x.001");  // opening that path for reading is refused (EACCES)
//     fs.FailReadsAfter(5000);         // the 5001st byte read, over all files, hits EIO
//     fs.FailClose();                  // every Close of an output file reports EIO
//
// The failures raise the same IoError the real layer raises, so the code under test cannot tell
// them apart. Files opened through it must not outlive it. Its files report no native handle, so
// copies run through Read and Write and honour the byte limits.
#pragma once

#include "io/File.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <system_error>

namespace partsmith::testing {

class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& inner = RealFileSystem()) : inner_(inner) {}

    // Writes succeed for n bytes in total; the write that crosses the mark stores the bytes up to
    // it and then fails with ENOSPC, as a disk that fills up mid-write does.
    void FailWritesAfter(std::uint64_t n) { writeLimit_ = n; }
    void FailReadsAfter(std::uint64_t n) { readLimit_ = n; }
    void FailCreate(const std::filesystem::path& path,
                    std::errc reason = std::errc::permission_denied) {
        std::lock_guard lock(mutex_);
        failCreate_[Key(path)] = reason;
    }
    void FailOpenRead(const std::filesystem::path& path,
                      std::errc reason = std::errc::permission_denied) {
        std::lock_guard lock(mutex_);
        failOpen_[Key(path)] = reason;
    }
    // The data reaches the file; only the report of the close fails.
    void FailClose(bool fail = true) { failClose_ = fail; }

    std::uint64_t BytesWritten() const { return written_; }
    std::uint64_t BytesRead() const { return read_; }

    std::unique_ptr<InputFile> OpenRead(const std::filesystem::path& path) override {
        if (const auto reason = Listed(failOpen_, path)) {
            throw IoError(IoOp::Open, path, std::make_error_code(*reason));
        }
        return std::make_unique<Input>(*this, inner_.OpenRead(path));
    }

    std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override {
        if (const auto reason = Listed(failCreate_, path)) {
            throw IoError(IoOp::Create, path, std::make_error_code(*reason));
        }
        return std::make_unique<Output>(*this, inner_.Create(path));
    }

    void Remove(const std::filesystem::path& path) override { inner_.Remove(path); }
    bool IsFile(const std::filesystem::path& path) override { return inner_.IsFile(path); }
    bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) override {
        return inner_.SameFile(a, b);
    }
    std::uint64_t FileSize(const std::filesystem::path& path) override {
        return inner_.FileSize(path);
    }

private:
    static constexpr std::uint64_t kNoLimit = std::numeric_limits<std::uint64_t>::max();

    // Takes up to want bytes from the budget left under limit; returns how many may pass.
    static std::size_t Allow(std::atomic<std::uint64_t>& used, std::uint64_t limit,
                             std::size_t want) {
        const std::uint64_t done = used.load();
        const std::uint64_t left = done >= limit ? 0 : limit - done;
        return static_cast<std::size_t>(std::min<std::uint64_t>(left, want));
    }

    static std::filesystem::path Key(const std::filesystem::path& path) {
        return path.lexically_normal();
    }

    using FailureList = std::map<std::filesystem::path, std::errc>;

    std::optional<std::errc> Listed(const FailureList& list, const std::filesystem::path& path) {
        std::lock_guard lock(mutex_);
        const auto found = list.find(Key(path));
        if (found == list.end()) {
            return std::nullopt;
        }
        return found->second;
    }

    class Input final : public InputFile {
    public:
        Input(FaultyFileSystem& owner, std::unique_ptr<InputFile> inner)
            : owner_(owner), inner_(std::move(inner)) {}

        std::size_t Read(std::span<std::byte> buffer) override {
            const std::size_t allowed = Allow(owner_.read_, owner_.readLimit_, buffer.size());
            if (allowed == 0 && !buffer.empty()) {
                throw IoError(IoOp::Read, Path(), std::make_error_code(std::errc::io_error));
            }
            const std::size_t got = inner_->Read(buffer.first(allowed));
            owner_.read_ += got;
            return got;
        }
        std::uint64_t Size() override { return inner_->Size(); }
        const std::filesystem::path& Path() const override { return inner_->Path(); }

    private:
        FaultyFileSystem& owner_;
        std::unique_ptr<InputFile> inner_;
    };

    class Output final : public OutputFile {
    public:
        Output(FaultyFileSystem& owner, std::unique_ptr<OutputFile> inner)
            : owner_(owner), inner_(std::move(inner)) {}

        void Write(std::span<const std::byte> data) override {
            const std::size_t allowed = Allow(owner_.written_, owner_.writeLimit_, data.size());
            inner_->Write(data.first(allowed));
            owner_.written_ += allowed;
            if (allowed < data.size()) {
                throw IoError(IoOp::Write, Path(),
                              std::make_error_code(std::errc::no_space_on_device));
            }
        }
        void Close() override {
            inner_->Close();
            if (owner_.failClose_) {
                throw IoError(IoOp::Close, Path(), std::make_error_code(std::errc::io_error));
            }
        }
        const std::filesystem::path& Path() const override { return inner_->Path(); }

    private:
        FaultyFileSystem& owner_;
        std::unique_ptr<OutputFile> inner_;
    };

    FileSystem& inner_;
    std::atomic<std::uint64_t> writeLimit_{kNoLimit};
    std::atomic<std::uint64_t> readLimit_{kNoLimit};
    std::atomic<std::uint64_t> written_{0};
    std::atomic<std::uint64_t> read_{0};
    std::atomic<bool> failClose_{false};
    std::mutex mutex_;
    FailureList failCreate_;
    FailureList failOpen_;
};

} // namespace partsmith::testing
