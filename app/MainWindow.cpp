#include "MainWindow.h"

#include "AboutPage.h"
#include "AppTexts.h"
#include "ChecksumPage.h"
#include "ComparePage.h"
#include "ConfigurePage.h"
#include "HelpPage.h"
#include "JoinPage.h"
#include "PageKit.h"
#include "PasswordDialog.h"
#include "Platform.h"
#include "SelectDirDialog.h"
#include "SplitPage.h"
#include "StartupDialog.h"
#include "Widgets.h"
#include "settings/IniFile.h"
#include "text/Identity.h"
#include "text/LanguageFile.h"
#include "text/UnicodeAdds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>
#include <climits>
#include <system_error>

namespace partsmith {

namespace {

QString WindowTitleText() {
    return QString::fromStdString(FormatWide(kWindowTitleFormat, {kProductTitle, kVersionText}));
}

QString ArgumentAt(const QStringList& arguments, qsizetype position) {
    // Positions count from 1; one past the end reads as empty text.
    return position >= 1 && position <= arguments.size() ? arguments[position - 1] : QString();
}

// Raises the counter while the program itself changes the current page.
class ProgramPageChange {
public:
    explicit ProgramPageChange(int& depth) : depth_(depth) { ++depth_; }
    ~ProgramPageChange() { --depth_; }
    ProgramPageChange(const ProgramPageChange&) = delete;
    ProgramPageChange& operator=(const ProgramPageChange&) = delete;

private:
    int& depth_;
};

} // namespace

TfrmMain::TfrmMain(Platform& platform, StartParameters start)
    : platform_(platform), errors_(platform, this), executable_(std::move(start.executable)) {
    setObjectName(QStringLiteral("TfrmMain"));
    BuildWindow();
    FormCreate(start.arguments);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::AttachDialogs(TfrmSelDir& selDir, TfrmCnfFile& cnfFile, TfrmStartup& startup,
                             TfrmPasswd& passwd) {
    frmSelDir_ = &selDir;
    frmCnfFile_ = &cnfFile;
    frmStartup_ = &startup;
    frmPasswd_ = &passwd;
}

void TfrmMain::BuildWindow() {
    setWindowIcon(ProgramIcon());

    pnlMain = new QWidget(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    pgcMain = new QTabWidget(pnlMain);
    pgcMain->setObjectName(QStringLiteral("pgcMain"));
    {
        ProgramPageChange building(FProgramPageChange);
        tbSplit = new SplitPage(errors_, pgcMain);
        tbJoin = new JoinPage(errors_, pgcMain);
        tbCheck = new ChecksumPage(errors_, pgcMain);
        tbCmpf = new ComparePage(errors_, pgcMain);
        tbCfg = new ConfigurePage(pgcMain);
        tbHelp = new HelpPage(platform_, pgcMain);
        tbAbt = new AboutPage(platform_, pgcMain);
        pgcMain->addTab(tbSplit, QStringLiteral("Split File"));
        pgcMain->addTab(tbJoin, QStringLiteral("Join File"));
        pgcMain->addTab(tbCheck, QStringLiteral("Compare Checksum"));
        pgcMain->addTab(tbCmpf, QStringLiteral("Compare File"));
        pgcMain->addTab(tbCfg, QStringLiteral("Configure"));
        pgcMain->addTab(tbHelp, QStringLiteral("Help"));
        pgcMain->addTab(tbAbt, QStringLiteral("About"));
        pgcMain->setCurrentIndex(kSplitPage);
    }
    auto* mainLayout = new QVBoxLayout(pnlMain);
    mainLayout->setContentsMargins(8, 8, 8, 8);
    mainLayout->addWidget(pgcMain);

    pnlLog = new QWidget(this);
    pnlLog->setObjectName(QStringLiteral("pnlLog"));
    pnlLog->setMinimumHeight(100);
    mLog = new QPlainTextEdit(pnlLog);
    mLog->setObjectName(QStringLiteral("mLog"));
    mLog->setReadOnly(true);
    mLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    mLog->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setPointSize(8);
    mLog->setFont(fixed);
    auto* logLayout = new QVBoxLayout(pnlLog);
    logLayout->setContentsMargins(3, 3, 3, 3);
    logLayout->addWidget(mLog);

    Splitter1 = new QSplitter(Qt::Vertical, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(pnlMain);
    Splitter1->addWidget(pnlLog);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    setCentralWidget(Splitter1);

    StatBar = new QStatusBar(this);
    StatBar->setObjectName(QStringLiteral("StatBar"));
    StatPanel0 = new QLabel(StatBar);
    StatPanel0->setObjectName(QStringLiteral("StatPanel0"));
    StatPanel0->setFixedWidth(400);
    StatPanel0->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StatPanel1 = new QWidget(StatBar);
    StatPanel1->setObjectName(QStringLiteral("StatPanel1"));
    StatPanel1->setMinimumWidth(150);
    StatBar->addWidget(StatPanel0);
    StatBar->addWidget(StatPanel1, 1);
    setStatusBar(StatBar);
    pbStat = new QProgressBar(this);
    pbStat->setObjectName(QStringLiteral("pbStat"));
    pbStat->setRange(0, 100);
    pbStat->setValue(0);
    pbStat->setTextVisible(false);

    MainTrayIcon = new QSystemTrayIcon(ProgramIcon(), this);
    MainTrayIcon->setObjectName(QStringLiteral("MainTrayIcon"));

    resize(589, 577);
    Splitter1->setSizes({577 - 103, 103});
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    connect(pgcMain, &QTabWidget::currentChanged, this, &TfrmMain::OnTabChanged);
    connect(tbCfg->ConfigOk, &QAction::triggered, this, errors_.Guard([this] { ConfigOk(); }));
    connect(tbCfg->trPrior, &QSlider::valueChanged, this,
            [this](int position) { errors_.Run([&] { trPriorChange(position); }); });
    connect(tbSplit->SplitDirBrowse, &QAction::triggered, this,
            errors_.Guard([this] { SplitDirBrowseExecute(); }));
    connect(MainTrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
                    MainTrayIconClick();
            });
}

void TfrmMain::BuildStatusBar() {
    // The progress bar lies over panel 1 rather than in the bar's layout, so it can keep clear
    // of the size grip.
    pbStat->setParent(StatBar);
    pbStat->show();
    StatBar->installEventFilter(this);
    StatPanel1->installEventFilter(this);
    StatBarDrawPanel();
}

void TfrmMain::FormCreate(const QStringList& arguments) {
    errors_.Run([this] {
        IniFile file(SettingsPath(executable_));
        if (FileIsPresent(file.Path()))
            return;
        try {
            WriteFirstRunDefaults(file);
        } catch (const SettingsWriteError& writeError) {
            ReportSettingsWriteOnce(writeError);
        }
    });
    errors_.Run([this] { LoadSettings(); });
    AddLog(QString::fromStdString(FormatWide(kLaunchLogFormat, {kProductTitle, kVersionText})));
    setWindowTitle(WindowTitleText());
    BuildStatusBar();
    tbAbt->SetTitle(WindowTitleText());
    tbAbt->SetNoticeOfRights(QString::fromUtf8(kNoticeOfRights));
    ApplyCommandLine(arguments);
}

void TfrmMain::LoadSettings() {
    const IniFile file(SettingsPath(executable_));
    const Settings settings = ReadSettings(file);
    FFirstTime = settings.FirstTime;
    FMaxBufferSize = settings.MaxBufferSize;
    FAskWhenFileExists.store(settings.AskWhenFileExists);
    FMinimizeToTray = settings.MinimizeToTray;
    FExecuteWhenJoinFinish = settings.ExecuteWhenJoinFinish;
    tbCfg->edtExecp->setText(QString::fromStdString(settings.ProgramToExecute));
    const std::string language = settings.Language;
    FExitWhenFinished = settings.AlwaysExitWhenFinised;
    FFormOnTop = settings.SetFormOnTheTop;

    tbCfg->spMaxBuf->setValue(
        static_cast<int>(std::clamp<std::int64_t>(FMaxBufferSize, INT_MIN, INT_MAX)));
    tbCfg->chkAsf->setChecked(FAskWhenFileExists.load());
    tbCfg->chkMintr->setChecked(FMinimizeToTray);
    tbCfg->chkExecjf->setChecked(FExecuteWhenJoinFinish);
    tbCfg->chkExecjfClick();

    FLanguage = language;
    // A language file that cannot be read leaves the texts as they are; the settings still
    // take effect.
    errors_.Run([this] { LoadLanguage(LanguageFilePath(ExeFolder(), FLanguage)); });

    if (FExecuteWhenJoinFinish) {
        tbJoin->chkJnApr->setChecked(true);
        tbJoin->edtJnApr->setText(tbCfg->edtExecp->text());
        for (QWidget* control : std::initializer_list<QWidget*>{
                 tbCfg->lblExech, tbCfg->edtExecp, tbJoin->lblJnAprh, tbJoin->edtJnApr})
            control->setEnabled(true);
    }

    MainTrayIcon->setToolTip(WindowTitleText());

    tbCfg->chkExtFin->setChecked(FExitWhenFinished);

    if (FFormOnTop) {
        StayOnTop();
        tbCfg->chkStyp->setChecked(true);
    }
}

void TfrmMain::LoadLanguage(const std::filesystem::path& path) {
    const std::optional<LanguageFile> file = partsmith::LoadLanguage(path, Messages());
    if (!file) {
        platform_.ShowMessage(
            nullptr, QString::fromStdString(Messages().Text(Msg::Error)),
            QString::fromStdString(FormatWide(kLanguageFileNotFound, {Utf8FromPath(path)})),
            BoxIcon::Information);
        return;
    }
    const auto applyRows = [&file](const std::vector<CaptionRow>& rows) {
        for (const CaptionRow& row : rows) {
            if (row.message) {
                SetCaption(row.control, QString::fromStdString(Messages().Text(*row.message)));
            } else if (const auto value = file->Lookup(row.key)) {
                SetCaption(row.control, QString::fromStdString(*value));
            }
        }
    };
    const auto applyTab = [this, &file](int index, std::string_view key) {
        if (const auto value = file->Lookup(key))
            pgcMain->setTabText(index, QString::fromStdString(*value));
    };
    applyTab(kSplitPage, "TabSplitName");
    applyRows(tbSplit->CaptionRows());
    applyTab(kJoinPage, "TabJoinName");
    applyRows(tbJoin->CaptionRows());
    applyTab(kChecksumPage, "TabChecksumName");
    applyRows(tbCheck->CaptionRows());
    applyTab(kComparePage, "TabCompareName");
    applyRows(tbCmpf->CaptionRows());
}

void TfrmMain::ApplyCommandLine(const QStringList& arguments) {
    // From the last argument to the first: every option fills its page, and the leftmost one
    // decides which page is current.
    for (qsizetype i = arguments.size(); i >= 1; --i) {
        ShowAllPages();
        const QString& argument = arguments[i - 1];
        if (argument == QStringLiteral("-split")) {
            ShowOnlyPage(kSplitPage);
            tbSplit->edtSpltf->setText(ArgumentAt(arguments, i + 1));
        }
        if (argument == QStringLiteral("-join")) {
            ShowOnlyPage(kJoinPage);
            const QString firstPart = ArgumentAt(arguments, i + 1);
            tbJoin->edtJnSrc->setText(firstPart);
            tbJoin->edtJnSv->setText(
                QString::fromStdString(SwapExtension(firstPart.toStdString(), "")));
        }
        if (argument == QStringLiteral("-calc")) {
            ShowOnlyPage(kChecksumPage);
            tbCheck->edtChksF->setText(ArgumentAt(arguments, i + 1));
        }
        if (argument == QStringLiteral("-cmpf")) {
            ShowOnlyPage(kComparePage);
            tbCmpf->edtCmpF1->setText(ArgumentAt(arguments, i + 1));
            tbCmpf->edtCmpF2->setText(ArgumentAt(arguments, i + 2));
        }
    }
}

void TfrmMain::AddLog(const QString& text) {
    const QString stamp = platform_.LocalTime().toString(QStringLiteral("hh:mm:ss"));
    mLog->appendPlainText(stamp + QStringLiteral(" : ") + text);
    mLog->verticalScrollBar()->setValue(mLog->verticalScrollBar()->maximum());
}

void TfrmMain::SetStatusText(const QString& text) {
    StatPanel0->setText(text);
}

void TfrmMain::SetProgress(int percent) {
    pbStat->setValue(std::clamp(percent, 0, 100));
}

void TfrmMain::ShowOnlyPage(int index) {
    ProgramPageChange change(FProgramPageChange);
    for (int i = 0; i < pgcMain->count(); ++i) {
        if (i != index)
            pgcMain->setTabVisible(i, false);
    }
    if (index >= 0 && index < pgcMain->count() && pgcMain->isTabVisible(index))
        pgcMain->setCurrentIndex(index);
}

void TfrmMain::ShowAllPages() {
    ProgramPageChange change(FProgramPageChange);
    for (int i = 0; i < pgcMain->count(); ++i)
        pgcMain->setTabVisible(i, true);
}

void TfrmMain::OnTabChanged(int index) {
    if (FProgramPageChange > 0)
        return;
    errors_.Run([&] { pgcMainChange(index); });
}

void TfrmMain::pgcMainChange(int index) {
    switch (index) {
    case kConfigurePage:
        tbCfg->FillLanguageList(ListLanguageFiles(LanguageFolder(ExeFolder())), FLanguage);
        break;
    case kHelpPage:
        tbHelp->LoadHelp(DataFolder(ExeFolder(), "Help"));
        break;
    case kAboutPage:
        tbAbt->ShowFigures(platform_.Memory(), platform_.Os());
        break;
    default:
        break;
    }
}

void TfrmMain::ConfigOk() {
    Settings settings;
    settings.MaxBufferSize = tbCfg->spMaxBuf->ValueOrZero();
    settings.AskWhenFileExists = tbCfg->chkAsf->isChecked();
    settings.MinimizeToTray = tbCfg->chkMintr->isChecked();
    settings.ExecuteWhenJoinFinish = tbCfg->chkExecjf->isChecked();
    settings.ProgramToExecute = tbCfg->edtExecp->text().toStdString();
    settings.Language = tbCfg->cbxLang->currentText().toStdString();
    settings.AlwaysExitWhenFinised = tbCfg->chkExtFin->isChecked();
    settings.SetFormOnTheTop = tbCfg->chkStyp->isChecked();
    IniFile file(SettingsPath(executable_));
    try {
        WriteConfigureKeys(file, settings);
    } catch (const SettingsWriteError&) {
        // The copies follow what the file holds now; the failure, not a success, is reported.
        LoadSettings();
        throw;
    }
    LoadSettings();
    platform_.Beep();
    platform_.ShowMessage(this, QString::fromUtf8(kConfigurationSavedCaption),
                          QString::fromUtf8(kConfigurationSaved), BoxIcon::Information);
}

void TfrmMain::trPriorChange(int position) {
    SetProcessPriority(position);
}

void TfrmMain::SetProcessPriority(int level) {
    switch (level) {
    case 1:
        platform_.SetProcessPriority(ProcessPriority::Idle);
        break;
    case 2:
        platform_.SetProcessPriority(ProcessPriority::Normal);
        break;
    case 3:
        platform_.SetProcessPriority(ProcessPriority::High);
        break;
    default:
        break;
    }
}

std::optional<QString> TfrmMain::AskPassword() {
    if (platform_.RunDialog(*frmPasswd_) != QDialog::Accepted)
        return std::nullopt;
    QString password = frmPasswd_->Password();
    frmPasswd_->ForgetPassword();
    return password;
}

std::optional<QString> TfrmMain::ChooseFolder(const QString& folder) {
    // An empty field has no folder to start from; the tree stays as the user left it.
    if (!folder.isEmpty())
        frmSelDir_->SelectFolder(folder);
    frmSelDir_->edtDirLoc->setText(folder);
    if (platform_.RunDialog(*frmSelDir_) != QDialog::Accepted)
        return std::nullopt;
    return frmSelDir_->SelectedFolder();
}

void TfrmMain::SplitDirBrowseExecute() {
    if (const auto folder = ChooseFolder(tbSplit->edtSplDir->text()))
        tbSplit->edtSplDir->setText(*folder);
}

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A restore from an ordinary minimise is spontaneous and is no new showing.
    if (event->spontaneous() || FReapplyingFlags)
        return;
    // After the window is on the screen, so the welcome appears over it.
    QTimer::singleShot(0, this, [this] { errors_.Run([this] { FormShow(); }); });
}

void TfrmMain::FormShow() {
    if (FFirstTime) {
        if (frmStartup_ != nullptr && platform_.RunDialog(*frmStartup_) == QDialog::Accepted)
            platform_.OpenUrl(QString::fromUtf8(kDonationUrl));
        FFirstTime = false;
    }
    try {
        IniFile file(SettingsPath(executable_));
        file.WriteBool(kSettingsSection, "FirstTime", false);
    } catch (const SettingsWriteError& error) {
        ReportSettingsWriteOnce(error);
    }
    tbSplit->PresetLists();
}

void TfrmMain::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized) &&
        FMinimizeToTray && platform_.TrayAvailable()) {
        // Hiding from inside the state change confuses some window managers.
        QTimer::singleShot(0, this, &TfrmMain::MinimiseToTray);
    }
}

void TfrmMain::MinimiseToTray() {
    if (!(windowState() & Qt::WindowMinimized))
        return;
    hide();
    MainTrayIcon->show();
}

void TfrmMain::MainTrayIconClick() {
    showNormal();
    raise();
    activateWindow();
}

void TfrmMain::StayOnTop() {
    if (windowFlags() & Qt::WindowStaysOnTopHint)
        return;
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (visible) {
        FReapplyingFlags = true;
        show();
        FReapplyingFlags = false;
    }
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == StatPanel1 || watched == StatBar) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move ||
         event->type() == QEvent::Show || event->type() == QEvent::LayoutRequest))
        StatBarDrawPanel();
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::StatBarDrawPanel() {
    const QRect panel = StatPanel1->geometry();
    pbStat->setGeometry(panel.left(), panel.top(), std::max(0, panel.width() - 15), panel.height());
    pbStat->raise();
}

void TfrmMain::ReportSettingsWriteOnce(const SettingsWriteError& error) {
    if (FSettingsWriteReported)
        return;
    FSettingsWriteReported = true;
    errors_.Report(error.what());
}

std::filesystem::path TfrmMain::ExeFolder() const {
    return executable_.parent_path();
}

} // namespace partsmith
