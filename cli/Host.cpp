#include "Host.h"

#include "CliTexts.h"
#include "Interrupt.h"
#include "Terminal.h"
#include "text/TextCase.h"
#include "text/UnicodeAdds.h"

namespace partsmith::cli {

namespace {

// The progress line ends before a question, and the wait for the answer is not work done.
class QuestionScope {
public:
    explicit QuestionScope(ProgressLine& progress) : progress_(progress) {
        progress_.Finish();
        progress_.Hold();
    }
    ~QuestionScope() { progress_.Resume(); }
    QuestionScope(const QuestionScope&) = delete;
    QuestionScope& operator=(const QuestionScope&) = delete;

private:
    ProgressLine& progress_;
};

} // namespace

HostBase::HostBase(Terminal& terminal, std::ostream& err, HostOptions options,
                   std::uint64_t totalBytes)
    : terminal_(terminal), err_(err), options_(options), totalBytes_(totalBytes),
      progress_(err, !options.quiet && terminal.ErrorIsTerminal()) {}

void HostBase::Flags(bool& paused, bool& stopped) const {
    paused = false;
    stopped = InterruptRequested();
}

OverwriteAnswer HostBase::Overwrite(const std::string& question) {
    if (options_.force) {
        return OverwriteAnswer::Yes;
    }
    const QuestionScope scope(progress_);
    if (terminal_.InputIsTerminal()) {
        const auto answer = terminal_.ReadAnswer(question + texts::kOverwriteAnswers);
        if (answer && (EqualsIgnoringCase(*answer, "y") || EqualsIgnoringCase(*answer, "yes"))) {
            return OverwriteAnswer::Yes;
        }
        return OverwriteAnswer::Cancel;
    }
    err_ << question << '\n' << texts::kUseForce << '\n';
    return OverwriteAnswer::Cancel;
}

std::optional<std::filesystem::path> HostBase::NextPart(const std::filesystem::path& expectedPath) {
    const QuestionScope scope(progress_);
    err_ << texts::kMissingPart << Utf8FromPath(expectedPath) << '\n';
    if (!terminal_.InputIsTerminal()) {
        return std::nullopt;
    }
    const auto answer = terminal_.ReadAnswer(texts::kNextPartPrompt);
    if (!answer || answer->empty()) {
        return std::nullopt;
    }
    return PathFromUtf8(*answer);
}

void HostBase::Error(const std::string& text) {
    progress_.Finish();
    err_ << text << '\n';
}

CliSplitHost::CliSplitHost(Terminal& terminal, std::ostream& err, HostOptions options,
                           std::uint64_t sourceBytes)
    : base_(terminal, err, options, sourceBytes) {}

void CliSplitHost::ShowProgress(const std::string& /*statusText*/, double percent) {
    base_.Progress(percent);
}

void CliSplitHost::ReadFlags(bool& paused, bool& stopped) {
    base_.Flags(paused, stopped);
}

void CliSplitHost::ShowCrcStatus(const std::string& text) {
    base_.Status(text);
}

OverwriteAnswer CliSplitHost::AskOverwrite(const std::string& question,
                                           const std::filesystem::path& /*path*/) {
    return base_.Overwrite(question);
}

std::optional<std::filesystem::path> CliSplitHost::ChooseSavePath() {
    return std::nullopt;
}

void CliSplitHost::ShowError(const std::string& text) {
    base_.Error(text);
}

void CliSplitHost::NotifyDone(const SplitOutcome& /*outcome*/) {
    base_.EndLine();
}

CliJoinHost::CliJoinHost(Terminal& terminal, std::ostream& err, HostOptions options,
                         std::uint64_t partBytes)
    : base_(terminal, err, options, partBytes) {}

void CliJoinHost::ShowProgress(const std::string& /*statusText*/, double percent) {
    base_.Progress(percent);
}

void CliJoinHost::ReadFlags(bool& paused, bool& stopped) {
    base_.Flags(paused, stopped);
}

std::optional<std::filesystem::path>
CliJoinHost::AskNextPart(const std::filesystem::path& expectedPath) {
    return base_.NextPart(expectedPath);
}

void CliJoinHost::ShowCrcStatus(const std::string& text) {
    base_.Status(text);
}

void CliJoinHost::CompareCrc(const std::string& /*storedCrc*/, const std::string& /*joinedCrc*/) {
    // The verdict reaches the command in the outcome.
}

OverwriteAnswer CliJoinHost::AskOverwrite(const std::string& question,
                                          const std::filesystem::path& /*path*/) {
    return base_.Overwrite(question);
}

std::optional<std::filesystem::path> CliJoinHost::ChooseSavePath() {
    return std::nullopt;
}

void CliJoinHost::NotifyDone(const JoinOutcome& /*outcome*/) {
    base_.EndLine();
}

void CliCompareHost::AddLog(const std::string& line) {
    out_ << line << '\n';
    lastLine_ = line;
}

void CliCompareHost::ShowBox(bool success, const std::string& text,
                             const std::string& /*caption*/) {
    if (text == lastLine_) {
        return;
    }
    (success ? out_ : err_) << text << '\n';
}

void CliCompareHost::Finished(const std::string& /*statusText*/) {
    out_.flush();
}

} // namespace partsmith::cli
