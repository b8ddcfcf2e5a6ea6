// The main window: its controls at start, the page lock and the page change handling, default
// buttons, log, status and progress, the general error handler, the Configure, Help and About
// pages and the drop targets.
#include "AboutPage.h"
#include "ChecksumPage.h"
#include "ComparePage.h"
#include "ConfigurePage.h"
#include "HelpPage.h"
#include "JoinPage.h"
#include "SplitPage.h"
#include "TestInstall.h"
#include "Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>
#include <stdexcept>

using namespace partsmith;
using namespace Qt::StringLiterals;
using namespace partsmith::test;

namespace {

std::unique_ptr<Program> LaunchSeen(const TestInstall& install, FakePlatform& platform) {
    install.WriteSeenSettings();
    install.WriteLanguage(QStringLiteral("English"), "; built-in texts\r\n");
    return install.Launch(platform);
}

template <class T> T* Find(TfrmMain& window, const char* name) {
    T* found = window.findChild<T*>(QLatin1String(name));
    if (found == nullptr)
        qFatal("no control %s", name);
    return found;
}

} // namespace

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void controlsAtStart();
    void buttonsFollowTheirActions();
    void showOnlyPageAndShowAllPages();
    void pageChangeRunsOnlyOnTheUsersChoice();
    void enterRunsTheCurrentPagesStart();
    void setProgressClamps_data();
    void setProgressClamps();
    void logAndStatus();
    void progressBarStaysInItsPanel();
    void closingPeriod_data();
    void closingPeriod();
    void generalHandlerReportsAndCarriesOn();
    void configOkWritesEightKeysAndReloads();
    void configOkReportsAFailedWrite();
    void priorityFollowsTheSlider();
    void helpMissingThenFound();
    void aboutFiguresRefreshOnEachVisit();
    void aboutLinksOpenTheirAddresses();
    void dropTargetsTakeCopiesNotMoves();
};

void WindowTest::controlsAtStart() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    QCOMPARE(window.pgcMain->count(), 7);
    const QStringList tabs{u"Split File"_s,   u"Join File"_s, u"Compare Checksum"_s,
                           u"Compare File"_s, u"Configure"_s, u"Help"_s,
                           u"About"_s};
    const QStringList pages{u"tbSplit"_s, u"tbJoin"_s, u"tbCheck"_s, u"tbCmpf"_s,
                            u"tbCfg"_s,   u"tbHelp"_s, u"tbAbt"_s};
    for (int i = 0; i < 7; ++i) {
        QCOMPARE(window.pgcMain->tabText(i), tabs[i]);
        QCOMPARE(window.pgcMain->widget(i)->objectName(), pages[i]);
    }
    QCOMPARE(window.pgcMain->currentIndex(), 0);

    for (const char* hidden : {"btPwsSplt", "btStpSplt", "btPwsJoin", "btStpJoin", "btnCmpPws",
                               "btnCmpStp", "BitBtn8", "lblChksStat", "SpeedButton1"})
        QVERIFY2(Find<QWidget>(window, hidden)->isHidden(), hidden);
    for (const char* disabled :
         {"lblBfnH", "spFnum", "lblEncryH", "cbxEncryptm", "lblHseH", "cbxEncrHash", "spJnMin",
          "lblToH", "spJnMax", "lblJnAprh", "edtJnApr", "lblExech", "edtExecp"})
        QVERIFY2(!Find<QWidget>(window, disabled)->isEnabled(), disabled);
    for (const char* checked : {"rbSplSz", "rbJnSc", "rbCrc32", "rbCmpch", "chkCmpsz", "chkAsf"})
        QVERIFY2(Find<QAbstractButton>(window, checked)->isChecked(), checked);
    for (const char* unchecked :
         {"rbSplFn", "chkSplDel", "chkEncr", "rbJnUd", "chkJnApr", "chkDlJn", "rbMd5", "rbCmpfc",
          "chkMintr", "chkExecjf", "chkExtFin", "chkStyp"})
        QVERIFY2(!Find<QAbstractButton>(window, unchecked)->isChecked(), unchecked);

    QCOMPARE(Find<QSpinBox>(window, "spSpSz")->value(), 100);
    QCOMPARE(Find<QSpinBox>(window, "spFnum")->value(), 5);
    QCOMPARE(Find<QSpinBox>(window, "spJnMin")->value(), 1);
    QCOMPARE(Find<QSpinBox>(window, "spJnMax")->value(), 5);
    QCOMPARE(Find<QSpinBox>(window, "spMaxBuf")->value(), 8192);
    auto* slider = Find<QSlider>(window, "trPrior");
    QCOMPARE(slider->minimum(), 0);
    QCOMPARE(slider->maximum(), 3);
    QCOMPARE(slider->value(), 2);

    auto* sizes = Find<QComboBox>(window, "cbxFszOpt");
    QCOMPARE(sizes->count(), 4);
    QCOMPARE(sizes->itemText(3), QStringLiteral("GigaBytes"));
    QVERIFY(!(sizes->focusPolicy() & Qt::TabFocus));
    auto* ciphers = Find<QComboBox>(window, "cbxEncryptm");
    QCOMPARE(ciphers->count(), 19);
    QCOMPARE(ciphers->itemText(0), QStringLiteral("Blowfish"));
    auto* hashes = Find<QComboBox>(window, "cbxEncrHash");
    QCOMPARE(hashes->count(), 10);
    QCOMPARE(hashes->itemText(0), QStringLiteral("Haval"));
    QCOMPARE(hashes->itemText(2), QStringLiteral("MD5"));

    QVERIFY(Find<QLineEdit>(window, "edtChksRes")->isReadOnly());
    QCOMPARE(Find<QLabel>(window, "lblTestChk")->text(), QStringLiteral("Data not Entered!"));
    QCOMPARE(Find<QLabel>(window, "PhysMem")->text(), QStringLiteral("PhysMem"));
    QVERIFY(window.mLog->isReadOnly());
    QVERIFY(window.mLog->font().fixedPitch());
    QCOMPARE(window.pbStat->value(), 0);
    QVERIFY(window.tbCfg->cbxLang->count() == 0);
    for (const char* target : {"drpSpl", "drpJoin", "drpChksm", "drpCmpF"})
        QVERIFY2(window.findChild<FileDropTarget*>(QLatin1String(target)) != nullptr, target);
}

void WindowTest::buttonsFollowTheirActions() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    struct Binding {
        const char* button;
        const char* action;
        const char* caption;
        const char* actionCaption;
        bool visible;
    };
    const Binding bindings[] = {
        {"btBrowSpl", "SplitOpen", "Browse", "Browse", true},
        {"btStSplt", "SplitStart", "&Start Split", "&Start Split", true},
        {"btStpSplt", "SplitStop", "Abort", "&Stop", false},
        {"btPwsSplt", "SplitPause", "&Pause", "&Pause", false},
        {"btnSpdb", "SplitDirBrowse", "Browse", "Browse", true},
        {"btBrowJn", "JoinAdd", "Browse", "Add", true},
        {"btStrJoin", "JoinStart", "&Start Join", "&Start Join", true},
        {"btStpJoin", "JoinStop", "Abort", "&Stop", false},
        {"btPwsJoin", "JoinPause", "&Pause", "&Pause", false},
        {"btnOutpJoin", "JoinSave", "Browse", "Browse", true},
        {"BitBtn4", "ChecksumOpen", "&Browse", "&Browse", true},
        {"btnChkst", "ChecksumStart", "&Start Calculate", "&Start Calculate", true},
        {"btCopyCh", "ChecksumCopy", "Copy To Clipboard", "Copy To Clipboard", true},
        {"btBrowF1", "CompareOpen1", "&Browse", "&Browse", true},
        {"btBrowF2", "CompareOpen2", "&Browse", "&Browse", true},
        {"btnCmpst", "CompareStart", "&Start Compare", "Start Compare", true},
        {"btnCmpPws", "ComparePause", "&Pause", "&Pause", false},
        {"btnCmpStp", "CompareStop", "&Stop", "&Stop", false},
        {"BitBtn7", "ConfigOk", "&OK", "&OK", true},
        {"BitBtn8", "ConfigAsc", "Associate *.001 files as default",
         "Associate *.001 files as default", false},
    };
    for (const Binding& binding : bindings) {
        auto* button = Find<QPushButton>(window, binding.button);
        auto* action = Find<QAction>(window, binding.action);
        QCOMPARE(button->text(), QLatin1String(binding.caption));
        QCOMPARE(action->text(), QLatin1String(binding.actionCaption));
        QCOMPARE(action->isVisible(), binding.visible);
        QCOMPARE(!button->isHidden(), binding.visible);
        QVERIFY2(!button->icon().isNull(), binding.button);

        // A click runs the action; the action's enabling and visibility carry over.
        QSignalSpy triggered(action, &QAction::triggered);
        action->setVisible(true);
        QVERIFY(!button->isHidden());
        button->click();
        QCOMPARE(triggered.count(), 1);
        if (QLatin1String(binding.action).endsWith(QLatin1String("Pause")) &&
            !QLatin1String(binding.action).startsWith(QLatin1String("Compare"))) {
            // Pause turns into Resume; a second click turns it back.
            QCOMPARE(button->text(), QStringLiteral("&Resume"));
            button->click();
        }
        action->setEnabled(false);
        QVERIFY(!button->isEnabled());
        action->setEnabled(true);
        action->setVisible(binding.visible);
        QCOMPARE(button->text(), QLatin1String(binding.caption));
    }
    // The browse buttons opened their file dialogs, titled as their pages say; the browse of
    // the output folder opened none.
    const QStringList dialogs{
        QStringLiteral("Open File which do you want to Split|"),
        QStringLiteral("Open File which do you want to Join|"),
        QStringLiteral("|"),
        QStringLiteral("|"),
        QStringLiteral("|"),
        QStringLiteral("|"),
    };
    QCOMPARE(platform.fileDialogs, dialogs);
}

void WindowTest::showOnlyPageAndShowAllPages() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);

    window.ShowOnlyPage(kComparePage);
    for (int i = 0; i < 7; ++i)
        QCOMPARE(window.pgcMain->isTabVisible(i), i == kComparePage);
    QCOMPARE(window.pgcMain->currentIndex(), int{kComparePage});
    window.ShowAllPages();
    for (int i = 0; i < 7; ++i)
        QVERIFY(window.pgcMain->isTabVisible(i));
    QCOMPARE(window.pgcMain->currentIndex(), int{kComparePage});
    QCOMPARE(window.pgcMain->tabText(kComparePage), QStringLiteral("Compare File"));

    // The last page: the tabs before it become current while they are hidden in turn.
    window.ShowOnlyPage(kAboutPage);
    QCOMPARE(window.pgcMain->currentIndex(), int{kAboutPage});
    window.ShowAllPages();
}

void WindowTest::pageChangeRunsOnlyOnTheUsersChoice() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);

    // The program moving to the About or Configure page does not refresh them.
    window.ShowOnlyPage(kAboutPage);
    window.ShowAllPages();
    window.ShowOnlyPage(kConfigurePage);
    window.ShowAllPages();
    QCOMPARE(platform.memoryQueries, 0);
    QCOMPARE(window.tbCfg->cbxLang->count(), 0);
    QCOMPARE(window.tbAbt->PhysMem->text(), QStringLiteral("PhysMem"));

    ClickTab(window, kAboutPage);
    QCOMPARE(platform.memoryQueries, 1);
    ClickTab(window, kConfigurePage);
    QCOMPARE(window.tbCfg->cbxLang->count(), 1);

    // While a page is locked the user has no other tab to pick.
    window.ShowOnlyPage(kJoinPage);
    ClickTab(window, kAboutPage);
    QCOMPARE(window.pgcMain->currentIndex(), int{kJoinPage});
    QCOMPARE(platform.memoryQueries, 1);
    window.ShowAllPages();
    ClickTab(window, kAboutPage);
    QCOMPARE(platform.memoryQueries, 2);
}

void WindowTest::enterRunsTheCurrentPagesStart() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);
    window.activateWindow();

    QSignalSpy split(window.tbSplit->SplitStart, &QAction::triggered);
    QSignalSpy join(window.tbJoin->JoinStart, &QAction::triggered);
    QSignalSpy checksum(window.tbCheck->ChecksumStart, &QAction::triggered);
    QSignalSpy compare(window.tbCmpf->CompareStart, &QAction::triggered);

    ClickTab(window, kJoinPage);
    window.tbJoin->edtJnSv->setFocus();
    QTest::keyClick(window.tbJoin->edtJnSv, Qt::Key_Return);
    QCOMPARE(join.count(), 1);
    QCOMPARE(split.count(), 0);

    ClickTab(window, kSplitPage);
    QTest::keyClick(window.tbSplit->spSpSz, Qt::Key_Enter);
    QCOMPARE(split.count(), 1);
    QCOMPARE(join.count(), 1);

    ClickTab(window, kChecksumPage);
    QTest::keyClick(window.tbCheck->edtChksF, Qt::Key_Return);
    ClickTab(window, kComparePage);
    QTest::keyClick(window.tbCmpf->edtCmpF2, Qt::Key_Return);
    QCOMPARE(checksum.count(), 1);
    QCOMPARE(compare.count(), 1);

    ClickTab(window, kConfigurePage);
    QTest::keyClick(window.tbCfg->spMaxBuf, Qt::Key_Return);
    // The four starts with empty fields were refused, each with its box.
    QCOMPARE(platform.boxes.size(), std::size_t{5});
    QCOMPARE(platform.boxes[0].text, QStringLiteral("Error! File \"\" not found"));
    QCOMPARE(platform.boxes[3].text, QStringLiteral("One or both file not found!"));
    QCOMPARE(platform.boxes[4].text, QStringLiteral("Configuration Saved!"));

    // A hidden start button is no default: Enter does nothing while it is hidden.
    ClickTab(window, kJoinPage);
    window.tbJoin->JoinStart->setVisible(false);
    QTest::keyClick(window.tbJoin->edtJnSrc, Qt::Key_Return);
    QCOMPARE(join.count(), 1);
    QCOMPARE(split.count(), 1);
}

void WindowTest::setProgressClamps_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("shown");
    QTest::newRow("below") << -5 << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("inside") << 37 << 37;
    QTest::newRow("full") << 100 << 100;
    QTest::newRow("above") << 150 << 100;
    QTest::newRow("far above") << INT_MAX << 100;
    QTest::newRow("far below") << INT_MIN << 0;
}

void WindowTest::setProgressClamps() {
    QFETCH(int, percent);
    QFETCH(int, shown);
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    program->frmMain.SetProgress(50);
    program->frmMain.SetProgress(percent);
    QCOMPARE(program->frmMain.pbStat->value(), shown);
}

void WindowTest::logAndStatus() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    platform.now = QDateTime(QDate(2024, 1, 2), QTime(9, 3, 7));
    window.AddLog(QStringLiteral("Creating thread..."));
    platform.now = QDateTime(QDate(2024, 1, 2), QTime(23, 59, 59));
    window.AddLog(QStringLiteral("second"));
    const QStringList lines = window.mLog->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[1], QStringLiteral("09:03:07 : Creating thread..."));
    QCOMPARE(lines[2], QStringLiteral("23:59:59 : second"));

    QCOMPARE(window.StatPanel0->text(), QString());
    window.SetStatusText(QStringLiteral("File splitting end."));
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File splitting end."));
    QCOMPARE(window.StatPanel0->width(), 400);
}

void WindowTest::progressBarStaysInItsPanel() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);

    for (const QSize size : {QSize(589, 577), QSize(900, 700), QSize(640, 480)}) {
        window.resize(size);
        QCoreApplication::processEvents();
        const QRect panel = window.StatPanel1->geometry();
        QCOMPARE(window.pbStat->parentWidget(), window.StatBar);
        QVERIFY(panel.width() >= 150);
        QCOMPARE(window.pbStat->geometry(),
                 QRect(panel.left(), panel.top(), panel.width() - 15, panel.height()));
        QVERIFY(window.pbStat->isVisible());
    }
    // Moving the border to the log changes nothing in the status bar.
    window.Splitter1->setSizes({200, 250});
    QCoreApplication::processEvents();
    const QRect panel = window.StatPanel1->geometry();
    QCOMPARE(window.pbStat->geometry().right(), panel.right() - 15);
}

void WindowTest::closingPeriod_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << u"Unable to write to /x/partsmith.ini"_s
                            << u"Unable to write to /x/partsmith.ini."_s;
    QTest::newRow("period") << u"Done."_s << u"Done."_s;
    QTest::newRow("exclamation") << u"Done!"_s << u"Done!"_s;
    QTest::newRow("quote sorts before the period") << u"path: \"x\""_s << u"path: \"x\""_s;
    QTest::newRow("slash sorts after it") << u"folder /"_s << u"folder /."_s;
    QTest::newRow("digit") << u"code 5"_s << u"code 5."_s;
    QTest::newRow("non-ASCII") << u"Fehler \u00e4"_s << u"Fehler \u00e4."_s;
    QTest::newRow("empty") << u""_s << u""_s;
}

void WindowTest::closingPeriod() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(WithClosingPeriod(text.toStdString())), shown);
}

void WindowTest::generalHandlerReportsAndCarriesOn() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    bool after = false;
    window.Errors().Run([] { throw std::runtime_error("Something broke"); });
    window.Errors().Run([] { throw 42; });
    window.Errors().Run([&] { after = true; });
    QVERIFY(after);
    QCOMPARE(platform.boxes.size(), std::size_t{2});
    QCOMPARE(platform.boxes[0].caption, QStringLiteral("Partsmith"));
    QCOMPARE(platform.boxes[0].text, QStringLiteral("Something broke."));
    QCOMPARE(platform.boxes[0].icon, BoxIcon::Error);
    QVERIFY(platform.boxes[0].owned);
    QCOMPARE(platform.boxes[1].caption, QStringLiteral("Partsmith"));
}

void WindowTest::configOkWritesEightKeysAndReloads() {
    TestInstall install;
    install.WriteSettings("FirstTime=0\nMaxBufferSize=64\nLanguage=English\nOther=kept\n");
    install.WriteLanguage(QStringLiteral("English"), "; built-in texts\r\n");
    FakePlatform platform;
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);
    ClickTab(window, kConfigurePage);

    window.tbCfg->spMaxBuf->findChild<QLineEdit*>()->clear();
    window.tbCfg->chkAsf->setChecked(false);
    window.tbCfg->chkExecjf->setChecked(true);
    window.tbCfg->edtExecp->setText(QStringLiteral("viewer %s"));
    window.tbCfg->chkExtFin->setChecked(true);
    QTest::mouseClick(window.tbCfg->BitBtn7, Qt::LeftButton);

    QCOMPARE(install.ReadFile(install.SettingsFile()),
             QByteArrayLiteral("[Settings]\nFirstTime=0\nMaxBufferSize=0\n"
                               "Language=English\nOther=kept\nAskWhenFileExists=0\n"
                               "MinimizeToTray=0\nExecuteWhenJoinFinish=1\n"
                               "ProgramToExecute=viewer %s\nAlwaysExitWhenFinised=1\n"
                               "SetFormOnTheTop=0\n"));
    QCOMPARE(window.MaxBufferSize(), 0);
    QVERIFY(!window.AskWhenFileExists().load());
    QVERIFY(window.ExitWhenFinished());
    QVERIFY(window.ExecuteWhenJoinFinish());
    // Reloading applied the launch option to the Join page at once.
    QVERIFY(window.tbJoin->chkJnApr->isChecked());
    QCOMPARE(window.tbJoin->edtJnApr->text(), QStringLiteral("viewer %s"));
    QCOMPARE(platform.beeps, 1);
    QCOMPARE(platform.boxes.size(), std::size_t{1});
    QCOMPARE(platform.boxes[0].caption, QStringLiteral("Success"));
    QCOMPARE(platform.boxes[0].text, QStringLiteral("Configuration Saved!"));
    QCOMPARE(platform.boxes[0].icon, BoxIcon::Information);
    QVERIFY(platform.boxes[0].owned);

    // Nothing selected in the list saves an empty language, which the reload reports missing.
    window.tbCfg->cbxLang->setCurrentIndex(-1);
    window.ConfigOk();
    QVERIFY(install.ReadFile(install.SettingsFile()).contains("\nLanguage=\n"));
    QCOMPARE(platform.boxes.size(), std::size_t{3});
    QCOMPARE(platform.boxes[1].text,
             QStringLiteral("Language File %1/.ini not found!").arg(install.LanguageDir()));
    QCOMPARE(platform.boxes[2].text, QStringLiteral("Configuration Saved!"));
}

void WindowTest::configOkReportsAFailedWrite() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    QVERIFY(QFile::remove(install.SettingsFile()));
    QVERIFY(QDir().mkpath(install.SettingsFile()));
    QTest::mouseClick(window.tbCfg->BitBtn7, Qt::LeftButton);
    QCOMPARE(platform.boxes.size(), std::size_t{1});
    QCOMPARE(platform.boxes[0].caption, QStringLiteral("Partsmith"));
    QCOMPARE(platform.boxes[0].text,
             QStringLiteral("Unable to write to %1.").arg(install.SettingsFile()));
    QCOMPARE(platform.beeps, 0);
}

void WindowTest::priorityFollowsTheSlider() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    QSlider* slider = program->frmMain.tbCfg->trPrior;

    slider->setValue(0);
    QVERIFY(platform.priorities.empty());
    slider->setValue(1);
    slider->setValue(0);
    slider->setValue(3);
    slider->setValue(2);
    const std::vector<ProcessPriority> expected{ProcessPriority::Idle, ProcessPriority::High,
                                                ProcessPriority::Normal};
    QVERIFY(platform.priorities == expected);
}

void WindowTest::helpMissingThenFound() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);

    ClickTab(window, kHelpPage);
    QCOMPARE(window.tbHelp->HTMLVw->toPlainText().trimmed(),
             QStringLiteral("Sorry, Help contents are not aviable. Make sure you installed it."));
    QCOMPARE(window.tbHelp->HTMLVw->documentTitle(), QStringLiteral("New Page 1"));
    QVERIFY(platform.boxes.empty());

    QVERIFY(QDir().mkpath(install.HelpDir()));
    ClickTab(window, kSplitPage);
    ClickTab(window, kHelpPage);
    QCOMPARE(platform.boxes.size(), std::size_t{1});
    QCOMPARE(platform.boxes[0].caption, QStringLiteral("Partsmith"));
    QCOMPARE(platform.boxes[0].text,
             QStringLiteral("Can't locate file: %1/index.htm.").arg(install.HelpDir()));
    QVERIFY(!window.tbHelp->HelpLoaded());

    install.WriteFile(install.HelpDir() + QStringLiteral("/index.htm"),
                      "<html><head><title>Contents</title></head><body><p>Start here</p>"
                      "<a href=\"split.htm\">Split</a></body></html>");
    install.WriteFile(install.HelpDir() + QStringLiteral("/split.htm"),
                      "<html><head><title>Split</title></head><body>How to split</body></html>");
    ClickTab(window, kSplitPage);
    ClickTab(window, kHelpPage);
    QVERIFY(window.tbHelp->HelpLoaded());
    QCOMPARE(window.tbHelp->HTMLVw->documentTitle(), QStringLiteral("Contents"));

    // A link is followed inside the view; coming back to the page keeps where the user was.
    emit window.tbHelp->HTMLVw->anchorClicked(QUrl(QStringLiteral("split.htm")));
    QCOMPARE(window.tbHelp->HTMLVw->documentTitle(), QStringLiteral("Split"));
    ClickTab(window, kAboutPage);
    ClickTab(window, kHelpPage);
    QCOMPARE(window.tbHelp->HTMLVw->documentTitle(), QStringLiteral("Split"));
    // Web links go to the desktop.
    emit window.tbHelp->HTMLVw->anchorClicked(QUrl(QStringLiteral("https://example.org/x")));
    QCOMPARE(platform.urls, QStringList{QStringLiteral("https://example.org/x")});
    QCOMPARE(window.tbHelp->HTMLVw->documentTitle(), QStringLiteral("Split"));
}

void WindowTest::aboutFiguresRefreshOnEachVisit() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);

    ClickTab(window, kAboutPage);
    QCOMPARE(window.tbAbt->PhysMem->text(), QStringLiteral("2,097,664 KB"));
    QCOMPARE(window.tbAbt->FreeRes->text(), QStringLiteral("37 %"));
    QCOMPARE(window.tbAbt->OsName->text(),
             QStringLiteral("Linux 6.1 (Build 0), Update #1 SMP Debian 6.1.76-1"));

    platform.memory = {std::uint64_t{512} * 1024 * 1024, 80};
    platform.os = {QStringLiteral("Linux"), 6, 5, 13, QStringLiteral("#2")};
    QTest::qWait(1);
    QCOMPARE(window.tbAbt->FreeRes->text(), QStringLiteral("37 %"));

    ClickTab(window, kHelpPage);
    ClickTab(window, kAboutPage);
    QCOMPARE(window.tbAbt->PhysMem->text(), QStringLiteral("524,288 KB"));
    QCOMPARE(window.tbAbt->FreeRes->text(), QStringLiteral("80 %"));
    QCOMPARE(window.tbAbt->OsName->text(), QStringLiteral("Linux 6.5 (Build 13), Update #2"));
    QCOMPARE(platform.memoryQueries, 2);
}

void WindowTest::aboutLinksOpenTheirAddresses() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);
    ClickTab(window, kAboutPage);

    for (LinkLabel* link : {window.tbAbt->Label23, window.tbAbt->Label24, window.tbAbt->Label25,
                            window.tbAbt->Label26})
        QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(platform.urls, (QStringList{QStringLiteral("https://partsmith.example.org/donate"),
                                         QStringLiteral("https://partsmith.example.org/"),
                                         QStringLiteral("https://blog.partsmith.example.org/"),
                                         QStringLiteral("mailto:feedback@partsmith.example.org")}));
    QVERIFY(
        window.tbAbt->Label24->text().contains(QStringLiteral("(https://partsmith.example.org/)")));
    QVERIFY(window.tbAbt->Memo1->toPlainText().contains(QStringLiteral("LGPLv3")));
}

void WindowTest::dropTargetsTakeCopiesNotMoves() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    ShowAndSettle(window);

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/b.bin")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/a.bin"))});
    auto* target = window.findChild<FileDropTarget*>(QStringLiteral("drpSpl"));
    QSignalSpy dropped(target, &FileDropTarget::dropped);
    QWidget* page = window.tbSplit;
    const QPointF inside(10, 10);

    QDragEnterEvent moveOnly(inside.toPoint(), Qt::MoveAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(page, &moveOnly);
    QVERIFY(!moveOnly.isAccepted());

    QDragEnterEvent copyOrMove(inside.toPoint(), Qt::CopyAction | Qt::MoveAction, &files,
                               Qt::LeftButton, {});
    QCoreApplication::sendEvent(page, &copyOrMove);
    QVERIFY(copyOrMove.isAccepted());
    QCOMPARE(copyOrMove.dropAction(), Qt::CopyAction);

    QDropEvent link(inside, Qt::LinkAction, &files, Qt::LeftButton, {});
    QCoreApplication::sendEvent(page, &link);
    QVERIFY(link.isAccepted());
    QCOMPARE(link.dropAction(), Qt::LinkAction);
    QCOMPARE(dropped.count(), 1);
    QCOMPARE(dropped[0][0].toStringList(),
             (QStringList{QStringLiteral("/tmp/b.bin"), QStringLiteral("/tmp/a.bin")}));

    // The edits of the page leave file drops to the page.
    QVERIFY(!window.tbSplit->edtSpltf->acceptDrops());
}

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
