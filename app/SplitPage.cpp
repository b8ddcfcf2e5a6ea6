#include "SplitPage.h"

#include "GeneralError.h"
#include "MainWindow.h"
#include "PageKit.h"
#include "TaskKit.h"
#include "TaskWorkers.h"
#include "Widgets.h"
#include "crypto/EncryptMod.h"
#include "io/File.h"
#include "split/PartSet.h"
#include "text/UnicodeAdds.h"

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
    connect(rbSplSz, &QRadioButton::toggled, this, errors.Guard([this] { rbSplSzClick(); }));
    connect(rbSplFn, &QRadioButton::toggled, this, errors.Guard([this] { rbSplFnClick(); }));
    connect(chkEncr, &QCheckBox::toggled, this, errors.Guard([this] { chkEncrClick(); }));
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

void SplitPage::SplitOpenExecute() {
    if (const auto picked = MainOf(*this).Desktop().OpenFileName(&MainOf(*this), openSplit, {}))
        SetSourceFields(*picked);
}

void SplitPage::drpSplDrop(const QStringList& files) {
    if (!files.isEmpty())
        SetSourceFields(files.front());
}

void SplitPage::SetSourceFields(const QString& path) {
    const std::string text = path.toStdString();
    edtSpltf->setText(path);
    edtSplNm->setText(ToQ(PathNamePart(text)));
    edtSplDir->setText(ToQ(PathFolderPart(text)));
}

void SplitPage::rbSplSzClick() {
    if (!rbSplSz->isChecked())
        return;
    for (QWidget* control : std::initializer_list<QWidget*>{lblFszH, spSpSz, cbxFszOpt})
        control->setEnabled(true);
    lblBfnH->setEnabled(false);
    spFnum->setEnabled(false);
}

void SplitPage::rbSplFnClick() {
    if (!rbSplFn->isChecked())
        return;
    lblBfnH->setEnabled(true);
    spFnum->setEnabled(true);
    for (QWidget* control : std::initializer_list<QWidget*>{lblFszH, spSpSz, cbxFszOpt})
        control->setEnabled(false);
}

void SplitPage::chkEncrClick() {
    const bool encrypted = chkEncr->isChecked();
    for (QWidget* control :
         std::initializer_list<QWidget*>{lblEncryH, cbxEncryptm, lblHseH, cbxEncrHash})
        control->setEnabled(encrypted);
}

void SplitPage::SplitStartExecute() {
    TfrmMain& main = MainOf(*this);
    const QString sourceText = edtSpltf->text();
    const std::filesystem::path source = PathOfField(sourceText);
    if (!FileIsPresent(source)) {
        const QString text = MessageQ(Msg::FileNotFound, {sourceText.toStdString()});
        ShowTaskError(main, text);
        main.AddLog(text);
        return;
    }
    main.AddLog(MessageQ(Msg::PerformFile, {sourceText.toStdString()}));

    std::uint64_t partSize = 0;
    if (rbSplSz->isChecked()) {
        partSize = PartSizeFromUnits(spSpSz->ValueOrZero(),
                                     SizeUnitForListIndex(cbxFszOpt->currentIndex()));
    } else if (rbSplFn->isChecked()) {
        // A source that cannot be read ends the action here with the system's reason.
        const std::uint64_t sourceSize = RealFileSystem().OpenRead(source)->Size();
        partSize = PartSizeFromCount(sourceSize, spFnum->ValueOrZero());
    }
    main.AddLog(MessageQ(Msg::SizeInfo, {static_cast<std::int64_t>(partSize)}));
    main.SetProgress(0);

    QString password;
    if (chkEncr->isChecked()) {
        auto typed = main.AskPassword();
        if (!typed)
            return;
        password = std::move(*typed);
    }

    LockSplitPage();
    if (partSize != 0 && spSpSz->ValueOrZero() > 0) {
        FSplitStop = false;
        FSplitPause = false;
        main.AddLog(MessageQ(Msg::ThreadCreate));
        SplitParams params;
        params.SourceFile = source;
        params.OutputDir = PathOfField(edtSplDir->text());
        params.BaseName = edtSplNm->text().toStdString();
        params.Password = password.toStdString();
        password.fill(QChar(0));
        params.PartSize = partSize;
        params.Encrypted = chkEncr->isChecked();
        if (params.Encrypted) {
            // Codes outside the catalogue stay 0; the split refuses them with its own message.
            params.CipherCode = CipherCodeForListIndex(cbxEncryptm->currentIndex()).value_or(0);
            params.HashCode = HashCodeForListIndex(cbxEncrHash->currentIndex()).value_or(0);
        }
        params.BufferSize = BufferBytesFromKiB(main.MaxBufferSize());
        FSplitSource = source;
        try {
            TFileSplit::Start(*this, std::move(params));
        } catch (const std::exception& error) {
            SplitOutcome failed;
            failed.Result = SplitResult::Failed;
            failed.Message = error.what();
            SplitFinished(failed);
        }
        return;
    }
    const QString text = MessageQ(Msg::ErrFSzero);
    ShowTaskError(main, text);
    main.AddLog(text);
    SplitOutcome refused;
    refused.Result = SplitResult::Refused;
    SplitFinished(refused);
}

void SplitPage::LockSplitPage() {
    TfrmMain& main = MainOf(*this);
    grpSplTarg->setEnabled(false);
    grpSplOpt->setEnabled(false);
    SplitPause->setVisible(true);
    SplitStop->setVisible(true);
    SplitStart->setVisible(false);
    main.ShowOnlyPage(kSplitPage);
    main.FStartTick = main.Desktop().TickCount();
}

void SplitPage::SplitPauseExecute() {
    FSplitPause = !FSplitPause;
    btPwsSplt->setText(MessageQ(FSplitPause ? Msg::Resume : Msg::Pause));
}

void SplitPage::SplitStopExecute() {
    FSplitStop = true;
}

void SplitPage::ShowSplitProgress(const QString& statusText, double percent) {
    TfrmMain& main = MainOf(*this);
    main.SetStatusText(statusText);
    main.SetProgress(static_cast<int>(percent));
}

void SplitPage::ReadSplitFlags(bool& paused, bool& stopped) const {
    stopped = FSplitStop;
    paused = FSplitPause;
}

void SplitPage::SplitFinished(const SplitOutcome& outcome) {
    TfrmMain& main = MainOf(*this);
    grpSplTarg->setEnabled(true);
    grpSplOpt->setEnabled(true);
    SplitStart->setVisible(true);
    SplitPause->setVisible(false);
    SplitStop->setVisible(false);
    const std::string seconds = TakePerformTime(main);
    main.Desktop().Beep();
    // Only a split that wrote and closed every part leaves a second copy of the data.
    if (chkSplDel->isChecked() && outcome.Result == SplitResult::Completed)
        RemoveQuietly(FSplitSource);
    // Asked now, carried out once this routine and the result box below have returned.
    const bool closeAfter = main.ExitWhenFinished();
    switch (outcome.Result) {
    case SplitResult::Completed: {
        const QString text = MessageQ(Msg::SplitRes, {seconds});
        main.AddLog(text);
        ShowTaskInfo(main, MessageQ(Msg::Success), text);
        break;
    }
    case SplitResult::Stopped: {
        const QString text = MessageQ(Msg::SplitAborted);
        main.AddLog(text);
        ShowTaskInfo(main, MessageQ(Msg::Abort), text);
        break;
    }
    case SplitResult::Refused:
        break; // its error box has been shown
    case SplitResult::Failed: {
        const QString text = MessageQ(Msg::SplitFailed, {outcome.Message});
        main.AddLog(text);
        ShowTaskError(main, text);
        break;
    }
    }
    main.SetStatusText(MessageQ(Msg::SplitEnds));
    main.ShowAllPages();
    if (closeAfter)
        CloseWindowSoon(main);
}

} // namespace partsmith
