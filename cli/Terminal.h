// Standard input and the terminal as one run of the tool sees them. Passwords and answers to
// questions come through here, so tests can script them without a terminal.
#pragma once

#include "Secret.h"

#include <optional>
#include <string>
#include <string_view>

namespace partsmith::cli {

class Terminal {
public:
    virtual ~Terminal() = default;
    [[nodiscard]] virtual bool InputIsTerminal() const = 0;
    [[nodiscard]] virtual bool ErrorIsTerminal() const = 0;
    // Shows prompt on standard error and reads one line from the terminal with echo off.
    // False at the end of input (nothing typed before end-of-file).
    [[nodiscard]] virtual bool ReadHidden(std::string_view prompt, Secret& line) = 0;
    // Shows prompt on standard error and reads one line with echo; nullopt at the end of input.
    [[nodiscard]] virtual std::optional<std::string> ReadAnswer(std::string_view prompt) = 0;
    // The first line of standard input that is not a terminal, without its line end. False when
    // the input ends before its first character.
    [[nodiscard]] virtual bool ReadInputLine(Secret& line) = 0;
};

// The process's own standard input and standard error.
Terminal& SystemTerminal();

} // namespace partsmith::cli
