// What the split and join engines share: the answers to the overwrite question, the texts of
// I/O failures, and the buffer that carries each part's runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace partsmith {

class IoError;

// The answers of the question "File "%s" is exists, do you want to overwrite?".
// No lets the user choose another path (ChooseSavePath); choosing none counts as Cancel.
enum class OverwriteAnswer { Yes, No, Cancel };

// The message for an I/O failure, naming the operation, the path and the system's reason:
// Cannot write file "/data/x.bin.002": No space left on device
[[nodiscard]] std::string IoFailureText(const IoError& error);

// The buffer size the engines actually use: a buffer of 0 bytes could never make progress, so
// it works as 1 KiB, like a MaxBufferSize of 0 (see BufferBytesFromKiB).
[[nodiscard]] std::uint64_t EffectiveBufferSize(std::uint64_t bufferSize);

// The buffer that carries a part's runs. An allocation that fails raises std::bad_alloc, which
// the engines turn into a failed run. It grows only when a larger run needs it.
class RunBuffer {
public:
    RunBuffer() = default;
    // Makes the buffer at least size bytes long; the contents do not survive a growth.
    void Reserve(std::uint64_t size);
    RunBuffer(const RunBuffer&) = delete;
    RunBuffer& operator=(const RunBuffer&) = delete;

    // The first n bytes; n must not exceed the reserved size.
    [[nodiscard]] std::span<std::byte> First(std::uint64_t n) noexcept;

private:
    std::unique_ptr<std::byte[]> data_;
    std::size_t size_ = 0;
};

} // namespace partsmith
