#include "split/FileSplit.h"

#include "checksum/CRC32.h"
#include "crypto/EncryptMod.h"
#include "crypto/SecureBytes.h"
#include "io/File.h"
#include "split/PartSet.h"
#include "text/CodePage.h"
#include "text/Format.h"
#include "text/LangStr.h"
#include "text/UnicodeAdds.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

namespace partsmith {

namespace {

// One split. Its members are the worker's fields; everything it holds (source, part, cipher,
// buffer) is released when it is destroyed, which RunFileSplit does before NotifyDone.
class SplitRun {
public:
    SplitRun(const SplitParams& params, SplitHost& host)
        : p_(params), host_(host), files_(params.Files ? *params.Files : RealFileSystem()),
          bufferSize_(EffectiveBufferSize(params.BufferSize)) {}

    SplitOutcome Execute();

    // What the run has done so far, for the outcome of a run that a failure ended.
    [[nodiscard]] SplitOutcome Progress(SplitResult result, std::string message) const {
        SplitOutcome outcome;
        outcome.Result = result;
        outcome.Message = std::move(message);
        outcome.PartsWritten = partsWritten_;
        outcome.PartCount = partCount_;
        outcome.DoneSize = doneSize_;
        return outcome;
    }

private:
    SplitOutcome Refuse(std::string text) {
        host_.ShowError(text);
        return Progress(SplitResult::Refused, std::move(text));
    }

    void KeyCipher();
    [[nodiscard]] bool AskWhenFileExists() const {
        return p_.AskWhenFileExists == nullptr || p_.AskWhenFileExists->load();
    }
    // The path of part k after the overwrite question; nullopt when the run ends as stopped.
    std::optional<std::filesystem::path> ResolvePartPath(std::uint64_t k);
    void WriteHeader(OutputFile& part);
    void CopyRun(OutputFile& part, std::span<std::byte> run);
    // ShowProgress and ReadFlags after a run, then the pause loop. True when stopped.
    bool ReportAndPoll();

    const SplitParams& p_;
    SplitHost& host_;
    FileSystem& files_;
    const std::uint64_t bufferSize_;

    std::unique_ptr<InputFile> source_;
    std::unique_ptr<PartCipher> cipher_;
    RunBuffer buffer_;
    std::uint64_t totalSize_ = 0;
    std::uint64_t doneSize_ = 0;
    std::uint64_t partCount_ = 0;
    std::uint64_t partsWritten_ = 0;
    std::string partName_;
    bool paused_ = false;
    bool stopped_ = false;
};

void SplitRun::KeyCipher() {
    cipher_ = KeyedCipher(p_.CipherCode, p_.HashCode, p_.Password);
}

std::optional<std::filesystem::path> SplitRun::ResolvePartPath(std::uint64_t k) {
    partName_ = SplitPartName(p_.BaseName, k, p_.Encrypted);
    std::filesystem::path path = p_.OutputDir / PathFromUtf8(partName_);
    if (!files_.IsFile(path) || !AskWhenFileExists()) {
        return path;
    }
    switch (host_.AskOverwrite(Message(Msg::FileExists, {partName_}), path)) {
    case OverwriteAnswer::Yes:
        return path;
    case OverwriteAnswer::No:
        if (auto chosen = host_.ChooseSavePath()) {
            partName_ = Utf8FromPath(*chosen);
            return chosen;
        }
        break;
    case OverwriteAnswer::Cancel:
        break;
    }
    stopped_ = true;
    return std::nullopt;
}

void SplitRun::WriteHeader(OutputFile& part) {
    PartHeader header;
    header.CipherCode = p_.CipherCode;
    header.HashCode = p_.HashCode;
    const HeaderBytes codes = EncodeHeader(header);
    // The codes go out before the checksum pass, so a long pass shows as a first part of four
    // bytes beside the "Calculate checksum" status.
    part.Write(std::span(codes).first(4));
    host_.ShowCrcStatus(Message(Msg::ChecksumCalc, {Utf8FromPath(p_.SourceFile)}));
    header.CrcText = Crc32ToText(Crc32OfFile(files_, p_.SourceFile));
    const HeaderBytes full = EncodeHeader(header);
    part.Write(std::span(full).subspan(4));
}

void SplitRun::CopyRun(OutputFile& part, std::span<std::byte> run) {
    if (p_.Encrypted) {
        source_->ReadExact(run);
        auto* bytes = reinterpret_cast<std::uint8_t*>(run.data());
        cipher_->EncryptRun(bytes, bytes, run.size());
        part.Write(run);
    } else if (p_.KernelCopy) {
        part.CopyFrom(*source_, run.size(), run);
    } else {
        source_->ReadExact(run);
        part.Write(run);
    }
}

bool SplitRun::ReportAndPoll() {
    const double percent = Percentage(doneSize_, totalSize_);
    host_.ShowProgress(Message(Msg::SplitStatus, {partName_, FormatHundredths(percent)}) + "%.",
                       percent);
    host_.ReadFlags(paused_, stopped_);
    while (paused_ && !stopped_) {
        host_.ReadFlags(paused_, stopped_);
    }
    return stopped_;
}

SplitOutcome SplitRun::Execute() {
    paused_ = false;
    stopped_ = false;
    source_ = files_.OpenRead(p_.SourceFile);
    const std::uint64_t sourceSize = source_->Size();
    totalSize_ = sourceSize;
    doneSize_ = 0;

    if (p_.Encrypted) {
        KeyCipher();
        if (cipher_ == nullptr) {
            return Refuse(Message(Msg::BadCipherChoice,
                                  {std::int64_t{p_.CipherCode}, std::int64_t{p_.HashCode}}));
        }
        totalSize_ = StreamLength(sourceSize, true);
    }

    // A part size the set cannot have is refused before anything is written.
    if (p_.PartSize == 0) {
        return Refuse(Message(Msg::ErrFSzero));
    }
    if (!PartSizeFits(p_.PartSize, p_.Encrypted)) {
        return Refuse(Message(Msg::EncryptedPartTooSmall));
    }
    partCount_ = PartCount(totalSize_, p_.PartSize);

    // A part path that names the source would destroy it before it is read to the end.
    for (std::uint64_t k = 1; k <= partCount_; ++k) {
        const auto path = SplitPartPath(p_.OutputDir, p_.BaseName, k, p_.Encrypted);
        if (files_.SameFile(path, p_.SourceFile)) {
            return Refuse(Message(Msg::SplitSourceIsPart, {Utf8FromPath(path)}));
        }
    }

    for (std::uint64_t k = 1; k <= partCount_; ++k) {
        const std::optional<std::filesystem::path> path = ResolvePartPath(k);
        if (!path) {
            return Progress(SplitResult::Stopped, {});
        }
        // A path chosen after No is checked as the computed ones were; parts before it may
        // exist already, so this ends the run as failed rather than refused.
        if (files_.SameFile(*path, p_.SourceFile)) {
            return Progress(SplitResult::Failed,
                            Message(Msg::SplitSourceIsPart, {Utf8FromPath(*path)}));
        }
        const std::unique_ptr<OutputFile> part = files_.Create(*path);
        const std::uint64_t partBytes = PartBytes(totalSize_, p_.PartSize, k);
        std::uint64_t remaining = partBytes;
        const std::uint64_t runLength = RunLength(bufferSize_, partBytes);
        try {
            buffer_.Reserve(runLength);
        } catch (const std::bad_alloc&) {
            return Progress(SplitResult::Failed,
                            Message(Msg::NoBufferMemory, {static_cast<std::int64_t>(runLength)}));
        }
        if (k == 1 && p_.Encrypted) {
            WriteHeader(*part);
            remaining -= kHeaderSize;
        }
        while (remaining > 0) {
            const std::uint64_t n = std::min(runLength, remaining);
            CopyRun(*part, buffer_.First(n));
            remaining -= n;
            doneSize_ += n;
            if (ReportAndPoll()) {
                part->Close();
                return Progress(SplitResult::Stopped, {});
            }
        }
        part->Close();
        ++partsWritten_;
    }

    if (totalSize_ == 0) {
        return Refuse(Message(Msg::FileNull));
    }
    return Progress(SplitResult::Completed, {});
}

} // namespace

SplitOutcome RunFileSplit(SplitParams params, SplitHost& host) noexcept {
    return GuardedRun<SplitRun>(params, host);
}

} // namespace partsmith
