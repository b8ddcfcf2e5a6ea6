// Page 2, "Compare Checksum": its controls, actions and drop target.
#pragma once

#include "CaptionRow.h"
#include "Platform.h"

#include <QWidget>
#include <vector>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace partsmith {

class FileDropTarget;
class GeneralErrorHandler;

class ChecksumPage : public QWidget {
    Q_OBJECT
public:
    ChecksumPage(GeneralErrorHandler& errors, QWidget* parent);

    [[nodiscard]] std::vector<CaptionRow> CaptionRows() const;

    QGroupBox* grpChkTarg;
    QLabel* lblChTargHints;
    QLineEdit* edtChksF;
    QPushButton* BitBtn4;
    QGroupBox* grpChkOpt;
    QLabel* lblChtypH;
    QRadioButton* rbCrc32;
    QRadioButton* rbMd5;
    QLabel* lblCRsH;
    QLineEdit* edtChksRes;
    QLabel* lblCmpH;
    QLineEdit* edtChksCmp;
    QFrame* pnlChCmp;
    QFrame* shpChks;
    QLabel* lblTestChk;
    QPushButton* btCopyCh;
    QLabel* lblChksStat;
    QPushButton* btnChkst;

    QAction* ChecksumOpen;
    QAction* ChecksumStart;
    QAction* ChecksumCopy;

    FileDropTarget* drpChksm;

public slots:
    // The checksum task's handlers; the task pages bring their bodies.
    void ChecksumOpenExecute();
    void ChecksumStartExecute();
    void ChecksumCopyExecute();
    void edtChksCmpChange();
    void drpChksmDrop(const QStringList& files);

public:
    // The window's side of the checksum worker's calls; each runs on the window thread.
    void ShowResult(const QString& resultText, const QString& messageText);
    void ShowError(const QString& messageText);
    void Finish();

    const FileDialogSpec openChks{};
};

} // namespace partsmith
