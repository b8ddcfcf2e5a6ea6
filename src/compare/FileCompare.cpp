#include "compare/FileCompare.h"

#include "checksum/CRC32.h"
#include "io/File.h"
#include "split/EngineCommon.h"
#include "text/LangStr.h"
#include "text/UnicodeAdds.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace partsmith {

namespace {

using Clock = std::chrono::steady_clock;

// Fills buffer as far as the file allows; fewer bytes only at its end.
std::size_t ReadFull(InputFile& file, std::span<std::byte> buffer) {
    std::size_t filled = 0;
    while (filled < buffer.size()) {
        const std::size_t got = file.Read(buffer.subspan(filled));
        if (got == 0) {
            break;
        }
        filled += got;
    }
    return filled;
}

// The first position from which the contents differ over the first `length` bytes of file 1,
// or nullopt when they agree. A file 2 that ends earlier differs where it ends.
std::optional<std::uint64_t> FirstDifference(InputFile& file1, InputFile& file2,
                                             std::uint64_t length, std::size_t blockSize,
                                             CompareHost& host) {
    const std::size_t block = std::max<std::size_t>(blockSize, 1);
    const auto buffer1 = std::make_unique_for_overwrite<std::byte[]>(block);
    const auto buffer2 = std::make_unique_for_overwrite<std::byte[]>(block);
    // Half the promised interval, so a slow block cannot push the gap past it.
    const auto pumpEvery = kComparePumpInterval / 2;
    auto lastPump = Clock::now();
    std::uint64_t position = 0;
    while (position < length) {
        const auto want =
            static_cast<std::size_t>(std::min<std::uint64_t>(block, length - position));
        const std::size_t got1 = ReadFull(file1, {buffer1.get(), want});
        const std::size_t got2 = ReadFull(file2, {buffer2.get(), want});
        const std::size_t common = std::min(got1, got2);
        if (std::memcmp(buffer1.get(), buffer2.get(), common) != 0) {
            const auto [at, unused] =
                std::mismatch(buffer1.get(), buffer1.get() + common, buffer2.get());
            return position + static_cast<std::uint64_t>(at - buffer1.get());
        }
        if (got1 != got2) {
            return position + common;
        }
        if (got1 < want) {
            // File 1 is shorter than it was when its size was read; both end here alike.
            return std::nullopt;
        }
        position += want;
        const auto now = Clock::now();
        if (now - lastPump >= pumpEvery) {
            host.PumpEvents();
            lastPump = Clock::now();
        }
    }
    return std::nullopt;
}

class CompareRun {
public:
    CompareRun(const CompareParams& params, CompareHost& host)
        : p_(params), host_(host), files_(params.Files ? *params.Files : RealFileSystem()) {}

    void Execute();
    CompareOutcome outcome;

private:
    void Verdict(CompareVerdict verdict, const std::string& line, bool success,
                 const std::string& boxText, const std::string& caption) {
        outcome.Verdict = verdict;
        outcome.Message = line;
        host_.AddLog(line);
        host_.ShowBox(success, boxText, caption);
    }
    void Fail(const std::string& text) {
        Verdict(CompareVerdict::Failed, text, false, text, Message(Msg::Error));
    }
    void ByChecksum();
    void ByContent(InputFile& file1, InputFile& file2);

    const CompareParams& p_;
    CompareHost& host_;
    FileSystem& files_;
};

void CompareRun::ByChecksum() {
    outcome.Crc1 = Crc32ToText(Crc32OfFile(files_, p_.File1));
    outcome.Crc2 = Crc32ToText(Crc32OfFile(files_, p_.File2));
    if (outcome.Crc1 == outcome.Crc2) {
        Verdict(CompareVerdict::Equal, Message(Msg::CmpFileEqual), true,
                Message(Msg::CmpFileChecksumEqual, {outcome.Crc1, outcome.Crc2}),
                Message(Msg::Success));
    } else {
        const std::string text = Message(Msg::CmpFileNotEqual, {outcome.Crc1, outcome.Crc2});
        Verdict(CompareVerdict::Different, text, false, text, Message(Msg::Error));
    }
}

void CompareRun::ByContent(InputFile& file1, InputFile& file2) {
    outcome.FirstDifference = FirstDifference(file1, file2, outcome.Size1, p_.BlockSize, host_);
    if (outcome.FirstDifference) {
        const std::string text =
            Message(Msg::CmpHashNotEqual, {DifferencePositionText(*outcome.FirstDifference)});
        Verdict(CompareVerdict::Different, text, false, text, "Error");
    } else {
        const std::string text = Message(Msg::CmpFileEqual);
        Verdict(CompareVerdict::Equal, text, true, text, Message(Msg::Success));
    }
}

void CompareRun::Execute() {
    host_.AddLog(Message(Msg::CmpPathInfo, {std::int64_t{1}, Utf8FromPath(p_.File1)}));
    host_.AddLog(Message(Msg::CmpPathInfo, {std::int64_t{2}, Utf8FromPath(p_.File2)}));
    std::unique_ptr<InputFile> file1;
    std::unique_ptr<InputFile> file2;
    try {
        file1 = files_.OpenRead(p_.File1);
        file2 = files_.OpenRead(p_.File2);
        outcome.Size1 = file1->Size();
        outcome.Size2 = file2->Size();
    } catch (const IoError& error) {
        Fail(IoFailureText(error));
        return;
    }
    host_.AddLog(
        Message(Msg::CmpSizeInfo, {std::int64_t{1}, static_cast<std::int64_t>(outcome.Size1)}));
    host_.AddLog(
        Message(Msg::CmpSizeInfo, {std::int64_t{2}, static_cast<std::int64_t>(outcome.Size2)}));

    if (outcome.Size1 == 0 || outcome.Size2 == 0) {
        const std::string text = Message(Msg::CmpFileNull);
        Verdict(CompareVerdict::EmptyFile, text, false, text, Message(Msg::Error));
        return;
    }
    if (p_.CompareSize && outcome.Size1 != outcome.Size2) {
        const std::string text =
            Message(Msg::CmpSizeNotEqual, {static_cast<std::int64_t>(outcome.Size1),
                                           static_cast<std::int64_t>(outcome.Size2)});
        Verdict(CompareVerdict::SizeDiffers, text, false, text, Message(Msg::Error));
        return;
    }
    try {
        if (p_.Method == CompareMethod::ByChecksum) {
            ByChecksum();
        } else {
            ByContent(*file1, *file2);
        }
    } catch (const IoError& error) {
        Fail(IoFailureText(error));
    }
}

} // namespace

std::string DifferencePositionText(std::uint64_t position) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[position & 0x0F]);
        position >>= 4;
    } while (position != 0);
    if (text.size() < 8) {
        text.insert(0, 8 - text.size(), '0');
    }
    return text;
}

CompareOutcome CompareFiles(const CompareParams& params, CompareHost& host) {
    FileSystem& files = params.Files ? *params.Files : RealFileSystem();
    if (!files.IsFile(params.File1) || !files.IsFile(params.File2)) {
        const std::string text = Message(Msg::CmpFileNotFound);
        host.ShowBox(false, text, Message(Msg::Error));
        CompareOutcome outcome;
        outcome.Verdict = CompareVerdict::NotFound;
        outcome.Message = text;
        return outcome;
    }
    host.Started();
    CompareRun run(params, host);
    try {
        run.Execute();
    } catch (...) {
        // An unexpected failure still closes the files and restores the page before it
        // reaches the window's general handler.
        host.Finished(Message(Msg::CmpEnds));
        throw;
    }
    CompareOutcome outcome = std::move(run.outcome);
    host.Finished(Message(Msg::CmpEnds));
    return outcome;
}

} // namespace partsmith
