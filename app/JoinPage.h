// Page 1, "Join File": its controls, actions and drop target.
#pragma once

#include "CaptionRow.h"
#include "Platform.h"

#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace partsmith {

struct JoinOutcome;
class FileDropTarget;
class GeneralErrorHandler;
class SpinEdit;

class JoinPage : public QWidget {
    Q_OBJECT
public:
    JoinPage(GeneralErrorHandler& errors, QWidget* parent);

    [[nodiscard]] std::vector<CaptionRow> CaptionRows() const;

    QGroupBox* grpJnSrc;
    QLabel* lblJnTargHints;
    QLineEdit* edtJnSrc;
    QPushButton* btBrowJn;
    QGroupBox* grpJnOpt;
    QLabel* lblJnSvh;
    QLineEdit* edtJnSv;
    QPushButton* btnOutpJoin;
    QLabel* lblJnFch;
    QRadioButton* rbJnSc;
    QRadioButton* rbJnUd;
    SpinEdit* spJnMin;
    QLabel* lblToH;
    SpinEdit* spJnMax;
    QCheckBox* chkJnApr;
    QLabel* lblJnAprh;
    QLineEdit* edtJnApr;
    QCheckBox* chkDlJn;
    QPushButton* btPwsJoin;
    QPushButton* btStpJoin;
    QPushButton* btStrJoin;

    QAction* JoinAdd;
    QAction* JoinStart;
    QAction* JoinStop;
    QAction* JoinPause;
    QAction* JoinSave;

    FileDropTarget* drpJoin;

public slots:
    // The join task's handlers; the task pages bring their bodies.
    void JoinAddExecute();
    void JoinStartExecute();
    void JoinStopExecute();
    void JoinPauseExecute();
    void JoinSaveExecute();
    void drpJoinDrop(const QStringList& files);
    void rbJnScClick();
    void rbJnUdClick();
    void chkJnAprClick();

public:
    // The window's side of the join worker's calls; each runs on the window thread.
    void ShowJoinProgress(const QString& statusText, double percent);
    void ReadJoinFlags(bool& paused, bool& stopped) const;
    // The next-part dialog preset with the expected path: the path as the user left it on OK.
    std::optional<std::filesystem::path> AskNextPart(const std::filesystem::path& expectedPath);
    void CompareCrc(const std::string& storedCrc, const std::string& joinedCrc);
    // The finish routine: restores the page, reports the run, and deletes the parts or launches
    // the program only after a join that ran through its last part with matching checksums.
    void JoinFinished(const JoinOutcome& outcome);

    // The set of the last start.
    std::int64_t FJoinFirst = 1;
    std::int64_t FJoinLast = 0;
    int FJoinWidth = 3;
    bool FJoinEncrypted = false;
    // Written by Pause and Stop, read by the worker through ReadJoinFlags.
    bool FJoinStop = false;
    bool FJoinPause = false;
    // Posted by the worker's checksum comparison.
    bool FJoinCrcMismatch = false;
    std::string FJoinStoredCrc;
    std::string FJoinResultCrc;

    const FileDialogSpec openJoin{QStringLiteral("Open File which do you want to Join"),
                                  QStringLiteral("Part of Files|*.*")};
    const FileDialogSpec svDlgJoin{QString(), QStringLiteral("Files|*.*")};

private:
    void SetSourceFields(const QString& path);
    void LockJoinPage();
    void UnlockJoinPage();
    void DeleteParts(const std::filesystem::path& output) const;
    void Launch(const std::filesystem::path& output);

    // The base of the running set's part names: a drop may change the field while it runs.
    std::string FJoinBase;
};

} // namespace partsmith
