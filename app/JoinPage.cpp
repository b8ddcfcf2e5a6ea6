#include "JoinPage.h"

#include "GeneralError.h"
#include "PageKit.h"
#include "Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace partsmith {

JoinPage::JoinPage(GeneralErrorHandler& errors, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tbJoin"));

    grpJnSrc = MakeGroup(QStringLiteral("grpJnSrc"), QStringLiteral("Target Files"), this);
    lblJnTargHints =
        MakeLabel(QStringLiteral("lblJnTargHints"),
                  QStringLiteral("Please select the first part of the files."), grpJnSrc);
    edtJnSrc = MakeEdit(QStringLiteral("edtJnSrc"), grpJnSrc);
    btBrowJn = MakeButton(QStringLiteral("btBrowJn"), QStringLiteral("Browse"), grpJnSrc);

    grpJnOpt = MakeGroup(QStringLiteral("grpJnOpt"), QStringLiteral("Join Options"), this);
    lblJnSvh = MakeLabel(QStringLiteral("lblJnSvh"), QStringLiteral("Save to file"), grpJnOpt);
    edtJnSv = MakeEdit(QStringLiteral("edtJnSv"), grpJnOpt);
    btnOutpJoin = MakeButton(QStringLiteral("btnOutpJoin"), QStringLiteral("Browse"), grpJnOpt);
    lblJnFch =
        MakeLabel(QStringLiteral("lblJnFch"), QStringLiteral("File counting type:"), grpJnOpt);
    rbJnSc = MakeRadio(QStringLiteral("rbJnSc"),
                       QStringLiteral("Scan all knowns file in the same directory."), grpJnOpt);
    rbJnSc->setChecked(true);
    rbJnUd = MakeRadio(QStringLiteral("rbJnUd"), QStringLiteral("Let me choose the range of files"),
                       grpJnOpt);
    spJnMin = new SpinEdit(QStringLiteral("spJnMin"), 1, grpJnOpt);
    spJnMin->setEnabled(false);
    lblToH = MakeLabel(QStringLiteral("lblToH"), QStringLiteral("to"), grpJnOpt);
    lblToH->setAlignment(Qt::AlignCenter);
    lblToH->setEnabled(false);
    spJnMax = new SpinEdit(QStringLiteral("spJnMax"), 5, grpJnOpt);
    spJnMax->setEnabled(false);
    chkJnApr = MakeCheck(QStringLiteral("chkJnApr"),
                         QStringLiteral("Launch application when finished"), grpJnOpt);
    lblJnAprh = MakeLabel(QStringLiteral("lblJnAprh"),
                          QStringLiteral("Add the %s for given result file name"), grpJnOpt);
    lblJnAprh->setEnabled(false);
    edtJnApr = MakeEdit(QStringLiteral("edtJnApr"), grpJnOpt);
    edtJnApr->setEnabled(false);
    chkDlJn = MakeCheck(QStringLiteral("chkDlJn"),
                        QStringLiteral("Delete all splitted files after join"), grpJnOpt);

    btPwsJoin =
        MakeButton(QStringLiteral("btPwsJoin"), QString::fromStdString(Message(Msg::Pause)), this);
    btStpJoin =
        MakeButton(QStringLiteral("btStpJoin"), QString::fromStdString(Message(Msg::Abort)), this);
    btStrJoin = MakeButton(QStringLiteral("btStrJoin"), QString(), this);

    JoinAdd = MakeAction(this, QStringLiteral("JoinAdd"), QStringLiteral("Join"),
                         QStringLiteral("Add"), 0, true);
    JoinStart = MakeAction(this, QStringLiteral("JoinStart"), QStringLiteral("Join"),
                           QStringLiteral("&Start Join"), 2, true);
    JoinStop = MakeAction(this, QStringLiteral("JoinStop"), QStringLiteral("Join"),
                          QStringLiteral("&Stop"), 3, false);
    JoinPause = MakeAction(this, QStringLiteral("JoinPause"), QStringLiteral("Join"),
                           QStringLiteral("&Pause"), 4, false);
    JoinSave = MakeAction(this, QStringLiteral("JoinSave"), QStringLiteral("Join"),
                          QStringLiteral("Browse"), 0, true);
    BindButton(btBrowJn, JoinAdd, true);
    BindButton(btStrJoin, JoinStart);
    BindButton(btStpJoin, JoinStop, true);
    BindButton(btPwsJoin, JoinPause, true);
    BindButton(btnOutpJoin, JoinSave);

    auto* target = new QGridLayout(grpJnSrc);
    target->addWidget(lblJnTargHints, 0, 0, 1, 2);
    target->addWidget(edtJnSrc, 1, 0);
    target->addWidget(btBrowJn, 1, 1);

    auto* range = new QHBoxLayout;
    range->addWidget(spJnMin, 1);
    range->addWidget(lblToH);
    range->addWidget(spJnMax, 1);
    range->addStretch(1);

    auto* options = new QGridLayout(grpJnOpt);
    options->addWidget(lblJnSvh, 0, 0, 1, 2);
    options->addWidget(edtJnSv, 1, 0);
    options->addWidget(btnOutpJoin, 1, 1);
    options->addWidget(lblJnFch, 2, 0, 1, 2);
    options->addWidget(rbJnSc, 3, 0, 1, 2);
    options->addWidget(rbJnUd, 4, 0, 1, 2);
    options->addLayout(range, 5, 0, 1, 2);
    options->addWidget(chkJnApr, 6, 0, 1, 2);
    options->addWidget(lblJnAprh, 7, 0, 1, 2);
    options->addWidget(edtJnApr, 8, 0, 1, 2);
    options->addWidget(chkDlJn, 9, 0, 1, 2);
    options->setColumnStretch(0, 1);
    options->setRowStretch(10, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(grpJnSrc);
    page->addWidget(grpJnOpt, 1);
    page->addLayout(MakeTaskButtonRow(btPwsJoin, btStpJoin, btStrJoin));
    InstallDefaultButton(this, btStrJoin);

    drpJoin = new FileDropTarget(QStringLiteral("drpJoin"), this);

    connect(JoinAdd, &QAction::triggered, this, errors.Guard([this] { JoinAddExecute(); }));
    connect(JoinStart, &QAction::triggered, this, errors.Guard([this] { JoinStartExecute(); }));
    connect(JoinStop, &QAction::triggered, this, errors.Guard([this] { JoinStopExecute(); }));
    connect(JoinPause, &QAction::triggered, this, errors.Guard([this] { JoinPauseExecute(); }));
    connect(JoinSave, &QAction::triggered, this, errors.Guard([this] { JoinSaveExecute(); }));
    connect(drpJoin, &FileDropTarget::dropped, this,
            [this, &errors](const QStringList& files) { errors.Run([&] { drpJoinDrop(files); }); });
}

std::vector<CaptionRow> JoinPage::CaptionRows() const {
    return {
        {"TargetName", {}, grpJnSrc},          {"JoinTargetHint", {}, lblJnTargHints},
        {"BrowseHint", {}, btBrowJn},          {"GroupJoinOptions", {}, grpJnOpt},
        {"JoinSaveTo", {}, lblJnSvh},          {"BrowseHint", {}, btnOutpJoin},
        {"JoinFileCounting", {}, lblJnFch},    {"ScanAllHint", {}, rbJnSc},
        {"FileNumberSetHint", {}, rbJnUd},     {"To", {}, lblToH},
        {"AppLaunch", {}, chkJnApr},           {"AppLaunchHint", {}, lblJnAprh},
        {"JoinDeleteSourceFile", {}, chkDlJn}, {{}, Msg::Pause, btPwsJoin},
        {{}, Msg::Abort, btStpJoin},           {"JoinStart", {}, btStrJoin},
    };
}

void JoinPage::JoinAddExecute() {}
void JoinPage::JoinStartExecute() {}
void JoinPage::JoinStopExecute() {}
void JoinPage::JoinPauseExecute() {}
void JoinPage::JoinSaveExecute() {}
void JoinPage::drpJoinDrop(const QStringList& files) {
    (void)files;
}

} // namespace partsmith
