// A throw-away installation for one window test: its own settings file, language folder and
// help folder, found by the program through PARTSMITH_CONFIG_DIR and PARTSMITH_DATA_DIR.
#pragma once

#include "FakePlatform.h"
#include "MainWindow.h"
#include "Program.h"
#include "text/LangStr.h"
#include "text/UnicodeAdds.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace partsmith::test {

class TestInstall {
public:
    TestInstall() {
        QDir(dir_.path()).mkpath(QStringLiteral("config"));
        QDir(dir_.path()).mkpath(QStringLiteral("data/lang"));
        qputenv("PARTSMITH_CONFIG_DIR", Path(QStringLiteral("config")).toUtf8());
        qputenv("PARTSMITH_DATA_DIR", Path(QStringLiteral("data")).toUtf8());
        // Each test starts from the built-in texts, as a fresh process would.
        Messages() = MessageTable();
    }

    [[nodiscard]] QString Path(const QString& relative) const {
        return dir_.path() + QLatin1Char('/') + relative;
    }
    [[nodiscard]] QString SettingsFile() const {
        return Path(QStringLiteral("config/partsmith.ini"));
    }
    [[nodiscard]] QString LanguageDir() const { return Path(QStringLiteral("data/lang")); }
    [[nodiscard]] QString HelpDir() const { return Path(QStringLiteral("data/Help")); }

    void WriteFile(const QString& path, const QByteArray& bytes) const {
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    [[nodiscard]] QByteArray ReadFile(const QString& path) const {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll();
    }

    void WriteSettings(const QByteArray& lines) const {
        WriteFile(SettingsFile(), QByteArrayLiteral("[Settings]\n") + lines);
    }
    // A settings file of a program that has run before: no welcome.
    void WriteSeenSettings(const QByteArray& more = {}) const {
        WriteSettings(QByteArrayLiteral("FirstTime=0\n") + more);
    }
    void WriteLanguage(const QString& name, const QByteArray& lines) const {
        WriteFile(LanguageDir() + QLatin1Char('/') + name + QStringLiteral(".ini"), lines);
    }

    [[nodiscard]] StartParameters Start(QStringList arguments = {}) const {
        return {PathFromUtf8(Path(QStringLiteral("bin/partsmith")).toStdString()),
                std::move(arguments)};
    }

    // The five windows; the settings file and the language folder as the test left them.
    std::unique_ptr<Program> Launch(FakePlatform& platform, QStringList arguments = {}) const {
        return std::make_unique<Program>(platform, Start(std::move(arguments)));
    }

private:
    QTemporaryDir dir_;
};

// Shows the main window and lets its show handler run.
inline void ShowAndSettle(TfrmMain& window) {
    window.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

// Clicks the tab of page index as a user does.
inline void ClickTab(TfrmMain& window, int index) {
    QTabBar* bar = window.pgcMain->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

} // namespace partsmith::test
