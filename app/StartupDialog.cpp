#include "StartupDialog.h"

#include "AppTexts.h"
#include "PageKit.h"
#include "Platform.h"
#include "Widgets.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace partsmith {

TfrmStartup::TfrmStartup(Platform& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      platform_(platform) {
    setObjectName(QStringLiteral("TfrmStartup"));
    setWindowTitle(QStringLiteral("Welcome"));

    Image1 = MakeLabel(QStringLiteral("Image1"), QString(), this);
    Image1->setPixmap(ProgramIcon().pixmap(32, 32));
    Image1->setFixedSize(32, 32);
    Label1 = MakeLabel(
        QStringLiteral("Label1"),
        QString::fromUtf8(kWelcomeText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
        this);
    Label1->setWordWrap(true);
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setMinimumWidth(289);
    Button1 = MakeButton(QStringLiteral("Button1"), QStringLiteral("Donate"), this);
    Button1->setDefault(true);
    Button2 = MakeButton(QStringLiteral("Button2"), QStringLiteral("Countinue"), this);

    auto* body = new QHBoxLayout;
    body->addWidget(Image1, 0, Qt::AlignTop);
    body->addWidget(Label1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    const QSize wanted(351, 164);
    setFixedSize(wanted.expandedTo(sizeHint()));
}

void TfrmStartup::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    platform_.Beep();
    QDialog::showEvent(event);
}

} // namespace partsmith
