// Page 0, "Split File": its controls, actions and drop target.
#pragma once

#include "CaptionRow.h"
#include "Platform.h"

#include <QWidget>
#include <filesystem>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace partsmith {

struct SplitOutcome;
class FileDropTarget;
class GeneralErrorHandler;
class SpinEdit;

class SplitPage : public QWidget {
    Q_OBJECT
public:
    SplitPage(GeneralErrorHandler& errors, QWidget* parent);

    // The three lists as every showing of the main window sets them.
    void PresetLists();
    [[nodiscard]] std::vector<CaptionRow> CaptionRows() const;

    QGroupBox* grpSplTarg;
    QLabel* lblSplTargHints;
    QLineEdit* edtSpltf;
    QPushButton* btBrowSpl;
    QGroupBox* grpSplOpt;
    QRadioButton* rbSplSz;
    QLabel* lblFszH;
    SpinEdit* spSpSz;
    QComboBox* cbxFszOpt;
    QRadioButton* rbSplFn;
    QLabel* lblBfnH;
    SpinEdit* spFnum;
    QLabel* lblOutSplNm;
    QLineEdit* edtSplNm;
    QLabel* lblOutSplDir;
    QLineEdit* edtSplDir;
    QPushButton* btnSpdb;
    QCheckBox* chkSplDel;
    QCheckBox* chkEncr;
    QLabel* lblEncryH;
    QComboBox* cbxEncryptm;
    QLabel* lblHseH;
    QComboBox* cbxEncrHash;
    QPushButton* btPwsSplt;
    QPushButton* btStpSplt;
    QPushButton* btStSplt;

    QAction* SplitOpen;
    QAction* SplitStart;
    QAction* SplitStop;
    QAction* SplitPause;
    QAction* SplitDirBrowse;

    FileDropTarget* drpSpl;

public slots:
    // The split task's handlers; the task pages bring their bodies.
    void SplitOpenExecute();
    void SplitStartExecute();
    void SplitStopExecute();
    void SplitPauseExecute();
    void drpSplDrop(const QStringList& files);
    void rbSplSzClick();
    void rbSplFnClick();
    void chkEncrClick();

public:
    // The window's side of the split worker's calls; each runs on the window thread.
    void ShowSplitProgress(const QString& statusText, double percent);
    void ReadSplitFlags(bool& paused, bool& stopped) const;
    // The finish routine: restores the page, reports the run and carries out the follow-ups
    // that belong to a completed split.
    void SplitFinished(const SplitOutcome& outcome);

    // Written by Pause and Stop, read by the worker through ReadSplitFlags.
    bool FSplitStop = false;
    bool FSplitPause = false;

    const FileDialogSpec openSplit{QStringLiteral("Open File which do you want to Split"),
                                   QStringLiteral("All Files|*.*")};

private:
    void SetSourceFields(const QString& path);
    void LockSplitPage();

    // The source of the running split: a drop may change the field while it runs.
    std::filesystem::path FSplitSource;
};

} // namespace partsmith
