// The window's only way to the desktop: boxes, file dialogs, our own modal dialogs, clipboard,
// beep, links, processes, clock, priority and system figures. The program runs on QtPlatform;
// the tests put a recording fake in its place, so no page needs a person to answer it.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class QDialog;
class QWidget;

namespace partsmith {

enum class BoxIcon { Information, Error };

enum class Answer { Yes, No, Cancel };

enum class ProcessPriority { Idle, Normal, High };

struct MemoryStatus {
    std::uint64_t totalBytes = 0;
    int loadPercent = 0; // share of physical memory in use, 0 to 100
};

struct OsVersion {
    QString family; // "Linux"
    int major = 0;
    int minor = 0;
    int build = 0;
    QString update; // the kernel's version text
};

// An open or save dialog: title and filter as "name|pattern" pairs joined by "|"; both may be
// empty.
struct FileDialogSpec {
    QString title;
    QString filter;
};

class Platform {
public:
    virtual ~Platform() = default;

    // A modal box with an OK button; owner nullptr means no owner window.
    virtual void ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                             BoxIcon icon) = 0;
    // A modal question with Yes, No and Cancel; closing the box counts as Cancel.
    virtual Answer AskYesNoCancel(QWidget* owner, const QString& caption, const QString& text) = 0;

    // nullopt when the user cancels.
    virtual std::optional<QString> OpenFileName(QWidget* owner, const FileDialogSpec& spec,
                                                const QString& initialPath) = 0;
    virtual std::optional<QString> SaveFileName(QWidget* owner, const FileDialogSpec& spec,
                                                const QString& initialPath) = 0;

    // Shows one of the program's own dialogs modally and returns its QDialog result code.
    virtual int RunDialog(QDialog& dialog) = 0;

    virtual void SetClipboardText(const QString& text) = 0;
    virtual void Beep() = 0;
    // Hands a web or "mailto:" address to the desktop; a failure is not reported.
    virtual void OpenUrl(const QString& url) = 0;
    // Starts program with args as a new process and does not wait; false when it could not start.
    virtual bool StartProcess(const QString& program, const QStringList& args) = 0;

    // The system's millisecond counter, wrapping at 32 bits.
    virtual std::uint32_t TickCount() = 0;
    virtual QDateTime LocalTime() = 0;

    // A refused change is ignored.
    virtual void SetProcessPriority(ProcessPriority priority) = 0;
    virtual MemoryStatus Memory() = 0;
    virtual OsVersion Os() = 0;

    // Whether the desktop has a notification area to minimise into.
    virtual bool TrayAvailable() = 0;
};

} // namespace partsmith
