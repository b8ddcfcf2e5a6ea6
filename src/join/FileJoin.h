// The join body: writes the parts of a set one after the other into one output file,
// deciphering them on the way for an encrypted set, and for an encrypted set compares the
// joined file's checksum with the one its header stores. Like the split body it runs on the
// calling thread and reaches its surroundings only through JoinHost, whose calls mirror the
// worker's synchronised calls.
//
// Every way out of RunFileJoin ends with exactly one JoinHost::NotifyDone, and nothing is
// ever deleted: a stopped, cancelled or failed join leaves the output as written and every part
// in place.
#pragma once

#include "split/EngineCommon.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace partsmith {

class FileSystem;

// How a join ended, as the Join page's finish routine needs to know it. Only Completed is a
// join that ran through its last part: the follow-ups that delete the parts or launch a program
// belong to it alone (and, for an encrypted set, to a checksum that matched).
enum class JoinResult {
    Completed,   // every part from First to Last joined; see Crc for an encrypted set
    Stopped,     // Stop, or the next-part question cancelled after some data was joined
    Cancelled,   // the overwrite question (or its chooser) cancelled: no output created
    NoPartFound, // First above Last, or the first part missing and its question cancelled:
                 // no output created
    Refused,     // the output is one of the parts: nothing written
    Failed,      // an I/O error, a first part that is no header of this program, no memory...
};

enum class CrcVerdict {
    NotChecked, // a plain set, or a run that did not complete
    Match,
    Mismatch, // a wrong password, a wrong buffer size for an RC4 set, damaged or missing parts
};

struct JoinOutcome {
    JoinResult Result = JoinResult::Failed;
    // Refused, NoPartFound and Failed: the text to log and show (a failure names the path and
    // the system's reason).
    std::string Message;
    CrcVerdict Crc = CrcVerdict::NotChecked;
    std::string StoredCrc; // from the header (encrypted sets)
    std::string JoinedCrc; // of the joined file, when it was computed
    // Where the joined file is: OutputName, or the path chosen after No at the overwrite
    // question. Empty when no output was created.
    std::filesystem::path OutputPath;
    std::uint64_t PartsJoined = 0; // parts read completely
    std::uint64_t DoneSize = 0;    // bytes written to the output
};

struct JoinParams {
    std::filesystem::path SourceName; // the picked part; its extension is cut off for the base
    std::filesystem::path OutputName; // the joined file
    std::string Password;             // UTF-8; converted to the 8-bit code page for keying
    std::int64_t FirstPart = 1;
    std::int64_t LastPart = 0;
    int NumberWidth = 3; // see PartSetRange
    bool Encrypted = false;
    // Bytes: BufferBytesFromKiB(MaxBufferSize). For an RC4 set it must be the split's buffer
    // size, or the bytes from the first differing run on decipher wrongly. 0 works as 1 KiB.
    std::uint64_t BufferSize = 8192 * 1024;
    FileSystem* Files = nullptr;                          // nullptr: RealFileSystem()
    const std::atomic<bool>* AskWhenFileExists = nullptr; // read at question time; nullptr: ask
    // Plain sets: copy part to output kernel-side (OutputFile::CopyFrom) rather than through
    // the buffer. The bytes and the progress reports are the same either way.
    bool KernelCopy = true;
};

class JoinHost {
public:
    virtual ~JoinHost() = default;

    // After every run written: "Joining file at "<part path>", Total <#.00>%." and the
    // percentage of the parts' total size (less the header).
    virtual void ShowProgress(const std::string& statusText, double percent) = 0;

    // After every run, and over and over while paused.
    virtual void ReadFlags(bool& paused, bool& stopped) = 0;

    // A part is missing: the next-part dialog, preset with the expected path. The path the user
    // leaves in it (OK), or nullopt (Cancel, the dialog closed). A path that names no file
    // brings the question again, preset with that path.
    virtual std::optional<std::filesystem::path>
    AskNextPart(const std::filesystem::path& expectedPath) = 0;

    // End of an encrypted run that was not stopped, before the checksum pass over the output:
    // "Calculate checksum for "<output>"" as the status text.
    virtual void ShowCrcStatus(const std::string& text) = 0;

    // The stored and the joined checksum texts, once the joined file's is known. The verdict
    // (exact, case-sensitive comparison) is also in the outcome.
    virtual void CompareCrc(const std::string& storedCrc, const std::string& joinedCrc) = 0;

    // The output exists and AskWhenFileExists is on ("File "%s" is exists, ..." with the
    // output's path).
    virtual OverwriteAnswer AskOverwrite(const std::string& question,
                                         const std::filesystem::path& path) = 0;

    // After No: a save-file dialog. nullopt counts as Cancel. The chosen file is replaced
    // without a further question.
    virtual std::optional<std::filesystem::path> ChooseSavePath() = 0;

    // The last act of every run: the page's finish routine with the outcome.
    virtual void NotifyDone(const JoinOutcome& outcome) = 0;
};

// Runs the join on the calling thread and returns the outcome it passed to NotifyDone.
// It never throws: a failure in the run, in the host's calls included, becomes a Failed outcome.
JoinOutcome RunFileJoin(JoinParams params, JoinHost& host) noexcept;

} // namespace partsmith
