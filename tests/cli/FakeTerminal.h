// A scripted terminal for in-process runs of the tool's commands: whether standard input and
// standard error are terminals, the lines "typed", and the prompts that were shown.
#pragma once

#include "Terminal.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace partsmith::testing {

class FakeTerminal final : public cli::Terminal {
public:
    bool inputIsTerminal = false;
    bool errorIsTerminal = false;
    std::deque<std::string> typed;        // lines typed on the terminal, hidden or not
    std::optional<std::string> pipedLine; // the first line of a piped standard input
    std::vector<std::string> prompts;
    int pipedReads = 0;

    bool InputIsTerminal() const override { return inputIsTerminal; }
    bool ErrorIsTerminal() const override { return errorIsTerminal; }

    bool ReadHidden(std::string_view prompt, cli::Secret& line) override {
        prompts.emplace_back(prompt);
        line.Clear();
        if (typed.empty()) {
            return false;
        }
        for (const char c : typed.front()) {
            line.Append(c);
        }
        typed.pop_front();
        return true;
    }

    std::optional<std::string> ReadAnswer(std::string_view prompt) override {
        prompts.emplace_back(prompt);
        if (typed.empty()) {
            return std::nullopt;
        }
        std::string answer = typed.front();
        typed.pop_front();
        return answer;
    }

    bool ReadInputLine(cli::Secret& line) override {
        ++pipedReads;
        line.Clear();
        if (!pipedLine) {
            return false;
        }
        for (const char c : *pipedLine) {
            line.Append(c);
        }
        return true;
    }
};

} // namespace partsmith::testing
