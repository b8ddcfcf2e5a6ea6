// Where the password of an encrypted set comes from: a file named on the command line, the
// terminal (echo off), or standard input when that is no terminal. Never the command line.
#pragma once

#include "Secret.h"

#include <filesystem>
#include <optional>

namespace partsmith {
class FileSystem;
}

namespace partsmith::cli {

class Terminal;

enum class PasswordUse {
    Split, // asked twice on the terminal: a typing error would lock the data away
    Join,
};

// From passwordFile: its first line without the line end ("\n" or "\r\n"); an empty file is the
// empty password. Otherwise from the terminal, or the first line of standard input.
// Raises CommandFailure: an unreadable file (failure), no line on standard input or two
// different entries (usage), a prompt ended by end-of-input or Ctrl-C (stopped).
[[nodiscard]] Secret ObtainPassword(Terminal& terminal, FileSystem& files,
                                    const std::optional<std::filesystem::path>& passwordFile,
                                    PasswordUse use);

} // namespace partsmith::cli
