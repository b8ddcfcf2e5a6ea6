// One window over real temporary files for the task-page tests: a 1 KiB buffer so that a few
// KiB make many runs, files written and read back, and waits that let the worker's calls run.
#pragma once

#include "FakePlatform.h"
#include "MainWindow.h"
#include "Program.h"
#include "TestInstall.h"
#include "WindowLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace partsmith::test {

class TaskSession {
public:
    explicit TaskSession(const QByteArray& settings = {}) {
        install.WriteSeenSettings(QByteArrayLiteral("MaxBufferSize=1\n") + settings);
        install.WriteLanguage(QStringLiteral("English"), "; built-in texts\r\n");
        program = install.Launch(platform);
        ShowAndSettle(window());
    }
    ~TaskSession() {
        // A worker left over from a failed check must not outlive the files it writes.
        program.reset();
        WaitForWorkers();
    }
    TaskSession(const TaskSession&) = delete;
    TaskSession& operator=(const TaskSession&) = delete;

    TfrmMain& window() { return program->frmMain; }

    [[nodiscard]] QString File(const QString& name) const {
        return data.path() + QLatin1Char('/') + name;
    }
    QByteArray WriteRandom(const QString& name, qsizetype size, quint32 seed = 7) const {
        QByteArray bytes(size, Qt::Uninitialized);
        QRandomGenerator generator(seed);
        for (char& byte : bytes)
            byte = static_cast<char>(generator.generate() & 0xFF);
        install.WriteFile(File(name), bytes);
        return bytes;
    }
    [[nodiscard]] QByteArray Read(const QString& name) const {
        return install.ReadFile(File(name));
    }
    [[nodiscard]] bool Exists(const QString& name) const { return QFile::exists(File(name)); }
    [[nodiscard]] QStringList Files() const {
        return QDir(data.path()).entryList(QDir::Files, QDir::Name);
    }

    // The log without its time stamps.
    [[nodiscard]] QStringList LogLines() {
        QStringList lines;
        for (const QString& line : window().mLog->toPlainText().split(QLatin1Char('\n'))) {
            const qsizetype separator = line.indexOf(QStringLiteral(" : "));
            lines << (separator < 0 ? line : line.mid(separator + 3));
        }
        return lines;
    }

    // Answers the password dialog with OK and the text.
    void AnswerPassword(const QString& password) {
        platform.Script(QStringLiteral("TfrmPasswd"), [password](QDialog& dialog) {
            dialog.findChild<QLineEdit*>(QStringLiteral("edtPass"))->setText(password);
            dialog.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        });
    }

    // Lets the window run the worker's calls until every worker has ended.
    static void WaitForWorkers() {
        for (int i = 0; i < 2000 && RunningWorkers() > 0; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QTest::qWait(5);
        }
        QCoreApplication::processEvents();
        if (RunningWorkers() > 0)
            QFAIL("a worker did not end");
    }
    // Lets the window run the worker's calls for a while.
    static void Pump(int milliseconds) { QTest::qWait(milliseconds); }

    TestInstall install;
    FakePlatform platform;
    std::unique_ptr<Program> program;
    QTemporaryDir data;
};

} // namespace partsmith::test
