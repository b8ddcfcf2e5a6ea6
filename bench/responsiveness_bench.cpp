// How responsive the window stays while it splits, joins and compares a large file: a timer
// ticks every 10 ms on the window thread, and the longest gap between two of its ticks while a
// task runs is what a user would feel as a frozen window. Drives the real window through its
// controls; boxes and questions are answered at once so no person is needed.
//
//   partsmith-bench-responsiveness FILE [WORKDIR]
//
// FILE is split into WORKDIR (default: FILE's folder) with the default settings (8 MiB
// buffer), joined back and compared with the original by content.
#include "ComparePage.h"
#include "JoinPage.h"
#include "MainWindow.h"
#include "Platform.h"
#include "Program.h"
#include "QtPlatform.h"
#include "SplitPage.h"
#include "Widgets.h"
#include "WindowLink.h"
#include "text/UnicodeAdds.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

using namespace partsmith;

namespace {

// The desktop with every box noted and every question answered Yes.
class BenchPlatform final : public Platform {
public:
    void ShowMessage(QWidget*, const QString& caption, const QString& text, BoxIcon) override {
        lastBox = caption + QStringLiteral(": ") + text;
    }
    Answer AskYesNoCancel(QWidget*, const QString&, const QString&) override { return Answer::Yes; }
    std::optional<QString> OpenFileName(QWidget*, const FileDialogSpec&, const QString&) override {
        return std::nullopt;
    }
    std::optional<QString> SaveFileName(QWidget*, const FileDialogSpec&, const QString&) override {
        return std::nullopt;
    }
    // The password dialog answers "bench"; any other dialog is cancelled.
    int RunDialog(QDialog& dialog) override {
        auto* password = dialog.findChild<QLineEdit*>(QStringLiteral("edtPass"));
        if (password == nullptr)
            return QDialog::Rejected;
        password->setText(QStringLiteral("bench"));
        return QDialog::Accepted;
    }
    void SetClipboardText(const QString&) override {}
    void Beep() override {}
    void OpenUrl(const QString&) override {}
    bool StartProcess(const QString&, const QStringList&) override { return false; }
    std::uint32_t TickCount() override { return real.TickCount(); }
    QDateTime LocalTime() override { return real.LocalTime(); }
    void SetProcessPriority(ProcessPriority) override {}
    MemoryStatus Memory() override { return real.Memory(); }
    OsVersion Os() override { return real.Os(); }
    bool TrayAvailable() override { return false; }

    QString lastBox;

private:
    QtPlatform real;
};

// Ticks every 10 ms and keeps the longest gap between two ticks since the last Reset.
class GapMeter {
public:
    GapMeter() {
        timer_.setInterval(10);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
            const qint64 now = clock_.nsecsElapsed();
            if (last_ >= 0 && now - last_ > longest_)
                longest_ = now - last_;
            last_ = now;
            ++ticks_;
        });
        clock_.start();
        timer_.start();
    }
    void Reset() {
        last_ = -1;
        longest_ = 0;
        ticks_ = 0;
    }
    [[nodiscard]] double LongestMs() const { return static_cast<double>(longest_) / 1e6; }
    [[nodiscard]] qint64 Ticks() const { return ticks_; }

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = -1;
    qint64 longest_ = 0;
    qint64 ticks_ = 0;
};

// Runs start from the event loop and keeps the loop going until done() holds.
double Measure(const char* name, GapMeter& meter, const std::function<void()>& start,
               const std::function<bool()>& done, const BenchPlatform& platform) {
    QEventLoop loop;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    meter.Reset();
    QElapsedTimer elapsed;
    QTimer::singleShot(20, &loop, [&] {
        elapsed.start();
        start();
        poll.start();
    });
    loop.exec();
    const double seconds = static_cast<double>(elapsed.nsecsElapsed()) / 1e9;
    std::printf("%-22s %8.2f s   longest gap %7.1f ms   ticks %6lld   %s\n", name, seconds,
                meter.LongestMs(), static_cast<long long>(meter.Ticks()),
                platform.lastBox.toUtf8().constData());
    std::fflush(stdout);
    return meter.LongestMs();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE [WORKDIR]\n", argv[0]);
        return 2;
    }
    const QFileInfo source(QString::fromLocal8Bit(argv[1]));
    const QString work = argc > 2 ? QString::fromLocal8Bit(argv[2]) : source.absolutePath();
    QTemporaryDir config;
    qputenv("PARTSMITH_CONFIG_DIR", config.path().toUtf8());
    QFile settings(config.path() + QStringLiteral("/partsmith.ini"));
    if (!settings.open(QIODevice::WriteOnly) ||
        settings.write("[Settings]\nFirstTime=0\nAskWhenFileExists=0\n") < 0)
        return 1;
    settings.close();

    BenchPlatform platform;
    Program program(platform,
                    {PathFromUtf8(QApplication::applicationFilePath().toStdString()), {}});
    TfrmMain& window = program.frmMain;
    window.show();
    GapMeter meter;
    const QString base = source.fileName();
    const QString joined = work + QStringLiteral("/") + base + QStringLiteral(".joined");
    const auto idle = [] { return RunningWorkers() == 0; };
    double worst = 0;

    SplitPage& split = *window.tbSplit;
    worst = std::max(worst, Measure(
                                "split (100 MiB parts)", meter,
                                [&] {
                                    split.drpSplDrop({source.absoluteFilePath()});
                                    split.edtSplDir->setText(work);
                                    split.rbSplSz->click();
                                    split.spSpSz->setValue(100);
                                    split.cbxFszOpt->setCurrentIndex(2);
                                    split.btStSplt->click();
                                },
                                idle, platform));

    JoinPage& join = *window.tbJoin;
    worst = std::max(worst, Measure(
                                "join", meter,
                                [&] {
                                    join.drpJoinDrop({work + QStringLiteral("/") + base +
                                                      QStringLiteral(".001")});
                                    join.edtJnSv->setText(joined);
                                    join.btStrJoin->click();
                                },
                                idle, platform));

    split.chkEncr->setChecked(true); // the lists as the window presets them: AES, SHA-256
    worst = std::max(
        worst, Measure(
                   "split encrypted", meter, [&] { split.btStSplt->click(); }, idle, platform));
    worst = std::max(worst, Measure(
                                "join encrypted", meter,
                                [&] {
                                    join.drpJoinDrop({work + QStringLiteral("/") + base +
                                                      QStringLiteral(".e01")});
                                    join.edtJnSv->setText(joined);
                                    join.btStrJoin->click();
                                },
                                idle, platform));

    ComparePage& compare = *window.tbCmpf;
    bool compared = false;
    worst = std::max(worst, Measure(
                                "compare by content", meter,
                                [&] {
                                    compare.edtCmpF1->setText(source.absoluteFilePath());
                                    compare.edtCmpF2->setText(joined);
                                    compare.rbCmpfc->click();
                                    compare.btnCmpst->click();
                                    compared = true;
                                },
                                [&] { return compared; }, platform));

    std::printf("longest gap over all tasks: %.1f ms (target: at most 100 ms) -> %s\n", worst,
                worst <= 100.0 ? "met" : "NOT met");
    for (const QString& part : QDir(work).entryList({base + QStringLiteral(".*")}, QDir::Files))
        QFile::remove(work + QStringLiteral("/") + part);
    QFile::remove(joined);
    return 0;
}
