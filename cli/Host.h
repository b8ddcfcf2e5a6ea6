// The command-line host of the engines: it answers their calls directly on the calling thread.
// Progress goes to standard error as one updating line when that is a terminal; questions are
// answered by --force, by the user on the terminal, or, without either, with Cancel.
#pragma once

#include "Progress.h"
#include "compare/FileCompare.h"
#include "join/FileJoin.h"
#include "split/FileSplit.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace partsmith::cli {

class Terminal;

struct HostOptions {
    bool force = false; // replace existing files without asking
    bool quiet = false; // no progress line
};

// What split and join hosts share: the progress line, the stop request, the overwrite question.
class HostBase {
public:
    HostBase(Terminal& terminal, std::ostream& err, HostOptions options, std::uint64_t totalBytes);

    void Progress(double percent) { progress_.Update(percent, totalBytes_); }
    void Status(const std::string& text) { progress_.Status(text); }
    // Ctrl-C stands for the window's Stop button; the tool has no pause.
    void Flags(bool& paused, bool& stopped) const;
    // --force: Yes. A terminal: Yes only for a typed "y" or "yes". Otherwise Cancel with a hint
    // at --force. Never No: the tool has no save chooser, and stopping replaces nothing.
    [[nodiscard]] OverwriteAnswer Overwrite(const std::string& question);
    // The text of an error box, on a line of its own.
    void Error(const std::string& text);
    void EndLine() { progress_.Finish(); }
    void SetTotalBytes(std::uint64_t totalBytes) { totalBytes_ = totalBytes; }

    // Without a terminal: nullopt (the join stops). On a terminal: the path typed, or nullopt for
    // an empty line or the end of input.
    [[nodiscard]] std::optional<std::filesystem::path>
    NextPart(const std::filesystem::path& expectedPath);

private:
    Terminal& terminal_;
    std::ostream& err_;
    HostOptions options_;
    std::uint64_t totalBytes_;
    ProgressLine progress_;
};

class CliSplitHost final : public SplitHost {
public:
    CliSplitHost(Terminal& terminal, std::ostream& err, HostOptions options,
                 std::uint64_t sourceBytes);

    void ShowProgress(const std::string& statusText, double percent) override;
    void ReadFlags(bool& paused, bool& stopped) override;
    void ShowCrcStatus(const std::string& text) override;
    OverwriteAnswer AskOverwrite(const std::string& question,
                                 const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> ChooseSavePath() override;
    void ShowError(const std::string& text) override;
    void NotifyDone(const SplitOutcome& outcome) override;

private:
    HostBase base_;
};

class CliJoinHost final : public JoinHost {
public:
    CliJoinHost(Terminal& terminal, std::ostream& err, HostOptions options,
                std::uint64_t partBytes);

    void ShowProgress(const std::string& statusText, double percent) override;
    void ReadFlags(bool& paused, bool& stopped) override;
    std::optional<std::filesystem::path>
    AskNextPart(const std::filesystem::path& expectedPath) override;
    void ShowCrcStatus(const std::string& text) override;
    void CompareCrc(const std::string& storedCrc, const std::string& joinedCrc) override;
    OverwriteAnswer AskOverwrite(const std::string& question,
                                 const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> ChooseSavePath() override;
    void NotifyDone(const JoinOutcome& outcome) override;

private:
    HostBase base_;
};

// The log lines go to standard output; a box repeats its text only where the log has not just
// said the same (errors to standard error). The status text and the event pump have no use here.
class CliCompareHost final : public CompareHost {
public:
    CliCompareHost(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    void AddLog(const std::string& line) override;
    void ShowBox(bool success, const std::string& text, const std::string& caption) override;
    void Finished(const std::string& statusText) override;

private:
    std::ostream& out_;
    std::ostream& err_;
    std::string lastLine_;
};

} // namespace partsmith::cli
