// Page 6, "About": title, notice, links and the figures of the machine.
#pragma once

#include "Platform.h"

#include <QWidget>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QToolButton;

namespace partsmith {

class LinkLabel;

class AboutPage : public QWidget {
    Q_OBJECT
public:
    AboutPage(Platform& platform, QWidget* parent);

    // The two title labels, which together draw the title with a shadow.
    void SetTitle(const QString& title);
    void SetNoticeOfRights(const QString& notice);
    // Physical memory, memory in use and the system's name from the figures.
    void ShowFigures(const MemoryStatus& memory, const OsVersion& os);

    QFrame* pnlAbt;
    QLabel* Image1;
    QLabel* cap1;
    QLabel* cap2;
    QLabel* lblCopy;
    LinkLabel* Label23;
    LinkLabel* Label24;
    LinkLabel* Label25;
    LinkLabel* Label26;
    QToolButton* SpeedButton1;
    QPlainTextEdit* Memo1;
    QFrame* Bevel2;
    QLabel* Label27;
    QLabel* PhysMem;
    QLabel* Label29;
    QLabel* FreeRes;
    QLabel* TntLabel1;
    QLabel* OsName;

private:
    Platform& platform_;
};

// "2,097,152 KB": whole KiB of bytes with digit grouping.
QString PhysicalMemoryText(std::uint64_t bytes);
QString MemoryLoadText(int percent);
QString OsNameText(const OsVersion& os);

} // namespace partsmith
