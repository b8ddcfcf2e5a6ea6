// Checked file access. Every failure raises IoError with the operation, the path and the
// system's reason; nothing here fails silently.
//
// The engines reach files only through FileSystem, so tests can put a layer in its place that
// fails after N bytes (a full disk) or refuses to open a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <system_error>

namespace partsmith {

enum class IoOp { Open, Create, Read, Write, Close, Size, Delete, Copy };

// The reason of an IoError (Read) when a file ends before the count its caller needed; such an
// error has no system error code.
inline constexpr const char* kUnexpectedEndReason = "Unexpected end of file";

class IoError : public std::runtime_error {
public:
    IoError(IoOp op, std::filesystem::path path, std::error_code code);
    IoError(IoOp op, std::filesystem::path path, std::string reason);

    IoOp Op() const noexcept { return op_; }
    const std::filesystem::path& Path() const noexcept { return path_; }
    std::error_code Code() const noexcept { return code_; }
    // The system's reason alone ("No space left on device").
    const std::string& Reason() const noexcept { return reason_; }

private:
    IoOp op_;
    std::filesystem::path path_;
    std::error_code code_;
    std::string reason_;
};

// A file open for reading. Closing happens on destruction.
class InputFile {
public:
    virtual ~InputFile() = default;
    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to buffer.size() bytes; returns the count, 0 only at the end of the file.
    [[nodiscard]] virtual std::size_t Read(std::span<std::byte> buffer) = 0;
    // Reads exactly buffer.size() bytes; a file that ends first raises IoError (Read).
    virtual void ReadExact(std::span<std::byte> buffer);
    [[nodiscard]] virtual std::uint64_t Size() = 0;
    [[nodiscard]] virtual const std::filesystem::path& Path() const = 0;
    // The native descriptor for kernel-side copies, or -1 where there is none.
    [[nodiscard]] virtual int NativeHandle() const { return -1; }
};

// A file created anew for writing. Close() must be called for the data to count as written:
// it reports a failed close; the destructor closes silently.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes all of data or raises IoError (Write), a short write included.
    virtual void Write(std::span<const std::byte> data) = 0;
    // Copies exactly count bytes from the current position of source to this file, kernel-side
    // where the platform allows; raises IoError on failure or when source ends first.
    virtual void CopyFrom(InputFile& source, std::uint64_t count, std::span<std::byte> scratch);
    virtual void Close() = 0;
    [[nodiscard]] virtual const std::filesystem::path& Path() const = 0;
    [[nodiscard]] virtual int NativeHandle() const { return -1; }
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Opens an existing file; a folder is refused (IoError Open, "Is a directory").
    [[nodiscard]] virtual std::unique_ptr<InputFile>
    OpenRead(const std::filesystem::path& path) = 0;
    // Creates the file anew (replacing an existing one).
    [[nodiscard]] virtual std::unique_ptr<OutputFile> Create(const std::filesystem::path& path) = 0;
    virtual void Remove(const std::filesystem::path& path) = 0;
    // True when path names an existing entry that is not a folder (links followed).
    [[nodiscard]] virtual bool IsFile(const std::filesystem::path& path) = 0;
    // True when both paths name the same existing file (links and "./" included).
    [[nodiscard]] virtual bool SameFile(const std::filesystem::path& a,
                                        const std::filesystem::path& b) = 0;
    // Size of the file at path without opening it for the caller; raises IoError.
    [[nodiscard]] virtual std::uint64_t FileSize(const std::filesystem::path& path) = 0;
};

// The real file system of the platform.
FileSystem& RealFileSystem();

} // namespace partsmith
