// The platform-neutral half of the file layer: error texts and the generic read and copy loops
// that every implementation of InputFile and OutputFile can fall back on.
#include "io/File.h"

#include <algorithm>
#include <vector>

namespace partsmith {

namespace {

std::string Utf8Text(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

const char* Verb(IoOp op) {
    switch (op) {
    case IoOp::Open:
        return "open";
    case IoOp::Create:
        return "create";
    case IoOp::Read:
        return "read";
    case IoOp::Write:
        return "write";
    case IoOp::Close:
        return "close";
    case IoOp::Size:
        return "get the size of";
    case IoOp::Delete:
        return "delete";
    case IoOp::Copy:
        return "copy data into";
    }
    return "access";
}

std::string Sentence(IoOp op, const std::filesystem::path& path, const std::string& reason) {
    return std::string("Unable to ") + Verb(op) + " \"" + Utf8Text(path) + "\": " + reason;
}

// Generic copies go through a buffer of this size when the caller supplies none.
constexpr std::size_t kDefaultScratch = 1 << 20;

} // namespace

IoError::IoError(IoOp op, std::filesystem::path path, std::error_code code)
    : std::runtime_error(Sentence(op, path, code.message())), op_(op), path_(std::move(path)),
      code_(code), reason_(code.message()) {}

IoError::IoError(IoOp op, std::filesystem::path path, std::string reason)
    : std::runtime_error(Sentence(op, path, reason)), op_(op), path_(std::move(path)),
      reason_(std::move(reason)) {}

void InputFile::ReadExact(std::span<std::byte> buffer) {
    while (!buffer.empty()) {
        const std::size_t got = Read(buffer);
        if (got == 0) {
            throw IoError(IoOp::Read, Path(), kUnexpectedEndReason);
        }
        buffer = buffer.subspan(got);
    }
}

void OutputFile::CopyFrom(InputFile& source, std::uint64_t count, std::span<std::byte> scratch) {
    std::vector<std::byte> own;
    if (scratch.empty()) {
        own.resize(static_cast<std::size_t>(std::min<std::uint64_t>(count, kDefaultScratch)));
        scratch = own;
    }
    while (count > 0) {
        const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(count, scratch.size()));
        const std::size_t got = source.Read(scratch.first(want));
        if (got == 0) {
            throw IoError(IoOp::Read, source.Path(), kUnexpectedEndReason);
        }
        Write(scratch.first(got));
        count -= got;
    }
}

} // namespace partsmith
