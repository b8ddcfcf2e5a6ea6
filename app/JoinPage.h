// Page 1, "Join File": its controls, actions and drop target.
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

public:
    const FileDialogSpec openJoin{QStringLiteral("Open File which do you want to Join"),
                                  QStringLiteral("Part of Files|*.*")};
    const FileDialogSpec svDlgJoin{QString(), QStringLiteral("Files|*.*")};
};

} // namespace partsmith
