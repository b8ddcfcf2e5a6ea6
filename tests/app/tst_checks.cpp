// The Compare Checksum and Compare File pages through their controls, over real files.
#include "ChecksumPage.h"
#include "ComparePage.h"
#include "TaskSession.h"
#include "Widgets.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>

using namespace partsmith;
using namespace partsmith::test;

class ChecksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void checksumOfAFile_data();
    void checksumOfAFile();
    void unreadableFileIsReportedNotSummed_data();
    void unreadableFileIsReportedNotSummed();
    void checksumRefusesAMissingFile();
    void indicator_data();
    void indicator();
    void indicatorWaitsForTheNextEdit();
    void copyToClipboard();
    void checksumDropAndBrowse();
    void compare_data();
    void compare();
    void compareRefusesAMissingFile();
    void compareDrops();
};

void ChecksTest::checksumOfAFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("md5");
    QTest::addColumn<QString>("result");
    QTest::newRow("CRC32") << QByteArray("123456789") << false << QStringLiteral("CBF43926");
    QTest::newRow("CRC32, empty") << QByteArray() << false << QStringLiteral("00000000");
    QTest::newRow("MD5") << QByteArray("abc") << true
                         << QStringLiteral("900150983CD24FB0D6963F7D28E17F72");
    QTest::newRow("MD5, empty") << QByteArray() << true
                                << QStringLiteral("D41D8CD98F00B204E9800998ECF8427E");
}

void ChecksTest::checksumOfAFile() {
    QFETCH(QByteArray, content);
    QFETCH(bool, md5);
    QFETCH(QString, result);
    TaskSession s;
    TfrmMain& window = s.window();
    ChecksumPage& page = *window.tbCheck;
    const QString path = s.File(QStringLiteral("file one.txt"));
    s.install.WriteFile(path, content);
    page.edtChksF->setText(path);
    (md5 ? page.rbMd5 : page.rbCrc32)->click();

    page.btnChkst->click();
    // Calculating: the page is locked, "Please wait..." shows, only this tab is offered.
    QVERIFY(!page.btnChkst->isEnabled());
    QVERIFY(!page.grpChkTarg->isEnabled());
    QVERIFY(!page.grpChkOpt->isEnabled());
    QVERIFY(!page.lblChksStat->isHidden());
    QVERIFY(!window.pgcMain->isTabVisible(kSplitPage));
    QVERIFY(window.pgcMain->isTabVisible(kChecksumPage));
    TaskSession::WaitForWorkers();

    QCOMPARE(page.edtChksRes->text(), result);
    const QStringList log = s.LogLines().mid(1);
    QCOMPARE(log, (QStringList{QStringLiteral("Calculate checksum for \"%1\"").arg(path),
                               (md5 ? QStringLiteral("MD5 Checksum is %1")
                                    : QStringLiteral("CRC32 Checksum is %1"))
                                   .arg(result)}));
    QVERIFY(s.platform.boxes.empty());
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File Checksum calculate end."));
    QCOMPARE(s.platform.beeps, 1);
    QVERIFY(page.btnChkst->isEnabled());
    QVERIFY(page.grpChkOpt->isEnabled());
    QVERIFY(page.lblChksStat->isHidden());
    for (int i = 0; i < window.pgcMain->count(); ++i)
        QVERIFY(window.pgcMain->isTabVisible(i));
}

void ChecksTest::unreadableFileIsReportedNotSummed_data() {
    QTest::addColumn<bool>("md5");
    QTest::newRow("CRC32") << false;
    QTest::newRow("MD5") << true;
}

void ChecksTest::unreadableFileIsReportedNotSummed() {
    QFETCH(bool, md5);
    TaskSession s;
    ChecksumPage& page = *s.window().tbCheck;
    page.edtChksRes->setText(QStringLiteral("1A2B3C4D"));
    // A file that exists and cannot be read, whoever runs the test: reading a process's memory
    // file from its start fails with an I/O error.
    page.edtChksF->setText(QStringLiteral("/proc/self/mem"));
    (md5 ? page.rbMd5 : page.rbCrc32)->click();
    page.btnChkst->click();
    TaskSession::WaitForWorkers();

    QCOMPARE(page.edtChksRes->text(), QStringLiteral("1A2B3C4D"));
    QCOMPARE(s.platform.boxes.size(), std::size_t{1});
    QCOMPARE(s.platform.boxes[0].caption, QStringLiteral("Error"));
    const QString text = s.platform.boxes[0].text;
    if (md5)
        QVERIFY2(text.startsWith(QStringLiteral("Error calculate MD5, error code 2: ")),
                 qPrintable(text));
    else
        QVERIFY2(text.startsWith(QStringLiteral("Cannot read file \"/proc/self/mem\": ")),
                 qPrintable(text));
    QCOMPARE(s.LogLines().last(), text);
    QCOMPARE(s.window().StatPanel0->text(), QStringLiteral("File Checksum calculate end."));
    QVERIFY(page.btnChkst->isEnabled());
}

void ChecksTest::checksumRefusesAMissingFile() {
    TaskSession s;
    ChecksumPage& page = *s.window().tbCheck;
    const qsizetype lines = s.LogLines().size();
    page.btnChkst->click();
    QCOMPARE(s.platform.boxes.size(), std::size_t{1});
    QCOMPARE(s.platform.boxes[0].text, QStringLiteral("Error! File \"\" not found"));
    QCOMPARE(s.platform.boxes[0].caption, QStringLiteral("Error"));
    QCOMPARE(s.LogLines().size(), lines);
    QVERIFY(page.btnChkst->isEnabled());
    QVERIFY(page.lblChksStat->isHidden());
    QCOMPARE(RunningWorkers(), 0);
}

void ChecksTest::indicator_data() {
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QColor>("fill");
    QTest::addColumn<QString>("text");
    const QColor lime(0, 255, 0);
    const QColor red(255, 0, 0);
    QTest::newRow("equal") << QStringLiteral("1A2B3C4D") << QStringLiteral("1A2B3C4D") << lime
                           << QStringLiteral("Checksum is match!");
    QTest::newRow("case differs") << QStringLiteral("1A2B3C4D") << QStringLiteral("1a2b3c4d") << red
                                  << QStringLiteral("Checksum is not Match!");
    QTest::newRow("trailing space") << QStringLiteral("1A2B3C4D") << QStringLiteral("1A2B3C4D ")
                                    << red << QStringLiteral("Checksum length is not equal!");
    QTest::newRow("both empty") << QString() << QString() << lime
                                << QStringLiteral("Checksum is match!");
    QTest::newRow("one character beyond the BMP")
        << QStringLiteral("1A2B3C4D") << QStringLiteral("1A2B3C4\U0001F600") << red
        << QStringLiteral("Checksum is not Match!");
}

void ChecksTest::indicator() {
    QFETCH(QString, result);
    QFETCH(QString, typed);
    QFETCH(QColor, fill);
    QFETCH(QString, text);
    TaskSession s;
    ChecksumPage& page = *s.window().tbCheck;
    QCOMPARE(page.lblTestChk->text(), QStringLiteral("Data not Entered!"));
    QCOMPARE(page.shpChks->palette().color(QPalette::Window), QColor(Qt::white));
    page.edtChksRes->setText(result);
    // Typed character by character, then cleared and typed again for the empty case.
    page.edtChksCmp->setText(QStringLiteral("x"));
    page.edtChksCmp->clear();
    page.edtChksCmp->setText(typed);
    QCOMPARE(page.shpChks->palette().color(QPalette::Window), fill);
    QCOMPARE(page.lblTestChk->text(), text);
}

void ChecksTest::indicatorWaitsForTheNextEdit() {
    TaskSession s;
    ChecksumPage& page = *s.window().tbCheck;
    const QString path = s.File(QStringLiteral("nine.txt"));
    s.install.WriteFile(path, "123456789");
    page.edtChksCmp->setText(QStringLiteral("CBF43926"));
    QCOMPARE(page.lblTestChk->text(), QStringLiteral("Checksum length is not equal!"));
    page.edtChksF->setText(path);
    page.btnChkst->click();
    TaskSession::WaitForWorkers();
    QCOMPARE(page.edtChksRes->text(), QStringLiteral("CBF43926"));
    QCOMPARE(page.lblTestChk->text(), QStringLiteral("Checksum length is not equal!"));
    page.edtChksCmp->setText(QStringLiteral("CBF43926 "));
    page.edtChksCmp->setText(QStringLiteral("CBF43926"));
    QCOMPARE(page.lblTestChk->text(), QStringLiteral("Checksum is match!"));
}

void ChecksTest::copyToClipboard() {
    TaskSession s;
    ChecksumPage& page = *s.window().tbCheck;
    s.platform.clipboard = QStringLiteral("something else");
    page.btCopyCh->click();
    QCOMPARE(s.platform.clipboard, QString());
    page.edtChksRes->setText(QStringLiteral("CBF43926"));
    page.btCopyCh->click();
    QCOMPARE(s.platform.clipboard, QStringLiteral("CBF43926"));
    QCOMPARE(s.platform.boxes.size(), std::size_t{2});
    for (const RecordedBox& box : s.platform.boxes) {
        QCOMPARE(box.caption, QStringLiteral("Success"));
        QCOMPARE(box.text, QStringLiteral("Checksum has been copied to clipboard."));
        QCOMPARE(box.icon, BoxIcon::Information);
    }
}

void ChecksTest::checksumDropAndBrowse() {
    TaskSession s;
    ChecksumPage& page = *s.window().tbCheck;
    Q_EMIT page.drpChksm->dropped(
        {QStringLiteral("/a/1.bin"), QStringLiteral("/a/2.bin"), QStringLiteral("/a/3.bin")});
    QCOMPARE(page.edtChksF->text(), QStringLiteral("/a/1.bin"));
    s.platform.fileAnswers.push_back(QStringLiteral("/b/picked.iso"));
    page.BitBtn4->click();
    QCOMPARE(page.edtChksF->text(), QStringLiteral("/b/picked.iso"));
    page.BitBtn4->click(); // cancelled: the field stays
    QCOMPARE(page.edtChksF->text(), QStringLiteral("/b/picked.iso"));
}

void ChecksTest::compare_data() {
    QTest::addColumn<QByteArray>("first");
    QTest::addColumn<QByteArray>("second");
    QTest::addColumn<bool>("byContent");
    QTest::addColumn<bool>("sizeCheck");
    QTest::addColumn<QString>("verdict"); // the log line; %1 and %2 the two checksums
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("box");

    QByteArray data(3000, 'a');
    for (int i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>(i * 7);
    QByteArray at1F = data;
    at1F[0x1F] = 'x';
    at1F[0x800] = 'y';
    QByteArray first0 = data;
    first0[0] = 'z';
    const QString equal = QStringLiteral("Both file is equal!");
    const QString nullFile = QStringLiteral("One or both file is null!");
    const QString error = QStringLiteral("Error");
    const QString success = QStringLiteral("Success");

    for (const bool content : {false, true}) {
        const char* mode = content ? "content" : "checksum";
        QTest::addRow("%s: equal", mode)
            << data << data << content << true << equal << success
            << (content ? equal : QStringLiteral("Both file is equal. %1 = %2"));
        QTest::addRow("%s: empty, size check off", mode)
            << data << QByteArray() << content << false << nullFile << error << nullFile;
        QTest::addRow("%s: 10 and 12 bytes", mode)
            << QByteArray(10, 'a') << QByteArray(12, 'a') << content << true
            << QStringLiteral("File size is not equal! 10 <> 12") << error
            << QStringLiteral("File size is not equal! 10 <> 12");
    }
    const QString differs = QStringLiteral("Both file is not equal! %1 <> %2");
    QTest::newRow("checksum: sizes differ, size check off")
        << data << data + "more" << false << false << differs << error << differs;
    QTest::newRow("checksum: contents differ")
        << data << at1F << false << true << differs << error << differs;
    QTest::newRow("content: second goes on, size check off")
        << data << data + "more" << true << false << equal << success << equal;
    QTest::newRow("content: differs at 1F and later")
        << data << at1F << true << true << QStringLiteral("Both file is not equal at $0000001F !")
        << error << QStringLiteral("Both file is not equal at $0000001F !");
    QTest::newRow("content: differs at the first byte")
        << data << first0 << true << true << QStringLiteral("Both file is not equal at $00000000 !")
        << error << QStringLiteral("Both file is not equal at $00000000 !");
}

void ChecksTest::compare() {
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);
    QFETCH(bool, byContent);
    QFETCH(bool, sizeCheck);
    QFETCH(QString, verdict);
    QFETCH(QString, caption);
    QFETCH(QString, box);
    TaskSession s;
    TfrmMain& window = s.window();
    ComparePage& page = *window.tbCmpf;
    const QString one = s.File(QStringLiteral("one.bin"));
    const QString two = s.File(QStringLiteral("two.bin"));
    s.install.WriteFile(one, first);
    s.install.WriteFile(two, second);
    page.edtCmpF1->setText(one);
    page.edtCmpF2->setText(two);
    (byContent ? page.rbCmpfc : page.rbCmpch)->click();
    page.chkCmpsz->setChecked(sizeCheck);

    page.btnCmpst->click();

    const QStringList log = s.LogLines();
    const QStringList expected{
        QStringLiteral("File 1 as \"%1\"").arg(one),
        QStringLiteral("File 2 as \"%1\"").arg(two),
        QStringLiteral("Size of file 1 is %1 Bytes").arg(first.size()),
        QStringLiteral("Size of file 2 is %1 Bytes").arg(second.size()),
    };
    QCOMPARE(log.mid(1, 4), expected);
    QCOMPARE(log.size(), 6);
    QCOMPARE(s.platform.boxes.size(), std::size_t{1});
    const RecordedBox& shown = s.platform.boxes[0];
    // The checksum texts: 8 uppercase hexadecimal digits each, in file order.
    const auto checksums = [](const QString& format, const QString& text) {
        QString pattern = QRegularExpression::escape(format);
        pattern.replace(QStringLiteral("\\%1"), QStringLiteral("([0-9A-F]{8})"));
        pattern.replace(QStringLiteral("\\%2"), QStringLiteral("([0-9A-F]{8})"));
        return QRegularExpression(QLatin1Char('^') + pattern + QLatin1Char('$')).match(text);
    };
    if (verdict.contains(QStringLiteral("%1"))) {
        const auto match = checksums(verdict, log[5]);
        QVERIFY2(match.hasMatch(), qPrintable(log[5]));
        QVERIFY(match.captured(1) != match.captured(2));
    } else {
        QCOMPARE(log[5], verdict);
    }
    if (box.contains(QStringLiteral("%1"))) {
        const auto match = checksums(box, shown.text);
        QVERIFY2(match.hasMatch(), qPrintable(shown.text));
        if (caption == QStringLiteral("Success"))
            QCOMPARE(match.captured(1), match.captured(2));
    } else {
        QCOMPARE(shown.text, box);
    }
    QCOMPARE(shown.caption, caption);
    QCOMPARE(shown.icon,
             caption == QStringLiteral("Success") ? BoxIcon::Information : BoxIcon::Error);
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File Compare end."));
    QCOMPARE(s.platform.beeps, 1);
    QVERIFY(page.btnCmpst->isEnabled());
    QVERIFY(page.grpCmpTarg->isEnabled());
    QVERIFY(page.grpCmpOpt->isEnabled());
    for (int i = 0; i < window.pgcMain->count(); ++i)
        QVERIFY(window.pgcMain->isTabVisible(i));
}

void ChecksTest::compareRefusesAMissingFile() {
    TaskSession s;
    ComparePage& page = *s.window().tbCmpf;
    const QString one = s.File(QStringLiteral("one.bin"));
    s.install.WriteFile(one, "x");
    page.edtCmpF1->setText(one);
    const qsizetype lines = s.LogLines().size();
    page.btnCmpst->click();
    QCOMPARE(s.platform.boxes.size(), std::size_t{1});
    QCOMPARE(s.platform.boxes[0].text, QStringLiteral("One or both file not found!"));
    QCOMPARE(s.platform.boxes[0].caption, QStringLiteral("Error"));
    QCOMPARE(s.LogLines().size(), lines);
    QCOMPARE(s.platform.beeps, 0);
    QVERIFY(s.window().StatPanel0->text().isEmpty());
}

void ChecksTest::compareDrops() {
    TaskSession s;
    ComparePage& page = *s.window().tbCmpf;
    page.edtCmpF2->setText(QStringLiteral("/kept"));
    Q_EMIT page.drpCmpF->dropped({QStringLiteral("/only.bin")});
    QCOMPARE(page.edtCmpF1->text(), QStringLiteral("/only.bin"));
    QCOMPARE(page.edtCmpF2->text(), QStringLiteral("/kept"));
    QCOMPARE(s.platform.boxes.size(), std::size_t{1});
    QCOMPARE(s.platform.boxes[0].text, QStringLiteral("Please drag 2 file on time!"));
    QCOMPARE(s.platform.boxes[0].caption, QStringLiteral("Error"));

    Q_EMIT page.drpCmpF->dropped(
        {QStringLiteral("/a.bin"), QStringLiteral("/b.bin"), QStringLiteral("/c.bin")});
    QCOMPARE(page.edtCmpF1->text(), QStringLiteral("/a.bin"));
    QCOMPARE(page.edtCmpF2->text(), QStringLiteral("/b.bin"));
    QCOMPARE(s.platform.boxes.size(), std::size_t{1});

    s.platform.fileAnswers.push_back(QStringLiteral("/p1"));
    s.platform.fileAnswers.push_back(QStringLiteral("/p2"));
    page.btBrowF1->click();
    page.btBrowF2->click();
    QCOMPARE(page.edtCmpF1->text(), QStringLiteral("/p1"));
    QCOMPARE(page.edtCmpF2->text(), QStringLiteral("/p2"));
}

QTEST_MAIN(ChecksTest)
#include "tst_checks.moc"
