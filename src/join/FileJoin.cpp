#include "join/FileJoin.h"

#include "checksum/CRC32.h"
#include "crypto/EncryptMod.h"
#include "crypto/SecureBytes.h"
#include "io/File.h"
#include "join/PartScan.h"
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

// One join. Everything it holds (output, part, cipher, buffer) is released when it is
// destroyed, which RunFileJoin does before NotifyDone.
class JoinRun {
public:
    JoinRun(const JoinParams& params, JoinHost& host)
        : p_(params), host_(host), files_(params.Files ? *params.Files : RealFileSystem()),
          bufferSize_(EffectiveBufferSize(params.BufferSize)),
          base_(PartSetBase(Utf8FromPath(params.SourceName))), outputPath_(params.OutputName) {}

    JoinOutcome Execute();

    [[nodiscard]] JoinOutcome Progress(JoinResult result, std::string message) const {
        JoinOutcome outcome;
        outcome.Result = result;
        outcome.Message = std::move(message);
        outcome.StoredCrc = storedCrc_;
        outcome.JoinedCrc = joinedCrc_;
        if (outputCreated_) {
            outcome.OutputPath = outputPath_;
        }
        outcome.PartsJoined = partsJoined_;
        outcome.DoneSize = doneSize_;
        return outcome;
    }

private:
    [[nodiscard]] std::filesystem::path PartPath(std::int64_t n) const {
        return PathFromUtf8(PartFileName(base_, n, p_.NumberWidth, p_.Encrypted));
    }
    [[nodiscard]] bool AskWhenFileExists() const {
        return p_.AskWhenFileExists == nullptr || p_.AskWhenFileExists->load();
    }
    // Whether writing to path would destroy an input: one of the parts, or the picked file.
    [[nodiscard]] bool IsAnInput(const std::filesystem::path& path);
    // Sizes of the parts from number m on; part m at the path the user gave, when given.
    void AddPartSizes(std::int64_t m, const std::filesystem::path* partM);
    void ReadHeader(InputFile& part);
    void CopyRun(InputFile& part, std::span<std::byte> run);
    bool ReportAndPoll();

    const JoinParams& p_;
    JoinHost& host_;
    FileSystem& files_;
    const std::uint64_t bufferSize_;
    const std::string base_;
    std::filesystem::path outputPath_;

    std::unique_ptr<OutputFile> output_;
    bool outputCreated_ = false;
    std::unique_ptr<PartCipher> cipher_;
    RunBuffer buffer_;
    std::uint64_t totalSize_ = 0;
    std::uint64_t doneSize_ = 0;
    std::uint64_t partsJoined_ = 0;
    std::string partName_;
    std::string storedCrc_;
    std::string joinedCrc_;
    bool paused_ = false;
    bool stopped_ = false;
};

bool JoinRun::IsAnInput(const std::filesystem::path& path) {
    if (!files_.IsFile(path)) {
        return false;
    }
    if (files_.SameFile(path, p_.SourceName)) {
        return true;
    }
    for (std::int64_t n = p_.FirstPart; n <= p_.LastPart; ++n) {
        if (files_.SameFile(path, PartPath(n))) {
            return true;
        }
    }
    return false;
}

void JoinRun::AddPartSizes(std::int64_t m, const std::filesystem::path* partM) {
    for (std::int64_t k = m; k <= p_.LastPart; ++k) {
        const std::filesystem::path path = (k == m && partM != nullptr) ? *partM : PartPath(k);
        if (files_.IsFile(path)) {
            totalSize_ += files_.FileSize(path);
        }
    }
}

void JoinRun::ReadHeader(InputFile& part) {
    HeaderBytes bytes{};
    std::optional<PartHeader> header;
    if (part.Size() >= kHeaderSize) {
        part.ReadExact(bytes);
        header = ParseHeader(bytes);
    }
    if (!header) {
        throw std::runtime_error(Message(Msg::NotPartSet, {partName_}));
    }
    storedCrc_ = header->CrcText;
    cipher_ = KeyedCipher(header->CipherCode, header->HashCode, p_.Password);
}

void JoinRun::CopyRun(InputFile& part, std::span<std::byte> run) {
    if (p_.Encrypted) {
        part.ReadExact(run);
        auto* bytes = reinterpret_cast<std::uint8_t*>(run.data());
        cipher_->DecryptRun(bytes, bytes, run.size());
        output_->Write(run);
    } else if (p_.KernelCopy) {
        output_->CopyFrom(part, run.size(), run);
    } else {
        part.ReadExact(run);
        output_->Write(run);
    }
}

bool JoinRun::ReportAndPoll() {
    const double percent = Percentage(doneSize_, totalSize_);
    host_.ShowProgress(Message(Msg::JoinStatus, {partName_, FormatHundredths(percent)}) + "%.",
                       percent);
    host_.ReadFlags(paused_, stopped_);
    while (paused_ && !stopped_) {
        host_.ReadFlags(paused_, stopped_);
    }
    return stopped_;
}

JoinOutcome JoinRun::Execute() {
    paused_ = false;
    stopped_ = false;

    // Refused before the question: answering Yes could not make it safe.
    if (IsAnInput(outputPath_)) {
        return Progress(JoinResult::Refused,
                        Message(Msg::JoinOutputIsPart, {Utf8FromPath(outputPath_)}));
    }
    if (files_.IsFile(outputPath_) && AskWhenFileExists()) {
        switch (host_.AskOverwrite(Message(Msg::FileExists, {Utf8FromPath(outputPath_)}),
                                   outputPath_)) {
        case OverwriteAnswer::Yes:
            break;
        case OverwriteAnswer::No:
            if (auto chosen = host_.ChooseSavePath()) {
                outputPath_ = std::move(*chosen);
                if (IsAnInput(outputPath_)) {
                    return Progress(JoinResult::Refused,
                                    Message(Msg::JoinOutputIsPart, {Utf8FromPath(outputPath_)}));
                }
                break;
            }
            stopped_ = true;
            return Progress(JoinResult::Cancelled, {});
        case OverwriteAnswer::Cancel:
            stopped_ = true;
            return Progress(JoinResult::Cancelled, {});
        }
    }

    if (p_.FirstPart > p_.LastPart) {
        return Progress(JoinResult::NoPartFound, Message(Msg::JoinNoPart));
    }
    AddPartSizes(p_.FirstPart, nullptr);

    for (std::int64_t n = p_.FirstPart; n <= p_.LastPart; ++n) {
        std::filesystem::path partPath = PartPath(n);
        while (!files_.IsFile(partPath)) {
            std::optional<std::filesystem::path> given = host_.AskNextPart(partPath);
            if (!given) {
                // Before any output exists nothing was joined; after, the output is incomplete
                // and must not pass for a finished join.
                if (!outputCreated_) {
                    return Progress(JoinResult::NoPartFound, Message(Msg::JoinNoPart));
                }
                return Progress(JoinResult::Stopped, {});
            }
            partPath = std::move(*given);
            AddPartSizes(n, &partPath);
        }
        partName_ = Utf8FromPath(partPath);
        // A part given in the next-part dialog may be the output itself.
        if (files_.SameFile(partPath, outputPath_)) {
            const std::string text = Message(Msg::JoinOutputIsPart, {Utf8FromPath(outputPath_)});
            return Progress(outputCreated_ ? JoinResult::Failed : JoinResult::Refused, text);
        }

        const std::unique_ptr<InputFile> part = files_.OpenRead(partPath);
        const std::uint64_t partBytes = part->Size();
        std::uint64_t remaining = partBytes;
        const std::uint64_t chunk = RunLength(bufferSize_, partBytes);
        try {
            buffer_.Reserve(chunk);
        } catch (const std::bad_alloc&) {
            return Progress(JoinResult::Failed,
                            Message(Msg::NoBufferMemory, {static_cast<std::int64_t>(chunk)}));
        }
        if (n == p_.FirstPart && p_.Encrypted) {
            ReadHeader(*part);
            remaining -= kHeaderSize;
            totalSize_ = totalSize_ >= kHeaderSize ? totalSize_ - kHeaderSize : 0;
        }
        // Created only once the first part is open (and its header read): a join that finds
        // nothing to join leaves no file behind.
        if (!output_) {
            output_ = files_.Create(outputPath_);
            outputCreated_ = true;
        }
        while (remaining > 0) {
            const std::uint64_t count = std::min(chunk, remaining);
            CopyRun(*part, buffer_.First(count));
            remaining -= count;
            doneSize_ += count;
            if (ReportAndPoll()) {
                output_->Close();
                return Progress(JoinResult::Stopped, {});
            }
        }
        ++partsJoined_;
    }

    output_->Close();
    if (!p_.Encrypted) {
        return Progress(JoinResult::Completed, {});
    }
    cipher_.reset();
    host_.ShowCrcStatus(Message(Msg::ChecksumCalc, {Utf8FromPath(outputPath_)}));
    joinedCrc_ = Crc32ToText(Crc32OfFile(files_, outputPath_));
    host_.CompareCrc(storedCrc_, joinedCrc_);
    JoinOutcome outcome = Progress(JoinResult::Completed, {});
    outcome.Crc = storedCrc_ == joinedCrc_ ? CrcVerdict::Match : CrcVerdict::Mismatch;
    return outcome;
}

} // namespace

JoinOutcome RunFileJoin(JoinParams params, JoinHost& host) noexcept {
    return GuardedRun<JoinRun>(params, host);
}

} // namespace partsmith
