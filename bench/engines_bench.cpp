// Drives the split, join and compare engines from the command line for bench/engines.sh:
//
//   partsmith-bench-engines split SOURCE OUTDIR PARTBYTES [--encrypt CIPHER HASH] [--buffer B]
//   [--rw] partsmith-bench-engines join FIRSTPART OUTPUT LASTPART [--encrypted] [--buffer B] [--rw]
//   partsmith-bench-engines compare FILE1 FILE2 [--block B]
//
// The hosts are silent and replace existing files; --rw copies plain sets through the buffer
// instead of kernel-side. Exit status 0 only for a completed run (and equal files).
#include "compare/FileCompare.h"
#include "join/FileJoin.h"
#include "split/FileSplit.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace partsmith;

constexpr const char* kPassword = "benchmark password";

struct QuietSplit final : SplitHost {
    void ShowProgress(const std::string&, double) override {}
    void ReadFlags(bool& paused, bool& stopped) override { paused = stopped = false; }
    void ShowCrcStatus(const std::string&) override {}
    OverwriteAnswer AskOverwrite(const std::string&, const std::filesystem::path&) override {
        return OverwriteAnswer::Yes;
    }
    std::optional<std::filesystem::path> ChooseSavePath() override { return std::nullopt; }
    void ShowError(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
    void NotifyDone(const SplitOutcome&) override {}
};

struct QuietJoin final : JoinHost {
    void ShowProgress(const std::string&, double) override {}
    void ReadFlags(bool& paused, bool& stopped) override { paused = stopped = false; }
    std::optional<std::filesystem::path> AskNextPart(const std::filesystem::path&) override {
        return std::nullopt;
    }
    void ShowCrcStatus(const std::string&) override {}
    void CompareCrc(const std::string&, const std::string&) override {}
    OverwriteAnswer AskOverwrite(const std::string&, const std::filesystem::path&) override {
        return OverwriteAnswer::Yes;
    }
    std::optional<std::filesystem::path> ChooseSavePath() override { return std::nullopt; }
    void NotifyDone(const JoinOutcome&) override {}
};

struct QuietCompare final : CompareHost {
    void AddLog(const std::string&) override {}
    void ShowBox(bool, const std::string& text, const std::string&) override {
        std::printf("%s\n", text.c_str());
    }
    void Finished(const std::string&) override {}
};

int Usage() {
    std::fprintf(stderr, "usage: see the head of bench/engines_bench.cpp\n");
    return 2;
}

std::uint64_t Number(const char* text) {
    return std::strtoull(text, nullptr, 10);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.size() < 4 && !(args.size() == 3 && args[0] == "compare")) {
        return Usage();
    }
    if (args[0] == "split") {
        SplitParams p;
        p.SourceFile = argv[2];
        p.OutputDir = argv[3];
        p.BaseName = std::filesystem::path(argv[2]).filename().string();
        p.PartSize = Number(argv[4]);
        for (std::size_t i = 4; i < args.size(); ++i) {
            if (args[i] == "--encrypt" && i + 2 < args.size()) {
                p.Encrypted = true;
                p.Password = kPassword;
                p.CipherCode = static_cast<std::uint8_t>(Number(argv[i + 2]));
                p.HashCode = static_cast<std::uint8_t>(Number(argv[i + 3]));
                i += 2;
            } else if (args[i] == "--buffer" && i + 1 < args.size()) {
                p.BufferSize = Number(argv[i + 2]);
                ++i;
            } else if (args[i] == "--rw") {
                p.KernelCopy = false;
            }
        }
        QuietSplit host;
        const SplitOutcome outcome = RunFileSplit(p, host);
        if (outcome.Result != SplitResult::Completed) {
            std::fprintf(stderr, "split did not complete: %s\n", outcome.Message.c_str());
            return 1;
        }
        return 0;
    }
    if (args[0] == "join") {
        JoinParams p;
        p.SourceName = argv[2];
        p.OutputName = argv[3];
        p.LastPart = static_cast<std::int64_t>(Number(argv[4]));
        for (std::size_t i = 4; i < args.size(); ++i) {
            if (args[i] == "--encrypted") {
                p.Encrypted = true;
                p.Password = kPassword;
            } else if (args[i] == "--buffer" && i + 1 < args.size()) {
                p.BufferSize = Number(argv[i + 2]);
                ++i;
            } else if (args[i] == "--rw") {
                p.KernelCopy = false;
            }
        }
        QuietJoin host;
        const JoinOutcome outcome = RunFileJoin(p, host);
        if (outcome.Result != JoinResult::Completed || outcome.Crc == CrcVerdict::Mismatch) {
            std::fprintf(stderr, "join did not complete: %s\n", outcome.Message.c_str());
            return 1;
        }
        return 0;
    }
    if (args[0] == "compare") {
        CompareParams p;
        p.File1 = argv[2];
        p.File2 = argv[3];
        p.Method = CompareMethod::ByContent;
        if (args.size() >= 5 && args[3] == "--block") {
            p.BlockSize = static_cast<std::size_t>(Number(argv[5]));
        }
        QuietCompare host;
        return CompareFiles(p, host).Verdict == CompareVerdict::Equal ? 0 : 1;
    }
    return Usage();
}
