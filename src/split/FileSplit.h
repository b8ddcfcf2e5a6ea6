// The split body: cuts one source file into a part set, enciphering it on the way when the set
// is encrypted. It runs on whatever thread calls it and reaches its surroundings only through
// SplitHost, whose calls mirror the worker's synchronised calls one for one: a window host runs
// each of them on the window thread and blocks until it has run, a command-line host answers
// directly, a test host answers from a script.
//
// Every way out of RunFileSplit ends with exactly one SplitHost::NotifyDone, and nothing is ever
// deleted: after a stop, a cancel or a failure the parts written so far stay, and so does the
// source.
#pragma once

#include "split/EngineCommon.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace partsmith {

class FileSystem;

// How a split ended, as the Split page's finish routine needs to know it.
enum class SplitResult {
    Completed, // all parts written and closed
    Stopped,   // Stop, or the overwrite question (or its chooser) cancelled
    Refused,   // nothing written: a plain empty source, a part size the set cannot have, or
               // part paths that would include the source; the engine has shown ShowError
    Failed,    // an I/O error, no memory for the buffer, or any other failure inside the run
};

struct SplitOutcome {
    SplitResult Result = SplitResult::Failed;
    // Refused: the text of the error box already shown. Failed: what went wrong, naming the
    // path and the system's reason (IoFailureText); the host logs it and shows it.
    std::string Message;
    std::uint64_t PartsWritten = 0; // parts created and completely written
    std::uint64_t PartCount = 0;    // N of the set (0 before the source was opened)
    std::uint64_t DoneSize = 0;     // source bytes written into parts
};

struct SplitParams {
    std::filesystem::path SourceFile; // the file to split
    std::filesystem::path OutputDir;  // the folder that receives the parts
    std::string BaseName;             // base of the part names, used unchanged (UTF-8)
    std::string Password;             // UTF-8; converted to the 8-bit code page for keying
    std::uint64_t PartSize = 0;       // P; see PartSizeFromUnits / PartSizeFromCount
    bool Encrypted = false;
    std::uint8_t CipherCode = 0; // encrypted sets: 1 to 19 (CipherCodeForListIndex)
    std::uint8_t HashCode = 0;   // encrypted sets: 1 to 10 (HashCodeForListIndex)
    // B in bytes: BufferBytesFromKiB(MaxBufferSize), taken when the run is set up. 0 works as
    // 1 KiB.
    std::uint64_t BufferSize = 8192 * 1024;
    // Files are reached only through this; nullptr means RealFileSystem().
    FileSystem* Files = nullptr;
    // The AskWhenFileExists setting, read at the moment a part is found to exist (the window may
    // rewrite it meanwhile). nullptr: always ask.
    const std::atomic<bool>* AskWhenFileExists = nullptr;
    // Plain sets: copy source to part kernel-side (OutputFile::CopyFrom) rather than through the
    // buffer. The bytes and the runs are the same either way; only the speed differs.
    bool KernelCopy = true;
};

class SplitHost {
public:
    virtual ~SplitHost() = default;

    // After every run written. statusText is the complete status line, already formatted:
    // "Spliting file at "<part name>", Total <#.00>%." ; percent is DoneSize / TotalSize * 100
    // (the progress bar shows its whole part).
    virtual void ShowProgress(const std::string& statusText, double percent) = 0;

    // After every run, and over and over while paused: copy the window's pause and stop flags.
    virtual void ReadFlags(bool& paused, bool& stopped) = 0;

    // Encrypted sets, after the first 4 header bytes and before the checksum pass over the
    // source: "Calculate checksum for "<source>"" as the status text.
    virtual void ShowCrcStatus(const std::string& text) = 0;

    // A part exists and AskWhenFileExists is on. question is the "File "%s" is exists, ..." text
    // with the part's name; path is where the part would be written.
    virtual OverwriteAnswer AskOverwrite(const std::string& question,
                                         const std::filesystem::path& path) = 0;

    // After No: a save-file chooser without title, filter or preset. nullopt counts as Cancel.
    virtual std::optional<std::filesystem::path> ChooseSavePath() = 0;

    // The error box of a refused run ("File cannot null!" and the refusals of this program),
    // shown before NotifyDone.
    virtual void ShowError(const std::string& text) = 0;

    // The last act of every run: the page's finish routine with the outcome.
    virtual void NotifyDone(const SplitOutcome& outcome) = 0;
};

// Runs the split on the calling thread and returns the outcome it passed to NotifyDone.
// It never throws: a failure in the run, in the host's calls included, becomes a Failed outcome.
SplitOutcome RunFileSplit(SplitParams params, SplitHost& host) noexcept;

} // namespace partsmith
