#include "Widgets.h"

#include <QAbstractButton>
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <climits>
#include <iterator>

// The resources live in the static library; nothing else would pull them in.
static void InitResourcesOnce() {
    static const bool done = [] {
        Q_INIT_RESOURCE(partsmith);
        return true;
    }();
    (void)done;
}

namespace partsmith {

void EnsureResources() {
    InitResourcesOnce();
}

SpinEdit::SpinEdit(const QString& name, int value, QWidget* parent) : QSpinBox(parent) {
    setObjectName(name);
    setRange(INT_MIN, INT_MAX);
    setValue(value);
}

int SpinEdit::ValueOrZero() const {
    bool ok = false;
    const int value = cleanText().toInt(&ok);
    return ok ? value : 0;
}

LinkLabel::LinkLabel(const QString& name, const QString& text, QWidget* parent)
    : QLabel(text, parent) {
    setObjectName(name);
    setCursor(Qt::PointingHandCursor);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::blue);
    setPalette(colours);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

namespace {

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    if (data == nullptr || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    return paths;
}

// Copy when offered, else link; a move is never taken.
bool ChooseDropAction(QDropEvent* event) {
    if (event->possibleActions() & Qt::CopyAction) {
        event->setDropAction(Qt::CopyAction);
        return true;
    }
    if (event->possibleActions() & Qt::LinkAction) {
        event->setDropAction(Qt::LinkAction);
        return true;
    }
    return false;
}

} // namespace

FileDropTarget::FileDropTarget(const QString& name, QWidget* page) : QObject(page) {
    setObjectName(name);
    page->setAcceptDrops(true);
    for (QWidget* child : page->findChildren<QWidget*>())
        child->setAcceptDrops(false);
    page->installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (!LocalFiles(drag->mimeData()).isEmpty() && ChooseDropAction(drag))
            drag->accept();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QStringList paths = LocalFiles(drop->mimeData());
        if (paths.isEmpty() || !ChooseDropAction(drop)) {
            drop->ignore();
            return true;
        }
        drop->accept();
        emit dropped(paths);
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

QIcon ImageListIcon(int index) {
    EnsureResources();
    static const char* const kFiles[] = {"imglst-0-open",      "imglst-1-save",  "imglst-2-start",
                                         "imglst-3-stop",      "imglst-4-pause", "imglst-5-copy",
                                         "imglst-6-associate", "imglst-7-ok"};
    if (index < 0 || index >= static_cast<int>(std::size(kFiles)))
        return {};
    return QIcon(QStringLiteral(":/icons/") + QLatin1String(kFiles[index]) +
                 QStringLiteral(".png"));
}

QIcon ProgramIcon() {
    EnsureResources();
    QIcon icon;
    for (const int size : {32, 48, 128, 256})
        icon.addFile(QStringLiteral(":/icons/partsmith-%1.png").arg(size), QSize(size, size));
    return icon;
}

QAction* MakeAction(QObject* owner, const QString& name, const QString& category,
                    const QString& caption, int image, bool visible) {
    auto* action = new QAction(ImageListIcon(image), caption, owner);
    action->setObjectName(name);
    action->setProperty("category", category);
    action->setVisible(visible);
    return action;
}

void BindButton(QAbstractButton* button, QAction* action, bool ownCaption) {
    if (!ownCaption)
        button->setText(action->text());
    auto follow = [button, action] {
        button->setIcon(action->icon());
        button->setEnabled(action->isEnabled());
        button->setVisible(action->isVisible());
    };
    follow();
    QObject::connect(action, &QAction::changed, button, follow);
    QObject::connect(button, &QAbstractButton::clicked, action, [action] { action->trigger(); });
}

} // namespace partsmith
