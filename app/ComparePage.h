// Page 3, "Compare File": its controls, actions and drop target.
#pragma once

#include "CaptionRow.h"
#include "Platform.h"

#include <QWidget>
#include <vector>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace partsmith {

class FileDropTarget;
class GeneralErrorHandler;

class ComparePage : public QWidget {
    Q_OBJECT
public:
    ComparePage(GeneralErrorHandler& errors, QWidget* parent);

    [[nodiscard]] std::vector<CaptionRow> CaptionRows() const;

    QGroupBox* grpCmpTarg;
    QLabel* lblCmpH1;
    QLineEdit* edtCmpF1;
    QPushButton* btBrowF1;
    QLabel* lblCmpH2;
    QLineEdit* edtCmpF2;
    QPushButton* btBrowF2;
    QGroupBox* grpCmpOpt;
    QLabel* lblCmetH;
    QRadioButton* rbCmpch;
    QRadioButton* rbCmpfc;
    QCheckBox* chkCmpsz;
    QPushButton* btnCmpPws;
    QPushButton* btnCmpStp;
    QPushButton* btnCmpst;

    QAction* CompareOpen1;
    QAction* CompareOpen2;
    QAction* CompareStart;
    QAction* ComparePause; // no handler: it stays hidden
    QAction* CompareStop;  // no handler: it stays hidden

    FileDropTarget* drpCmpF;

public slots:
    // The compare task's handlers; the task pages bring their bodies.
    void CompareOpen1Execute();
    void CompareOpen2Execute();
    void CompareStartExecute();
    void drpCmpFDrop(const QStringList& files);

public:
    const FileDialogSpec openCmp1{};
    const FileDialogSpec openCmp2{};
};

} // namespace partsmith
