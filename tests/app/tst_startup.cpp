// Start-up of the window: the command line, the first run, the settings that act on the window
// and a settings file that cannot be written.
#include "AboutPage.h"
#include "ChecksumPage.h"
#include "ComparePage.h"
#include "ConfigurePage.h"
#include "JoinPage.h"
#include "SplitPage.h"
#include "TestInstall.h"
#include "Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTest>

using namespace partsmith;
using namespace Qt::StringLiterals;
using namespace partsmith::test;

namespace {

QList<int> VisibleTabs(const TfrmMain& window) {
    QList<int> visible;
    for (int i = 0; i < window.pgcMain->count(); ++i) {
        if (window.pgcMain->isTabVisible(i))
            visible << i;
    }
    return visible;
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void commandLine_data();
    void commandLine();
    void firstRunWritesDefaultsAndWelcomesOnce();
    void welcomeDonateOpensTheDonationPage();
    void launchLineFollowsTheLanguageMessage();
    void executeWhenJoinFinishPresetsTheJoinPage();
    void settingsShowOnTheConfigurePage();
    void onTopStaysUntilRestart();
    void unwritableSettingsAreReportedOnceAndStartUpGoesOn();
};

void StartupTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QList<int>>("visible");
    QTest::addColumn<int>("current");
    // edtSpltf, edtJnSrc, edtJnSv, edtChksF, edtCmpF1, edtCmpF2
    QTest::addColumn<QStringList>("fields");

    const QList<int> all{0, 1, 2, 3, 4, 5, 6};
    QTest::newRow("none") << QStringList{} << all << 0
                          << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("split") << QStringList{u"-split"_s, u"/d/f.bin"_s} << QList<int>{0} << 0
                           << QStringList{u"/d/f.bin"_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("join strips the part number")
        << QStringList{u"-join"_s, u"/d/f.bin.001"_s} << QList<int>{1} << 1
        << QStringList{u""_s, u"/d/f.bin.001"_s, u"/d/f.bin"_s, u""_s, u""_s, u""_s};
    QTest::newRow("join: a dot in a folder is no extension")
        << QStringList{u"-join"_s, u"/d.x/f"_s} << QList<int>{1} << 1
        << QStringList{u""_s, u"/d.x/f"_s, u"/d.x/f"_s, u""_s, u""_s, u""_s};
    QTest::newRow("calc") << QStringList{u"-calc"_s, u"/d/f"_s} << QList<int>{2} << 2
                          << QStringList{u""_s, u""_s, u""_s, u"/d/f"_s, u""_s, u""_s};
    QTest::newRow("cmpf with one file") << QStringList{u"-cmpf"_s, u"a"_s} << QList<int>{3} << 3
                                        << QStringList{u""_s, u""_s, u""_s, u""_s, u"a"_s, u""_s};
    QTest::newRow("cmpf with two files")
        << QStringList{u"-cmpf"_s, u"a"_s, u"b"_s} << QList<int>{3} << 3
        << QStringList{u""_s, u""_s, u""_s, u""_s, u"a"_s, u"b"_s};
    QTest::newRow("option not first: all pages, leftmost option current")
        << QStringList{u"/f.bin"_s, u"-split"_s, u"/g.bin"_s} << all << 0
        << QStringList{u"/g.bin"_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("leftmost of two options current when not first")
        << QStringList{u"x"_s, u"-calc"_s, u"c"_s, u"-join"_s, u"j.001"_s} << all << 2
        << QStringList{u""_s, u"j.001"_s, u"j"_s, u"c"_s, u""_s, u""_s};
    QTest::newRow("first option locks its page, later ones still fill")
        << QStringList{u"-split"_s, u"a"_s, u"-join"_s, u"b"_s} << QList<int>{0} << 0
        << QStringList{u"a"_s, u"b"_s, u"b"_s, u""_s, u""_s, u""_s};
    QTest::newRow("options are exact")
        << QStringList{u"-SPLIT"_s, u"x"_s, u"/split"_s, u"y"_s} << all << 0
        << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("option as last argument fills empty text")
        << QStringList{u"-calc"_s} << QList<int>{2} << 2
        << QStringList{u""_s, u""_s, u""_s, u""_s, u""_s, u""_s};
    QTest::newRow("the argument after an option is taken whatever it is")
        << QStringList{u"-split"_s, u"-join"_s} << QList<int>{0} << 0
        << QStringList{u"-join"_s, u""_s, u""_s, u""_s, u""_s, u""_s};
}

void StartupTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(QList<int>, visible);
    QFETCH(int, current);
    QFETCH(QStringList, fields);

    TestInstall install;
    install.WriteSeenSettings();
    FakePlatform platform;
    auto program = install.Launch(platform, arguments);
    TfrmMain& window = program->frmMain;

    QCOMPARE(VisibleTabs(window), visible);
    QCOMPARE(window.pgcMain->currentIndex(), current);
    const QStringList actual{window.tbSplit->edtSpltf->text(), window.tbJoin->edtJnSrc->text(),
                             window.tbJoin->edtJnSv->text(),   window.tbCheck->edtChksF->text(),
                             window.tbCmpf->edtCmpF1->text(),  window.tbCmpf->edtCmpF2->text()};
    QCOMPARE(actual, fields);
    // The command line never starts anything.
    QCOMPARE(window.mLog->document()->lineCount(), 1);
}

void StartupTest::firstRunWritesDefaultsAndWelcomesOnce() {
    TestInstall install;
    FakePlatform platform;
    platform.Script(QStringLiteral("TfrmStartup"), [](QDialog& dialog) { dialog.reject(); });
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;

    QCOMPARE(install.ReadFile(install.SettingsFile()),
             QByteArrayLiteral("[Settings]\nFirstTime=1\nMaxBufferSize=8192\n"
                               "AskWhenFileExists=1\nMinimizeToTray=0\n"
                               "ExecuteWhenJoinFinish=0\nProgramToExecute=\n"
                               "Language=English\nAlwaysExitWhenFinised=0\n"
                               "SetFormOnTheTop=0\n"));
    QVERIFY(window.FirstTime());
    // No list has a selection before the window is first shown.
    QCOMPARE(window.tbSplit->cbxFszOpt->currentIndex(), -1);
    QCOMPARE(window.tbSplit->cbxEncryptm->currentIndex(), -1);

    ShowAndSettle(window);
    QCOMPARE(platform.shownDialogs, QStringList{QStringLiteral("TfrmStartup")});
    QVERIFY(platform.urls.isEmpty());
    QVERIFY(!window.FirstTime());
    QVERIFY(install.ReadFile(install.SettingsFile()).contains("FirstTime=0\n"));
    QCOMPARE(window.tbSplit->cbxFszOpt->currentText(), QStringLiteral("MegaBytes"));
    QCOMPARE(window.tbSplit->cbxEncryptm->currentText(), QStringLiteral("Blowfish"));
    QCOMPARE(window.tbSplit->cbxEncrHash->currentText(), QStringLiteral("MD5"));

    // Minimise to the tray and come back: no second welcome, but the lists are reset.
    window.tbCfg->chkMintr->setChecked(true);
    window.ConfigOk();
    QVERIFY(window.MinimizeToTray());
    window.tbSplit->cbxFszOpt->setCurrentIndex(0);
    window.tbSplit->cbxEncrHash->setCurrentIndex(5);
    window.setWindowState(Qt::WindowMinimized);
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(window.MainTrayIcon->isVisible());
    window.MainTrayIconClick();
    QTRY_COMPARE(window.tbSplit->cbxFszOpt->currentIndex(), 2);
    QCOMPARE(window.tbSplit->cbxEncrHash->currentIndex(), 2);
    QVERIFY(window.isVisible());
    QCOMPARE(platform.shownDialogs, QStringList{QStringLiteral("TfrmStartup")});
    QVERIFY(platform.unclosedDialogs.isEmpty());
}

void StartupTest::welcomeDonateOpensTheDonationPage() {
    TestInstall install;
    FakePlatform platform;
    platform.Script(QStringLiteral("TfrmStartup"), [](QDialog& dialog) {
        auto* donate = dialog.findChild<QPushButton*>(QStringLiteral("Button1"));
        QVERIFY(donate != nullptr);
        QCOMPARE(donate->text(), QStringLiteral("Donate"));
        QVERIFY(donate->isDefault());
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("Button2"))->text(),
                 QStringLiteral("Countinue"));
        QVERIFY(dialog.findChild<QLabel*>(QStringLiteral("Label1"))
                    ->text()
                    .contains(QStringLiteral("Coutinue")));
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    auto program = install.Launch(platform);
    ShowAndSettle(program->frmMain);
    QCOMPARE(platform.shownDialogs, QStringList{QStringLiteral("TfrmStartup")});
    QCOMPARE(platform.urls, QStringList{QStringLiteral("https://partsmith.example.org/donate")});
    // The welcome beeps as it opens.
    QCOMPARE(platform.beeps, 1);
}

void StartupTest::launchLineFollowsTheLanguageMessage() {
    TestInstall install;
    install.WriteSeenSettings("Language=Klingon\n");
    FakePlatform platform;
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;

    QCOMPARE(platform.boxes.size(), std::size_t{1});
    const RecordedBox& box = platform.boxes.front();
    QCOMPARE(box.caption, QStringLiteral("Error"));
    QCOMPARE(box.text,
             QStringLiteral("Language File %1/Klingon.ini not found!").arg(install.LanguageDir()));
    QCOMPARE(box.icon, BoxIcon::Information);
    QVERIFY(!box.owned);
    QCOMPARE(window.mLog->toPlainText(),
             QStringLiteral("14:05:33 : Brimvale Partsmith version 0.9.3 beta Launched!"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Brimvale Partsmith v0.9.3 beta"));
    QCOMPARE(window.tbAbt->cap1->text(), QStringLiteral("Brimvale Partsmith v0.9.3 beta"));
    QCOMPARE(window.tbAbt->cap2->text(), window.tbAbt->cap1->text());
    QVERIFY(!window.tbAbt->lblCopy->text().isEmpty());
    QCOMPARE(window.MainTrayIcon->toolTip(), QStringLiteral("Brimvale Partsmith v0.9.3 beta"));
    QVERIFY(!window.MainTrayIcon->isVisible());
}

void StartupTest::executeWhenJoinFinishPresetsTheJoinPage() {
    TestInstall install;
    install.WriteSeenSettings("ExecuteWhenJoinFinish=1\nProgramToExecute=editor \"%s\"\n");
    FakePlatform platform;
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;

    QVERIFY(window.tbJoin->chkJnApr->isChecked());
    QCOMPARE(window.tbJoin->edtJnApr->text(), QStringLiteral("editor \"%s\""));
    QVERIFY(window.tbJoin->edtJnApr->isEnabled());
    QVERIFY(window.tbJoin->lblJnAprh->isEnabled());
    QVERIFY(window.tbCfg->chkExecjf->isChecked());
    QVERIFY(window.tbCfg->edtExecp->isEnabled());

    // Switching it off and saving changes nothing on the Join page during this run.
    window.tbCfg->chkExecjf->setChecked(false);
    QVERIFY(!window.tbCfg->edtExecp->isEnabled());
    window.ConfigOk();
    QVERIFY(install.ReadFile(install.SettingsFile()).contains("ExecuteWhenJoinFinish=0"));
    QVERIFY(window.tbJoin->chkJnApr->isChecked());
    QVERIFY(window.tbJoin->edtJnApr->isEnabled());
    QVERIFY(!window.tbCfg->edtExecp->isEnabled());
}

void StartupTest::settingsShowOnTheConfigurePage() {
    TestInstall install;
    install.WriteSeenSettings("MaxBufferSize=0x100\nAskWhenFileExists=0\n"
                              "MinimizeToTray=1\nAlwaysExitWhenFinised=1\n");
    FakePlatform platform;
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;

    QCOMPARE(window.MaxBufferSize(), 256);
    QCOMPARE(window.tbCfg->spMaxBuf->value(), 256);
    QVERIFY(!window.AskWhenFileExists().load());
    QVERIFY(!window.tbCfg->chkAsf->isChecked());
    QVERIFY(window.tbCfg->chkMintr->isChecked());
    QVERIFY(window.ExitWhenFinished());
    QVERIFY(window.tbCfg->chkExtFin->isChecked());
    QVERIFY(!window.tbCfg->chkExecjf->isChecked());
    QVERIFY(!window.tbCfg->edtExecp->isEnabled());
    QVERIFY(!window.tbCfg->lblExech->isEnabled());
    QVERIFY(!window.FormOnTop());
}

void StartupTest::onTopStaysUntilRestart() {
    TestInstall install;
    install.WriteSeenSettings();
    FakePlatform platform;
    {
        auto program = install.Launch(platform);
        TfrmMain& window = program->frmMain;
        ShowAndSettle(window);
        QVERIFY(!(window.windowFlags() & Qt::WindowStaysOnTopHint));

        window.tbCfg->chkStyp->setChecked(true);
        window.ConfigOk();
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(window.isVisible());

        window.tbCfg->chkStyp->setChecked(false);
        window.ConfigOk();
        QVERIFY(install.ReadFile(install.SettingsFile()).contains("SetFormOnTheTop=0"));
        QVERIFY(window.windowFlags() & Qt::WindowStaysOnTopHint);
    }
    auto restarted = install.Launch(platform);
    QVERIFY(!(restarted->frmMain.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!restarted->frmMain.tbCfg->chkStyp->isChecked());
}

void StartupTest::unwritableSettingsAreReportedOnceAndStartUpGoesOn() {
    TestInstall install;
    // A folder where the settings file should be: every write fails.
    QVERIFY(QDir().mkpath(install.SettingsFile()));
    install.WriteLanguage(QStringLiteral("English"), "; built-in texts\r\n");
    FakePlatform platform;
    platform.Script(QStringLiteral("TfrmStartup"), [](QDialog& dialog) { dialog.reject(); });
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;

    QCOMPARE(platform.boxes.size(), std::size_t{1});
    QCOMPARE(platform.boxes[0].caption, QStringLiteral("Partsmith"));
    QCOMPARE(platform.boxes[0].text,
             QStringLiteral("Unable to write to %1.").arg(install.SettingsFile()));
    QCOMPARE(platform.boxes[0].icon, BoxIcon::Error);
    // The rest of the start-up ran with the built-in settings.
    QCOMPARE(window.windowTitle(), QStringLiteral("Brimvale Partsmith v0.9.3 beta"));
    QCOMPARE(window.mLog->document()->lineCount(), 1);
    QCOMPARE(window.MaxBufferSize(), 8192);

    ShowAndSettle(window);
    QCOMPARE(platform.shownDialogs, QStringList{QStringLiteral("TfrmStartup")});
    QCOMPARE(platform.boxes.size(), std::size_t{1});
    QCOMPARE(window.tbSplit->cbxFszOpt->currentText(), QStringLiteral("MegaBytes"));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
