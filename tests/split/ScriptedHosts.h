// Hosts for the split and join bodies that record every call in order and answer from a script:
// press Pause after the n-th run, Stop after the n-th run or during the pause, answer the
// overwrite question, choose a save path, supply or refuse a missing part.
#pragma once

#include "join/FileJoin.h"
#include "split/FileSplit.h"

#include <cmath>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace partsmith::testing {

struct HostCall {
    std::string kind; // "progress", "flags", "crc-status", "ask-overwrite", "choose", "error",
                      // "next-part", "compare-crc", "done"
    std::string text;
    double percent = 0;
};

// The script and the record both bodies share.
class ScriptBase {
public:
    std::vector<HostCall> calls;

    // After the n-th progress report (from 1): Pause is pressed. While paused, ReadFlags is
    // answered pausePolls times with the pause set; then Stop is pressed (stopWhilePaused) or
    // Pause is pressed again to resume.
    int pauseAfterRun = 0;
    int pausePolls = 3;
    bool stopWhilePaused = true;
    // After the n-th progress report: Stop is pressed.
    int stopAfterRun = 0;

    std::deque<OverwriteAnswer> overwriteAnswers; // empty: Cancel
    std::deque<std::optional<std::filesystem::path>> savePaths;

    [[nodiscard]] std::vector<HostCall> Only(const std::string& kind) const {
        std::vector<HostCall> found;
        for (const auto& call : calls) {
            if (call.kind == kind) {
                found.push_back(call);
            }
        }
        return found;
    }
    [[nodiscard]] std::vector<double> Percents() const {
        std::vector<double> values;
        for (const auto& call : Only("progress")) {
            values.push_back(call.percent);
        }
        return values;
    }
    // The percentages in hundredths, as the "#.00" texts show them.
    [[nodiscard]] std::vector<long> Hundredths() const {
        std::vector<long> values;
        for (const double percent : Percents()) {
            values.push_back(std::lround(percent * 100));
        }
        return values;
    }
    [[nodiscard]] std::vector<std::string> Kinds() const {
        std::vector<std::string> kinds;
        for (const auto& call : calls) {
            kinds.push_back(call.kind);
        }
        return kinds;
    }
    int FlagReads() const { return flagReads_; }

protected:
    void Progress(const std::string& text, double percent) {
        calls.push_back({"progress", text, percent});
        ++runs_;
    }
    void Flags(bool& paused, bool& stopped) {
        ++flagReads_;
        if (runs_ == pauseAfterRun && pollsLeft_ == -1) {
            pollsLeft_ = pausePolls;
        }
        if (pollsLeft_ > 0) {
            --pollsLeft_;
            paused = true;
        } else if (pollsLeft_ == 0) {
            pollsLeft_ = -2;          // the pause is over for good
            paused = stopWhilePaused; // Stop leaves the pause pressed
            stopped = stopWhilePaused;
        } else {
            paused = false;
        }
        if (stopAfterRun != 0 && runs_ >= stopAfterRun) {
            stopped = true;
        }
    }
    OverwriteAnswer Overwrite(const std::string& question) {
        calls.push_back({"ask-overwrite", question, 0});
        if (overwriteAnswers.empty()) {
            return OverwriteAnswer::Cancel;
        }
        const OverwriteAnswer answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }
    std::optional<std::filesystem::path> Choose() {
        calls.push_back({"choose", {}, 0});
        if (savePaths.empty()) {
            return std::nullopt;
        }
        auto path = savePaths.front();
        savePaths.pop_front();
        return path;
    }

private:
    int runs_ = 0;
    int flagReads_ = 0;
    int pollsLeft_ = -1;
};

class ScriptedSplitHost final : public SplitHost, public ScriptBase {
public:
    std::optional<SplitOutcome> outcome;

    void ShowProgress(const std::string& text, double percent) override { Progress(text, percent); }
    void ReadFlags(bool& paused, bool& stopped) override { Flags(paused, stopped); }
    void ShowCrcStatus(const std::string& text) override { calls.push_back({"crc-status", text}); }
    OverwriteAnswer AskOverwrite(const std::string& question,
                                 const std::filesystem::path&) override {
        return Overwrite(question);
    }
    std::optional<std::filesystem::path> ChooseSavePath() override { return Choose(); }
    void ShowError(const std::string& text) override { calls.push_back({"error", text}); }
    void NotifyDone(const SplitOutcome& result) override {
        calls.push_back({"done", result.Message});
        outcome = result;
    }
};

class ScriptedJoinHost final : public JoinHost, public ScriptBase {
public:
    std::optional<JoinOutcome> outcome;
    // Answers of the next-part dialog in order (empty: Cancel). Before each answer, onNextPart
    // runs with the expected path (to put the missing file in place, say).
    std::deque<std::optional<std::filesystem::path>> nextParts;
    std::function<void(const std::filesystem::path&)> onNextPart;
    std::optional<std::pair<std::string, std::string>> comparedCrc;

    void ShowProgress(const std::string& text, double percent) override { Progress(text, percent); }
    void ReadFlags(bool& paused, bool& stopped) override { Flags(paused, stopped); }
    std::optional<std::filesystem::path>
    AskNextPart(const std::filesystem::path& expected) override {
        calls.push_back({"next-part", expected.string()});
        if (onNextPart) {
            onNextPart(expected);
        }
        if (nextParts.empty()) {
            return std::nullopt;
        }
        auto answer = nextParts.front();
        nextParts.pop_front();
        return answer;
    }
    void ShowCrcStatus(const std::string& text) override { calls.push_back({"crc-status", text}); }
    void CompareCrc(const std::string& stored, const std::string& joined) override {
        calls.push_back({"compare-crc", stored + " " + joined});
        comparedCrc = {stored, joined};
    }
    OverwriteAnswer AskOverwrite(const std::string& question,
                                 const std::filesystem::path&) override {
        return Overwrite(question);
    }
    std::optional<std::filesystem::path> ChooseSavePath() override { return Choose(); }
    void NotifyDone(const JoinOutcome& result) override {
        calls.push_back({"done", result.Message});
        outcome = result;
    }
};

} // namespace partsmith::testing
