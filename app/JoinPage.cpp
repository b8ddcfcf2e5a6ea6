#include "JoinPage.h"

#include "GeneralError.h"
#include "MainWindow.h"
#include "NextPartDialog.h"
#include "PageKit.h"
#include "TaskKit.h"
#include "TaskWorkers.h"
#include "Widgets.h"
#include "io/File.h"
#include "join/PartScan.h"
#include "settings/Settings.h"
#include "text/CommandLine.h"
#include "text/UnicodeAdds.h"

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
    connect(rbJnSc, &QRadioButton::toggled, this, errors.Guard([this] { rbJnScClick(); }));
    connect(rbJnUd, &QRadioButton::toggled, this, errors.Guard([this] { rbJnUdClick(); }));
    connect(chkJnApr, &QCheckBox::toggled, this, errors.Guard([this] { chkJnAprClick(); }));
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

void JoinPage::JoinAddExecute() {
    if (const auto picked = MainOf(*this).Desktop().OpenFileName(&MainOf(*this), openJoin, {}))
        SetSourceFields(*picked);
}

void JoinPage::drpJoinDrop(const QStringList& files) {
    if (!files.isEmpty())
        SetSourceFields(files.front());
}

void JoinPage::SetSourceFields(const QString& path) {
    edtJnSrc->setText(path);
    edtJnSv->setText(ToQ(DefaultJoinOutput(path.toStdString())));
}

void JoinPage::JoinSaveExecute() {
    if (const auto picked = MainOf(*this).Desktop().SaveFileName(&MainOf(*this), svDlgJoin, {}))
        edtJnSv->setText(*picked);
}

void JoinPage::rbJnScClick() {
    if (!rbJnSc->isChecked())
        return;
    for (QWidget* control : std::initializer_list<QWidget*>{spJnMin, spJnMax, lblToH})
        control->setEnabled(false);
}

void JoinPage::rbJnUdClick() {
    if (!rbJnUd->isChecked())
        return;
    for (QWidget* control : std::initializer_list<QWidget*>{spJnMin, spJnMax, lblToH})
        control->setEnabled(true);
}

void JoinPage::chkJnAprClick() {
    lblJnAprh->setEnabled(chkJnApr->isChecked());
    edtJnApr->setEnabled(chkJnApr->isChecked());
}

void JoinPage::JoinStartExecute() {
    TfrmMain& main = MainOf(*this);
    const QString sourceText = edtJnSrc->text();
    const std::string picked = sourceText.toStdString();
    if (!FileIsPresent(PathOfField(sourceText))) {
        const QString text = MessageQ(Msg::FileNotFound, {picked});
        ShowTaskError(main, text);
        main.AddLog(text);
        return;
    }
    main.AddLog(MessageQ(Msg::PerformFile, {picked}));

    PartSetRange set;
    if (rbJnUd->isChecked()) {
        set = RangePartSet(picked, spJnMin->ValueOrZero(), spJnMax->ValueOrZero());
    } else {
        // A number that does not read raises the integer-value error for the general handler.
        ScanReport report;
        report.Status = [&main](const std::string& text) { main.SetStatusText(ToQ(text)); };
        report.Log = [&main](const std::string& text) { main.AddLog(ToQ(text)); };
        set = ScanPartSet(picked, report);
    }
    FJoinFirst = set.First;
    FJoinLast = set.Last;
    FJoinWidth = set.Width;
    FJoinEncrypted = set.Encrypted;

    QString password;
    if (FJoinEncrypted) {
        auto typed = main.AskPassword();
        if (!typed)
            return;
        password = std::move(*typed);
    }
    FJoinStop = false;
    FJoinPause = false;
    LockJoinPage();
    main.AddLog(MessageQ(Msg::ThreadCreate));

    JoinParams params;
    params.SourceName = PathOfField(sourceText);
    params.OutputName = PathOfField(edtJnSv->text());
    params.Password = password.toStdString();
    password.fill(QChar(0));
    params.FirstPart = FJoinFirst;
    params.LastPart = FJoinLast;
    params.NumberWidth = FJoinWidth;
    params.Encrypted = FJoinEncrypted;
    params.BufferSize = BufferBytesFromKiB(main.MaxBufferSize());
    FJoinBase = PartSetBase(picked);
    try {
        TFileJoin::Start(*this, std::move(params));
    } catch (const std::exception& error) {
        JoinOutcome failed;
        failed.Result = JoinResult::Failed;
        failed.Message = error.what();
        JoinFinished(failed);
    }
}

void JoinPage::LockJoinPage() {
    TfrmMain& main = MainOf(*this);
    grpJnSrc->setEnabled(false);
    grpJnOpt->setEnabled(false);
    JoinPause->setVisible(true);
    JoinStop->setVisible(true);
    JoinStart->setVisible(false);
    main.ShowOnlyPage(kJoinPage);
    main.FStartTick = main.Desktop().TickCount();
}

void JoinPage::UnlockJoinPage() {
    grpJnSrc->setEnabled(true);
    grpJnOpt->setEnabled(true);
    JoinStart->setVisible(true);
    JoinPause->setVisible(false);
    JoinStop->setVisible(false);
}

void JoinPage::JoinPauseExecute() {
    FJoinPause = !FJoinPause;
    btPwsJoin->setText(MessageQ(FJoinPause ? Msg::Resume : Msg::Pause));
}

void JoinPage::JoinStopExecute() {
    FJoinStop = true;
}

void JoinPage::ShowJoinProgress(const QString& statusText, double percent) {
    TfrmMain& main = MainOf(*this);
    main.SetStatusText(statusText);
    main.SetProgress(static_cast<int>(percent));
}

void JoinPage::ReadJoinFlags(bool& paused, bool& stopped) const {
    stopped = FJoinStop;
    paused = FJoinPause;
}

std::optional<std::filesystem::path>
JoinPage::AskNextPart(const std::filesystem::path& expectedPath) {
    TfrmMain& main = MainOf(*this);
    TfrmCnfFile& dialog = main.NextPartDialog();
    dialog.edtPath->setText(ToQ(Utf8FromPath(expectedPath)));
    if (main.Desktop().RunDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return PathOfField(dialog.edtPath->text());
}

void JoinPage::CompareCrc(const std::string& storedCrc, const std::string& joinedCrc) {
    if (storedCrc != joinedCrc) {
        FJoinStoredCrc = storedCrc;
        FJoinResultCrc = joinedCrc;
        FJoinCrcMismatch = true;
    } else {
        FJoinCrcMismatch = false;
    }
}

void JoinPage::JoinFinished(const JoinOutcome& outcome) {
    TfrmMain& main = MainOf(*this);
    if (outcome.Result == JoinResult::Cancelled) {
        // The overwrite question was cancelled: nothing was written, so there is nothing to
        // report and nothing to follow up.
        UnlockJoinPage();
        main.ShowAllPages();
        return;
    }
    UnlockJoinPage();
    const std::string seconds = TakePerformTime(main);
    main.Desktop().Beep();
    // The parts are the only sure copy of the data until a join has run through its last part
    // and, for an encrypted set, its checksum has matched.
    const bool joinedWhole = outcome.Result == JoinResult::Completed &&
                             (!FJoinEncrypted || outcome.Crc == CrcVerdict::Match);
    if (chkDlJn->isChecked() && joinedWhole)
        DeleteParts(outcome.OutputPath);
    if (chkJnApr->isChecked() && joinedWhole)
        Launch(outcome.OutputPath);
    // Asked now, carried out once this routine and the result box below have returned.
    const bool closeAfter = main.ExitWhenFinished();

    switch (outcome.Result) {
    case JoinResult::Stopped: {
        const QString text = MessageQ(Msg::JoinAborted);
        main.AddLog(text);
        ShowTaskInfo(main, MessageQ(Msg::Abort), text);
        break;
    }
    case JoinResult::Completed: {
        const QString text = MessageQ(Msg::JoinRes, {seconds});
        main.AddLog(text);
        if (FJoinEncrypted && FJoinCrcMismatch) {
            ShowTaskError(main, MessageQ(Msg::FileJoinChkErr, {FJoinStoredCrc, FJoinResultCrc}));
        } else {
            ShowTaskInfo(main, MessageQ(Msg::Success), text);
        }
        break;
    }
    case JoinResult::Cancelled:
        break;
    case JoinResult::NoPartFound:
    case JoinResult::Refused: {
        const QString text = ToQ(outcome.Message);
        main.AddLog(text);
        ShowTaskError(main, text);
        break;
    }
    case JoinResult::Failed: {
        const QString text = MessageQ(Msg::JoinFailed, {outcome.Message});
        main.AddLog(text);
        ShowTaskError(main, text);
        break;
    }
    }
    main.SetStatusText(MessageQ(Msg::JoinEnds));
    main.ShowAllPages();
    if (closeAfter)
        CloseWindowSoon(main);
}

void JoinPage::DeleteParts(const std::filesystem::path& output) const {
    FileSystem& files = RealFileSystem();
    for (std::int64_t n = FJoinFirst; n <= FJoinLast; ++n) {
        const auto part = PathFromUtf8(PartFileName(FJoinBase, n, FJoinWidth, FJoinEncrypted));
        try {
            // The joined file is never one of the parts, but a link could make it look so.
            if (!output.empty() && files.SameFile(part, output))
                continue;
        } catch (...) {
            continue;
        }
        RemoveQuietly(part);
    }
}

void JoinPage::Launch(const std::filesystem::path& output) {
    TfrmMain& main = MainOf(*this);
    std::string commandLine;
    try {
        commandLine = LaunchCommandLine(edtJnApr->text().toStdString(), Utf8FromPath(output));
    } catch (const FormatError& error) {
        main.Errors().Report(error.what());
        return;
    }
    const std::vector<std::string> words = SplitCommandLine(commandLine);
    if (words.empty())
        return;
    QStringList arguments;
    for (std::size_t i = 1; i < words.size(); ++i)
        arguments << ToQ(words[i]);
    // Started without a shell and not waited for; whether it started is not checked.
    static_cast<void>(main.Desktop().StartProcess(ToQ(words.front()), arguments));
}

} // namespace partsmith
