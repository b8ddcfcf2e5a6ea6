#include "TaskKit.h"

#include "MainWindow.h"
#include "Platform.h"
#include "io/File.h"
#include "text/Format.h"
#include "text/UnicodeAdds.h"

#include <QTimer>
#include <QWidget>
#include <stdexcept>

namespace partsmith {

TfrmMain& MainOf(const QWidget& page) {
    auto* window = qobject_cast<TfrmMain*>(page.window());
    if (window == nullptr)
        throw std::logic_error("A task page outside the main window");
    return *window;
}

QString ToQ(const std::string& text) {
    return QString::fromStdString(text);
}

std::filesystem::path PathOfField(const QString& text) {
    return PathFromUtf8(text.toStdString());
}

QString MessageQ(Msg id, std::initializer_list<FormatArg> args) {
    return ToQ(Message(id, args));
}

void ShowTaskError(TfrmMain& window, const QString& text) {
    window.Desktop().ShowMessage(&window, MessageQ(Msg::Error), text, BoxIcon::Error);
}

void ShowTaskInfo(TfrmMain& window, const QString& caption, const QString& text) {
    window.Desktop().ShowMessage(&window, caption, text, BoxIcon::Information);
}

std::string TakePerformTime(TfrmMain& window) {
    window.FEndTick = window.Desktop().TickCount();
    const std::uint32_t elapsed = TickDifference(window.FStartTick, window.FEndTick);
    return FormatHundredths(static_cast<double>(elapsed) / 1000.0);
}

void CloseWindowSoon(TfrmMain& window) {
    QTimer::singleShot(0, &window, [&window] { window.close(); });
}

OverwriteAnswer AskOverwriteOnWindow(TfrmMain& window, const std::string& question) {
    switch (window.Desktop().AskYesNoCancel(&window, MessageQ(Msg::Confirmation), ToQ(question))) {
    case Answer::Yes:
        return OverwriteAnswer::Yes;
    case Answer::No:
        return OverwriteAnswer::No;
    case Answer::Cancel:
        break;
    }
    return OverwriteAnswer::Cancel;
}

std::optional<std::filesystem::path> ChooseSavePathOnWindow(TfrmMain& window) {
    const auto chosen = window.Desktop().SaveFileName(&window, FileDialogSpec{}, QString());
    if (!chosen || chosen->isEmpty())
        return std::nullopt;
    return PathOfField(*chosen);
}

void RemoveQuietly(const std::filesystem::path& path) noexcept {
    try {
        if (RealFileSystem().IsFile(path))
            RealFileSystem().Remove(path);
    } catch (...) {
        // The file stays; deleting is a courtesy, and the data it holds is not lost.
    }
}

} // namespace partsmith
