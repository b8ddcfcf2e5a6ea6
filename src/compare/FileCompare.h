// The comparison of two files, by their CRC-32 texts or by their contents, as an engine the
// Compare File page drives on its own thread (the comparison has no worker). The content mode
// reads large blocks and hands control back to the caller's event handling at least every
// 50 ms of work, so the window stays responsive while the result is the one a byte-by-byte
// loop finds.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace partsmith {

class FileSystem;

enum class CompareMethod { ByChecksum, ByContent };

struct CompareParams {
    std::filesystem::path File1;
    std::filesystem::path File2;
    CompareMethod Method = CompareMethod::ByChecksum;
    bool CompareSize = true;         // "Compare file size": refuse files of different sizes at once
    FileSystem* Files = nullptr;     // nullptr: RealFileSystem()
    std::size_t BlockSize = 1 << 20; // content mode: bytes read from each file at a time
};

enum class CompareVerdict {
    NotFound,    // a path names no file: only the error box, nothing logged
    EmptyFile,   // "One or both file is null!"
    SizeDiffers, // the size check refused the files
    Equal,       // the checksums or the contents agree
    Different,   // the checksums differ, or the contents differ at FirstDifference
    Failed,      // a file could not be opened or read; Message says which and why
};

struct CompareOutcome {
    CompareVerdict Verdict = CompareVerdict::Failed;
    std::string Message;                          // the verdict line (the box shows the same)
    std::string Crc1, Crc2;                       // checksum mode, once computed
    std::uint64_t Size1 = 0, Size2 = 0;           // once read
    std::optional<std::uint64_t> FirstDifference; // content mode: position from 0
};

class CompareHost {
public:
    virtual ~CompareHost() = default;

    // Both files exist: the page locks itself (controls disabled, only its tab offered).
    virtual void Started() {}

    // One line of the log: the two path lines, the two size lines, then the verdict line.
    virtual void AddLog(const std::string& line) = 0;

    // The verdict box, modal over the window: an information box when success is set,
    // otherwise an error box. The caption is given ("Success", "Error"; the first-difference
    // box has the fixed caption "Error", which no language file changes).
    virtual void ShowBox(bool success, const std::string& text, const std::string& caption) = 0;

    // The closing steps after Started: the page unlocks, beeps and shows statusText
    // ("File Compare end.") in the status bar. Runs on every way out after Started.
    virtual void Finished(const std::string& statusText) = 0;

    // Let the window handle its pending events. The content mode calls it at least every
    // 50 ms of work.
    virtual void PumpEvents() {}
};

// The position of a first difference as the message shows it: uppercase hexadecimal with at
// least 8 digits (0x1F -> "0000001F", 5 GiB -> "140000000").
[[nodiscard]] std::string DifferencePositionText(std::uint64_t position);

// Runs the comparison on the calling thread. The messages come in this order: two path lines,
// two size lines, one verdict line, the verdict box, then Finished with the status text. A
// missing file gives only the "One or both file not found!" box (no Started, no Finished).
//
// Content mode without the size check: only as many bytes as file 1 holds are compared; a
// file 2 that ends earlier differs at the position where it ends (a shorter file is not equal).
CompareOutcome CompareFiles(const CompareParams& params, CompareHost& host);

// How often the content mode hands control to PumpEvents, at the latest.
inline constexpr std::chrono::milliseconds kComparePumpInterval{50};

} // namespace partsmith
