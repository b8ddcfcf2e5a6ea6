// The workers of the window: each runs its task's body on a thread of its own with a host that
// hands every call to the window thread and waits there until it has run. A worker starts at
// once, nobody keeps a reference to it, and it releases itself when its run has ended. Once the
// window has gone a call is no longer made: the flags read as stopped, questions as cancelled,
// and the finish routine does not run, so no follow-up acts on the files.
#pragma once

#include "WindowLink.h"
#include "join/FileJoin.h"
#include "split/FileSplit.h"

#include <QPointer>
#include <QString>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace partsmith {

class ChecksumPage;
class JoinPage;
class SplitPage;

class TFileSplit final : public SplitHost {
public:
    // Starts the split of params, reporting to page. Raises when no thread can be started.
    static void Start(SplitPage& page, SplitParams params);

    void ShowProgress(const std::string& statusText, double percent) override;
    void ReadFlags(bool& paused, bool& stopped) override;
    void ShowCrcStatus(const std::string& text) override;
    OverwriteAnswer AskOverwrite(const std::string& question,
                                 const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> ChooseSavePath() override;
    void ShowError(const std::string& text) override;
    void NotifyDone(const SplitOutcome& outcome) override;

    // The thread body; Start runs it.
    void Execute();

private:
    TFileSplit(SplitPage& page, SplitParams params);

    std::unique_ptr<WindowLink::Ticket> ticket_; // let go last
    WindowLink link_;
    QPointer<SplitPage> page_; // read on the window thread only
    SplitParams params_;
    // The setting as it was at the start; the Configure page is hidden while the run lasts.
    std::atomic<bool> askWhenFileExists_;
};

class TFileJoin final : public JoinHost {
public:
    static void Start(JoinPage& page, JoinParams params);

    void ShowProgress(const std::string& statusText, double percent) override;
    void ReadFlags(bool& paused, bool& stopped) override;
    std::optional<std::filesystem::path>
    AskNextPart(const std::filesystem::path& expectedPath) override;
    void ShowCrcStatus(const std::string& text) override;
    void CompareCrc(const std::string& storedCrc, const std::string& joinedCrc) override;
    OverwriteAnswer AskOverwrite(const std::string& question,
                                 const std::filesystem::path& path) override;
    std::optional<std::filesystem::path> ChooseSavePath() override;
    void NotifyDone(const JoinOutcome& outcome) override;

    // The thread body; Start runs it.
    void Execute();

private:
    TFileJoin(JoinPage& page, JoinParams params);

    std::unique_ptr<WindowLink::Ticket> ticket_;
    WindowLink link_;
    QPointer<JoinPage> page_;
    JoinParams params_;
    std::atomic<bool> askWhenFileExists_;
};

class TChecksumRuntime {
public:
    enum Mode : std::uint8_t { Crc32Mode = 0, Md5Mode = 1 };
    static void Start(ChecksumPage& page, const QString& fileName, Mode mode);

    // The thread body; Start runs it.
    void Execute();

private:
    TChecksumRuntime(ChecksumPage& page, const QString& fileName, Mode mode);
    void ShowResult();
    void ShowError();
    void Finish();

    std::unique_ptr<WindowLink::Ticket> ticket_;
    WindowLink link_;
    QPointer<ChecksumPage> page_;
    std::filesystem::path FileName;
    Mode Mode_;
    std::string ResultText;
    std::string MessageText;
};

// The MD5 read buffer of the checksum worker.
inline constexpr std::size_t kChecksumBufferSize = 32768;

} // namespace partsmith
