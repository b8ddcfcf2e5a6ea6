#include "TaskWorkers.h"

#include "ChecksumPage.h"
#include "JoinPage.h"
#include "MainWindow.h"
#include "SplitPage.h"
#include "TaskKit.h"
#include "checksum/CRC32.h"
#include "checksum/MD5.h"
#include "io/File.h"

#include <thread>
#include <vector>

namespace partsmith {

namespace {

// Runs worker->Execute() on a thread of its own, which then releases the worker.
template <class Worker> void RunDetached(std::unique_ptr<Worker> worker) {
    Worker* raw = worker.get();
    std::thread thread([raw] {
        const std::unique_ptr<Worker> self(raw);
        self->Execute();
    });
    // From here the thread owns the worker.
    static_cast<void>(worker.release());
    thread.detach();
}

// A step on the window thread that needs the page; nothing when the window or the page has gone.
template <class Page, class Step>
bool OnPage(const WindowLink& link, QPointer<Page>& page, Step step) {
    bool done = false;
    link.Call([&] {
        if (page) {
            step(*page);
            done = true;
        }
    });
    return done;
}

} // namespace

// ---------------------------------------------------------------------------------------------

TFileSplit::TFileSplit(SplitPage& page, SplitParams params)
    : ticket_(WindowLink::For(MainOf(page)).TakeTicket()), link_(WindowLink::For(MainOf(page))),
      page_(&page), params_(std::move(params)),
      askWhenFileExists_(MainOf(page).AskWhenFileExists().load()) {
    params_.AskWhenFileExists = &askWhenFileExists_;
}

void TFileSplit::Start(SplitPage& page, SplitParams params) {
    RunDetached(std::unique_ptr<TFileSplit>(new TFileSplit(page, std::move(params))));
}

void TFileSplit::Execute() {
    static_cast<void>(RunFileSplit(std::move(params_), *this));
}

void TFileSplit::ShowProgress(const std::string& statusText, double percent) {
    OnPage(link_, page_,
           [&](SplitPage& page) { page.ShowSplitProgress(ToQ(statusText), percent); });
}

void TFileSplit::ReadFlags(bool& paused, bool& stopped) {
    bool pausedNow = false;
    bool stoppedNow = true;
    if (!OnPage(link_, page_, [&](SplitPage& page) { page.ReadSplitFlags(pausedNow, stoppedNow); }))
        stoppedNow = true;
    paused = pausedNow;
    stopped = stoppedNow;
}

void TFileSplit::ShowCrcStatus(const std::string& text) {
    OnPage(link_, page_, [&](SplitPage& page) { MainOf(page).SetStatusText(ToQ(text)); });
}

OverwriteAnswer TFileSplit::AskOverwrite(const std::string& question,
                                         const std::filesystem::path&) {
    OverwriteAnswer answer = OverwriteAnswer::Cancel;
    OnPage(link_, page_,
           [&](SplitPage& page) { answer = AskOverwriteOnWindow(MainOf(page), question); });
    return answer;
}

std::optional<std::filesystem::path> TFileSplit::ChooseSavePath() {
    std::optional<std::filesystem::path> chosen;
    OnPage(link_, page_, [&](SplitPage& page) { chosen = ChooseSavePathOnWindow(MainOf(page)); });
    return chosen;
}

void TFileSplit::ShowError(const std::string& text) {
    OnPage(link_, page_, [&](SplitPage& page) { ShowTaskError(MainOf(page), ToQ(text)); });
}

void TFileSplit::NotifyDone(const SplitOutcome& outcome) {
    OnPage(link_, page_, [&](SplitPage& page) {
        MainOf(page).Errors().Run([&] { page.SplitFinished(outcome); });
    });
}

// ---------------------------------------------------------------------------------------------

TFileJoin::TFileJoin(JoinPage& page, JoinParams params)
    : ticket_(WindowLink::For(MainOf(page)).TakeTicket()), link_(WindowLink::For(MainOf(page))),
      page_(&page), params_(std::move(params)),
      askWhenFileExists_(MainOf(page).AskWhenFileExists().load()) {
    params_.AskWhenFileExists = &askWhenFileExists_;
}

void TFileJoin::Start(JoinPage& page, JoinParams params) {
    RunDetached(std::unique_ptr<TFileJoin>(new TFileJoin(page, std::move(params))));
}

void TFileJoin::Execute() {
    static_cast<void>(RunFileJoin(std::move(params_), *this));
}

void TFileJoin::ShowProgress(const std::string& statusText, double percent) {
    OnPage(link_, page_, [&](JoinPage& page) { page.ShowJoinProgress(ToQ(statusText), percent); });
}

void TFileJoin::ReadFlags(bool& paused, bool& stopped) {
    bool pausedNow = false;
    bool stoppedNow = true;
    if (!OnPage(link_, page_, [&](JoinPage& page) { page.ReadJoinFlags(pausedNow, stoppedNow); }))
        stoppedNow = true;
    paused = pausedNow;
    stopped = stoppedNow;
}

std::optional<std::filesystem::path>
TFileJoin::AskNextPart(const std::filesystem::path& expectedPath) {
    std::optional<std::filesystem::path> given;
    OnPage(link_, page_, [&](JoinPage& page) { given = page.AskNextPart(expectedPath); });
    return given;
}

void TFileJoin::ShowCrcStatus(const std::string& text) {
    OnPage(link_, page_, [&](JoinPage& page) { MainOf(page).SetStatusText(ToQ(text)); });
}

void TFileJoin::CompareCrc(const std::string& storedCrc, const std::string& joinedCrc) {
    OnPage(link_, page_, [&](JoinPage& page) { page.CompareCrc(storedCrc, joinedCrc); });
}

OverwriteAnswer TFileJoin::AskOverwrite(const std::string& question, const std::filesystem::path&) {
    OverwriteAnswer answer = OverwriteAnswer::Cancel;
    OnPage(link_, page_,
           [&](JoinPage& page) { answer = AskOverwriteOnWindow(MainOf(page), question); });
    return answer;
}

std::optional<std::filesystem::path> TFileJoin::ChooseSavePath() {
    std::optional<std::filesystem::path> chosen;
    OnPage(link_, page_, [&](JoinPage& page) { chosen = ChooseSavePathOnWindow(MainOf(page)); });
    return chosen;
}

void TFileJoin::NotifyDone(const JoinOutcome& outcome) {
    OnPage(link_, page_,
           [&](JoinPage& page) { MainOf(page).Errors().Run([&] { page.JoinFinished(outcome); }); });
}

// ---------------------------------------------------------------------------------------------

TChecksumRuntime::TChecksumRuntime(ChecksumPage& page, const QString& fileName, Mode mode)
    : ticket_(WindowLink::For(MainOf(page)).TakeTicket()), link_(WindowLink::For(MainOf(page))),
      page_(&page), FileName(PathOfField(fileName)), Mode_(mode) {}

void TChecksumRuntime::Start(ChecksumPage& page, const QString& fileName, Mode mode) {
    RunDetached(std::unique_ptr<TChecksumRuntime>(new TChecksumRuntime(page, fileName, mode)));
}

void TChecksumRuntime::Execute() {
    try {
        if (Mode_ == Crc32Mode) {
            try {
                ResultText = Crc32ToText(Crc32OfFile(FileName));
                MessageText = Message(Msg::CRC32Result, {ResultText});
                ShowResult();
            } catch (const IoError& error) {
                // A file that cannot be read has no checksum; 00000000 would pass for an empty one.
                MessageText = IoFailureText(error);
                ShowError();
            }
        } else {
            std::vector<std::byte> buffer(kChecksumBufferSize);
            Md5Digest digest{};
            const DigestStatus status = Md5OfFile(FileName, digest, buffer);
            if (!status) {
                MessageText = Message(Msg::MD5Err, {static_cast<std::int64_t>(status.errorCode)});
                if (!status.reason.empty())
                    MessageText += ": " + status.reason;
                ShowError();
            } else {
                ResultText = DigestToText(digest);
                MessageText = Message(Msg::MD5Result, {ResultText});
                ShowResult();
            }
        }
    } catch (...) {
        // Whatever went wrong, the page is restored below.
    }
    try {
        Finish();
    } catch (...) {
        // The window has nothing left to restore.
    }
}

void TChecksumRuntime::ShowResult() {
    OnPage(link_, page_,
           [&](ChecksumPage& page) { page.ShowResult(ToQ(ResultText), ToQ(MessageText)); });
}

void TChecksumRuntime::ShowError() {
    OnPage(link_, page_, [&](ChecksumPage& page) { page.ShowError(ToQ(MessageText)); });
}

void TChecksumRuntime::Finish() {
    OnPage(link_, page_,
           [&](ChecksumPage& page) { MainOf(page).Errors().Run([&] { page.Finish(); }); });
}

} // namespace partsmith
