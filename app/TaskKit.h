// What the four task pages share: the way to their window, message texts as QString, the boxes
// of a finished task, the perform time and the close after a run.
#pragma once

#include "split/EngineCommon.h"
#include "text/LangStr.h"

#include <QString>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

class QWidget;

namespace partsmith {

class TfrmMain;

// The main window that holds page.
[[nodiscard]] TfrmMain& MainOf(const QWidget& page);

[[nodiscard]] QString ToQ(const std::string& text);
[[nodiscard]] std::filesystem::path PathOfField(const QString& text);
[[nodiscard]] QString MessageQ(Msg id, std::initializer_list<FormatArg> args = {});

// The error box of a task, captioned "Error", over the window.
void ShowTaskError(TfrmMain& window, const QString& text);
// The information box of a task with its caption ("Success", "Abort").
void ShowTaskInfo(TfrmMain& window, const QString& caption, const QString& text);

// FEndTick := now; the seconds since FStartTick in the "#.00" pattern, one wrap allowed.
[[nodiscard]] std::string TakePerformTime(TfrmMain& window);

// AlwaysExitWhenFinised: asks the window to close once the finish routine has returned.
void CloseWindowSoon(TfrmMain& window);

// The workers' overwrite question over the window ("Confirmation", Yes, No, Cancel), and the
// save-file chooser after No (no title, no filter, no preset); nullopt when it is closed.
[[nodiscard]] OverwriteAnswer AskOverwriteOnWindow(TfrmMain& window, const std::string& question);
[[nodiscard]] std::optional<std::filesystem::path> ChooseSavePathOnWindow(TfrmMain& window);

// Deletes a file; one that is missing or cannot be deleted stays, without a message.
void RemoveQuietly(const std::filesystem::path& path) noexcept;

} // namespace partsmith
