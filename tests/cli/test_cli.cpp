// The tool's commands run in-process on real temporary files, with a scripted terminal.
#include "ArgParser.h"
#include "Commands.h"
#include "ExitCode.h"
#include "FakeTerminal.h"
#include "Progress.h"
#include "crypto/EncryptMod.h"
#include "support/TempDir.h"
#include "text/UnicodeAdds.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace partsmith::cli {
namespace {

using partsmith::testing::FakeTerminal;
using partsmith::testing::RandomBytes;
using partsmith::testing::ReadAll;
using partsmith::testing::TempDir;

class CliTest : public ::testing::Test {
protected:
    TempDir dir;
    FakeTerminal terminal;
    std::ostringstream out;
    std::ostringstream err;

    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return RunCli(args, out, err, CommandEnv{&terminal, nullptr});
    }
    std::string P(const std::string& name) const { return Utf8FromPath(dir / name); }
    std::vector<std::byte> Source(const std::string& name, std::size_t size, unsigned seed = 7) {
        auto bytes = RandomBytes(size, seed);
        dir.Write(name, bytes);
        return bytes;
    }
    std::uintmax_t SizeOf(const std::string& name) const {
        return std::filesystem::file_size(dir / name);
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir / name); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
};

// ---- size values and arguments ---------------------------------------------------------------

TEST(PartSizeFromText, BareNumbersAreBytesAndUnitsAreTheWindowsOnes) {
    struct Case {
        const char* text;
        std::optional<std::uint64_t> size;
    };
    const Case cases[] = {
        {"100", 100},
        {"100b", 100},
        {"1K", 1024},
        {"3k", 3072},
        {"100M", 104857600},
        {"2G", 2147483648ULL},
        {"5g", 5368709120ULL},
        {"0", 0},
        {"-1M", 0},
        {"", std::nullopt},
        {"M", std::nullopt},
        {"1.5M", std::nullopt},
        {"10X", std::nullopt},
        {"12 M", std::nullopt},
        {"+-3", std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PartSizeFromText(c.text), c.size) << c.text;
    }
}

TEST(ParseArgs, InlineValuesOperandsAfterDoubleDashAndLastValueWins) {
    static constexpr OptionSpec kSpecs[] = {{"--size", true}, {"--quiet", false}};
    const auto parsed =
        ParseArgs({"a", "--size=10", "--size", "20", "--quiet", "--", "--quiet", "-"}, kSpecs);
    EXPECT_EQ(parsed.Value("--size"), "20");
    EXPECT_TRUE(parsed.Has("--quiet"));
    EXPECT_EQ(parsed.Operands(), (std::vector<std::string>{"a", "--quiet", "-"}));
    EXPECT_THROW((void)ParseArgs({"--quiet=1"}, kSpecs), UsageError);
    EXPECT_THROW((void)ParseArgs({"--size"}, kSpecs), UsageError);
}

TEST_F(CliTest, UsageErrorsExitWithTwoAndSayWhy) {
    Source("f", 100);
    dir.Write("pw", "x\n");
    const std::string f = P("f");
    struct Case {
        std::vector<std::string> args;
        const char* said;
    };
    const Case cases[] = {
        {{}, "Usage:"},
        {{"frobnicate"}, "unknown command"},
        {{"split"}, "missing FILE"},
        {{"split", f, f}, "only one"},
        {{"split", f, "--bogus"}, "unknown option '--bogus'"},
        {{"split", f, "--password", "secret"}, "never taken from the command line"},
        {{"split", f, "--size"}, "needs a value"},
        {{"split", f, "--size", "abc"}, "--size needs a number"},
        {{"split", f, "--size", "0"}, "Size of spilited file is under or zero!"},
        {{"split", f, "--parts", "0"}, "Size of spilited file is under or zero!"},
        {{"split", f, "--parts", "x"}, "--parts needs a whole number"},
        {{"split", f, "--size", "10", "--parts", "2"}, "exclude each other"},
        {{"split", f, "--encrypt", "Enigma", "--password-file", P("pw")}, "unknown cipher"},
        {{"split", f, "--encrypt", "AES", "--hash", "CRC", "--password-file", P("pw")},
         "unknown hash"},
        {{"split", f, "--hash", "MD5"}, "--hash belongs to --encrypt"},
        {{"split", f, "--password-file", P("pw")}, "belongs to --encrypt"},
        {{"split", f, "--buffer-kib", "lots"}, "--buffer-kib"},
        {{"join"}, "missing PART"},
        {{"join", f, "--range", "5"}, "--range needs FIRST-LAST"},
        {{"join", f}, "'' is not a valid integer value"},
        {{"checksum"}, "missing FILE"},
        {{"checksum", "--crc32", "--md5", f}, "exclude each other"},
        {{"compare", f}, "exactly two files"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), kExitUsage) << c.said;
        EXPECT_NE(err.str().find(c.said), std::string::npos) << c.said << "\n" << err.str();
    }
    // Nothing was written by any of them.
    EXPECT_FALSE(Exists("f.001"));
    EXPECT_FALSE(Exists("f.e01"));
}

TEST_F(CliTest, HelpOfEveryCommandListsItsOptionsAndTheExitCodes) {
    const std::vector<std::pair<std::vector<std::string>, const char*>> cases = {
        {{"--help"}, "split FILE"},
        {{"split", "--help"}, "--delete-source"},
        {{"join", "-h"}, "--range FIRST-LAST"},
        {{"checksum", "--help"}, "--md5"},
        {{"compare", "--help"}, "--no-size-check"},
    };
    for (const auto& [args, option] : cases) {
        EXPECT_EQ(Run(args), kExitSuccess);
        EXPECT_NE(out.str().find(option), std::string::npos) << option;
        EXPECT_NE(out.str().find("Exit codes:"), std::string::npos) << option;
        EXPECT_NE(out.str().find("3  join: the checksum"), std::string::npos) << option;
    }
    Run({"split", "--help"});
    EXPECT_NE(out.str().find("Rijndael (AES) (16)"), std::string::npos);
    EXPECT_NE(out.str().find("SHA-256 (7)"), std::string::npos);
}

TEST_F(CliTest, VersionUsesTheProgramsIdentityTexts) {
    EXPECT_EQ(Run({"--version"}), kExitSuccess);
    EXPECT_EQ(out.str(), "Brimvale Partsmith 0.9.3 beta\n");
}

// ---- split and join --------------------------------------------------------------------------

TEST_F(CliTest, SplitBySizeAndJoinBackWithTheWindowsTexts) {
    const auto bytes = Source("data.bin", 2500);
    ASSERT_EQ(Run({"split", P("data.bin"), "--size", "1000"}), kExitSuccess) << err.str();
    EXPECT_EQ(SizeOf("data.bin.001"), 1000u);
    EXPECT_EQ(SizeOf("data.bin.002"), 1000u);
    EXPECT_EQ(SizeOf("data.bin.003"), 500u);
    EXPECT_FALSE(Exists("data.bin.004"));
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Performing for File \"" + P("data.bin") + "\"");
    EXPECT_EQ(lines[1], "Size of splitted file is 1000 Bytes");
    EXPECT_TRUE(lines[2].starts_with("File spliting finished! Perform time is ")) << lines[2];
    EXPECT_EQ(err.str(), ""); // no progress line: standard error is no terminal

    // The default output is the part's path without its extension: the source itself.
    std::filesystem::remove(dir / "data.bin");
    ASSERT_EQ(Run({"join", P("data.bin.001")}), kExitSuccess) << err.str();
    EXPECT_EQ(ReadAll(dir / "data.bin"), bytes);
    lines = Lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "Scanning File found 3 Files");
    EXPECT_TRUE(lines[2].starts_with("File joining finished! Perform time is ")) << lines[2];
}

TEST_F(CliTest, SplitByCountFollowsThePagesRoundingUp) {
    Source("k.bin", 1000);
    ASSERT_EQ(Run({"split", P("k.bin"), "--parts", "3", "--quiet"}), kExitSuccess) << err.str();
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(SizeOf("k.bin.001"), 334u);
    EXPECT_EQ(SizeOf("k.bin.002"), 334u);
    EXPECT_EQ(SizeOf("k.bin.003"), 332u);
    EXPECT_FALSE(Exists("k.bin.004"));
}

TEST_F(CliTest, OutputDirAndNameAndTinyBufferGiveTheSameSet) {
    const auto bytes = Source("s.bin", 5000);
    std::filesystem::create_directory(dir / "out");
    ASSERT_EQ(Run({"split", P("s.bin"), "--size", "2K", "--output-dir", P("out"), "--name", "piece",
                   "--buffer-kib", "1", "--no-kernel-copy", "--quiet"}),
              kExitSuccess)
        << err.str();
    EXPECT_EQ(SizeOf("out/piece.001"), 2048u);
    EXPECT_EQ(SizeOf("out/piece.003"), 5000u - 4096u);
    ASSERT_EQ(
        Run({"join", P("out/piece.001"), "--output", P("back"), "--buffer-kib", "0", "--quiet"}),
        kExitSuccess)
        << err.str();
    EXPECT_EQ(ReadAll(dir / "back"), bytes);
}

struct CipherCase {
    const char* cipher;
    const char* hash; // nullptr: the default
    std::uint8_t cipherCode;
    std::uint8_t hashCode;
};

TEST_F(CliTest, EncryptedSetsRoundTripAndCarryTheChosenCodes) {
    const CipherCase cases[] = {
        {"rijndael", "sha-256", 16, 7},
        {"AES", "Tiger", 16, 10},
        {"Blowfish", nullptr, 1, 3},
        {"rc4", "md5", 13, 3},
        {"mars", "1", 10, 1},
        {"18", "SHA-512", 18, 9},
        {"thin ice", "RipeMD-160", 7, 5},
    };
    const auto bytes = Source("e.bin", 3000, 11);
    dir.Write("pw", "correct horse\n");
    for (const auto& c : cases) {
        std::vector<std::string> args = {"split",     P("e.bin"), "--size",          "1000",
                                         "--encrypt", c.cipher,   "--password-file", P("pw"),
                                         "--quiet",   "--force"};
        if (c.hash != nullptr) {
            args.insert(args.end(), {"--hash", c.hash});
        }
        ASSERT_EQ(Run(args), kExitSuccess) << c.cipher << err.str();
        // 3000 bytes and the header: parts of 1000, 1000, 1000 and 12 bytes.
        EXPECT_EQ(SizeOf("e.bin.e04"), 12u) << c.cipher;
        const auto first = ReadAll(dir / "e.bin.e01");
        ASSERT_GE(first.size(), 12u);
        EXPECT_EQ(static_cast<int>(first[1]), c.cipherCode) << c.cipher;
        EXPECT_EQ(static_cast<int>(first[3]), c.hashCode) << c.cipher;
        EXPECT_EQ(terminal.pipedReads, 0) << "the password came from the file";

        ASSERT_EQ(Run({"join", P("e.bin.e01"), "--output", P("e.out"), "--password-file", P("pw"),
                       "--force", "--quiet"}),
                  kExitSuccess)
            << c.cipher << err.str();
        EXPECT_EQ(ReadAll(dir / "e.out"), bytes) << c.cipher;
    }
}

TEST_F(CliTest, WrongPasswordEndsWithTheChecksumTextsAndExitThree) {
    Source("w.bin", 4000);
    dir.Write("pw", "right");
    dir.Write("bad", "wrong\n");
    ASSERT_EQ(Run({"split", P("w.bin"), "--size", "1500", "--encrypt", "Serpent", "--password-file",
                   P("pw"), "--quiet"}),
              kExitSuccess)
        << err.str();
    EXPECT_EQ(Run({"join", P("w.bin.e01"), "--output", P("w.out"), "--password-file", P("bad"),
                   "--delete-parts"}),
              kExitChecksumMismatch);
    EXPECT_NE(err.str().find("Checksum of Original File and Joined File is different. Please "
                             "enter valid password or provide valid files. "),
              std::string::npos)
        << err.str();
    EXPECT_NE(out.str().find("File joining finished!"), std::string::npos);
    // The parts are the only good copy: a failed test deletes none of them.
    EXPECT_TRUE(Exists("w.bin.e01"));
    EXPECT_TRUE(Exists("w.bin.e03"));
}

TEST_F(CliTest, PasswordFileLineEndIsNotPartOfThePassword) {
    const auto bytes = Source("l.bin", 700);
    dir.Write("crlf", "secret\r\nsecond line\n");
    ASSERT_EQ(Run({"split", P("l.bin"), "--size", "300", "--encrypt", "IDEA", "--password-file",
                   P("crlf"), "--quiet"}),
              kExitSuccess)
        << err.str();
    terminal.pipedLine = "secret";
    ASSERT_EQ(Run({"join", P("l.bin.e01"), "--output", P("l.out"), "--quiet"}), kExitSuccess)
        << err.str();
    EXPECT_EQ(ReadAll(dir / "l.out"), bytes);
    EXPECT_EQ(terminal.pipedReads, 1);
}

TEST_F(CliTest, PasswordFromTheTerminalIsAskedTwiceWhenSplitting) {
    const auto bytes = Source("t.bin", 900);
    terminal.inputIsTerminal = true;
    terminal.typed = {"p4ss word", "p4ss word"};
    ASSERT_EQ(Run({"split", P("t.bin"), "--size", "400", "--encrypt", "Twofish", "--quiet"}),
              kExitSuccess)
        << err.str();
    EXPECT_EQ(terminal.prompts, (std::vector<std::string>{"Enter encryption password: ",
                                                          "Enter encryption password again: "}));
    terminal.prompts.clear();
    terminal.typed = {"p4ss word"};
    ASSERT_EQ(Run({"join", P("t.bin.e01"), "--output", P("t.out"), "--quiet"}), kExitSuccess)
        << err.str();
    EXPECT_EQ(terminal.prompts.size(), 1u) << "a join asks once";
    EXPECT_EQ(ReadAll(dir / "t.out"), bytes);
}

TEST_F(CliTest, PasswordProblemsStopBeforeAnythingIsWritten) {
    Source("q.bin", 500);
    struct Case {
        bool terminal;
        std::deque<std::string> typed;
        std::optional<std::string> piped;
        int code;
    };
    const Case cases[] = {
        {true, {"one", "two"}, std::nullopt, kExitUsage}, // the entries differ
        {true, {"one"}, std::nullopt, kExitStopped},      // end of input at the second prompt
        {true, {}, std::nullopt, kExitStopped},           // end of input at once
        {false, {}, std::nullopt, kExitUsage},            // empty standard input
    };
    for (const auto& c : cases) {
        terminal.inputIsTerminal = c.terminal;
        terminal.typed = c.typed;
        terminal.pipedLine = c.piped;
        EXPECT_EQ(Run({"split", P("q.bin"), "--size", "100", "--encrypt", "DES"}), c.code)
            << err.str();
        EXPECT_FALSE(Exists("q.bin.e01"));
    }
    EXPECT_EQ(Run({"split", P("q.bin"), "--encrypt", "DES", "--password-file", P("nothing")}),
              kExitFailure);
    EXPECT_NE(err.str().find("nothing"), std::string::npos) << err.str();
    EXPECT_FALSE(Exists("q.bin.e01"));
}

TEST_F(CliTest, PlainSetsAskForNoPassword) {
    Source("n.bin", 300);
    terminal.inputIsTerminal = true;
    ASSERT_EQ(Run({"split", P("n.bin"), "--size", "100", "--quiet"}), kExitSuccess);
    ASSERT_EQ(Run({"join", P("n.bin.001"), "--output", P("n.out"), "--quiet"}), kExitSuccess);
    EXPECT_TRUE(terminal.prompts.empty());
    EXPECT_EQ(terminal.pipedReads, 0);
}

TEST_F(CliTest, RangeJoinTakesTheNumberedPartsAndSeesEncryptionInTheName) {
    const auto bytes = Source("r.bin", 2500);
    ASSERT_EQ(Run({"split", P("r.bin"), "--size", "1000", "--quiet"}), kExitSuccess);
    ASSERT_EQ(Run({"join", P("r.bin.001"), "--range", "2-3", "--output", P("r.tail"), "--quiet"}),
              kExitSuccess)
        << err.str();
    EXPECT_EQ(ReadAll(dir / "r.tail"), std::vector<std::byte>(bytes.begin() + 1000, bytes.end()));

    dir.Write("pw", "k");
    ASSERT_EQ(Run({"split", P("r.bin"), "--size", "1000", "--encrypt", "Cast-256",
                   "--password-file", P("pw"), "--quiet"}),
              kExitSuccess);
    ASSERT_EQ(Run({"join", P("r.bin.e01"), "--range", "1-3", "--output", P("r.enc"),
                   "--password-file", P("pw"), "--quiet"}),
              kExitSuccess)
        << err.str();
    EXPECT_EQ(ReadAll(dir / "r.enc"), bytes);
}

TEST_F(CliTest, RangeWithAMissingPartStopsWithoutAPrompt) {
    Source("m.bin", 2000);
    ASSERT_EQ(Run({"split", P("m.bin"), "--size", "1000", "--quiet"}), kExitSuccess);
    EXPECT_EQ(Run({"join", P("m.bin.001"), "--range", "1-4", "--output", P("m.out"),
                   "--delete-parts", "--quiet"}),
              kExitStopped);
    EXPECT_NE(err.str().find("missing part: " + P("m.bin.003")), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("File joining aborted by user!"), std::string::npos) << err.str();
    EXPECT_TRUE(Exists("m.bin.001")) << "a join that did not run through deletes no part";
}

// ---- existing files --------------------------------------------------------------------------

TEST_F(CliTest, ExistingPartsAreReplacedOnlyWithForceOrATypedYes) {
    const auto bytes = Source("x.bin", 300);
    dir.Write("x.bin.001", "keep me");
    struct Case {
        std::vector<std::string> extra;
        bool inputIsTerminal;
        std::deque<std::string> typed;
        int code;
        bool replaced;
    };
    const Case cases[] = {
        {{}, false, {}, kExitStopped, false},
        {{}, true, {"n"}, kExitStopped, false},
        {{}, true, {""}, kExitStopped, false},
        {{}, true, {}, kExitStopped, false}, // end of input counts as no
        {{}, true, {"YES"}, kExitSuccess, true},
        {{"--force"}, false, {}, kExitSuccess, true},
    };
    for (const auto& c : cases) {
        dir.Write("x.bin.001", "keep me");
        terminal.inputIsTerminal = c.inputIsTerminal;
        terminal.typed = c.typed;
        terminal.prompts.clear();
        std::vector<std::string> args = {"split", P("x.bin"), "--size", "200", "--quiet"};
        args.insert(args.end(), c.extra.begin(), c.extra.end());
        EXPECT_EQ(Run(args), c.code) << err.str();
        const auto part = ReadAll(dir / "x.bin.001");
        if (c.replaced) {
            EXPECT_EQ(part, std::vector<std::byte>(bytes.begin(), bytes.begin() + 200));
        } else {
            EXPECT_EQ(part.size(), 7u);
            EXPECT_FALSE(Exists("x.bin.002")) << "the run stops at the first existing part";
        }
        if (c.inputIsTerminal && c.extra.empty()) {
            ASSERT_EQ(terminal.prompts.size(), 1u);
            EXPECT_EQ(terminal.prompts[0], "File \"x.bin.001\" is exists, do you want to "
                                           "overwrite? [y/N] ");
        }
        std::filesystem::remove(dir / "x.bin.002");
    }
    terminal.inputIsTerminal = false;
    EXPECT_EQ(Run({"split", P("x.bin"), "--size", "200", "--quiet"}), kExitStopped);
    EXPECT_NE(err.str().find("--force"), std::string::npos) << err.str();
}

TEST_F(CliTest, ExistingJoinOutputIsKeptWithoutForce) {
    const auto bytes = Source("o.bin", 300);
    ASSERT_EQ(Run({"split", P("o.bin"), "--size", "200", "--quiet"}), kExitSuccess);
    EXPECT_EQ(Run({"join", P("o.bin.001"), "--quiet"}), kExitStopped);
    EXPECT_NE(err.str().find("File \"" + P("o.bin") + "\" is exists"), std::string::npos)
        << err.str();
    dir.Write("o.bin", "old");
    EXPECT_EQ(Run({"join", P("o.bin.001"), "--quiet", "--delete-parts"}), kExitStopped);
    EXPECT_EQ(ReadAll(dir / "o.bin").size(), 3u);
    EXPECT_TRUE(Exists("o.bin.001"));
    EXPECT_EQ(Run({"join", P("o.bin.001"), "--quiet", "--force"}), kExitSuccess) << err.str();
    EXPECT_EQ(ReadAll(dir / "o.bin"), bytes);
}

// ---- follow-ups that delete ------------------------------------------------------------------

TEST_F(CliTest, DeleteSourceOnlyAfterACompletedSplit) {
    Source("d.bin", 500);
    // A folder that does not exist: the first part cannot be created.
    EXPECT_EQ(Run({"split", P("d.bin"), "--size", "100", "--output-dir", P("no/such"),
                   "--delete-source", "--quiet"}),
              kExitFailure);
    EXPECT_NE(err.str().find("no/such"), std::string::npos) << err.str();
    EXPECT_TRUE(Exists("d.bin"));

    dir.Write("d.bin.003", "in the way");
    EXPECT_EQ(Run({"split", P("d.bin"), "--size", "100", "--delete-source", "--quiet"}),
              kExitStopped);
    EXPECT_TRUE(Exists("d.bin"));

    ASSERT_EQ(Run({"split", P("d.bin"), "--size", "100", "--delete-source", "--quiet", "--force"}),
              kExitSuccess)
        << err.str();
    EXPECT_FALSE(Exists("d.bin"));
    EXPECT_EQ(SizeOf("d.bin.005"), 100u);
}

TEST_F(CliTest, RefusedSplitsKeepTheSourceAndWriteNothing) {
    dir.Write("empty", "");
    EXPECT_EQ(Run({"split", P("empty"), "--size", "10", "--delete-source", "--quiet"}),
              kExitFailure);
    EXPECT_NE(err.str().find("File cannot null!"), std::string::npos) << err.str();
    EXPECT_TRUE(Exists("empty"));

    Source("small.bin", 100);
    dir.Write("pw", "x");
    EXPECT_EQ(Run({"split", P("small.bin"), "--size", "11", "--encrypt", "RC6", "--password-file",
                   P("pw"), "--delete-source", "--quiet"}),
              kExitFailure);
    EXPECT_NE(err.str().find("at least 12 bytes"), std::string::npos) << err.str();
    EXPECT_TRUE(Exists("small.bin"));
    EXPECT_FALSE(Exists("small.bin.e01"));

    EXPECT_EQ(Run({"split", P("missing.bin")}), kExitFailure);
    EXPECT_NE(err.str().find("Error! File \"" + P("missing.bin") + "\" not found"),
              std::string::npos);
}

TEST_F(CliTest, DeletePartsAfterACompletedJoin) {
    const auto bytes = Source("j.bin", 2100);
    ASSERT_EQ(Run({"split", P("j.bin"), "--size", "1000", "--quiet"}), kExitSuccess);
    ASSERT_EQ(Run({"join", P("j.bin.001"), "--output", P("j.out"), "--delete-parts", "--quiet"}),
              kExitSuccess)
        << err.str();
    EXPECT_EQ(ReadAll(dir / "j.out"), bytes);
    EXPECT_FALSE(Exists("j.bin.001"));
    EXPECT_FALSE(Exists("j.bin.003"));
    EXPECT_TRUE(Exists("j.bin"));
}

// ---- checksum and compare --------------------------------------------------------------------

TEST_F(CliTest, ChecksumLinesAsMd5sumWritesThem) {
    dir.Write("abc", "abc");
    dir.Write("empty", "");
    ASSERT_EQ(Run({"checksum", P("abc"), P("empty")}), kExitSuccess);
    EXPECT_EQ(out.str(), "352441C2  " + P("abc") + "\n00000000  " + P("empty") + "\n");
    ASSERT_EQ(Run({"checksum", "--md5", P("abc"), P("empty")}), kExitSuccess);
    EXPECT_EQ(out.str(), "900150983CD24FB0D6963F7D28E17F72  " + P("abc") +
                             "\nD41D8CD98F00B204E9800998ECF8427E  " + P("empty") + "\n");
}

TEST_F(CliTest, ChecksumReportsAnUnreadableFileAndGoesOn) {
    dir.Write("abc", "abc");
    EXPECT_EQ(Run({"checksum", P("gone"), P("abc")}), kExitFailure);
    EXPECT_EQ(out.str(), "352441C2  " + P("abc") + "\n");
    EXPECT_EQ(err.str(), "Error! File \"" + P("gone") + "\" not found\n");

    std::filesystem::create_directory(dir / "folder");
    EXPECT_EQ(Run({"checksum", "--md5", P("folder")}), kExitFailure);
    EXPECT_EQ(out.str(), "");

    if (::geteuid() != 0) { // root reads a file whatever its mode
        dir.Write("locked", "abc");
        std::filesystem::permissions(dir / "locked", std::filesystem::perms::none);
        EXPECT_EQ(Run({"checksum", P("locked")}), kExitFailure);
        EXPECT_NE(err.str().find("Permission denied"), std::string::npos) << err.str();
        EXPECT_EQ(Run({"checksum", "--md5", P("locked")}), kExitFailure);
        EXPECT_NE(err.str().find("Error calculate MD5, error code 1"), std::string::npos)
            << err.str();
        EXPECT_NE(err.str().find("Permission denied"), std::string::npos) << err.str();
    }
}

TEST(ChecksumLine, EscapesNamesAsMd5sumDoes) {
    EXPECT_EQ(ChecksumLine("AB", "plain name"), "AB  plain name");
    EXPECT_EQ(ChecksumLine("AB", "back\\slash"), "\\AB  back\\\\slash");
    EXPECT_EQ(ChecksumLine("AB", "line\nbreak"), "\\AB  line\\nbreak");
}

TEST_F(CliTest, CompareByChecksumPrintsTheLogLinesAndTheVerdict) {
    dir.Write("a", "abc");
    dir.Write("b", "abc");
    ASSERT_EQ(Run({"compare", P("a"), P("b")}), kExitSuccess) << err.str();
    EXPECT_EQ(Lines(), (std::vector<std::string>{
                           "File 1 as \"" + P("a") + "\"", "File 2 as \"" + P("b") + "\"",
                           "Size of file 1 is 3 Bytes", "Size of file 2 is 3 Bytes",
                           "Both file is equal!", "Both file is equal. 352441C2 = 352441C2"}));
    dir.Write("b", "abd");
    EXPECT_EQ(Run({"compare", P("a"), P("b")}), kExitFilesDiffer);
    EXPECT_EQ(Lines().back().rfind("Both file is not equal! 352441C2 <> ", 0), 0u) << out.str();
    EXPECT_EQ(err.str(), "") << "the error box repeats the logged verdict, printed once";
}

TEST_F(CliTest, CompareByContentFindsTheFirstDifference) {
    std::string a(40, 'x');
    std::string b = a;
    b[0x1F] = 'y';
    b[0x25] = 'z';
    dir.Write("a", a);
    dir.Write("b", b);
    EXPECT_EQ(Run({"compare", P("a"), P("b"), "--by-content"}), kExitFilesDiffer);
    EXPECT_EQ(Lines().back(), "Both file is not equal at $0000001F !");

    dir.Write("b", a);
    EXPECT_EQ(Run({"compare", P("a"), P("b"), "--by-content"}), kExitSuccess);
    EXPECT_EQ(Lines().back(), "Both file is equal!");
}

TEST_F(CliTest, CompareSizeCheckEmptyAndMissingFiles) {
    dir.Write("ten", std::string(10, 'a'));
    dir.Write("twelve", std::string(12, 'a'));
    dir.Write("empty", "");
    EXPECT_EQ(Run({"compare", P("ten"), P("twelve")}), kExitFilesDiffer);
    EXPECT_EQ(Lines().back(), "File size is not equal! 10 <> 12");
    // Without the size check only as many bytes as file 1 holds are compared.
    EXPECT_EQ(Run({"compare", P("ten"), P("twelve"), "--by-content", "--no-size-check"}),
              kExitSuccess);
    EXPECT_EQ(Run({"compare", P("ten"), P("twelve"), "--no-size-check"}), kExitFilesDiffer);
    EXPECT_EQ(Run({"compare", P("ten"), P("empty"), "--no-size-check"}), kExitFailure);
    EXPECT_EQ(Lines().back(), "One or both file is null!");
    EXPECT_EQ(Run({"compare", P("ten"), P("none")}), kExitFailure);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "One or both file not found!\n");
}

// ---- progress --------------------------------------------------------------------------------

TEST(ProgressText, FiguresInTheProgramsForms) {
    EXPECT_EQ(ProgressText(45.678, 312.44e6, 12.2), "45.68%  312.4 MB/s  0:12 left");
    EXPECT_EQ(ProgressText(0.5, std::nullopt, std::nullopt), ".50%");
    EXPECT_EQ(DurationText(3723), "1:02:03");
    EXPECT_EQ(DurationText(59.6), "1:00");
}

TEST(ProgressLine, OneUpdatingLineOnlyWhenEnabled) {
    using namespace std::chrono;
    auto now = steady_clock::time_point{};
    const auto clock = [&] { return now; };
    std::ostringstream err;
    {
        ProgressLine line(err, true, clock);
        now += seconds(1);
        line.Update(50.0, 200'000'000);
        now += milliseconds(10);
        line.Update(60.0, 200'000'000); // too soon: not drawn
        now += milliseconds(990);
        line.Update(100.0, 200'000'000);
    }
    EXPECT_EQ(err.str(), "\r50.00%  100.0 MB/s  0:01 left\r100.00%  100.0 MB/s  0:00 left\n");

    // The wait for an answer does not count: 100 MB in 1 s of work, not in 11 s.
    std::ostringstream held;
    {
        now = steady_clock::time_point{};
        ProgressLine line(held, true, clock);
        line.Hold();
        now += seconds(10);
        line.Resume();
        now += seconds(1);
        line.Update(50.0, 200'000'000);
    }
    EXPECT_EQ(held.str(), "\r50.00%  100.0 MB/s  0:01 left\n");

    std::ostringstream quiet;
    {
        ProgressLine line(quiet, false, clock);
        line.Update(100.0, 10);
        line.Status("Calculate checksum");
    }
    EXPECT_EQ(quiet.str(), "");
}

TEST_F(CliTest, ProgressGoesToATerminalUnlessQuiet) {
    Source("p.bin", 3000);
    terminal.errorIsTerminal = true;
    ASSERT_EQ(Run({"split", P("p.bin"), "--size", "1000"}), kExitSuccess);
    EXPECT_NE(err.str().find("\r100.00%"), std::string::npos) << err.str();
    EXPECT_EQ(err.str().back(), '\n');
    EXPECT_EQ(out.str().find('\r'), std::string::npos) << "standard output stays clean";
    ASSERT_EQ(Run({"split", P("p.bin"), "--size", "1000", "--quiet", "--force"}), kExitSuccess);
    EXPECT_EQ(err.str(), "");
}

} // namespace
} // namespace partsmith::cli
