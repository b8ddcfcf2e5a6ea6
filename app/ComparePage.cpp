#include "ComparePage.h"

#include "GeneralError.h"
#include "PageKit.h"
#include "Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace partsmith {

ComparePage::ComparePage(GeneralErrorHandler& errors, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tbCmpf"));

    grpCmpTarg = MakeGroup(QStringLiteral("grpCmpTarg"), QStringLiteral("Compare target"), this);
    lblCmpH1 = MakeLabel(QStringLiteral("lblCmpH1"),
                         QStringLiteral("Please select the of the compare file"), grpCmpTarg);
    edtCmpF1 = MakeEdit(QStringLiteral("edtCmpF1"), grpCmpTarg);
    btBrowF1 = MakeButton(QStringLiteral("btBrowF1"), QString(), grpCmpTarg);
    lblCmpH2 = MakeLabel(QStringLiteral("lblCmpH2"), QStringLiteral("Compare with"), grpCmpTarg);
    edtCmpF2 = MakeEdit(QStringLiteral("edtCmpF2"), grpCmpTarg);
    btBrowF2 = MakeButton(QStringLiteral("btBrowF2"), QString(), grpCmpTarg);

    grpCmpOpt = MakeGroup(QStringLiteral("grpCmpOpt"), QStringLiteral("Compare Options"), this);
    lblCmetH = MakeLabel(QStringLiteral("lblCmetH"), QStringLiteral("Compare methods"), grpCmpOpt);
    rbCmpch = MakeRadio(QStringLiteral("rbCmpch"), QStringLiteral("By Checksum"), grpCmpOpt);
    rbCmpch->setChecked(true);
    rbCmpfc = MakeRadio(QStringLiteral("rbCmpfc"), QStringLiteral("By File Compare"), grpCmpOpt);
    chkCmpsz =
        MakeCheck(QStringLiteral("chkCmpsz"), QStringLiteral("Compare file size"), grpCmpOpt);
    chkCmpsz->setChecked(true);

    btnCmpPws = MakeButton(QStringLiteral("btnCmpPws"), QString(), this);
    btnCmpStp = MakeButton(QStringLiteral("btnCmpStp"), QString(), this);
    btnCmpst = MakeButton(QStringLiteral("btnCmpst"), QStringLiteral("&Start Compare"), this);

    CompareOpen1 = MakeAction(this, QStringLiteral("CompareOpen1"), QStringLiteral("Compare"),
                              QStringLiteral("&Browse"), 0, true);
    CompareOpen2 = MakeAction(this, QStringLiteral("CompareOpen2"), QStringLiteral("Compare"),
                              QStringLiteral("&Browse"), 0, true);
    CompareStart = MakeAction(this, QStringLiteral("CompareStart"), QStringLiteral("Compare"),
                              QStringLiteral("Start Compare"), 2, true);
    ComparePause = MakeAction(this, QStringLiteral("ComparePause"), QStringLiteral("Compare"),
                              QStringLiteral("&Pause"), 4, false);
    CompareStop = MakeAction(this, QStringLiteral("CompareStop"), QStringLiteral("Compare"),
                             QStringLiteral("&Stop"), 3, false);
    BindButton(btBrowF1, CompareOpen1);
    BindButton(btBrowF2, CompareOpen2);
    BindButton(btnCmpst, CompareStart, true);
    BindButton(btnCmpPws, ComparePause);
    BindButton(btnCmpStp, CompareStop);

    auto* target = new QGridLayout(grpCmpTarg);
    target->addWidget(lblCmpH1, 0, 0, 1, 2);
    target->addWidget(edtCmpF1, 1, 0);
    target->addWidget(btBrowF1, 1, 1);
    target->addWidget(lblCmpH2, 2, 0, 1, 2);
    target->addWidget(edtCmpF2, 3, 0);
    target->addWidget(btBrowF2, 3, 1);

    auto* options = new QVBoxLayout(grpCmpOpt);
    options->addWidget(lblCmetH);
    options->addWidget(rbCmpch);
    options->addWidget(rbCmpfc);
    options->addWidget(chkCmpsz);
    options->addStretch(1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(grpCmpTarg);
    page->addWidget(grpCmpOpt, 1);
    page->addLayout(MakeTaskButtonRow(btnCmpPws, btnCmpStp, btnCmpst));
    InstallDefaultButton(this, btnCmpst);

    drpCmpF = new FileDropTarget(QStringLiteral("drpCmpF"), this);

    connect(CompareOpen1, &QAction::triggered, this,
            errors.Guard([this] { CompareOpen1Execute(); }));
    connect(CompareOpen2, &QAction::triggered, this,
            errors.Guard([this] { CompareOpen2Execute(); }));
    connect(CompareStart, &QAction::triggered, this,
            errors.Guard([this] { CompareStartExecute(); }));
    connect(drpCmpF, &FileDropTarget::dropped, this,
            [this, &errors](const QStringList& files) { errors.Run([&] { drpCmpFDrop(files); }); });
}

std::vector<CaptionRow> ComparePage::CaptionRows() const {
    return {
        {"TargetName", {}, grpCmpTarg},       {"CompareTarget1Hint", {}, lblCmpH1},
        {"CompareTarget2Hint", {}, lblCmpH2}, {"BrowseHint", {}, btBrowF1},
        {"BrowseHint", {}, btBrowF2},         {"GroupCompareOptions", {}, grpCmpOpt},
        {"CompareMethodHint", {}, lblCmetH},  {"ByChecksum", {}, rbCmpch},
        {"ByFileCompare", {}, rbCmpfc},       {"CompareFileSize", {}, chkCmpsz},
        {"CompareStart", {}, btnCmpst},
    };
}

void ComparePage::CompareOpen1Execute() {}
void ComparePage::CompareOpen2Execute() {}
void ComparePage::CompareStartExecute() {}
void ComparePage::drpCmpFDrop(const QStringList& files) {
    (void)files;
}

} // namespace partsmith
