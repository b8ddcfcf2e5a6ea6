#include "NextPartDialog.h"

#include "GeneralError.h"
#include "PageKit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

namespace partsmith {

TfrmCnfFile::TfrmCnfFile(Platform& platform, GeneralErrorHandler& errors, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      platform_(platform) {
    setObjectName(QStringLiteral("TfrmCnfFile"));
    setWindowTitle(QStringLiteral("Require the next part"));

    Image1 = MakeLabel(QStringLiteral("Image1"), QString(), this);
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(32, 32));
    Label1 = MakeLabel(QStringLiteral("Label1"),
                       QStringLiteral("Partsmith needs the next part of files. Enter the right "
                                      "path and click OK. Click cancel if you want to abort or "
                                      "finish file Splitting."),
                       this);
    Label1->setWordWrap(true);
    Label2 = MakeLabel(QStringLiteral("Label2"), QStringLiteral("Location"), this);
    edtPath = MakeEdit(QStringLiteral("edtPath"), this);
    edtPath->setMinimumWidth(300);
    BitBtn1 = MakeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setDefault(true);
    BitBtn2 = MakeButton(QStringLiteral("BitBtn2"), QStringLiteral("Cancel"), this);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    BitBtn3 = MakeButton(QStringLiteral("BitBtn3"), QStringLiteral("Browse"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(Image1, 0, 0, Qt::AlignTop);
    layout->addWidget(Label1, 0, 1, 1, 2);
    layout->addWidget(Label2, 1, 1, 1, 2);
    layout->addWidget(edtPath, 2, 1);
    layout->addWidget(BitBtn3, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addLayout(buttons, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, errors.Guard([this] { BitBtn3Click(); }));

    setFixedSize(sizeHint());
}

void TfrmCnfFile::BitBtn3Click() {
    if (const auto picked = platform_.OpenFileName(this, openNext, edtPath->text()))
        edtPath->setText(*picked);
}

} // namespace partsmith
