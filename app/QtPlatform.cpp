#include "QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QUrl>
#include <algorithm>
#include <charconv>
#include <chrono>
#include <sys/resource.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>

namespace partsmith {

namespace {

// The leading decimal number of text, and the rest after it; nullopt when there is none.
std::optional<int> LeadingNumber(std::string_view& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{})
        return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

int NiceValue(ProcessPriority priority) {
    switch (priority) {
    case ProcessPriority::Idle:
        return 19;
    case ProcessPriority::Normal:
        return 0;
    case ProcessPriority::High:
        return -10;
    }
    return 0;
}

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString QtFileFilter(const QString& filter) {
    if (filter.isEmpty())
        return {};
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1];
        pattern.replace(QStringLiteral("*.*"), QStringLiteral("*"));
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

OsVersion OsVersionFromUname(std::string_view sysname, std::string_view release,
                             std::string_view version) {
    OsVersion os;
    os.family = FromView(sysname);
    os.update = FromView(version);
    std::string_view rest = release;
    if (const auto major = LeadingNumber(rest)) {
        os.major = *major;
        if (!rest.empty() && rest.front() == '.') {
            rest.remove_prefix(1);
            if (const auto minor = LeadingNumber(rest)) {
                os.minor = *minor;
                if (!rest.empty() && rest.front() == '.') {
                    rest.remove_prefix(1);
                    os.build = LeadingNumber(rest).value_or(0);
                }
            }
        }
    }
    return os;
}

std::optional<MemoryStatus> MemoryFromMeminfo(std::string_view meminfo) {
    std::optional<std::uint64_t> totalKiB;
    std::optional<std::uint64_t> availableKiB;
    while (!meminfo.empty()) {
        const auto eol = meminfo.find('\n');
        std::string_view line = meminfo.substr(0, eol);
        meminfo.remove_prefix(eol == std::string_view::npos ? meminfo.size() : eol + 1);
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view name = line.substr(0, colon);
        std::string_view value = line.substr(colon + 1);
        while (!value.empty() && value.front() == ' ')
            value.remove_prefix(1);
        std::uint64_t kib = 0;
        if (std::from_chars(value.data(), value.data() + value.size(), kib).ec != std::errc{})
            continue;
        if (name == "MemTotal")
            totalKiB = kib;
        else if (name == "MemAvailable")
            availableKiB = kib;
    }
    if (!totalKiB || *totalKiB == 0)
        return std::nullopt;
    MemoryStatus status;
    status.totalBytes = *totalKiB * 1024;
    const std::uint64_t available = std::min(availableKiB.value_or(*totalKiB), *totalKiB);
    status.loadPercent = static_cast<int>((*totalKiB - available) * 100 / *totalKiB);
    return status;
}

void QtPlatform::ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                             BoxIcon icon) {
    QMessageBox box(icon == BoxIcon::Error ? QMessageBox::Critical : QMessageBox::Information,
                    caption, text, QMessageBox::Ok, owner);
    box.exec();
}

Answer QtPlatform::AskYesNoCancel(QWidget* owner, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

std::optional<QString> QtPlatform::OpenFileName(QWidget* owner, const FileDialogSpec& spec,
                                                const QString& initialPath) {
    const QString name =
        QFileDialog::getOpenFileName(owner, spec.title, initialPath, QtFileFilter(spec.filter));
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

std::optional<QString> QtPlatform::SaveFileName(QWidget* owner, const FileDialogSpec& spec,
                                                const QString& initialPath) {
    // The pages ask about replacing a file themselves, as their engines do.
    const QString name =
        QFileDialog::getSaveFileName(owner, spec.title, initialPath, QtFileFilter(spec.filter),
                                     nullptr, QFileDialog::DontConfirmOverwrite);
    if (name.isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(name);
}

int QtPlatform::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

void QtPlatform::SetClipboardText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

void QtPlatform::Beep() {
    QApplication::beep();
}

void QtPlatform::OpenUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

bool QtPlatform::StartProcess(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

std::uint32_t QtPlatform::TickCount() {
    const auto since = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
}

QDateTime QtPlatform::LocalTime() {
    return QDateTime::currentDateTime();
}

void QtPlatform::SetProcessPriority(ProcessPriority priority) {
    // Linux keeps a nice value per thread, so every thread of the process gets it; threads
    // started later inherit it from the window thread.
    const int nice = NiceValue(priority);
    const QStringList tasks =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (tasks.isEmpty()) {
        (void)setpriority(PRIO_PROCESS, 0, nice);
        return;
    }
    for (const QString& task : tasks) {
        bool ok = false;
        const uint id = task.toUInt(&ok);
        if (ok)
            (void)setpriority(PRIO_PROCESS, id, nice);
    }
}

MemoryStatus QtPlatform::Memory() {
    QFile file(QStringLiteral("/proc/meminfo"));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray text = file.readAll();
        if (const auto status = MemoryFromMeminfo(
                std::string_view(text.constData(), static_cast<std::size_t>(text.size()))))
            return *status;
    }
    struct sysinfo info {};
    MemoryStatus status;
    if (sysinfo(&info) == 0 && info.totalram > 0) {
        status.totalBytes = static_cast<std::uint64_t>(info.totalram) * info.mem_unit;
        status.loadPercent = static_cast<int>((info.totalram - info.freeram) * 100 / info.totalram);
    }
    return status;
}

OsVersion QtPlatform::Os() {
    struct utsname names {};
    if (uname(&names) != 0)
        return {};
    return OsVersionFromUname(names.sysname, names.release, names.version);
}

bool QtPlatform::TrayAvailable() {
    return QSystemTrayIcon::isSystemTrayAvailable();
}

} // namespace partsmith
