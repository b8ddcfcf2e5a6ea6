// What the split and join engines share: the answers to the overwrite question, the texts of
// I/O failures, and the buffer that carries each part's runs.
#pragma once

#include "io/File.h"
#include "text/LangStr.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <span>
#include <string>
#include <utility>

namespace partsmith {

class PartCipher;

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

// Overwrites a text that held a password and empties it.
void WipeText(std::string& text) noexcept;

// A cipher for the codes keyed from the UTF-8 password (converted to the 8-bit code page, and
// that copy wiped on every way out); nullptr when a code is not in the catalogue.
[[nodiscard]] std::unique_ptr<PartCipher>
KeyedCipher(std::uint8_t cipherCode, std::uint8_t hashCode, const std::string& passwordUtf8);

// Runs one split or join run: every failure inside becomes a Failed outcome that says what went
// wrong; the run (files, cipher wiping its key, buffer) is released and the password wiped
// before the host hears the end; NotifyDone is the last act. Never throws.
template <class Run, class Params, class Host>
auto GuardedRun(Params& params, Host& host) noexcept {
    using Outcome = decltype(std::declval<Run&>().Execute());
    using Result = decltype(Outcome::Result);
    Outcome outcome;
    outcome.Result = Result::Failed;
    try {
        auto run = std::make_unique<Run>(params, host);
        try {
            outcome = run->Execute();
        } catch (const IoError& error) {
            outcome = run->Progress(Result::Failed, IoFailureText(error));
        } catch (const std::exception& error) {
            outcome = run->Progress(Result::Failed, error.what());
        } catch (...) {
            outcome = run->Progress(Result::Failed, Message(Msg::UnknownFailure));
        }
        run.reset();
    } catch (...) {
        // Only the run's own set-up can get here; the outcome says Failed.
    }
    WipeText(params.Password);
    try {
        host.NotifyDone(outcome);
    } catch (...) {
        // The host has gone (a window that closed); there is nobody left to tell.
    }
    return outcome;
}

} // namespace partsmith
