// The POSIX file system. The only file of the core that calls the system's file functions.
#include "io/File.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace partsmith {

namespace {

std::error_code SystemError(int number) {
    return {number, std::system_category()};
}

std::error_code LastError() {
    return SystemError(errno);
}

// The kernel caps one transfer below 2 GiB anyway; a smaller cap keeps every count in ssize_t.
constexpr std::uint64_t kMaxKernelCopy = std::uint64_t{1} << 30;

// Errors by which the kernel says it cannot copy between these two files itself (another file
// system, a pipe, an old kernel); the data then goes through user space.
bool KernelRefusedCopy(int number) {
    return number == EXDEV || number == ENOSYS || number == EINVAL || number == EOPNOTSUPP ||
           number == ENOTSUP;
}

int OpenRetrying(const std::filesystem::path& path, int flags, mode_t mode = 0) {
    for (;;) {
        const int fd = ::open(path.c_str(), flags, mode);
        if (fd >= 0 || errno != EINTR) {
            return fd;
        }
    }
}

// Hands a fresh descriptor to its owner without leaking it when the owner cannot be made.
template <class File> std::unique_ptr<File> Adopt(int fd, const std::filesystem::path& path) {
    try {
        return std::make_unique<File>(fd, path);
    } catch (...) {
        ::close(fd);
        throw;
    }
}

class PosixInputFile final : public InputFile {
public:
    PosixInputFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    ~PosixInputFile() override { ::close(fd_); }

    std::size_t Read(std::span<std::byte> buffer) override {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer.data(), buffer.size());
            if (got >= 0) {
                return static_cast<std::size_t>(got);
            }
            if (errno != EINTR) {
                throw IoError(IoOp::Read, path_, LastError());
            }
        }
    }

    std::uint64_t Size() override {
        struct stat info {};
        if (::fstat(fd_, &info) != 0) {
            throw IoError(IoOp::Size, path_, LastError());
        }
        return static_cast<std::uint64_t>(info.st_size);
    }

    const std::filesystem::path& Path() const override { return path_; }
    int NativeHandle() const override { return fd_; }

private:
    int fd_;
    std::filesystem::path path_;
};

class PosixOutputFile final : public OutputFile {
public:
    PosixOutputFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    ~PosixOutputFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    void Write(std::span<const std::byte> data) override {
        while (!data.empty()) {
            const ssize_t put = ::write(fd_, data.data(), data.size());
            if (put > 0) {
                data = data.subspan(static_cast<std::size_t>(put));
                continue;
            }
            if (put < 0 && errno == EINTR) {
                continue;
            }
            // A write that takes nothing and reports nothing can only mean a full device.
            throw IoError(IoOp::Write, path_, put == 0 ? SystemError(ENOSPC) : LastError());
        }
    }

    void CopyFrom(InputFile& source, std::uint64_t count, std::span<std::byte> scratch) override {
        const int in = source.NativeHandle();
        while (in >= 0 && fd_ >= 0 && count > 0) {
            const auto chunk = static_cast<std::size_t>(std::min(count, kMaxKernelCopy));
            const ssize_t moved = ::copy_file_range(in, nullptr, fd_, nullptr, chunk, 0);
            if (moved > 0) {
                count -= static_cast<std::uint64_t>(moved);
                continue;
            }
            if (moved < 0 && errno == EINTR) {
                continue;
            }
            // 0 is the end of the source, or a pseudo-file whose data only read() delivers; the
            // read loop below tells the two apart.
            if (moved == 0 || KernelRefusedCopy(errno)) {
                break;
            }
            const int number = errno;
            if (number == ENOSPC || number == EDQUOT || number == EFBIG) {
                throw IoError(IoOp::Write, path_, SystemError(number));
            }
            throw IoError(IoOp::Copy, path_, SystemError(number));
        }
        // Both descriptors moved on by what the kernel copied, so the rest continues from there.
        OutputFile::CopyFrom(source, count, scratch);
    }

    void Close() override {
        if (fd_ < 0) {
            return;
        }
        const int fd = std::exchange(fd_, -1);
        // Linux releases the descriptor even when close is interrupted, and an interruption
        // says nothing about the data; every other failure may mean lost data.
        if (::close(fd) != 0 && errno != EINTR) {
            throw IoError(IoOp::Close, path_, LastError());
        }
    }

    const std::filesystem::path& Path() const override { return path_; }
    int NativeHandle() const override { return fd_; }

private:
    int fd_;
    std::filesystem::path path_;
};

class PosixFileSystem final : public FileSystem {
public:
    std::unique_ptr<InputFile> OpenRead(const std::filesystem::path& path) override {
        const int fd = OpenRetrying(path, O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            throw IoError(IoOp::Open, path, LastError());
        }
        auto file = Adopt<PosixInputFile>(fd, path);
        // Opening a folder for reading succeeds on POSIX; only the first read would fail.
        struct stat info {};
        if (::fstat(fd, &info) != 0) {
            throw IoError(IoOp::Open, path, LastError());
        }
        if (S_ISDIR(info.st_mode)) {
            throw IoError(IoOp::Open, path, SystemError(EISDIR));
        }
        return file;
    }

    std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) override {
        const int fd = OpenRetrying(path, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0) {
            throw IoError(IoOp::Create, path, LastError());
        }
        return Adopt<PosixOutputFile>(fd, path);
    }

    void Remove(const std::filesystem::path& path) override {
        if (::unlink(path.c_str()) != 0) {
            throw IoError(IoOp::Delete, path, LastError());
        }
    }

    bool IsFile(const std::filesystem::path& path) override {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
    }

    bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b) override {
        struct stat infoA {};
        struct stat infoB {};
        return ::stat(a.c_str(), &infoA) == 0 && ::stat(b.c_str(), &infoB) == 0 &&
               infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino;
    }

    std::uint64_t FileSize(const std::filesystem::path& path) override {
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            throw IoError(IoOp::Size, path, LastError());
        }
        if (S_ISDIR(info.st_mode)) {
            throw IoError(IoOp::Size, path, SystemError(EISDIR));
        }
        return static_cast<std::uint64_t>(info.st_size);
    }
};

} // namespace

FileSystem& RealFileSystem() {
    static PosixFileSystem files;
    return files;
}

} // namespace partsmith
