// The tool's commands as objects: each parses its own arguments, drives one engine through the
// command-line host and returns the exit code (ExitCode.h). Tests run them in-process on real
// files with a scripted terminal.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace partsmith {
class FileSystem;
}

namespace partsmith::cli {

class Terminal;

// What a command reaches beyond its arguments and streams. nullptr: the process's own terminal
// and the real file system.
struct CommandEnv {
    Terminal* terminal = nullptr;
    FileSystem* files = nullptr;
};

class Command {
public:
    explicit Command(CommandEnv env);
    virtual ~Command() = default;
    Command(const Command&) = delete;
    Command& operator=(const Command&) = delete;

    // args are the command's own (the command name not included).
    virtual int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) = 0;

protected:
    Terminal& terminal_;
    FileSystem& files_;
};

// split FILE [--size SIZE | --parts N] [--output-dir DIR] [--name NAME] [--encrypt CIPHER
// [--hash HASH]] [--password-file FILE] [--delete-source] [--buffer-kib N] [--force] [--quiet]
class SplitCommand final : public Command {
public:
    using Command::Command;
    int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
};

// join PART [--output FILE] [--range FIRST-LAST] [--password-file FILE] [--delete-parts]
// [--buffer-kib N] [--force] [--quiet]
class JoinCommand final : public Command {
public:
    using Command::Command;
    int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
};

// checksum [--crc32|--md5] FILE...
class ChecksumCommand final : public Command {
public:
    using Command::Command;
    int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
};

// compare FILE1 FILE2 [--by-content] [--no-size-check]
class CompareCommand final : public Command {
public:
    using Command::Command;
    int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) override;
};

// The whole tool: args without the program's name, the command first; --help and --version.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           CommandEnv env = {});

// The version line: "Brimvale Partsmith 0.9.3 beta".
std::string VersionLine();

// A line "CHECKSUM  FILE" as md5sum writes it: a name holding "\" or a line break is escaped
// and the line then starts with "\".
std::string ChecksumLine(const std::string& checksum, const std::string& fileName);

// "--size" values: a number of bytes, or a number with the unit B, K, M or G (any case), through
// the Split page's part-size rule. 0 when the value is not above 0 or too large; nullopt when
// the text is no such value.
std::optional<std::uint64_t> PartSizeFromText(std::string_view text);

} // namespace partsmith::cli
