// The tool's exit codes, as its --help documents them, and the failure that carries one.
#pragma once

#include <stdexcept>
#include <string>

namespace partsmith::cli {

enum ExitCode : int {
    kExitSuccess = 0,
    kExitFailure = 1,          // an I/O error or a run that could not be carried out
    kExitUsage = 2,            // the command line or an input it names is unusable
    kExitChecksumMismatch = 3, // a joined file whose checksum differs from the set's
    kExitFilesDiffer = 4,      // compare: the files are not equal
    kExitStopped = 5,          // stopped: a question answered No, Ctrl-C, a prompt given up
};

// Ends a command with a message on standard error and the code.
class CommandFailure : public std::runtime_error {
public:
    CommandFailure(int code, const std::string& message)
        : std::runtime_error(message), code_(code) {}
    [[nodiscard]] int Code() const noexcept { return code_; }

private:
    int code_;
};

class UsageError : public CommandFailure {
public:
    explicit UsageError(const std::string& message) : CommandFailure(kExitUsage, message) {}
};

} // namespace partsmith::cli
