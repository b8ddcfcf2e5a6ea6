// The figures the Qt platform reads from the system, and the texts the About page makes of them.
#include "AboutPage.h"
#include "QtPlatform.h"

#include <QLocale>
#include <QTest>

using namespace partsmith;
using namespace Qt::StringLiterals;

class PlatformTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void osVersionFromUname_data();
    void osVersionFromUname();
    void memoryFromMeminfo();
    void fileFilters();
    void aboutTexts();
    void realSystemFigures();
};

void PlatformTest::osVersionFromUname_data() {
    QTest::addColumn<QString>("release");
    QTest::addColumn<QString>("name");
    QTest::newRow("debian") << u"6.1.0-18-amd64"_s << u"Linux 6.1 (Build 0), Update #1 SMP"_s;
    QTest::newRow("three numbers") << u"5.15.133"_s << u"Linux 5.15 (Build 133), Update #1 SMP"_s;
    QTest::newRow("two numbers") << u"6.8"_s << u"Linux 6.8 (Build 0), Update #1 SMP"_s;
    QTest::newRow("suffix on minor") << u"4.19-rc1"_s << u"Linux 4.19 (Build 0), Update #1 SMP"_s;
    QTest::newRow("garbage") << u"custom"_s << u"Linux 0.0 (Build 0), Update #1 SMP"_s;
}

void PlatformTest::osVersionFromUname() {
    QFETCH(QString, release);
    QFETCH(QString, name);
    const std::string text = release.toStdString();
    QCOMPARE(OsNameText(OsVersionFromUname("Linux", text, "#1 SMP")), name);
}

void PlatformTest::memoryFromMeminfo() {
    const auto status = MemoryFromMeminfo("MemTotal:        8000000 kB\n"
                                          "MemFree:          100000 kB\n"
                                          "MemAvailable:    2000000 kB\n");
    QVERIFY(status.has_value());
    QCOMPARE(status->totalBytes, std::uint64_t{8000000} * 1024);
    QCOMPARE(status->loadPercent, 75);
    QCOMPARE(MemoryFromMeminfo("MemFree: 5 kB\n"), std::nullopt);
    // Without MemAvailable nothing is known to be in use.
    QCOMPARE(MemoryFromMeminfo("MemTotal: 1000 kB")->loadPercent, 0);
}

void PlatformTest::fileFilters() {
    QCOMPARE(QtFileFilter(QStringLiteral("All Files|*.*")), QStringLiteral("All Files (*)"));
    QCOMPARE(QtFileFilter(QStringLiteral("Parts|*.001;*.e01|All|*.*")),
             QStringLiteral("Parts (*.001 *.e01);;All (*)"));
    QCOMPARE(QtFileFilter(QString()), QString());
}

void PlatformTest::aboutTexts() {
    QCOMPARE(PhysicalMemoryText(std::uint64_t{2} * 1024 * 1024 * 1024),
             QStringLiteral("2,097,152 KB"));
    QCOMPARE(PhysicalMemoryText(1023), QStringLiteral("0 KB"));
    QCOMPARE(MemoryLoadText(37), QStringLiteral("37 %"));
    QCOMPARE(OsNameText({QStringLiteral("Linux"), 6, 1, 76, QString()}),
             QStringLiteral("Linux 6.1 (Build 76), Update "));
}

void PlatformTest::realSystemFigures() {
    QtPlatform platform;
    const MemoryStatus memory = platform.Memory();
    QVERIFY(memory.totalBytes > 0);
    QVERIFY(memory.loadPercent >= 0 && memory.loadPercent <= 100);
    const OsVersion os = platform.Os();
    QCOMPARE(os.family, QStringLiteral("Linux"));
    QVERIFY(os.major > 0);
    QVERIFY(!os.update.isEmpty());
    const std::uint32_t first = platform.TickCount();
    QTest::qWait(20);
    QVERIFY(platform.TickCount() - first >= 15);
}

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
