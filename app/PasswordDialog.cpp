#include "PasswordDialog.h"

#include "PageKit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStyle>
#include <QVBoxLayout>

namespace partsmith {

TfrmPasswd::TfrmPasswd(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("TfrmPasswd"));
    setWindowTitle(QStringLiteral("Enter Encryption Password"));

    GroupBox1 =
        MakeGroup(QStringLiteral("GroupBox1"), QStringLiteral("Enter encryption password"), this);
    edtPass = MakeEdit(QStringLiteral("edtPass"), GroupBox1);
    edtPass->setEchoMode(QLineEdit::Password);
    edtPass->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    chkPssh = MakeCheck(QStringLiteral("chkPssh"), QStringLiteral("Show Password"), GroupBox1);
    BitBtn1 = MakeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogOkButton));
    BitBtn1->setDefault(true);
    BitBtn2 = MakeButton(QStringLiteral("BitBtn2"), QStringLiteral("Cancel"), this);
    BitBtn2->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));

    auto* group = new QVBoxLayout(GroupBox1);
    group->addWidget(edtPass);
    group->addWidget(chkPssh);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addLayout(buttons);
    setTabOrder(edtPass, chkPssh);
    setTabOrder(chkPssh, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(chkPssh, &QCheckBox::toggled, this, &TfrmPasswd::chkPsshClick);

    setFixedSize(447, qMax(117, sizeHint().height()));
}

QString TfrmPasswd::Password() const {
    return edtPass->text();
}

void TfrmPasswd::ForgetPassword() {
    edtPass->clear();
}

void TfrmPasswd::chkPsshClick() {
    edtPass->setEchoMode(chkPssh->isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}

void TfrmPasswd::showEvent(QShowEvent* event) {
    edtPass->clear();
    edtPass->setFocus();
    QDialog::showEvent(event);
}

} // namespace partsmith
