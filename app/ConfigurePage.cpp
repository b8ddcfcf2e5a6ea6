#include "ConfigurePage.h"

#include "PageKit.h"
#include "Widgets.h"
#include "text/LanguageFile.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace partsmith {

ConfigurePage::ConfigurePage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tbCfg"));

    GroupBox5 = MakeGroup(QStringLiteral("GroupBox5"), QStringLiteral("Configuration"), this);
    Label18 = MakeLabel(QStringLiteral("Label18"),
                        QStringLiteral("Maximum Size of buffer (KiloBytes)"), GroupBox5);
    spMaxBuf = new SpinEdit(QStringLiteral("spMaxBuf"), 8192, GroupBox5);
    chkAsf = MakeCheck(QStringLiteral("chkAsf"), QStringLiteral("Always ask when file is exists."),
                       GroupBox5);
    chkMintr = MakeCheck(QStringLiteral("chkMintr"), QStringLiteral("Minimize to Tray"), GroupBox5);
    chkExecjf = MakeCheck(QStringLiteral("chkExecjf"),
                          QStringLiteral("Always execute when joinning is finsihed"), GroupBox5);
    lblExech = MakeLabel(QStringLiteral("lblExech"),
                         QStringLiteral("Add the %s for given result file name"), GroupBox5);
    edtExecp = MakeEdit(QStringLiteral("edtExecp"), GroupBox5);
    chkExtFin =
        MakeCheck(QStringLiteral("chkExtFin"),
                  QStringLiteral("Always exit when finish Splitting or Joinning"), GroupBox5);
    chkStyp = MakeCheck(QStringLiteral("chkStyp"), QStringLiteral("Set Form on Top"), GroupBox5);
    BitBtn8 = MakeButton(QStringLiteral("BitBtn8"), QString(), GroupBox5);
    Label20 =
        MakeLabel(QStringLiteral("Label20"), QStringLiteral("Set Application Priority"), GroupBox5);
    Label21 = MakeLabel(QStringLiteral("Label21"), QStringLiteral("Idle"), GroupBox5);
    Label22 = MakeLabel(QStringLiteral("Label22"), QStringLiteral("High"), GroupBox5);
    trPrior = new QSlider(Qt::Horizontal, GroupBox5);
    trPrior->setObjectName(QStringLiteral("trPrior"));
    trPrior->setRange(0, 3);
    trPrior->setPageStep(1);
    trPrior->setValue(2);
    trPrior->setTickPosition(QSlider::TicksBelow);
    trPrior->setTickInterval(1);
    Label11 = MakeLabel(QStringLiteral("Label11"), QStringLiteral("Select Language"), GroupBox5);
    cbxLang = MakeList(QStringLiteral("cbxLang"), GroupBox5);
    BitBtn7 = MakeButton(QStringLiteral("BitBtn7"), QString(), this);

    ConfigOk = MakeAction(this, QStringLiteral("ConfigOk"), QStringLiteral("Configure"),
                          QStringLiteral("&OK"), 7, true);
    ConfigAsc = MakeAction(this, QStringLiteral("ConfigAsc"), QStringLiteral("Configure"),
                           QStringLiteral("Associate *.001 files as default"), 6, false);
    BindButton(BitBtn7, ConfigOk);
    BindButton(BitBtn8, ConfigAsc);

    auto* buffer = new QHBoxLayout;
    buffer->addWidget(Label18);
    buffer->addWidget(spMaxBuf);
    buffer->addStretch(1);

    auto* priority = new QHBoxLayout;
    priority->addWidget(Label21);
    priority->addWidget(trPrior, 1);
    priority->addWidget(Label22);

    auto* group = new QGridLayout(GroupBox5);
    group->addLayout(buffer, 0, 0, 1, 2);
    group->addWidget(chkAsf, 1, 0, 1, 2);
    group->addWidget(chkMintr, 2, 0, 1, 2);
    group->addWidget(chkExecjf, 3, 0, 1, 2);
    group->addWidget(lblExech, 4, 0, 1, 2);
    group->addWidget(edtExecp, 5, 0, 1, 2);
    group->addWidget(chkExtFin, 6, 0, 1, 2);
    group->addWidget(chkStyp, 7, 0, 1, 2);
    group->addWidget(BitBtn8, 8, 0, 1, 2, Qt::AlignLeft);
    group->addWidget(Label20, 9, 0);
    group->addLayout(priority, 9, 1);
    group->addWidget(Label11, 10, 0);
    group->addWidget(cbxLang, 10, 1);
    group->setColumnStretch(1, 1);
    group->setRowStretch(11, 1);

    SetTaskButtonSize(BitBtn7);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BitBtn7);

    auto* page = new QVBoxLayout(this);
    page->addWidget(GroupBox5, 1);
    page->addLayout(buttons);
    InstallDefaultButton(this, BitBtn7);

    connect(chkExecjf, &QCheckBox::toggled, this, &ConfigurePage::chkExecjfClick);
    chkExecjfClick();
}

void ConfigurePage::chkExecjfClick() {
    lblExech->setEnabled(chkExecjf->isChecked());
    edtExecp->setEnabled(chkExecjf->isChecked());
}

void ConfigurePage::FillLanguageList(const std::vector<std::string>& fileNames,
                                     const std::string& language) {
    cbxLang->clear();
    int selected = -1;
    for (const std::string& fileName : fileNames) {
        const std::string name = LanguageListName(fileName);
        if (name == language)
            selected = cbxLang->count();
        cbxLang->addItem(QString::fromStdString(name));
    }
    cbxLang->setCurrentIndex(selected);
}

} // namespace partsmith
