#include "Commands.h"

#include "ArgParser.h"
#include "CliTexts.h"
#include "ExitCode.h"
#include "Host.h"
#include "Password.h"
#include "Terminal.h"
#include "checksum/CRC32.h"
#include "checksum/MD5.h"
#include "compare/FileCompare.h"
#include "crypto/EncryptMod.h"
#include "io/File.h"
#include "join/FileJoin.h"
#include "join/PartScan.h"
#include "settings/Settings.h"
#include "split/EngineCommon.h"
#include "split/FileSplit.h"
#include "split/PartSet.h"
#include "text/Format.h"
#include "text/Identity.h"
#include "text/LangStr.h"
#include "text/TextCase.h"
#include "text/UnicodeAdds.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <vector>

namespace partsmith::cli {

namespace {

constexpr std::uint64_t kDefaultBufferKiB = 8192;
// The window's first size: 100 "MegaBytes".
constexpr const char* kDefaultPartSize = "100M";
// The window's preset hash: "MD5".
constexpr const char* kDefaultHash = "MD5";

Terminal& TerminalOf(const CommandEnv& env) {
    return env.terminal != nullptr ? *env.terminal : SystemTerminal();
}

FileSystem& FilesOf(const CommandEnv& env) {
    return env.files != nullptr ? *env.files : RealFileSystem();
}

void PrintHelp(std::ostream& out, const char* help) {
    out << help << texts::kExitCodesHelp;
}

std::string CatalogueHelp() {
    std::string text = "\nCiphers (--encrypt, name or code):\n";
    for (const auto& entry : CipherList()) {
        text += "  " + std::string(entry.listName) + " (" + std::to_string(entry.code) + ")\n";
    }
    text += "\nHashes (--hash, name or code):\n";
    for (const auto& entry : HashList()) {
        text += "  " + std::string(entry.listName) + " (" + std::to_string(entry.code) + ")\n";
    }
    return text;
}

// A list name, a code, or for a name with a note in brackets either part alone ("Rijndael" or
// "AES" for "Rijndael (AES)"), so that the name needs no quoting on a command line.
std::optional<std::uint8_t> CipherCodeForArgument(std::string_view text) {
    if (const auto code = CipherCodeForName(text)) {
        return code;
    }
    for (const auto& entry : CipherList()) {
        const std::string_view name = entry.listName;
        const auto open = name.find(" (");
        if (open == std::string_view::npos || name.back() != ')') {
            continue;
        }
        const std::string_view before = name.substr(0, open);
        const std::string_view inside = name.substr(open + 2, name.size() - open - 3);
        if (EqualsIgnoringCase(before, text) || EqualsIgnoringCase(inside, text)) {
            return entry.code;
        }
    }
    return std::nullopt;
}

// The one way every command ends on a CommandFailure: usage errors point at the help.
int Report(const CommandFailure& failure, const char* command, std::ostream& err) {
    if (failure.Code() == kExitUsage) {
        err << texts::kProgramName << ": " << failure.what() << "\n"
            << "Try '" << texts::kProgramName << ' ' << command << " --help'.\n";
    } else {
        err << failure.what() << '\n';
    }
    return failure.Code();
}

std::string SingleOperand(const ParsedArgs& parsed, const char* what) {
    if (parsed.Operands().size() != 1) {
        throw UsageError(parsed.Operands().empty()
                             ? std::string("missing ") + what
                             : std::string("only one ") + what + " may be given");
    }
    return parsed.Operands().front();
}

std::uint64_t BufferBytes(const ParsedArgs& parsed) {
    const auto text = parsed.Value("--buffer-kib");
    if (!text) {
        return BufferBytesFromKiB(static_cast<std::int64_t>(kDefaultBufferKiB));
    }
    const auto kib = ParseWholeNumber(*text);
    if (!kib) {
        throw UsageError("--buffer-kib needs a whole number of KiB, not '" + *text + "'");
    }
    return BufferBytesFromKiB(*kib);
}

void RequireFile(const std::filesystem::path& path, const std::string& text) {
    if (!FileIsPresent(path)) {
        throw CommandFailure(kExitFailure, Message(Msg::FileNotFound, {text}));
    }
}

std::string SecondsText(std::chrono::steady_clock::duration elapsed) {
    return FormatHundredths(std::chrono::duration<double>(elapsed).count());
}

// Sum of the sizes of the parts that exist, less the header: the byte count behind the join's
// percentage, for the throughput shown with it.
std::uint64_t PartBytes(FileSystem& files, const std::string& base, const PartSetRange& range) {
    std::uint64_t total = 0;
    try {
        for (std::int64_t n = range.First; n <= range.Last; ++n) {
            const auto path = PathFromUtf8(PartFileName(base, n, range.Width, range.Encrypted));
            if (files.IsFile(path)) {
                total += files.FileSize(path);
            }
        }
    } catch (const IoError&) {
        // Only the throughput figure needs the sum; the join itself reports what it cannot read.
    }
    return range.Encrypted && total >= kHeaderSize ? total - kHeaderSize : total;
}

} // namespace

Command::Command(CommandEnv env) : terminal_(TerminalOf(env)), files_(FilesOf(env)) {}

std::string VersionLine() {
    return std::string(kProductTitle) + ' ' + kVersionText;
}

std::optional<std::uint64_t> PartSizeFromText(std::string_view text) {
    std::optional<SizeUnit> unit = SizeUnit::Bytes;
    if (!text.empty()) {
        switch (AsciiLower(text.back())) {
        case 'b':
            unit = SizeUnit::Bytes;
            break;
        case 'k':
            unit = SizeUnit::KiloBytes;
            break;
        case 'm':
            unit = SizeUnit::MegaBytes;
            break;
        case 'g':
            unit = SizeUnit::GigaBytes;
            break;
        default:
            unit = std::nullopt;
            break;
        }
        if (unit) {
            text.remove_suffix(1);
        } else {
            unit = SizeUnit::Bytes; // a bare number
        }
    }
    const auto value = ParseWholeNumber(text);
    if (!value) {
        return std::nullopt;
    }
    return PartSizeFromUnits(*value, unit);
}

std::string ChecksumLine(const std::string& checksum, const std::string& fileName) {
    std::string escaped;
    bool needsEscape = false;
    for (const char c : fileName) {
        if (c == '\\') {
            escaped += "\\\\";
            needsEscape = true;
        } else if (c == '\n') {
            escaped += "\\n";
            needsEscape = true;
        } else if (c == '\r') {
            escaped += "\\r";
            needsEscape = true;
        } else {
            escaped += c;
        }
    }
    return (needsEscape ? "\\" : "") + checksum + "  " + escaped;
}

// ---------------------------------------------------------------------------------------------

int SplitCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static constexpr std::array<OptionSpec, 13> kOptions{{
        {"--help", false},
        {"--size", true},
        {"--parts", true},
        {"--output-dir", true},
        {"--name", true},
        {"--encrypt", true},
        {"--hash", true},
        {"--password-file", true},
        {"--delete-source", false},
        {"--buffer-kib", true},
        {"--force", false},
        {"--quiet", false},
        {"--no-kernel-copy", false},
    }};
    try {
        const ParsedArgs parsed = ParseArgs(args, kOptions);
        if (parsed.Has("--help")) {
            out << texts::kSplitHelp << CatalogueHelp() << texts::kExitCodesHelp;
            return kExitSuccess;
        }
        const std::string sourceText = SingleOperand(parsed, "FILE to split");
        if (parsed.Has("--size") && parsed.Has("--parts")) {
            throw UsageError("--size and --parts exclude each other");
        }
        if (parsed.Has("--hash") && !parsed.Has("--encrypt")) {
            throw UsageError("--hash belongs to --encrypt");
        }
        if (parsed.Has("--password-file") && !parsed.Has("--encrypt")) {
            throw UsageError("--password-file belongs to --encrypt");
        }
        const bool quiet = parsed.Has("--quiet");
        const bool encrypted = parsed.Has("--encrypt");
        std::uint8_t cipherCode = 0;
        std::uint8_t hashCode = 0;
        if (encrypted) {
            const auto cipher = CipherCodeForArgument(*parsed.Value("--encrypt"));
            if (!cipher) {
                throw UsageError("unknown cipher '" + *parsed.Value("--encrypt") +
                                 "' (see --help for the list)");
            }
            const std::string hashName = parsed.Value("--hash").value_or(kDefaultHash);
            const auto hash = HashCodeForName(hashName);
            if (!hash) {
                throw UsageError("unknown hash '" + hashName + "' (see --help for the list)");
            }
            cipherCode = *cipher;
            hashCode = *hash;
        }
        const std::uint64_t bufferSize = BufferBytes(parsed);

        const std::filesystem::path source = PathFromUtf8(sourceText);
        RequireFile(source, sourceText);
        if (!quiet) {
            out << Message(Msg::PerformFile, {sourceText}) << '\n';
        }

        std::uint64_t partSize = 0;
        if (const auto count = parsed.Value("--parts")) {
            const auto n = ParseWholeNumber(*count);
            if (!n) {
                throw UsageError("--parts needs a whole number, not '" + *count + "'");
            }
            std::uint64_t sourceSize = 0;
            try {
                sourceSize = files_.FileSize(source);
            } catch (const IoError& error) {
                throw CommandFailure(kExitFailure, IoFailureText(error));
            }
            partSize = PartSizeFromCount(sourceSize, *n);
        } else {
            const std::string sizeText = parsed.Value("--size").value_or(kDefaultPartSize);
            const auto size = PartSizeFromText(sizeText);
            if (!size) {
                throw UsageError("--size needs a number with an optional unit B, K, M or G, "
                                 "not '" +
                                 sizeText + "'");
            }
            partSize = *size;
        }
        if (!quiet) {
            out << Message(Msg::SizeInfo, {static_cast<std::int64_t>(partSize)}) << '\n';
        }
        if (partSize == 0) {
            throw UsageError(Message(Msg::ErrFSzero));
        }

        SplitParams params;
        params.SourceFile = source;
        params.OutputDir =
            PathFromUtf8(parsed.Value("--output-dir").value_or(PathFolderPart(sourceText)));
        params.BaseName = parsed.Value("--name").value_or(PathNamePart(sourceText));
        params.PartSize = partSize;
        params.Encrypted = encrypted;
        params.CipherCode = cipherCode;
        params.HashCode = hashCode;
        params.BufferSize = bufferSize;
        params.Files = &files_;
        params.KernelCopy = !parsed.Has("--no-kernel-copy");
        if (params.BaseName.empty()) {
            throw UsageError("--name must not be empty");
        }
        if (encrypted) {
            const auto passwordFile = parsed.Value("--password-file");
            const Secret password = ObtainPassword(
                terminal_, files_,
                passwordFile ? std::optional(PathFromUtf8(*passwordFile)) : std::nullopt,
                PasswordUse::Split);
            params.Password.assign(password.View());
        }

        std::uint64_t sourceBytes = 0;
        try {
            sourceBytes = files_.FileSize(source);
        } catch (const IoError&) {
            sourceBytes = 0; // only the throughput figure needs it; the run reports the error
        }
        CliSplitHost host(terminal_, err, HostOptions{parsed.Has("--force"), quiet}, sourceBytes);
        const auto started = std::chrono::steady_clock::now();
        const SplitOutcome outcome = RunFileSplit(std::move(params), host);
        const auto elapsed = std::chrono::steady_clock::now() - started;

        switch (outcome.Result) {
        case SplitResult::Completed:
            if (!quiet) {
                out << Message(Msg::SplitRes, {SecondsText(elapsed)}) << '\n';
            }
            if (parsed.Has("--delete-source")) {
                try {
                    files_.Remove(source);
                } catch (const IoError& error) {
                    err << IoFailureText(error) << '\n';
                    return kExitFailure;
                }
            }
            return kExitSuccess;
        case SplitResult::Stopped:
            err << Message(Msg::SplitAborted) << '\n';
            return kExitStopped;
        case SplitResult::Refused:
            return kExitFailure; // the host has shown the engine's error text
        case SplitResult::Failed:
            err << outcome.Message << '\n';
            return kExitFailure;
        }
        return kExitFailure;
    } catch (const CommandFailure& failure) {
        return Report(failure, "split", err);
    }
}

// ---------------------------------------------------------------------------------------------

int JoinCommand::run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static constexpr std::array<OptionSpec, 9> kOptions{{
        {"--help", false},
        {"--output", true},
        {"--range", true},
        {"--password-file", true},
        {"--delete-parts", false},
        {"--buffer-kib", true},
        {"--force", false},
        {"--quiet", false},
        {"--no-kernel-copy", false},
    }};
    try {
        const ParsedArgs parsed = ParseArgs(args, kOptions);
        if (parsed.Has("--help")) {
            PrintHelp(out, texts::kJoinHelp);
            return kExitSuccess;
        }
        const std::string picked = SingleOperand(parsed, "PART to join");
        const bool quiet = parsed.Has("--quiet");
        std::optional<std::pair<std::int64_t, std::int64_t>> range;
        if (const auto text = parsed.Value("--range")) {
            // The first "-" after the first character separates, so a negative first number
            // still reads ("-1-3" is refused below like any number below 1).
            const auto dash = text->find('-', 1);
            const auto first =
                dash == std::string::npos ? std::nullopt : ParseWholeNumber(text->substr(0, dash));
            const auto last =
                dash == std::string::npos ? std::nullopt : ParseWholeNumber(text->substr(dash + 1));
            if (!first || !last) {
                throw UsageError("--range needs FIRST-LAST, two whole numbers, not '" + *text +
                                 "'");
            }
            range.emplace(*first, *last);
        }
        const std::uint64_t bufferSize = BufferBytes(parsed);

        const std::filesystem::path pickedPath = PathFromUtf8(picked);
        RequireFile(pickedPath, picked);
        if (!quiet) {
            out << Message(Msg::PerformFile, {picked}) << '\n';
        }

        PartSetRange set;
        if (range) {
            set = RangePartSet(picked, range->first, range->second);
        } else {
            ScanReport report;
            if (!quiet) {
                report.Log = [&out](const std::string& line) { out << line << '\n'; };
            }
            try {
                set = ScanPartSet(picked, report, &files_);
            } catch (const PartNumberError& error) {
                throw UsageError(error.what());
            }
        }
        JoinParams params;
        params.SourceName = pickedPath;
        params.OutputName =
            PathFromUtf8(parsed.Value("--output").value_or(DefaultJoinOutput(picked)));
        params.FirstPart = set.First;
        params.LastPart = set.Last;
        params.NumberWidth = set.Width;
        params.Encrypted = set.Encrypted;
        params.BufferSize = bufferSize;
        params.Files = &files_;
        params.KernelCopy = !parsed.Has("--no-kernel-copy");
        if (set.Encrypted) {
            const auto passwordFile = parsed.Value("--password-file");
            const Secret password = ObtainPassword(
                terminal_, files_,
                passwordFile ? std::optional(PathFromUtf8(*passwordFile)) : std::nullopt,
                PasswordUse::Join);
            params.Password.assign(password.View());
        }

        const std::string base = PartSetBase(picked);
        CliJoinHost host(terminal_, err, HostOptions{parsed.Has("--force"), quiet},
                         PartBytes(files_, base, set));
        const auto started = std::chrono::steady_clock::now();
        const JoinOutcome outcome = RunFileJoin(std::move(params), host);
        const auto elapsed = std::chrono::steady_clock::now() - started;

        switch (outcome.Result) {
        case JoinResult::Completed:
            if (!quiet) {
                out << Message(Msg::JoinRes, {SecondsText(elapsed)}) << '\n';
            }
            if (outcome.Crc == CrcVerdict::Mismatch) {
                err << Message(Msg::FileJoinChkErr, {outcome.StoredCrc, outcome.JoinedCrc}) << '\n';
                return kExitChecksumMismatch;
            }
            if (parsed.Has("--delete-parts")) {
                int code = kExitSuccess;
                for (std::int64_t n = set.First; n <= set.Last; ++n) {
                    const auto part = PathFromUtf8(PartFileName(base, n, set.Width, set.Encrypted));
                    try {
                        if (files_.IsFile(part) && !files_.SameFile(part, outcome.OutputPath)) {
                            files_.Remove(part);
                        }
                    } catch (const IoError& error) {
                        err << IoFailureText(error) << '\n';
                        code = kExitFailure;
                    }
                }
                return code;
            }
            return kExitSuccess;
        case JoinResult::Stopped:
            err << Message(Msg::JoinAborted) << '\n';
            return kExitStopped;
        case JoinResult::Cancelled:
            return kExitStopped; // the host has said what was not replaced
        case JoinResult::NoPartFound:
        case JoinResult::Refused:
        case JoinResult::Failed:
            err << outcome.Message << '\n';
            return kExitFailure;
        }
        return kExitFailure;
    } catch (const CommandFailure& failure) {
        return Report(failure, "join", err);
    }
}

// ---------------------------------------------------------------------------------------------

int ChecksumCommand::run(const std::vector<std::string>& args, std::ostream& out,
                         std::ostream& err) {
    static constexpr std::array<OptionSpec, 3> kOptions{{
        {"--help", false},
        {"--crc32", false},
        {"--md5", false},
    }};
    try {
        const ParsedArgs parsed = ParseArgs(args, kOptions);
        if (parsed.Has("--help")) {
            PrintHelp(out, texts::kChecksumHelp);
            return kExitSuccess;
        }
        if (parsed.Has("--crc32") && parsed.Has("--md5")) {
            throw UsageError("--crc32 and --md5 exclude each other");
        }
        if (parsed.Operands().empty()) {
            throw UsageError("missing FILE");
        }
        const bool md5 = parsed.Has("--md5");
        // The checksum worker's read buffer.
        std::vector<std::byte> buffer(0x8000);
        int code = kExitSuccess;
        for (const std::string& name : parsed.Operands()) {
            const std::filesystem::path path = PathFromUtf8(name);
            if (!FileIsPresent(path)) {
                err << Message(Msg::FileNotFound, {name}) << '\n';
                code = kExitFailure;
                continue;
            }
            if (md5) {
                Md5Digest digest{};
                const DigestStatus status = Md5OfFile(files_, path, digest, buffer);
                if (!status) {
                    err << Message(Msg::MD5Err, {static_cast<std::int64_t>(status.errorCode)})
                        << ": " << name << ": " << status.reason << '\n';
                    code = kExitFailure;
                    continue;
                }
                out << ChecksumLine(DigestToText(digest), name) << '\n';
            } else {
                try {
                    out << ChecksumLine(Crc32ToText(Crc32OfFile(files_, path)), name) << '\n';
                } catch (const IoError& error) {
                    err << IoFailureText(error) << '\n';
                    code = kExitFailure;
                }
            }
        }
        return code;
    } catch (const CommandFailure& failure) {
        return Report(failure, "checksum", err);
    }
}

// ---------------------------------------------------------------------------------------------

int CompareCommand::run(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
    static constexpr std::array<OptionSpec, 3> kOptions{{
        {"--help", false},
        {"--by-content", false},
        {"--no-size-check", false},
    }};
    try {
        const ParsedArgs parsed = ParseArgs(args, kOptions);
        if (parsed.Has("--help")) {
            PrintHelp(out, texts::kCompareHelp);
            return kExitSuccess;
        }
        if (parsed.Operands().size() != 2) {
            throw UsageError("compare needs exactly two files");
        }
        CompareParams params;
        params.File1 = PathFromUtf8(parsed.Operands()[0]);
        params.File2 = PathFromUtf8(parsed.Operands()[1]);
        params.Method =
            parsed.Has("--by-content") ? CompareMethod::ByContent : CompareMethod::ByChecksum;
        params.CompareSize = !parsed.Has("--no-size-check");
        params.Files = &files_;
        CliCompareHost host(out, err);
        const CompareOutcome outcome = CompareFiles(params, host);
        switch (outcome.Verdict) {
        case CompareVerdict::Equal:
            return kExitSuccess;
        case CompareVerdict::Different:
        case CompareVerdict::SizeDiffers:
            return kExitFilesDiffer;
        case CompareVerdict::NotFound:
        case CompareVerdict::EmptyFile:
        case CompareVerdict::Failed:
            return kExitFailure;
        }
        return kExitFailure;
    } catch (const CommandFailure& failure) {
        return Report(failure, "compare", err);
    }
}

// ---------------------------------------------------------------------------------------------

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           CommandEnv env) {
    if (args.empty()) {
        err << texts::kMainHelp << texts::kExitCodesHelp;
        return kExitUsage;
    }
    const std::string& name = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (name == "--help" || name == "-h" || name == "help") {
        PrintHelp(out, texts::kMainHelp);
        return kExitSuccess;
    }
    if (name == "--version") {
        out << VersionLine() << '\n';
        return kExitSuccess;
    }
    std::unique_ptr<Command> command;
    if (name == "split") {
        command = std::make_unique<SplitCommand>(env);
    } else if (name == "join") {
        command = std::make_unique<JoinCommand>(env);
    } else if (name == "checksum") {
        command = std::make_unique<ChecksumCommand>(env);
    } else if (name == "compare") {
        command = std::make_unique<CompareCommand>(env);
    } else {
        err << texts::kProgramName << ": unknown command '" << name << "'\n"
            << "Try '" << texts::kProgramName << " --help'.\n";
        return kExitUsage;
    }
    try {
        return command->run(rest, out, err);
    } catch (const std::exception& error) {
        // Unexpected: the window's general handler would show it; here it ends the run.
        err << texts::kProgramName << ": " << error.what() << '\n';
        return kExitFailure;
    }
}

} // namespace partsmith::cli
