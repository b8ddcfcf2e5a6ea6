// The desktop as Qt and Linux offer it.
#pragma once

#include "Platform.h"

#include <string_view>

namespace partsmith {

class QtPlatform final : public Platform {
public:
    void ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                     BoxIcon icon) override;
    Answer AskYesNoCancel(QWidget* owner, const QString& caption, const QString& text) override;
    std::optional<QString> OpenFileName(QWidget* owner, const FileDialogSpec& spec,
                                        const QString& initialPath) override;
    std::optional<QString> SaveFileName(QWidget* owner, const FileDialogSpec& spec,
                                        const QString& initialPath) override;
    int RunDialog(QDialog& dialog) override;
    void SetClipboardText(const QString& text) override;
    void Beep() override;
    void OpenUrl(const QString& url) override;
    bool StartProcess(const QString& program, const QStringList& args) override;
    std::uint32_t TickCount() override;
    QDateTime LocalTime() override;
    void SetProcessPriority(ProcessPriority priority) override;
    MemoryStatus Memory() override;
    OsVersion Os() override;
    bool TrayAvailable() override;
};

// "All Files|*.*" as a Qt filter ("All Files (*)"); "*.*" matches every name here, with or
// without a dot.
QString QtFileFilter(const QString& filter);

// The figures of OsName from uname's fields: "6.1.0-18-amd64" gives 6, 1 and build 0.
OsVersion OsVersionFromUname(std::string_view sysname, std::string_view release,
                             std::string_view version);

// Total and in-use share from the text of /proc/meminfo; nullopt without MemTotal.
std::optional<MemoryStatus> MemoryFromMeminfo(std::string_view meminfo);

} // namespace partsmith
