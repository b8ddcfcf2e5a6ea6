// The password, folder and next-part dialogs as their callers use them.
#include "NextPartDialog.h"
#include "PasswordDialog.h"
#include "SelectDirDialog.h"
#include "SplitPage.h"
#include "TestInstall.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeView>

using namespace partsmith;
using namespace partsmith::test;

namespace {

std::unique_ptr<Program> LaunchSeen(const TestInstall& install, FakePlatform& platform) {
    install.WriteSeenSettings();
    install.WriteLanguage(QStringLiteral("English"), "; built-in texts\r\n");
    return install.Launch(platform);
}

template <class T> T* Child(QDialog& dialog, const char* name) {
    T* found = dialog.findChild<T*>(QLatin1String(name));
    if (found == nullptr)
        qFatal("no control %s", name);
    return found;
}

QString Native(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

} // namespace

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void passwordIsTakenExactlyAndClearedOnTheNextShowing();
    void passwordShowPersistsAndEmptyIsAnAnswer();
    void folderChooserReturnsThePresetFolder();
    void folderChooserReturnsTypedText();
    void folderChooserCancelKeepsTheField();
    void folderChooserReportsANonFolder();
    void nextPartBrowseFillsThePath();
};

void DialogsTest::passwordIsTakenExactlyAndClearedOnTheNextShowing() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    platform.Script(QStringLiteral("TfrmPasswd"), [](QDialog& dialog) {
        auto* edit = Child<QLineEdit>(dialog, "edtPass");
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Enter Encryption Password"));
        QCOMPARE(dialog.focusWidget(), edit);
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
        QTest::keyClicks(edit, QStringLiteral("  s"));
        edit->insert(QStringLiteral("\u00e9")); // typed through an input method
        QTest::keyClicks(edit, QStringLiteral("cret pass  "));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QCOMPARE(window.AskPassword(), std::optional<QString>(QStringLiteral("  s\u00e9cret pass  ")));

    // Typed, then Escape: Cancel, and the text stays in the hidden dialog until it shows again.
    platform.Script(QStringLiteral("TfrmPasswd"), [](QDialog& dialog) {
        QTest::keyClicks(Child<QLineEdit>(dialog, "edtPass"), QStringLiteral("left behind"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    QCOMPARE(window.AskPassword(), std::nullopt);
    QCOMPARE(program->frmPasswd.edtPass->text(), QStringLiteral("left behind"));

    QString atShow = QStringLiteral("unset");
    platform.Script(QStringLiteral("TfrmPasswd"), [&atShow](QDialog& dialog) {
        atShow = Child<QLineEdit>(dialog, "edtPass")->text();
        dialog.close(); // the close box
    });
    QCOMPARE(window.AskPassword(), std::nullopt);
    QCOMPARE(atShow, QString());
    QVERIFY(platform.unclosedDialogs.isEmpty());
}

void DialogsTest::passwordShowPersistsAndEmptyIsAnAnswer() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    platform.Script(QStringLiteral("TfrmPasswd"), [](QDialog& dialog) {
        auto* show = Child<QCheckBox>(dialog, "chkPssh");
        QVERIFY(!show->isChecked());
        show->click();
        QCOMPARE(Child<QLineEdit>(dialog, "edtPass")->echoMode(), QLineEdit::Normal);
        Child<QPushButton>(dialog, "BitBtn2")->click();
    });
    QCOMPARE(window.AskPassword(), std::nullopt);

    platform.Script(QStringLiteral("TfrmPasswd"), [](QDialog& dialog) {
        QVERIFY(Child<QCheckBox>(dialog, "chkPssh")->isChecked());
        QCOMPARE(Child<QLineEdit>(dialog, "edtPass")->echoMode(), QLineEdit::Normal);
        Child<QPushButton>(dialog, "BitBtn1")->click();
    });
    QCOMPARE(window.AskPassword(), std::optional<QString>(QString()));

    platform.Script(QStringLiteral("TfrmPasswd"), [](QDialog& dialog) {
        auto* show = Child<QCheckBox>(dialog, "chkPssh");
        show->click();
        QCOMPARE(Child<QLineEdit>(dialog, "edtPass")->echoMode(), QLineEdit::Password);
        dialog.reject();
    });
    QCOMPARE(window.AskPassword(), std::nullopt);
}

void DialogsTest::folderChooserReturnsThePresetFolder() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    const QString folder = Native(install.Path(QStringLiteral("config")));
    window.tbSplit->edtSplDir->setText(folder);

    QString selected;
    QString edit;
    platform.Script(QStringLiteral("TfrmSelDir"), [&](QDialog& dialog) {
        auto* tree = Child<QTreeView>(dialog, "stDirs");
        selected = static_cast<QFileSystemModel*>(tree->model())->filePath(tree->currentIndex());
        edit = Child<QLineEdit>(dialog, "edtDirLoc")->text();
        QTest::mouseClick(Child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
    });
    QTest::mouseClick(window.tbSplit->btnSpdb, Qt::LeftButton);
    QCOMPARE(platform.shownDialogs, QStringList{QStringLiteral("TfrmSelDir")});
    QCOMPARE(Native(selected), folder);
    QCOMPARE(edit, folder);
    QCOMPARE(window.tbSplit->edtSplDir->text(), folder);
    QVERIFY(platform.boxes.empty());
}

void DialogsTest::folderChooserReturnsTypedText() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    window.tbSplit->edtSplDir->setText(Native(install.Path(QStringLiteral("config"))));
    const QString other = Native(install.Path(QStringLiteral("data/lang")));

    QString afterSelection;
    platform.Script(QStringLiteral("TfrmSelDir"), [&](QDialog& dialog) {
        auto* tree = Child<QTreeView>(dialog, "stDirs");
        auto* model = static_cast<QFileSystemModel*>(tree->model());
        tree->setCurrentIndex(model->index(other));
        auto* edit = Child<QLineEdit>(dialog, "edtDirLoc");
        afterSelection = edit->text();
        edit->selectAll();
        QTest::keyClicks(edit, QStringLiteral("/not/there yet"));
        QTest::keyClick(edit, Qt::Key_Return);
    });
    window.SplitDirBrowseExecute();
    QCOMPARE(afterSelection, other);
    QCOMPARE(window.tbSplit->edtSplDir->text(), QStringLiteral("/not/there yet"));

    // An empty field opens the dialog with an empty edit.
    window.tbSplit->edtSplDir->clear();
    QString atShow = QStringLiteral("unset");
    platform.Script(QStringLiteral("TfrmSelDir"), [&](QDialog& dialog) {
        atShow = Child<QLineEdit>(dialog, "edtDirLoc")->text();
        dialog.accept();
    });
    window.SplitDirBrowseExecute();
    QCOMPARE(atShow, QString());
    QVERIFY(platform.boxes.empty());
}

void DialogsTest::folderChooserCancelKeepsTheField() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;
    const QString folder = Native(install.Path(QStringLiteral("config")));
    window.tbSplit->edtSplDir->setText(folder);

    platform.Script(QStringLiteral("TfrmSelDir"), [&](QDialog& dialog) {
        auto* tree = Child<QTreeView>(dialog, "stDirs");
        auto* model = static_cast<QFileSystemModel*>(tree->model());
        tree->setCurrentIndex(model->index(install.Path(QStringLiteral("data"))));
        QCOMPARE(Child<QLineEdit>(dialog, "edtDirLoc")->text(),
                 Native(install.Path(QStringLiteral("data"))));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    window.SplitDirBrowseExecute();
    QCOMPARE(window.tbSplit->edtSplDir->text(), folder);
}

void DialogsTest::folderChooserReportsANonFolder() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmMain& window = program->frmMain;

    for (const QString& text : {QStringLiteral("/no/such/folder"), install.SettingsFile()}) {
        platform.boxes.clear();
        window.tbSplit->edtSplDir->setText(text);
        window.tbSplit->SplitDirBrowse->trigger();
        QVERIFY(platform.shownDialogs.isEmpty());
        QCOMPARE(platform.boxes.size(), std::size_t{1});
        QCOMPARE(platform.boxes[0].caption, QStringLiteral("Partsmith"));
        QCOMPARE(platform.boxes[0].text, QStringLiteral("Error setting path: \"%1\"").arg(text));
        QCOMPARE(window.tbSplit->edtSplDir->text(), text);
    }
}

void DialogsTest::nextPartBrowseFillsThePath() {
    TestInstall install;
    FakePlatform platform;
    auto program = LaunchSeen(install, platform);
    TfrmCnfFile& dialog = program->frmCnfFile;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Require the next part"));

    dialog.edtPath->setText(QStringLiteral("/d/report.pdf.003"));
    platform.fileAnswers = {QStringLiteral("/e/report.pdf.003"), std::nullopt};
    QTest::mouseClick(dialog.BitBtn3, Qt::LeftButton);
    QCOMPARE(dialog.edtPath->text(), QStringLiteral("/e/report.pdf.003"));
    QTest::mouseClick(dialog.BitBtn3, Qt::LeftButton);
    QCOMPARE(dialog.edtPath->text(), QStringLiteral("/e/report.pdf.003"));
    QCOMPARE(platform.fileDialogs, (QStringList{QStringLiteral("|/d/report.pdf.003"),
                                                QStringLiteral("|/e/report.pdf.003")}));
}

QTEST_MAIN(DialogsTest)
#include "tst_dialogs.moc"
