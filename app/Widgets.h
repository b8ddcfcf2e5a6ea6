// Small controls and helpers that the pages share.
#pragma once

#include <QIcon>
#include <QLabel>
#include <QObject>
#include <QSpinBox>
#include <QStringList>

class QAbstractButton;
class QAction;

namespace partsmith {

// A spin edit without bounds: any whole number of the int range.
class SpinEdit : public QSpinBox {
    Q_OBJECT
public:
    SpinEdit(const QString& name, int value, QWidget* parent);
    // The number the edit shows; text that is no whole number counts as 0.
    [[nodiscard]] int ValueOrZero() const;
};

// A label that looks and acts like a web link and reports a click.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& name, const QString& text, QWidget* parent);
signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// Accepts files dragged onto a page as a copy or a link, never a move, and hands the dropped
// paths on in their order. The page's own edits give up their text drops so that the whole
// page is the target.
class FileDropTarget : public QObject {
    Q_OBJECT
public:
    FileDropTarget(const QString& name, QWidget* page);
signals:
    void dropped(const QStringList& paths);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// The image list of the actions: 0 open, 1 save, 2 start, 3 stop, 4 pause, 5 copy,
// 6 associate, 7 OK.
QIcon ImageListIcon(int index);
QIcon ProgramIcon();
// Makes the icons and the built-in help page of the library's resources available.
void EnsureResources();

// A new action with its caption, image and visibility.
QAction* MakeAction(QObject* owner, const QString& name, const QString& category,
                    const QString& caption, int image, bool visible);

// The button runs the action and follows its image, enabling and visibility; it takes the
// action's caption unless it has one of its own.
void BindButton(QAbstractButton* button, QAction* action, bool ownCaption = false);

} // namespace partsmith
