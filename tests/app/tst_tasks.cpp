// The Split and Join pages end to end: through their controls, over real files, with the
// worker threads reporting to the window.
#include "JoinPage.h"
#include "NextPartDialog.h"
#include "SplitPage.h"
#include "TaskSession.h"
#include "Widgets.h"
#include "checksum/CRC32.h"
#include "text/UnicodeAdds.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace partsmith;
using namespace partsmith::test;

namespace {

QString Crc(const QString& path) {
    return QString::fromStdString(Crc32ToText(Crc32OfFile(PathFromUtf8(path.toStdString()))));
}

// The source picked by a drop, the size mode with size and unit, or the number mode.
void PrepareSplit(TaskSession& s, const QString& source, int size, int unit, int files = 0) {
    SplitPage& page = *s.window().tbSplit;
    Q_EMIT page.drpSpl->dropped({s.File(source)});
    if (files > 0) {
        page.rbSplFn->click();
        page.spFnum->setValue(files);
    } else {
        page.rbSplSz->click();
        page.spSpSz->setValue(size);
        page.cbxFszOpt->setCurrentIndex(unit);
    }
}

void PrepareJoin(TaskSession& s, const QString& firstPart, const QString& output) {
    JoinPage& page = *s.window().tbJoin;
    Q_EMIT page.drpJoin->dropped({s.File(firstPart)});
    page.edtJnSv->setText(s.File(output));
}

void RunSplit(TaskSession& s) {
    s.window().tbSplit->btStSplt->click();
    TaskSession::WaitForWorkers();
}

void RunJoin(TaskSession& s) {
    s.window().tbJoin->btStrJoin->click();
    TaskSession::WaitForWorkers();
}

bool AllTabsOffered(TfrmMain& window) {
    for (int i = 0; i < window.pgcMain->count(); ++i) {
        if (!window.pgcMain->isTabVisible(i))
            return false;
    }
    return true;
}

} // namespace

class TasksTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void splitAndJoinBack_data();
    void splitAndJoinBack();
    void refusedStarts();
    void wrongPasswordReportsBothChecksumsAndKeepsParts();
    void pauseResumeAndStop();
    void deletionOnlyAfterCompletedRuns();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void nextPartDialog_data();
    void nextPartDialog();
    void launchAfterJoin();
    void exitWhenFinished();
    void performTimeAllowsOneWrap();
    void dropsFillTheFields();
    void closingTheWindowDuringARun_data();
    void closingTheWindowDuringARun();
};

void TasksTest::splitAndJoinBack_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("unit");
    QTest::addColumn<int>("files");
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<qint64>("partSize");
    QTest::addColumn<QStringList>("parts");

    const QString base = QStringLiteral("src file.bin.");
    QTest::newRow("bytes, plain") << 2000 << 0 << 0 << false << qint64{2000}
                                  << QStringList{base + QLatin1String("001"),
                                                 base + QLatin1String("002"),
                                                 base + QLatin1String("003")};
    QTest::newRow("KiB, encrypted")
        << 2 << 1 << 0 << true << qint64{2048}
        << QStringList{base + QLatin1String("e01"), base + QLatin1String("e02"),
                       base + QLatin1String("e03")};
    QTest::newRow("3 files, plain")
        << 100 << 2 << 3 << false << qint64{1667}
        << QStringList{base + QLatin1String("001"), base + QLatin1String("002"),
                       base + QLatin1String("003")};
    QTest::newRow("2 files, encrypted")
        << 100 << 2 << 2 << true << qint64{2500}
        << QStringList{base + QLatin1String("e01"), base + QLatin1String("e02"),
                       base + QLatin1String("e03")};
}

void TasksTest::splitAndJoinBack() {
    QFETCH(int, size);
    QFETCH(int, unit);
    QFETCH(int, files);
    QFETCH(bool, encrypted);
    QFETCH(qint64, partSize);
    QFETCH(QStringList, parts);

    TaskSession s;
    TfrmMain& window = s.window();
    const QByteArray original = s.WriteRandom(QStringLiteral("src file.bin"), 5000);
    PrepareSplit(s, QStringLiteral("src file.bin"), size, unit, files);
    window.tbSplit->chkEncr->setChecked(encrypted);
    if (encrypted)
        s.AnswerPassword(QStringLiteral("p\u00e4ss word"));

    window.tbSplit->btStSplt->click();
    // Running: the page is locked and only its tab is offered.
    QVERIFY(!window.tbSplit->grpSplTarg->isEnabled());
    QVERIFY(!window.tbSplit->btPwsSplt->isHidden());
    QVERIFY(window.tbSplit->btStSplt->isHidden());
    QVERIFY(!window.pgcMain->isTabVisible(kJoinPage));
    TaskSession::WaitForWorkers();

    QStringList expectedFiles = parts;
    expectedFiles.prepend(QStringLiteral("src file.bin"));
    QCOMPARE(s.Files(), expectedFiles);
    QCOMPARE(s.Read(parts[0]).size(), partSize);
    const QString source = s.File(QStringLiteral("src file.bin"));
    QStringList expectedLog{
        QStringLiteral("Performing for File \"%1\"").arg(source),
        QStringLiteral("Size of splitted file is %1 Bytes").arg(partSize),
        QStringLiteral("Creating thread..."),
        QStringLiteral("File spliting finished! Perform time is .00 seconds."),
    };
    QCOMPARE(s.LogLines().mid(1), expectedLog);
    QCOMPARE(s.platform.boxes.size(), std::size_t{1});
    QCOMPARE(s.platform.boxes[0].caption, QStringLiteral("Success"));
    QCOMPARE(s.platform.boxes[0].text, expectedLog.back());
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File splitting end."));
    QVERIFY(window.tbSplit->grpSplOpt->isEnabled());
    QVERIFY(window.tbSplit->btPwsSplt->isHidden());
    QVERIFY(!window.tbSplit->btStSplt->isHidden());
    QVERIFY(AllTabsOffered(window));
    QCOMPARE(s.platform.beeps, 1);

    PrepareJoin(s, parts[0], QStringLiteral("joined.bin"));
    if (encrypted)
        s.AnswerPassword(QStringLiteral("p\u00e4ss word"));
    RunJoin(s);
    QCOMPARE(s.Read(QStringLiteral("joined.bin")), original);
    QCOMPARE(s.LogLines().last(),
             QStringLiteral("File joining finished! Perform time is .00 seconds."));
    QCOMPARE(s.platform.boxes.size(), std::size_t{2});
    QCOMPARE(s.platform.boxes[1].caption, QStringLiteral("Success"));
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File joining end."));
    QCOMPARE(window.pbStat->value(), 100);
    QVERIFY(!window.tbJoin->btStrJoin->isHidden());
    QVERIFY(window.tbJoin->grpJnOpt->isEnabled());
    QVERIFY(AllTabsOffered(window));
    QVERIFY(s.platform.unclosedDialogs.isEmpty());
}

void TasksTest::refusedStarts() {
    TaskSession s;
    TfrmMain& window = s.window();
    SplitPage& split = *window.tbSplit;

    // A missing source: the box, then the same line in the log; the page stays idle.
    split.edtSpltf->setText(s.File(QStringLiteral("none.bin")));
    split.btStSplt->click();
    const QString missing =
        QStringLiteral("Error! File \"%1\" not found").arg(s.File(QStringLiteral("none.bin")));
    QCOMPARE(s.platform.boxes.back().text, missing);
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Error"));
    QCOMPARE(s.LogLines().last(), missing);

    // A size of 0 (and no parts in the number mode): the error box, the log line and the
    // page back to idle without a result report.
    s.WriteRandom(QStringLiteral("a.bin"), 100);
    for (int files : {0, -1}) {
        PrepareSplit(s, QStringLiteral("a.bin"), 0, 0, files == 0 ? 0 : 0);
        if (files < 0) {
            split.rbSplFn->click();
            split.spSpSz->setValue(100);
            split.spFnum->setValue(0);
        }
        const std::size_t boxes = s.platform.boxes.size();
        RunSplit(s);
        QCOMPARE(s.platform.boxes.size(), boxes + 1);
        QCOMPARE(s.platform.boxes.back().text,
                 QStringLiteral("Size of spilited file is under or zero!"));
        QCOMPARE(s.LogLines().last(), QStringLiteral("Size of spilited file is under or zero!"));
        QCOMPARE(window.StatPanel0->text(), QStringLiteral("File splitting end."));
        QVERIFY(!split.btStSplt->isHidden());
        QVERIFY(AllTabsOffered(window));
    }
    QCOMPARE(s.Files(), QStringList{QStringLiteral("a.bin")});

    // A cancelled password ends the start after its two log lines.
    PrepareSplit(s, QStringLiteral("a.bin"), 30, 0);
    split.chkEncr->setChecked(true);
    const qsizetype lines = s.LogLines().size();
    RunSplit(s);
    QCOMPARE(s.LogLines().size(), lines + 2);
    QCOMPARE(s.LogLines().last(), QStringLiteral("Size of splitted file is 30 Bytes"));
    QVERIFY(!split.btStSplt->isHidden());
    QCOMPARE(s.Files(), QStringList{QStringLiteral("a.bin")});

    // A join of a part whose number does not read: the general handler's box.
    s.WriteRandom(QStringLiteral("movie.avi"), 10);
    Q_EMIT window.tbJoin->drpJoin->dropped({s.File(QStringLiteral("movie.avi"))});
    RunJoin(s);
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Partsmith"));
    QCOMPARE(s.platform.boxes.back().text, QStringLiteral("'avi' is not a valid integer value."));
    QVERIFY(!window.tbJoin->btStrJoin->isHidden());

    // A join whose first part is missing (range mode): no output, a clear error.
    s.WriteRandom(QStringLiteral("set.bin.003"), 10);
    Q_EMIT window.tbJoin->drpJoin->dropped({s.File(QStringLiteral("set.bin.003"))});
    window.tbJoin->rbJnUd->click();
    window.tbJoin->spJnMin->setValue(1);
    window.tbJoin->spJnMax->setValue(1);
    RunJoin(s); // the next-part dialog is left without OK
    QCOMPARE(s.platform.boxes.back().text,
             QStringLiteral("No part of the set was found! Nothing was joined."));
    QVERIFY(!s.Exists(QStringLiteral("set.bin")));
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File joining end."));
}

void TasksTest::wrongPasswordReportsBothChecksumsAndKeepsParts() {
    TaskSession s;
    TfrmMain& window = s.window();
    s.WriteRandom(QStringLiteral("doc.pdf"), 3000);
    const QString storedCrc = Crc(s.File(QStringLiteral("doc.pdf")));
    PrepareSplit(s, QStringLiteral("doc.pdf"), 1000, 0);
    window.tbSplit->chkEncr->setChecked(true);
    s.AnswerPassword(QStringLiteral("right"));
    RunSplit(s);
    const QStringList parts = s.Files();
    QCOMPARE(parts.size(), 5); // the source and four parts: 3012 bytes in parts of 1000

    PrepareJoin(s, QStringLiteral("doc.pdf.e01"), QStringLiteral("joined.pdf"));
    window.tbJoin->chkDlJn->setChecked(true);
    window.tbJoin->chkJnApr->setChecked(true);
    window.tbJoin->edtJnApr->setText(QStringLiteral("viewer %s"));
    s.AnswerPassword(QStringLiteral("wrong"));
    RunJoin(s);

    const QString joinedCrc = Crc(s.File(QStringLiteral("joined.pdf")));
    QVERIFY(joinedCrc != storedCrc);
    QCOMPARE(s.LogLines().last(),
             QStringLiteral("File joining finished! Perform time is .00 seconds."));
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Error"));
    QCOMPARE(s.platform.boxes.back().icon, BoxIcon::Error);
    QCOMPARE(s.platform.boxes.back().text,
             QStringLiteral("Checksum of Original File and Joined File is different. Please enter "
                            "valid password or provide valid files. %1 <> %2")
                 .arg(storedCrc, joinedCrc));
    // Neither deleted nor launched: the parts are the only good copy.
    QStringList after = parts;
    after << QStringLiteral("joined.pdf");
    after.sort();
    QCOMPARE(s.Files(), after);
    QVERIFY(s.platform.processes.isEmpty());
}

void TasksTest::pauseResumeAndStop() {
    TaskSession s(QByteArrayLiteral("AskWhenFileExists=0\n"));
    TfrmMain& window = s.window();
    SplitPage& split = *window.tbSplit;
    const QByteArray original = s.WriteRandom(QStringLiteral("big.bin"), 64 * 1024);
    PrepareSplit(s, QStringLiteral("big.bin"), 64, 1);

    split.btStSplt->click();
    split.btPwsSplt->click();
    QCOMPARE(split.btPwsSplt->text(), QStringLiteral("&Resume"));
    TaskSession::Pump(150);
    const int progress = window.pbStat->value();
    const QString status = window.StatPanel0->text();
    const qsizetype written = s.Read(QStringLiteral("big.bin.001")).size();
    QVERIFY(status.startsWith(QStringLiteral("Spliting file at \"big.bin.001\", Total ")));
    TaskSession::Pump(250);
    QCOMPARE(window.pbStat->value(), progress);
    QCOMPARE(window.StatPanel0->text(), status);
    QCOMPARE(s.Read(QStringLiteral("big.bin.001")).size(), written);
    QVERIFY(written < 64 * 1024);
    QCOMPARE(RunningWorkers(), 1);

    split.btPwsSplt->click();
    QCOMPARE(split.btPwsSplt->text(), QStringLiteral("&Pause"));
    TaskSession::WaitForWorkers();
    QCOMPARE(s.Read(QStringLiteral("big.bin.001")), original);
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Success"));
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File splitting end."));

    // Stop while paused: the aborted box; the part stays as far as it was written.
    split.btStSplt->click();
    split.btPwsSplt->click();
    TaskSession::Pump(100);
    split.btStpSplt->click();
    TaskSession::WaitForWorkers();
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Abort"));
    QCOMPARE(s.platform.boxes.back().text, QStringLiteral("File splitting aborted by user!"));
    QCOMPARE(s.LogLines().last(), QStringLiteral("File splitting aborted by user!"));
    QVERIFY(s.Read(QStringLiteral("big.bin.001")).size() < 64 * 1024);
    QVERIFY(!split.btStSplt->isHidden());
    QVERIFY(split.btStpSplt->isHidden());

    // The join pauses and stops the same way.
    // The next start clears the pause flag; the button keeps the caption it had.
    split.btStSplt->click();
    QCOMPARE(split.btPwsSplt->text(), QStringLiteral("&Resume"));
    TaskSession::WaitForWorkers();
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Success"));
    JoinPage& join = *window.tbJoin;
    PrepareJoin(s, QStringLiteral("big.bin.001"), QStringLiteral("joined.bin"));
    join.btStrJoin->click();
    join.btPwsJoin->click();
    QCOMPARE(join.btPwsJoin->text(), QStringLiteral("&Resume"));
    TaskSession::Pump(150);
    const qsizetype joined = s.Read(QStringLiteral("joined.bin")).size();
    TaskSession::Pump(200);
    QCOMPARE(s.Read(QStringLiteral("joined.bin")).size(), joined);
    join.btStpJoin->click();
    TaskSession::WaitForWorkers();
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Abort"));
    QCOMPARE(s.platform.boxes.back().text, QStringLiteral("File joining aborted by user!"));
    QCOMPARE(s.LogLines().last(), QStringLiteral("File joining aborted by user!"));
    QVERIFY(s.Read(QStringLiteral("joined.bin")).size() < 64 * 1024);
    QCOMPARE(window.StatPanel0->text(), QStringLiteral("File joining end."));
}

void TasksTest::deletionOnlyAfterCompletedRuns() {
    TaskSession s(QByteArrayLiteral("AskWhenFileExists=0\n"));
    TfrmMain& window = s.window();
    SplitPage& split = *window.tbSplit;
    const QByteArray original = s.WriteRandom(QStringLiteral("keep.bin"), 8 * 1024);
    s.WriteRandom(QStringLiteral("other.bin"), 10);
    PrepareSplit(s, QStringLiteral("keep.bin"), 4, 1);
    split.chkSplDel->setChecked(true);

    // Stopped: the source stays.
    split.btStSplt->click();
    split.btPwsSplt->click();
    TaskSession::Pump(50);
    split.btStpSplt->click();
    TaskSession::WaitForWorkers();
    QVERIFY(s.Exists(QStringLiteral("keep.bin")));

    // Completed, with another file dropped while it ran: the source of the run goes, the
    // dropped file stays.
    split.btStSplt->click(); // the button still reads "&Resume": the pause flag was cleared
    TaskSession::Pump(20);
    Q_EMIT split.drpSpl->dropped({s.File(QStringLiteral("other.bin"))});
    QCOMPARE(split.edtSpltf->text(), s.File(QStringLiteral("other.bin")));
    TaskSession::WaitForWorkers();
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Success"));
    QCOMPARE(s.Files(), (QStringList{QStringLiteral("keep.bin.001"), QStringLiteral("keep.bin.002"),
                                     QStringLiteral("other.bin")}));

    // A stopped join keeps the parts; a completed one deletes them.
    JoinPage& join = *window.tbJoin;
    PrepareJoin(s, QStringLiteral("keep.bin.001"), QStringLiteral("keep.bin"));
    join.chkDlJn->setChecked(true);
    join.btStrJoin->click();
    join.btPwsJoin->click();
    TaskSession::Pump(50);
    join.btStpJoin->click();
    TaskSession::WaitForWorkers();
    QVERIFY(s.Exists(QStringLiteral("keep.bin.001")));
    QVERIFY(s.Exists(QStringLiteral("keep.bin.002")));
    join.btPwsJoin->click(); // back to "&Pause"; the next start clears the flag anyway
    RunJoin(s);
    QCOMPARE(s.Files(), (QStringList{QStringLiteral("keep.bin"), QStringLiteral("other.bin")}));
    QCOMPARE(s.Read(QStringLiteral("keep.bin")), original);
}

void TasksTest::overwriteQuestion_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("Yes") << int(Answer::Yes);
    QTest::newRow("No, another file") << int(Answer::No);
    QTest::newRow("No, chooser closed") << -1;
    QTest::newRow("Cancel") << int(Answer::Cancel);
}

void TasksTest::overwriteQuestion() {
    QFETCH(int, answer);
    TaskSession s;
    TfrmMain& window = s.window();
    const QByteArray original = s.WriteRandom(QStringLiteral("x.bin"), 3000);
    PrepareSplit(s, QStringLiteral("x.bin"), 1000, 0);
    RunSplit(s);
    s.install.WriteFile(s.File(QStringLiteral("out.bin")), "old");

    PrepareJoin(s, QStringLiteral("x.bin.001"), QStringLiteral("out.bin"));
    s.platform.answers.push_back(answer < 0 ? Answer::No : static_cast<Answer>(answer));
    if (answer == int(Answer::No))
        s.platform.fileAnswers.push_back(s.File(QStringLiteral("chosen.bin")));
    const std::size_t boxes = s.platform.boxes.size();
    const qsizetype lines = s.LogLines().size();
    RunJoin(s);

    QCOMPARE(s.platform.questions,
             QStringList{QStringLiteral("Confirmation: File \"%1\" is exists, do you want to "
                                        "overwrite?")
                             .arg(s.File(QStringLiteral("out.bin")))});
    if (answer == int(Answer::Yes)) {
        QCOMPARE(s.Read(QStringLiteral("out.bin")), original);
    } else if (answer == int(Answer::No)) {
        QCOMPARE(s.Read(QStringLiteral("chosen.bin")), original);
        QCOMPARE(s.Read(QStringLiteral("out.bin")), QByteArray("old"));
    }
    if (answer == int(Answer::Yes) || answer == int(Answer::No)) {
        QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Success"));
    } else {
        // Cancelled: nothing written, nothing reported, the page idle again.
        QCOMPARE(s.Read(QStringLiteral("out.bin")), QByteArray("old"));
        QCOMPARE(s.platform.boxes.size(), boxes);
        QCOMPARE(s.LogLines().size(), lines + 3); // Performing, scan result, Creating thread
        QVERIFY(!window.tbJoin->btStrJoin->isHidden());
        QVERIFY(window.tbJoin->btStpJoin->isHidden());
        QVERIFY(window.tbJoin->grpJnSrc->isEnabled());
        QVERIFY(AllTabsOffered(window));
    }
}

void TasksTest::nextPartDialog_data() {
    QTest::addColumn<bool>("ok");
    QTest::newRow("OK after the part is in place") << true;
    QTest::newRow("Cancel") << false;
}

void TasksTest::nextPartDialog() {
    QFETCH(bool, ok);
    TaskSession s;
    TfrmMain& window = s.window();
    const QByteArray original = s.WriteRandom(QStringLiteral("set.bin"), 3000);
    PrepareSplit(s, QStringLiteral("set.bin"), 1000, 0);
    RunSplit(s);
    QVERIFY(QFile::rename(s.File(QStringLiteral("set.bin.002")), s.File(QStringLiteral("away"))));

    JoinPage& join = *window.tbJoin;
    PrepareJoin(s, QStringLiteral("set.bin.001"), QStringLiteral("joined.bin"));
    join.rbJnUd->click();
    join.spJnMin->setValue(1);
    join.spJnMax->setValue(3);
    join.chkDlJn->setChecked(true);
    QString preset;
    s.platform.Script(QStringLiteral("TfrmCnfFile"), [&](QDialog& dialog) {
        auto& next = static_cast<TfrmCnfFile&>(dialog);
        preset = next.edtPath->text();
        if (ok) {
            QVERIFY(QFile::rename(s.File(QStringLiteral("away")),
                                  s.File(QStringLiteral("set.bin.002"))));
            next.BitBtn1->click();
        } else {
            next.BitBtn2->click();
        }
    });
    RunJoin(s);

    QCOMPARE(preset, s.File(QStringLiteral("set.bin.002")));
    QCOMPARE(s.platform.shownDialogs.count(QStringLiteral("TfrmCnfFile")), 1);
    if (ok) {
        QCOMPARE(s.Read(QStringLiteral("joined.bin")), original);
        QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Success"));
        QCOMPARE(s.Files(), (QStringList{QStringLiteral("joined.bin"), QStringLiteral("set.bin")}));
    } else {
        // Given up half way: reported as aborted, the parts left alone.
        QCOMPARE(s.Read(QStringLiteral("joined.bin")), original.left(1000));
        QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Abort"));
        QVERIFY(s.Exists(QStringLiteral("set.bin.001")));
        QVERIFY(s.Exists(QStringLiteral("set.bin.003")));
    }
}

void TasksTest::launchAfterJoin() {
    TaskSession s;
    TfrmMain& window = s.window();
    s.WriteRandom(QStringLiteral("my film.avi"), 2000);
    PrepareSplit(s, QStringLiteral("my film.avi"), 1000, 0);
    RunSplit(s);

    JoinPage& join = *window.tbJoin;
    PrepareJoin(s, QStringLiteral("my film.avi.001"), QStringLiteral("my film.avi"));
    QCOMPARE(join.edtJnSv->text(), s.File(QStringLiteral("my film.avi")));
    join.chkJnApr->setChecked(true);
    QVERIFY(join.edtJnApr->isEnabled());
    join.edtJnApr->setText(QStringLiteral("player --title '100%%' \"%s\""));
    s.platform.answers.push_back(Answer::Yes);
    RunJoin(s);
    QCOMPARE(s.platform.processArguments.size(), std::size_t{1});
    QCOMPARE(s.platform.processArguments[0],
             (QStringList{QStringLiteral("player"), QStringLiteral("--title"),
                          QStringLiteral("100%"), s.File(QStringLiteral("my film.avi"))}));

    // A launch text that does not fit one path goes to the general handler; the join is
    // still reported.
    join.edtJnApr->setText(QStringLiteral("player %d"));
    s.platform.answers.push_back(Answer::Yes);
    RunJoin(s);
    QCOMPARE(s.platform.processArguments.size(), std::size_t{1});
    const auto& boxes = s.platform.boxes;
    QCOMPARE(boxes[boxes.size() - 2].caption, QStringLiteral("Partsmith"));
    QCOMPARE(boxes.back().caption, QStringLiteral("Success"));

    join.chkJnApr->setChecked(false);
    QVERIFY(!join.edtJnApr->isEnabled());
    QVERIFY(!join.lblJnAprh->isEnabled());
}

void TasksTest::exitWhenFinished() {
    TaskSession s(QByteArrayLiteral("AlwaysExitWhenFinised=1\n"));
    TfrmMain& window = s.window();
    s.WriteRandom(QStringLiteral("a.bin"), 3000);
    PrepareSplit(s, QStringLiteral("a.bin"), 1000, 0);
    RunSplit(s);
    QTRY_VERIFY(!window.isVisible());
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Success"));

    // A stopped join closes the window too.
    ShowAndSettle(window);
    PrepareJoin(s, QStringLiteral("a.bin.001"), QStringLiteral("b.bin"));
    window.tbJoin->btStrJoin->click();
    window.tbJoin->btStpJoin->click();
    TaskSession::WaitForWorkers();
    QCOMPARE(s.platform.boxes.back().caption, QStringLiteral("Abort"));
    QTRY_VERIFY(!window.isVisible());
}

void TasksTest::performTimeAllowsOneWrap() {
    TaskSession s;
    s.WriteRandom(QStringLiteral("a.bin"), 3000);
    PrepareSplit(s, QStringLiteral("a.bin"), 1000, 0);
    s.platform.tick = 0xFFFFFFFFu - 1000u;
    s.window().tbSplit->btStSplt->click();
    s.platform.tick = 1456; // 1000 ms before the wrap, 1456 after it
    TaskSession::WaitForWorkers();
    QCOMPARE(s.LogLines().last(),
             QStringLiteral("File spliting finished! Perform time is 2.46 seconds."));
    QCOMPARE(s.window().FEndTick, 1456u);
}

void TasksTest::dropsFillTheFields() {
    TaskSession s;
    TfrmMain& window = s.window();
    Q_EMIT window.tbSplit->drpSpl->dropped(
        {QStringLiteral("/data/report.pdf"), QStringLiteral("/data/other.pdf")});
    QCOMPARE(window.tbSplit->edtSpltf->text(), QStringLiteral("/data/report.pdf"));
    QCOMPARE(window.tbSplit->edtSplNm->text(), QStringLiteral("report.pdf"));
    QCOMPARE(window.tbSplit->edtSplDir->text(), QStringLiteral("/data"));
    s.platform.fileAnswers.push_back(QStringLiteral("/x.bin"));
    window.tbSplit->btBrowSpl->click();
    QCOMPARE(window.tbSplit->edtSplDir->text(), QStringLiteral("/"));
    QCOMPARE(window.tbSplit->edtSplNm->text(), QStringLiteral("x.bin"));

    Q_EMIT window.tbJoin->drpJoin->dropped({QStringLiteral("/d/movie.avi.001"),
                                            QStringLiteral("/d/movie.avi.002"),
                                            QStringLiteral("/d/movie.avi.003")});
    QCOMPARE(window.tbJoin->edtJnSrc->text(), QStringLiteral("/d/movie.avi.001"));
    QCOMPARE(window.tbJoin->edtJnSv->text(), QStringLiteral("/d/movie.avi"));
    s.platform.fileAnswers.push_back(QStringLiteral("/e/set.e01"));
    window.tbJoin->btBrowJn->click();
    QCOMPARE(window.tbJoin->edtJnSv->text(), QStringLiteral("/e/set"));
    s.platform.fileAnswers.push_back(QStringLiteral("/f/out"));
    window.tbJoin->btnOutpJoin->click();
    QCOMPARE(window.tbJoin->edtJnSv->text(), QStringLiteral("/f/out"));

    // The enabling handlers of both pages.
    window.tbSplit->rbSplFn->click();
    QVERIFY(window.tbSplit->spFnum->isEnabled() && !window.tbSplit->spSpSz->isEnabled());
    QVERIFY(!window.tbSplit->cbxFszOpt->isEnabled() && window.tbSplit->lblBfnH->isEnabled());
    window.tbSplit->rbSplSz->click();
    QVERIFY(!window.tbSplit->spFnum->isEnabled() && window.tbSplit->spSpSz->isEnabled());
    window.tbSplit->chkEncr->click();
    QVERIFY(window.tbSplit->cbxEncryptm->isEnabled() && window.tbSplit->lblHseH->isEnabled());
    window.tbSplit->chkEncr->click();
    QVERIFY(!window.tbSplit->cbxEncrHash->isEnabled() && !window.tbSplit->lblEncryH->isEnabled());
    window.tbJoin->rbJnUd->click();
    QVERIFY(window.tbJoin->spJnMin->isEnabled() && window.tbJoin->lblToH->isEnabled());
    window.tbJoin->rbJnSc->click();
    QVERIFY(!window.tbJoin->spJnMax->isEnabled() && !window.tbJoin->lblToH->isEnabled());
}

void TasksTest::closingTheWindowDuringARun_data() {
    QTest::addColumn<bool>("paused");
    QTest::newRow("running") << false;
    QTest::newRow("paused") << true;
}

void TasksTest::closingTheWindowDuringARun() {
    QFETCH(bool, paused);
    TaskSession s;
    const QByteArray original = s.WriteRandom(QStringLiteral("big.bin"), 256 * 1024);
    PrepareSplit(s, QStringLiteral("big.bin"), 256, 1);
    s.window().tbSplit->chkSplDel->setChecked(true);
    s.window().tbSplit->btStSplt->click();
    if (paused)
        s.window().tbSplit->btPwsSplt->click();
    TaskSession::Pump(30);
    QCOMPARE(RunningWorkers(), 1);
    const std::size_t boxes = s.platform.boxes.size();

    s.program.reset();
    TaskSession::WaitForWorkers();
    QCOMPARE(RunningWorkers(), 0);
    // No finish routine ran: no box, and the source is not deleted; the part stays as written.
    QCOMPARE(s.platform.boxes.size(), boxes);
    QCOMPARE(s.Read(QStringLiteral("big.bin")), original);
    const QByteArray part = s.Read(QStringLiteral("big.bin.001"));
    QVERIFY(part.size() < original.size());
    QCOMPARE(part, original.left(part.size()));
}

QTEST_MAIN(TasksTest)
#include "tst_tasks.moc"
