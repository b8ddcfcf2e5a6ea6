#include "SplitPage.h"

#include "GeneralError.h"
#include "PageKit.h"
#include "Widgets.h"
#include "crypto/EncryptMod.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace partsmith {

namespace {

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

SplitPage::SplitPage(GeneralErrorHandler& errors, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tbSplit"));

    grpSplTarg = MakeGroup(QStringLiteral("grpSplTarg"), QStringLiteral("Target File"), this);
    lblSplTargHints = MakeLabel(QStringLiteral("lblSplTargHints"),
                                QStringLiteral("File which do you want to Split"), grpSplTarg);
    edtSpltf = MakeEdit(QStringLiteral("edtSpltf"), grpSplTarg);
    btBrowSpl = MakeButton(QStringLiteral("btBrowSpl"), QStringLiteral("Browse"), grpSplTarg);

    grpSplOpt = MakeGroup(QStringLiteral("grpSplOpt"), QStringLiteral("Split Options"), this);
    rbSplSz = MakeRadio(QStringLiteral("rbSplSz"), QStringLiteral("By Size"), grpSplOpt);
    rbSplSz->setChecked(true);
    lblFszH = MakeLabel(QStringLiteral("lblFszH"), QStringLiteral("File Size per splited File"),
                        grpSplOpt);
    spSpSz = new SpinEdit(QStringLiteral("spSpSz"), 100, grpSplOpt);
    cbxFszOpt = MakeList(QStringLiteral("cbxFszOpt"), grpSplOpt);
    cbxFszOpt->addItems({QStringLiteral("Bytes"), QStringLiteral("KiloBytes"),
                         QStringLiteral("MegaBytes"), QStringLiteral("GigaBytes")});
    cbxFszOpt->setCurrentIndex(-1);
    cbxFszOpt->setFocusPolicy(Qt::ClickFocus);
    rbSplFn = MakeRadio(QStringLiteral("rbSplFn"), QStringLiteral("By File Numbers"), grpSplOpt);
    lblBfnH = MakeLabel(QStringLiteral("lblBfnH"), QStringLiteral("Number of Files"), grpSplOpt);
    lblBfnH->setEnabled(false);
    spFnum = new SpinEdit(QStringLiteral("spFnum"), 5, grpSplOpt);
    spFnum->setEnabled(false);
    lblOutSplNm =
        MakeLabel(QStringLiteral("lblOutSplNm"), QStringLiteral("Output name"), grpSplOpt);
    edtSplNm = MakeEdit(QStringLiteral("edtSplNm"), grpSplOpt);
    lblOutSplDir =
        MakeLabel(QStringLiteral("lblOutSplDir"), QStringLiteral("Output Directory"), grpSplOpt);
    edtSplDir = MakeEdit(QStringLiteral("edtSplDir"), grpSplOpt);
    btnSpdb = MakeButton(QStringLiteral("btnSpdb"), QStringLiteral("Browse"), grpSplOpt);
    chkSplDel = MakeCheck(QStringLiteral("chkSplDel"),
                          QStringLiteral("Delete source file after splitting"), grpSplOpt);
    chkEncr = MakeCheck(QStringLiteral("chkEncr"), QStringLiteral("Encrypt Data"), grpSplOpt);
    lblEncryH = MakeLabel(QStringLiteral("lblEncryH"), QStringLiteral("Mode"), grpSplOpt);
    lblEncryH->setEnabled(false);
    cbxEncryptm = MakeList(QStringLiteral("cbxEncryptm"), grpSplOpt);
    for (const CipherEntry& cipher : CipherList())
        cbxEncryptm->addItem(FromView(cipher.listName));
    cbxEncryptm->setCurrentIndex(-1);
    cbxEncryptm->setEnabled(false);
    lblHseH = MakeLabel(QStringLiteral("lblHseH"), QStringLiteral("Hashing Type"), grpSplOpt);
    lblHseH->setEnabled(false);
    cbxEncrHash = MakeList(QStringLiteral("cbxEncrHash"), grpSplOpt);
    for (const HashEntry& hash : HashList())
        cbxEncrHash->addItem(FromView(hash.listName));
    cbxEncrHash->setCurrentIndex(-1);
    cbxEncrHash->setEnabled(false);

    btPwsSplt =
        MakeButton(QStringLiteral("btPwsSplt"), QString::fromStdString(Message(Msg::Pause)), this);
    btStpSplt =
        MakeButton(QStringLiteral("btStpSplt"), QString::fromStdString(Message(Msg::Abort)), this);
    btStSplt = MakeButton(QStringLiteral("btStSplt"), QString(), this);

    SplitOpen = MakeAction(this, QStringLiteral("SplitOpen"), QStringLiteral("Split"),
                           QStringLiteral("Browse"), 0, true);
    SplitStart = MakeAction(this, QStringLiteral("SplitStart"), QStringLiteral("Split"),
                            QStringLiteral("&Start Split"), 2, true);
    SplitStop = MakeAction(this, QStringLiteral("SplitStop"), QStringLiteral("Split"),
                           QStringLiteral("&Stop"), 3, false);
    SplitPause = MakeAction(this, QStringLiteral("SplitPause"), QStringLiteral("Split"),
                            QStringLiteral("&Pause"), 4, false);
    SplitDirBrowse = MakeAction(this, QStringLiteral("SplitDirBrowse"), QStringLiteral("Split"),
                                QStringLiteral("Browse"), 0, true);
    BindButton(btBrowSpl, SplitOpen);
    BindButton(btStSplt, SplitStart);
    BindButton(btStpSplt, SplitStop, true);
    BindButton(btPwsSplt, SplitPause, true);
    BindButton(btnSpdb, SplitDirBrowse);

    auto* target = new QGridLayout(grpSplTarg);
    target->addWidget(lblSplTargHints, 0, 0, 1, 2);
    target->addWidget(edtSpltf, 1, 0);
    target->addWidget(btBrowSpl, 1, 1);

    auto* options = new QGridLayout(grpSplOpt);
    options->addWidget(rbSplSz, 0, 0);
    options->addWidget(lblFszH, 0, 1);
    options->addWidget(spSpSz, 0, 2);
    options->addWidget(cbxFszOpt, 0, 3);
    options->addWidget(rbSplFn, 1, 0);
    options->addWidget(lblBfnH, 1, 1);
    options->addWidget(spFnum, 1, 2);
    options->addWidget(lblOutSplNm, 2, 0);
    options->addWidget(edtSplNm, 2, 1, 1, 3);
    options->addWidget(lblOutSplDir, 3, 0);
    options->addWidget(edtSplDir, 3, 1, 1, 2);
    options->addWidget(btnSpdb, 3, 3);
    options->addWidget(chkSplDel, 4, 0, 1, 4);
    options->addWidget(chkEncr, 5, 0);
    options->addWidget(lblEncryH, 5, 1);
    options->addWidget(cbxEncryptm, 5, 2, 1, 2);
    options->addWidget(lblHseH, 6, 1);
    options->addWidget(cbxEncrHash, 6, 2, 1, 2);
    options->setColumnStretch(2, 1);
    options->setRowStretch(7, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(grpSplTarg);
    page->addWidget(grpSplOpt, 1);
    page->addLayout(MakeTaskButtonRow(btPwsSplt, btStpSplt, btStSplt));
    InstallDefaultButton(this, btStSplt);

    drpSpl = new FileDropTarget(QStringLiteral("drpSpl"), this);

    connect(SplitOpen, &QAction::triggered, this, errors.Guard([this] { SplitOpenExecute(); }));
    connect(SplitStart, &QAction::triggered, this, errors.Guard([this] { SplitStartExecute(); }));
    connect(SplitStop, &QAction::triggered, this, errors.Guard([this] { SplitStopExecute(); }));
    connect(SplitPause, &QAction::triggered, this, errors.Guard([this] { SplitPauseExecute(); }));
    connect(drpSpl, &FileDropTarget::dropped, this,
            [this, &errors](const QStringList& files) { errors.Run([&] { drpSplDrop(files); }); });
}

void SplitPage::PresetLists() {
    cbxFszOpt->setCurrentIndex(2);
    cbxEncryptm->setCurrentIndex(0);
    cbxEncrHash->setCurrentIndex(2);
}

std::vector<CaptionRow> SplitPage::CaptionRows() const {
    return {
        {"TargetName", {}, grpSplTarg},
        {"SplitTargetHint", {}, lblSplTargHints},
        {"BrowseHint", {}, btBrowSpl},
        {"GroupSplitOptions", {}, grpSplOpt},
        {"BySize", {}, rbSplSz},
        {"ByFileNumber", {}, rbSplFn},
        {"BySizeSetHints", {}, lblFszH},
        {"ByFileNumberSetHints", {}, lblBfnH},
        {"SplitOutputName", {}, lblOutSplNm},
        {"SplitOutputDir", {}, lblOutSplDir},
        {"BrowseHint", {}, btnSpdb},
        {"SplitDeleteSourceFile", {}, chkSplDel},
        {"SplitEncryptFile", {}, chkEncr},
        {"EncryptMode", {}, lblEncryH},
        {"EncryptHashType", {}, lblHseH},
        {{}, Msg::Pause, btPwsSplt},
        {{}, Msg::Abort, btStpSplt},
        {"SplitStart", {}, btStSplt},
    };
}

void SplitPage::SplitOpenExecute() {}
void SplitPage::SplitStartExecute() {}
void SplitPage::SplitStopExecute() {}
void SplitPage::SplitPauseExecute() {}
void SplitPage::drpSplDrop(const QStringList& files) {
    (void)files;
}

} // namespace partsmith
