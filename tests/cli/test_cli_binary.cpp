// The built partsmith-cli run as a user runs it: real files, a pipe on standard input, standard
// output and standard error captured in files (so neither is a terminal).
#include "support/TempDir.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using partsmith::testing::RandomBytes;
using partsmith::testing::ReadAll;
using partsmith::testing::TempDir;

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

std::string Slurp(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the tool with stdin taken from the text given (through a file, which is no terminal).
Result RunTool(const TempDir& dir, const std::vector<std::string>& args,
               const std::string& input = "",
               const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    const auto inPath = dir / "stdin.txt";
    const auto outPath = dir / "stdout.txt";
    const auto errPath = dir / "stderr.txt";
    dir.Write("stdin.txt", input);
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(inPath.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 ||
            ::dup2(err, 2) < 0) {
            ::_exit(127);
        }
        for (const auto& [name, value] : environment) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv;
        std::string program = PARTSMITH_CLI_BINARY;
        argv.push_back(program.data());
        std::vector<std::string> copies(args);
        for (auto& arg : copies) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    Result result;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.code = WEXITSTATUS(status);
    }
    result.out = Slurp(outPath);
    result.err = Slurp(errPath);
    return result;
}

std::string P(const TempDir& dir, const std::string& name) {
    return (dir / name).string();
}

TEST(CliBinary, VersionAndUsageExitCodes) {
    TempDir dir;
    auto result = RunTool(dir, {"--version"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "Brimvale Partsmith 0.9.3 beta\n");
    result = RunTool(dir, {"split", "--parts"});
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.err.find("needs a value"), std::string::npos) << result.err;
    result = RunTool(dir, {});
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.err.find("Exit codes:"), std::string::npos);
}

TEST(CliBinary, EncryptedRoundTripWithThePasswordOnStandardInput) {
    TempDir dir;
    const auto bytes = RandomBytes(300'000, 5);
    dir.Write("src.bin", bytes);
    auto result = RunTool(dir,
                          {"split", P(dir, "src.bin"), "--size", "64K", "--encrypt", "Rijndael",
                           "--hash", "SHA-256", "--buffer-kib", "16"},
                          "pipe password\nignored second line\n");
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "") << "no progress and no prompt without a terminal";
    EXPECT_TRUE(std::filesystem::exists(dir / "src.bin.e05"));

    result = RunTool(dir, {"join", P(dir, "src.bin.e01"), "--output", P(dir, "back.bin")},
                     "pipe password\n");
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(ReadAll(dir / "back.bin"), bytes);
    EXPECT_NE(result.out.find("Scanning File found 5 Files"), std::string::npos) << result.out;

    result = RunTool(dir, {"join", P(dir, "src.bin.e01"), "--output", P(dir, "bad.bin")},
                     "another password\n");
    EXPECT_EQ(result.code, 3) << result.err;
    EXPECT_NE(result.err.find("Checksum of Original File and Joined File is different"),
              std::string::npos)
        << result.err;

    // Standard input without a line: no password, nothing written.
    result = RunTool(dir, {"join", P(dir, "src.bin.e01"), "--output", P(dir, "none.bin")}, "");
    EXPECT_EQ(result.code, 2);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.bin"));
}

TEST(CliBinary, PlainSplitJoinAndChecksumsThatMd5sumAccepts) {
    TempDir dir;
    const auto bytes = RandomBytes(1'000'000, 9);
    dir.Write("big.bin", bytes);
    auto result = RunTool(dir, {"split", P(dir, "big.bin"), "--parts", "4", "--quiet"});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(std::filesystem::file_size(dir / "big.bin.004"), 250'000u);

    result = RunTool(dir, {"join", P(dir, "big.bin.001"), "--output", P(dir, "again.bin"),
                           "--quiet", "--delete-parts"});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(ReadAll(dir / "again.bin"), bytes);
    EXPECT_FALSE(std::filesystem::exists(dir / "big.bin.001"));

    result = RunTool(dir, {"compare", P(dir, "big.bin"), P(dir, "again.bin"), "--by-content"});
    EXPECT_EQ(result.code, 0) << result.err;

    result = RunTool(dir, {"checksum", "--md5", P(dir, "big.bin"), P(dir, "again.bin")});
    ASSERT_EQ(result.code, 0) << result.err;
    dir.Write("sums.md5", result.out);
    const std::string check = "md5sum --check --status '" + P(dir, "sums.md5") + "'";
    if (std::system("command -v md5sum > /dev/null 2>&1") == 0) {
        EXPECT_EQ(std::system(check.c_str()), 0) << result.out;
    }
}

TEST(CliBinary, SpeaksTheLanguageOfTheWindowsSettings) {
    TempDir dir;
    std::filesystem::create_directories(dir / "config");
    std::filesystem::create_directories(dir / "data/lang");
    dir.Write("config/partsmith.ini", "[Settings]\nLanguage=Testish\n");
    dir.Write("data/lang/Testish.ini", "FileNotFound=Datei \"%s\" fehlt!\n");
    const std::vector<std::pair<std::string, std::string>> environment = {
        {"PARTSMITH_CONFIG_DIR", P(dir, "config")}, {"PARTSMITH_DATA_DIR", P(dir, "data")}};
    auto result = RunTool(dir, {"checksum", P(dir, "absent")}, "", environment);
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "Datei \"" + P(dir, "absent") + "\" fehlt!\n");

    // A language file that is not there leaves the built-in texts.
    dir.Write("config/partsmith.ini", "[Settings]\nLanguage=Nowhere\n");
    result = RunTool(dir, {"checksum", P(dir, "absent")}, "", environment);
    EXPECT_EQ(result.err, "Error! File \"" + P(dir, "absent") + "\" not found\n");
}

} // namespace
