#include "ChecksumPage.h"

#include "GeneralError.h"
#include "MainWindow.h"
#include "PageKit.h"
#include "TaskKit.h"
#include "TaskWorkers.h"
#include "Widgets.h"
#include "text/UnicodeAdds.h"

#include <QAction>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace partsmith {

ChecksumPage::ChecksumPage(GeneralErrorHandler& errors, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tbCheck"));

    grpChkTarg = MakeGroup(QStringLiteral("grpChkTarg"), QStringLiteral("Target File"), this);
    lblChTargHints =
        MakeLabel(QStringLiteral("lblChTargHints"),
                  QStringLiteral("Please select the file do you want to calculate this checksum."),
                  grpChkTarg);
    edtChksF = MakeEdit(QStringLiteral("edtChksF"), grpChkTarg);
    BitBtn4 = MakeButton(QStringLiteral("BitBtn4"), QString(), grpChkTarg);

    grpChkOpt =
        MakeGroup(QStringLiteral("grpChkOpt"), QStringLiteral("Checksum Options/Result"), this);
    lblChtypH = MakeLabel(QStringLiteral("lblChtypH"),
                          QStringLiteral("Calculate file checksum to:"), grpChkOpt);
    rbCrc32 = MakeRadio(QStringLiteral("rbCrc32"), QStringLiteral("CRC32"), grpChkOpt);
    rbCrc32->setChecked(true);
    rbMd5 = MakeRadio(QStringLiteral("rbMd5"), QStringLiteral("MD5"), grpChkOpt);
    lblCRsH = MakeLabel(QStringLiteral("lblCRsH"), QStringLiteral("Result"), grpChkOpt);
    edtChksRes = MakeEdit(QStringLiteral("edtChksRes"), grpChkOpt);
    edtChksRes->setReadOnly(true);
    QPalette face = edtChksRes->palette();
    face.setColor(QPalette::Base, face.color(QPalette::Window));
    edtChksRes->setPalette(face);
    lblCmpH = MakeLabel(QStringLiteral("lblCmpH"), QStringLiteral("Compare"), grpChkOpt);
    edtChksCmp = MakeEdit(QStringLiteral("edtChksCmp"), grpChkOpt);

    pnlChCmp = new QFrame(grpChkOpt);
    pnlChCmp->setObjectName(QStringLiteral("pnlChCmp"));
    pnlChCmp->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    QFont bold = pnlChCmp->font();
    bold.setBold(true);
    bold.setPointSize(10);
    pnlChCmp->setFont(bold);
    shpChks = new QFrame(pnlChCmp);
    shpChks->setObjectName(QStringLiteral("shpChks"));
    shpChks->setAutoFillBackground(true);
    QPalette white = shpChks->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    shpChks->setPalette(white);
    lblTestChk =
        MakeLabel(QStringLiteral("lblTestChk"), QStringLiteral("Data not Entered!"), shpChks);
    lblTestChk->setAlignment(Qt::AlignCenter);
    lblTestChk->setAttribute(Qt::WA_TranslucentBackground);
    auto* shape = new QVBoxLayout(shpChks);
    shape->addWidget(lblTestChk);
    auto* panel = new QVBoxLayout(pnlChCmp);
    panel->setContentsMargins(2, 2, 2, 2);
    panel->addWidget(shpChks);
    pnlChCmp->setMinimumHeight(44);

    btCopyCh = MakeButton(QStringLiteral("btCopyCh"), QString(), grpChkOpt);
    lblChksStat = MakeLabel(QStringLiteral("lblChksStat"), QStringLiteral("Please wait..."), this);
    QFont statFont = lblChksStat->font();
    statFont.setBold(true);
    lblChksStat->setFont(statFont);
    lblChksStat->setVisible(false);
    btnChkst = MakeButton(QStringLiteral("btnChkst"), QString(), this);

    ChecksumOpen = MakeAction(this, QStringLiteral("ChecksumOpen"), QStringLiteral("Checksum"),
                              QStringLiteral("&Browse"), 0, true);
    ChecksumStart = MakeAction(this, QStringLiteral("ChecksumStart"), QStringLiteral("Checksum"),
                               QStringLiteral("&Start Calculate"), 2, true);
    ChecksumCopy = MakeAction(this, QStringLiteral("ChecksumCopy"), QStringLiteral("Checksum"),
                              QStringLiteral("Copy To Clipboard"), 5, true);
    BindButton(BitBtn4, ChecksumOpen);
    BindButton(btnChkst, ChecksumStart);
    BindButton(btCopyCh, ChecksumCopy);

    auto* target = new QGridLayout(grpChkTarg);
    target->addWidget(lblChTargHints, 0, 0, 1, 2);
    target->addWidget(edtChksF, 1, 0);
    target->addWidget(BitBtn4, 1, 1);

    auto* options = new QGridLayout(grpChkOpt);
    options->addWidget(lblChtypH, 0, 0);
    options->addWidget(rbCrc32, 0, 1);
    options->addWidget(rbMd5, 0, 2);
    options->addWidget(lblCRsH, 1, 0);
    options->addWidget(edtChksRes, 1, 1, 1, 3);
    options->addWidget(lblCmpH, 2, 0);
    options->addWidget(edtChksCmp, 2, 1, 1, 3);
    options->addWidget(pnlChCmp, 3, 0, 1, 4);
    auto* copyRow = new QHBoxLayout;
    copyRow->addStretch(1);
    copyRow->addWidget(btCopyCh);
    options->addLayout(copyRow, 4, 0, 1, 4);
    options->setColumnStretch(3, 1);
    options->setRowStretch(5, 1);

    SetTaskButtonSize(btnChkst);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblChksStat);
    buttons->addStretch(1);
    buttons->addWidget(btnChkst);

    auto* page = new QVBoxLayout(this);
    page->addWidget(grpChkTarg);
    page->addWidget(grpChkOpt, 1);
    page->addLayout(buttons);
    InstallDefaultButton(this, btnChkst);

    drpChksm = new FileDropTarget(QStringLiteral("drpChksm"), this);

    connect(ChecksumOpen, &QAction::triggered, this,
            errors.Guard([this] { ChecksumOpenExecute(); }));
    connect(ChecksumStart, &QAction::triggered, this,
            errors.Guard([this] { ChecksumStartExecute(); }));
    connect(ChecksumCopy, &QAction::triggered, this,
            errors.Guard([this] { ChecksumCopyExecute(); }));
    connect(edtChksCmp, &QLineEdit::textChanged, this,
            errors.Guard([this] { edtChksCmpChange(); }));
    connect(drpChksm, &FileDropTarget::dropped, this, [this, &errors](const QStringList& files) {
        errors.Run([&] { drpChksmDrop(files); });
    });
}

std::vector<CaptionRow> ChecksumPage::CaptionRows() const {
    return {
        {"TargetName", {}, grpChkTarg},       {"ChecksumTargetHint", {}, lblChTargHints},
        {"BrowseHint", {}, BitBtn4},          {"GroupChecksumOptions", {}, grpChkOpt},
        {"ChecksumTypeHint", {}, lblChtypH},  {"ResultHint", {}, lblCRsH},
        {"CompareChecksumHint", {}, lblCmpH}, {"ChecksumCompareNeutral", {}, lblTestChk},
        {"CopyChecksum", {}, btCopyCh},       {"ChecksumStart", {}, btnChkst},
    };
}

void ChecksumPage::ChecksumOpenExecute() {
    if (const auto picked = MainOf(*this).Desktop().OpenFileName(&MainOf(*this), openChks, {}))
        edtChksF->setText(*picked);
}

void ChecksumPage::drpChksmDrop(const QStringList& files) {
    if (!files.isEmpty())
        edtChksF->setText(files.front());
}

void ChecksumPage::ChecksumStartExecute() {
    TfrmMain& main = MainOf(*this);
    const QString fileText = edtChksF->text();
    if (!FileIsPresent(PathOfField(fileText))) {
        ShowTaskError(main, MessageQ(Msg::FileNotFound, {fileText.toStdString()}));
        return;
    }
    ChecksumStart->setEnabled(false);
    grpChkTarg->setEnabled(false);
    grpChkOpt->setEnabled(false);
    lblChksStat->setVisible(true);
    main.ShowOnlyPage(kChecksumPage);
    main.AddLog(MessageQ(Msg::ChecksumCalc, {fileText.toStdString()}));
    const auto mode =
        rbCrc32->isChecked() ? TChecksumRuntime::Crc32Mode : TChecksumRuntime::Md5Mode;
    try {
        TChecksumRuntime::Start(*this, fileText, mode);
    } catch (...) {
        Finish();
        throw;
    }
}

void ChecksumPage::ShowResult(const QString& resultText, const QString& messageText) {
    edtChksRes->setText(resultText);
    MainOf(*this).AddLog(messageText);
}

void ChecksumPage::ShowError(const QString& messageText) {
    TfrmMain& main = MainOf(*this);
    main.AddLog(messageText);
    ShowTaskError(main, messageText);
}

void ChecksumPage::Finish() {
    TfrmMain& main = MainOf(*this);
    lblChksStat->setVisible(false);
    ChecksumStart->setEnabled(true);
    grpChkTarg->setEnabled(true);
    grpChkOpt->setEnabled(true);
    main.ShowAllPages();
    main.Desktop().Beep();
    main.SetStatusText(MessageQ(Msg::ChecksumEnds));
}

void ChecksumPage::edtChksCmpChange() {
    const QString result = edtChksRes->text();
    const QString compared = edtChksCmp->text();
    QPalette fill = shpChks->palette();
    if (result == compared) {
        fill.setColor(QPalette::Window, QColor(0, 255, 0));
        lblTestChk->setText(MessageQ(Msg::ChecksumMatch));
    } else {
        fill.setColor(QPalette::Window, QColor(255, 0, 0));
        // Characters, not UTF-16 units: a pasted emoji is one character too many, not two.
        const bool sameLength = result.toUcs4().size() == compared.toUcs4().size();
        lblTestChk->setText(
            MessageQ(sameLength ? Msg::ChecksumNotMatch : Msg::ChecksumLengthNotEqual));
    }
    shpChks->setPalette(fill);
}

void ChecksumPage::ChecksumCopyExecute() {
    TfrmMain& main = MainOf(*this);
    main.Desktop().SetClipboardText(edtChksRes->text());
    ShowTaskInfo(main, MessageQ(Msg::Success), MessageQ(Msg::ChecksumCopy));
}

} // namespace partsmith
