// Language files acting on the window: the caption table, the message-captioned buttons, texts a
// file lacks, a change of language within a run, and the Configure page's language list.
#include "ConfigurePage.h"
#include "JoinPage.h"
#include "PageKit.h"
#include "SplitPage.h"
#include "TestInstall.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <vector>

using namespace partsmith;
using namespace partsmith::test;

namespace {

// Every caption of the four task pages and their tabs, by objectName ("tab0" for a tab).
QMap<QString, QString> TaskCaptions(const TfrmMain& window) {
    QMap<QString, QString> captions;
    for (int page = 0; page < 4; ++page) {
        captions[QStringLiteral("tab%1").arg(page)] = window.pgcMain->tabText(page);
        for (const QWidget* control : window.pgcMain->widget(page)->findChildren<QWidget*>()) {
            if (control->objectName().isEmpty())
                continue;
            if (qobject_cast<const QLabel*>(control) || qobject_cast<const QGroupBox*>(control) ||
                qobject_cast<const QAbstractButton*>(control))
                captions[control->objectName()] = Caption(control);
        }
    }
    return captions;
}

struct KeyRow {
    const char* key;
    std::vector<const char*> controls;
};

// The 46 caption keys and the controls that take each of them.
const QList<KeyRow>& CaptionKeys() {
    static const QList<KeyRow> rows = {
        {"TabSplitName", {"tab0"}},
        {"TargetName", {"grpSplTarg", "grpJnSrc", "grpChkTarg", "grpCmpTarg"}},
        {"SplitTargetHint", {"lblSplTargHints"}},
        {"BrowseHint",
         {"btBrowSpl", "btnSpdb", "btBrowJn", "btnOutpJoin", "BitBtn4", "btBrowF1", "btBrowF2"}},
        {"GroupSplitOptions", {"grpSplOpt"}},
        {"BySize", {"rbSplSz"}},
        {"ByFileNumber", {"rbSplFn"}},
        {"BySizeSetHints", {"lblFszH"}},
        {"ByFileNumberSetHints", {"lblBfnH"}},
        {"SplitOutputName", {"lblOutSplNm"}},
        {"SplitOutputDir", {"lblOutSplDir"}},
        {"SplitDeleteSourceFile", {"chkSplDel"}},
        {"SplitEncryptFile", {"chkEncr"}},
        {"EncryptMode", {"lblEncryH"}},
        {"EncryptHashType", {"lblHseH"}},
        {"SplitStart", {"btStSplt"}},
        {"TabJoinName", {"tab1"}},
        {"JoinTargetHint", {"lblJnTargHints"}},
        {"GroupJoinOptions", {"grpJnOpt"}},
        {"JoinSaveTo", {"lblJnSvh"}},
        {"JoinFileCounting", {"lblJnFch"}},
        {"ScanAllHint", {"rbJnSc"}},
        {"FileNumberSetHint", {"rbJnUd"}},
        {"To", {"lblToH"}},
        {"AppLaunch", {"chkJnApr"}},
        {"AppLaunchHint", {"lblJnAprh"}},
        {"JoinDeleteSourceFile", {"chkDlJn"}},
        {"JoinStart", {"btStrJoin"}},
        {"TabChecksumName", {"tab2"}},
        {"ChecksumTargetHint", {"lblChTargHints"}},
        {"GroupChecksumOptions", {"grpChkOpt"}},
        {"ChecksumTypeHint", {"lblChtypH"}},
        {"ResultHint", {"lblCRsH"}},
        {"CompareChecksumHint", {"lblCmpH"}},
        {"ChecksumCompareNeutral", {"lblTestChk"}},
        {"CopyChecksum", {"btCopyCh"}},
        {"ChecksumStart", {"btnChkst"}},
        {"TabCompareName", {"tab3"}},
        {"CompareTarget1Hint", {"lblCmpH1"}},
        {"CompareTarget2Hint", {"lblCmpH2"}},
        {"GroupCompareOptions", {"grpCmpOpt"}},
        {"CompareMethodHint", {"lblCmetH"}},
        {"ByChecksum", {"rbCmpch"}},
        {"ByFileCompare", {"rbCmpfc"}},
        {"CompareFileSize", {"chkCmpsz"}},
        {"CompareStart", {"btnCmpst"}},
    };
    return rows;
}

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT
private slots:
    void everyCaptionKeyReachesItsControls();
    void pauseAloneRenamesBothPauseButtons();
    void aKeyTheFileLacksKeepsItsCaption();
    void switchingLanguagesKeepsEarlierTexts();
    void theEnglishFileChangesNoCaption();
    void languageListMatchesCaseExactlyAndIsRebuiltEachVisit();
};

void LanguageTest::everyCaptionKeyReachesItsControls() {
    QCOMPARE(CaptionKeys().size(), 46);
    TestInstall install;
    QByteArray file = "\xEF\xBB\xBF[Captions]\r\n";
    for (const KeyRow& row : CaptionKeys())
        file += QByteArray(row.key) + "=<" + row.key + ">\r\n";
    file += "Abort=Ab&brechen\r\n";
    install.WriteLanguage(QStringLiteral("Test"), file);
    install.WriteSeenSettings("Language=Test\n");
    FakePlatform platform;
    auto program = install.Launch(platform);

    QVERIFY(platform.boxes.empty());
    const QMap<QString, QString> captions = TaskCaptions(program->frmMain);
    for (const KeyRow& row : CaptionKeys()) {
        for (const char* control : row.controls)
            QCOMPARE(captions.value(QLatin1String(control)),
                     QStringLiteral("<%1>").arg(QLatin1String(row.key)));
    }
    for (const char* stop : {"btStpSplt", "btStpJoin"})
        QCOMPARE(captions.value(QLatin1String(stop)), QStringLiteral("Ab&brechen"));
    // Texts outside the table keep their layout captions.
    QCOMPARE(captions.value(QStringLiteral("lblChksStat")), QStringLiteral("Please wait..."));
    QCOMPARE(captions.value(QStringLiteral("btnCmpPws")), QStringLiteral("&Pause"));
}

void LanguageTest::pauseAloneRenamesBothPauseButtons() {
    TestInstall install;
    install.WriteSeenSettings("Language=Halt\n");
    FakePlatform platform;
    const QMap<QString, QString> before = TaskCaptions(install.Launch(platform)->frmMain);
    QCOMPARE(platform.boxes.size(), std::size_t{1}); // no such file yet

    install.WriteLanguage(QStringLiteral("Halt"), "Pause=&Halt");
    Messages() = MessageTable();
    auto program = install.Launch(platform);
    QMap<QString, QString> after = TaskCaptions(program->frmMain);
    QCOMPARE(after.value(QStringLiteral("btPwsSplt")), QStringLiteral("&Halt"));
    QCOMPARE(after.value(QStringLiteral("btPwsJoin")), QStringLiteral("&Halt"));
    QCOMPARE(Messages().Text(Msg::Pause), std::string("&Halt"));
    after[QStringLiteral("btPwsSplt")] = before.value(QStringLiteral("btPwsSplt"));
    after[QStringLiteral("btPwsJoin")] = before.value(QStringLiteral("btPwsJoin"));
    QCOMPARE(after, before);
}

void LanguageTest::aKeyTheFileLacksKeepsItsCaption() {
    TestInstall install;
    // A value that is empty counts as absent too.
    install.WriteLanguage(QStringLiteral("Part"), "SplitStart=&Teilen\r\nJoinStart=\r\n");
    install.WriteSeenSettings("Language=Part\n");
    FakePlatform platform;
    auto program = install.Launch(platform);
    QCOMPARE(program->frmMain.tbSplit->btStSplt->text(), QStringLiteral("&Teilen"));
    QCOMPARE(program->frmMain.tbJoin->btStrJoin->text(), QStringLiteral("&Start Join"));
}

void LanguageTest::switchingLanguagesKeepsEarlierTexts() {
    TestInstall install;
    install.WriteLanguage(QStringLiteral("First"),
                          "To=bis\r\nSplitEnds=Fertig\r\nTabJoinName=Zusammenf\xFCgen\r\n");
    install.WriteLanguage(QStringLiteral("Second"), "\xEF\xBB\xBFTabJoinName=Unir\r\n");
    install.WriteSeenSettings("Language=First\n");
    FakePlatform platform;
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;
    QCOMPARE(window.tbJoin->lblToH->text(), QStringLiteral("bis"));
    QCOMPARE(window.pgcMain->tabText(1), QStringLiteral("Zusammenf\u00fcgen"));

    ShowAndSettle(window);
    ClickTab(window, kConfigurePage);
    window.tbCfg->cbxLang->setCurrentText(QStringLiteral("Second"));
    QCOMPARE(window.tbCfg->cbxLang->currentText(), QStringLiteral("Second"));
    window.ConfigOk();

    QCOMPARE(window.Language(), std::string("Second"));
    QCOMPARE(window.pgcMain->tabText(1), QStringLiteral("Unir"));
    QCOMPARE(window.tbJoin->lblToH->text(), QStringLiteral("bis"));
    QCOMPARE(Messages().Text(Msg::SplitEnds), std::string("Fertig"));
    QCOMPARE(platform.boxes.back().text, QStringLiteral("Configuration Saved!"));
}

void LanguageTest::theEnglishFileChangesNoCaption() {
    TestInstall install;
    install.WriteSeenSettings("Language=Missing\n");
    FakePlatform platform;
    const QMap<QString, QString> builtIn = TaskCaptions(install.Launch(platform)->frmMain);

    QFile english(QStringLiteral(PARTSMITH_SOURCE_DIR "/data/lang/English.ini"));
    QVERIFY(english.open(QIODevice::ReadOnly));
    install.WriteLanguage(QStringLiteral("English"), english.readAll());
    install.WriteSeenSettings();
    platform.boxes.clear();
    auto program = install.Launch(platform);
    QVERIFY(platform.boxes.empty());
    QCOMPARE(TaskCaptions(program->frmMain), builtIn);
    for (std::size_t i = 0; i < kMessageCount; ++i)
        QCOMPARE(Messages().Text(static_cast<Msg>(i)),
                 std::string(MsgDefault(static_cast<Msg>(i))));
}

void LanguageTest::languageListMatchesCaseExactlyAndIsRebuiltEachVisit() {
    TestInstall install;
    install.WriteLanguage(QStringLiteral("German"), "To=bis\r\n");
    install.WriteLanguage(QStringLiteral("english"), "To=to\r\n");
    install.WriteFile(install.LanguageDir() + QStringLiteral("/notes.txt"), "not a language");
    install.WriteSeenSettings();
    FakePlatform platform;
    auto program = install.Launch(platform);
    TfrmMain& window = program->frmMain;
    // Loading finds "english.ini" for English even where names keep their case.
    QVERIFY(platform.boxes.empty());
    QCOMPARE(window.tbCfg->cbxLang->count(), 0);

    ShowAndSettle(window);
    ClickTab(window, kConfigurePage);
    QStringList names;
    for (int i = 0; i < window.tbCfg->cbxLang->count(); ++i)
        names << window.tbCfg->cbxLang->itemText(i);
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("German"), QStringLiteral("english")}));
    QCOMPARE(window.tbCfg->cbxLang->currentIndex(), -1);
    QCOMPARE(window.tbCfg->cbxLang->currentText(), QString());

    // Leave, add a language, pick a different entry without saving, come back.
    window.tbCfg->cbxLang->setCurrentIndex(0);
    ClickTab(window, kSplitPage);
    install.WriteLanguage(QStringLiteral("English"), "To=to\r\n");
    ClickTab(window, kConfigurePage);
    QCOMPARE(window.tbCfg->cbxLang->count(), 3);
    QCOMPARE(window.tbCfg->cbxLang->currentText(), QStringLiteral("English"));
}

QTEST_MAIN(LanguageTest)
#include "tst_language.moc"
