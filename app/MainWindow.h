// TfrmMain: the program's window. It composes the seven pages and owns what they share: the
// log, the status bar and its progress bar, the page lock, the in-memory settings and the
// general error handler.
#pragma once

#include "GeneralError.h"
#include "settings/Settings.h"

#include <QMainWindow>
#include <QStringList>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QSplitter;
class QStatusBar;
class QSystemTrayIcon;
class QTabWidget;

namespace partsmith {

class AboutPage;
class ChecksumPage;
class ComparePage;
class ConfigurePage;
class HelpPage;
class IniFile;
class JoinPage;
class Platform;
class SettingsWriteError;
class SplitPage;
class TfrmCnfFile;
class TfrmPasswd;
class TfrmSelDir;
class TfrmStartup;

// What the start of the program hands the window.
struct StartParameters {
    // The program's path: the settings file and the data folders are found from it.
    std::filesystem::path executable;
    // The command line without the program itself.
    QStringList arguments;
};

// Page indexes of pgcMain.
enum PageIndex : int {
    kSplitPage = 0,
    kJoinPage = 1,
    kChecksumPage = 2,
    kComparePage = 3,
    kConfigurePage = 4,
    kHelpPage = 5,
    kAboutPage = 6,
    kPageCount = 7
};

class TfrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the start-up sequence: first-run defaults, settings and language, the launch line,
    // the caption, the status bar, the About titles and the command line.
    TfrmMain(Platform& platform, StartParameters start);
    ~TfrmMain() override;

    // The dialogs are created after the main window and live as long as it does.
    void AttachDialogs(TfrmSelDir& selDir, TfrmCnfFile& cnfFile, TfrmStartup& startup,
                       TfrmPasswd& passwd);

    // Log, status bar and page lock, for the task pages.
    void AddLog(const QString& text);
    void SetStatusText(const QString& text);
    void SetProgress(int percent);
    void ShowOnlyPage(int index);
    void ShowAllPages();

    // Reads the settings file into the in-memory copies and applies them to the window.
    void LoadSettings();
    // Applies a language file to the messages and the captions of the task pages.
    void LoadLanguage(const std::filesystem::path& path);
    // Preselects pages and fills their fields from the options of the command line.
    void ApplyCommandLine(const QStringList& arguments);

    // The password dialog: the text as typed on OK, nullopt on Cancel.
    std::optional<QString> AskPassword();
    // The folder dialog preset to folder: the chosen text on OK, nullopt on Cancel. Raises
    // "Error setting path" when folder is not empty and names no folder.
    std::optional<QString> ChooseFolder(const QString& folder);
    // The join's next-part dialog.
    [[nodiscard]] TfrmCnfFile& NextPartDialog() { return *frmCnfFile_; }

    [[nodiscard]] GeneralErrorHandler& Errors() { return errors_; }
    [[nodiscard]] Platform& Desktop() { return platform_; }
    [[nodiscard]] const std::filesystem::path& Executable() const { return executable_; }

    // The in-memory settings that the task pages and engines read.
    [[nodiscard]] std::int64_t MaxBufferSize() const { return FMaxBufferSize; }
    // Read by the engines on their own thread.
    [[nodiscard]] const AtomicFlag& AskWhenFileExists() const { return FAskWhenFileExists; }
    [[nodiscard]] bool ExitWhenFinished() const { return FExitWhenFinished; }
    [[nodiscard]] bool FirstTime() const { return FFirstTime; }
    [[nodiscard]] bool MinimizeToTray() const { return FMinimizeToTray; }
    [[nodiscard]] bool ExecuteWhenJoinFinish() const { return FExecuteWhenJoinFinish; }
    [[nodiscard]] bool FormOnTop() const { return FFormOnTop; }
    [[nodiscard]] const std::string& Language() const { return FLanguage; }

    QWidget* pnlMain;
    QTabWidget* pgcMain;
    SplitPage* tbSplit;
    JoinPage* tbJoin;
    ChecksumPage* tbCheck;
    ComparePage* tbCmpf;
    ConfigurePage* tbCfg;
    HelpPage* tbHelp;
    AboutPage* tbAbt;
    QSplitter* Splitter1;
    QWidget* pnlLog;
    QPlainTextEdit* mLog;
    QStatusBar* StatBar;
    QLabel* StatPanel0;
    QWidget* StatPanel1;
    QProgressBar* pbStat;
    QSystemTrayIcon* MainTrayIcon;

    // Tick counts at the start and the end of the last split or join, shared by both pages.
    std::uint32_t FStartTick = 0;
    std::uint32_t FEndTick = 0;

public slots:
    // The user made another page current.
    void pgcMainChange(int index);
    void ConfigOk();
    void trPriorChange(int position);
    // 1 idle, 2 normal, 3 high; any other level changes nothing.
    void SetProcessPriority(int level);
    void MainTrayIconClick();
    void SplitDirBrowseExecute();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildStatusBar();
    void FormCreate(const QStringList& arguments);
    void FormShow();
    void StatBarDrawPanel();
    void StayOnTop();
    void MinimiseToTray();
    void OnTabChanged(int index);
    void ReportSettingsWriteOnce(const SettingsWriteError& error);
    [[nodiscard]] std::filesystem::path ExeFolder() const;

    Platform& platform_;
    GeneralErrorHandler errors_;
    std::filesystem::path executable_;

    TfrmSelDir* frmSelDir_ = nullptr;
    TfrmCnfFile* frmCnfFile_ = nullptr;
    TfrmStartup* frmStartup_ = nullptr;
    TfrmPasswd* frmPasswd_ = nullptr;

    bool FFirstTime = true;
    std::int64_t FMaxBufferSize = 8192;
    AtomicFlag FAskWhenFileExists{true};
    bool FMinimizeToTray = false;
    bool FExecuteWhenJoinFinish = false;
    std::string FLanguage = "English";
    bool FExitWhenFinished = false;
    bool FFormOnTop = false;

    // Page changes made by the program itself do not run pgcMainChange.
    int FProgramPageChange = 0;
    // Showing the window again to apply a window flag is no showing for FormShow.
    bool FReapplyingFlags = false;
    // A settings file that cannot be written is reported once, not at every showing.
    bool FSettingsWriteReported = false;
};

} // namespace partsmith
