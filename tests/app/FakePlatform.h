// A desktop for the window tests: it records every box, link, beep and priority change, and
// answers questions, file dialogs and the program's own dialogs from a script.
#pragma once

#include "Platform.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTest>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace partsmith::test {

struct RecordedBox {
    QString caption;
    QString text;
    BoxIcon icon;
    bool owned; // shown over a window rather than on its own
};

class FakePlatform final : public Platform {
public:
    // A dialog script acts on the shown dialog (typing, clicking) and should close it; a
    // dialog left open is rejected and noted in unclosedDialogs.
    using DialogScript = std::function<void(QDialog&)>;

    void ShowMessage(QWidget* owner, const QString& caption, const QString& text,
                     BoxIcon icon) override {
        boxes.push_back({caption, text, icon, owner != nullptr});
    }
    Answer AskYesNoCancel(QWidget*, const QString& caption, const QString& text) override {
        questions.push_back(caption + QStringLiteral(": ") + text);
        if (answers.empty())
            return Answer::Cancel;
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<QString> OpenFileName(QWidget*, const FileDialogSpec& spec,
                                        const QString& initialPath) override {
        fileDialogs.push_back(spec.title + QStringLiteral("|") + initialPath);
        return NextFileAnswer();
    }
    std::optional<QString> SaveFileName(QWidget*, const FileDialogSpec& spec,
                                        const QString& initialPath) override {
        fileDialogs.push_back(spec.title + QStringLiteral("|") + initialPath);
        return NextFileAnswer();
    }
    int RunDialog(QDialog& dialog) override {
        shownDialogs << dialog.objectName();
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        // Mouse clicks reach a window only once the window system shows it.
        (void)QTest::qWaitForWindowExposed(&dialog);
        auto& queue = dialogScripts[dialog.objectName()];
        if (!queue.empty()) {
            const DialogScript script = std::move(queue.front());
            queue.pop_front();
            script(dialog);
        }
        if (dialog.isVisible()) {
            unclosedDialogs << dialog.objectName();
            dialog.reject();
        }
        return dialog.result();
    }
    void SetClipboardText(const QString& text) override { clipboard = text; }
    void Beep() override { ++beeps; }
    void OpenUrl(const QString& url) override { urls << url; }
    bool StartProcess(const QString& program, const QStringList& args) override {
        processes << (QStringList{program} + args).join(QLatin1Char(' '));
        processArguments.push_back(QStringList{program} + args);
        return true;
    }
    std::uint32_t TickCount() override { return tick; }
    QDateTime LocalTime() override { return now; }
    void SetProcessPriority(ProcessPriority priority) override { priorities.push_back(priority); }
    MemoryStatus Memory() override {
        ++memoryQueries;
        return memory;
    }
    OsVersion Os() override { return os; }
    bool TrayAvailable() override { return trayAvailable; }

    void Script(const QString& dialogName, DialogScript script) {
        dialogScripts[dialogName].push_back(std::move(script));
    }

    // Recorded.
    std::vector<RecordedBox> boxes;
    QStringList questions;
    QStringList fileDialogs;
    QStringList shownDialogs;
    QStringList unclosedDialogs;
    QStringList urls;
    QStringList processes;
    std::vector<QStringList> processArguments; // program first, each argument apart
    QString clipboard;
    int beeps = 0;
    int memoryQueries = 0;
    std::vector<ProcessPriority> priorities;

    // Answers and figures.
    std::deque<Answer> answers;
    std::deque<std::optional<QString>> fileAnswers;
    std::map<QString, std::deque<DialogScript>> dialogScripts;
    std::uint32_t tick = 0;
    QDateTime now{QDate(2024, 3, 5), QTime(14, 5, 33)};
    MemoryStatus memory{std::uint64_t{2} * 1024 * 1024 * 1024 + 512 * 1024, 37};
    OsVersion os{QStringLiteral("Linux"), 6, 1, 0, QStringLiteral("#1 SMP Debian 6.1.76-1")};
    bool trayAvailable = true;

private:
    std::optional<QString> NextFileAnswer() {
        if (fileAnswers.empty())
            return std::nullopt;
        auto answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
};

} // namespace partsmith::test
