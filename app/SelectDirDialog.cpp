#include "SelectDirDialog.h"

#include "AppTexts.h"
#include "PageKit.h"
#include "text/Format.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <stdexcept>

namespace partsmith {

TfrmSelDir::TfrmSelDir(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("TfrmSelDir"));
    setWindowTitle(QStringLiteral("Select Directory"));

    edtDirLoc = MakeEdit(QStringLiteral("edtDirLoc"), this);
    edtDirLoc->setMinimumWidth(265);

    model_ = new QFileSystemModel(this);
    model_->setObjectName(QStringLiteral("stDirsModel"));
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model_->setRootPath(QDir::rootPath());
    // The tree shows what the folders held when it was opened; it does not follow changes.
    model_->setOption(QFileSystemModel::DontWatchForChanges);
    stDirs = new QTreeView(this);
    stDirs->setObjectName(QStringLiteral("stDirs"));
    stDirs->setModel(model_);
    for (int column = 1; column < model_->columnCount(); ++column)
        stDirs->hideColumn(column);
    stDirs->setHeaderHidden(true);
    stDirs->setRootIsDecorated(false);
    stDirs->setMinimumSize(265, 193);
    stDirs->expand(model_->index(QDir::rootPath()));

    BitBtn1 = MakeButton(QStringLiteral("BitBtn1"), QStringLiteral("OK"), this);
    BitBtn1->setDefault(true);
    BitBtn2 = MakeButton(QStringLiteral("BitBtn2"), QStringLiteral("Cancel"), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(edtDirLoc, 0, 0);
    layout->addWidget(stDirs, 1, 0, 3, 1);
    layout->addWidget(BitBtn1, 1, 1);
    layout->addWidget(BitBtn2, 2, 1);
    layout->setRowStretch(3, 1);

    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(stDirs->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TfrmSelDir::stDirsChange);

    setFixedSize(QSize(395, 245).expandedTo(sizeHint()));
}

void TfrmSelDir::SelectFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir())
        throw std::runtime_error(FormatWide(kErrorSettingPath, {folder.toStdString()}));
    const QModelIndex index = model_->index(info.absoluteFilePath());
    if (!index.isValid())
        throw std::runtime_error(FormatWide(kErrorSettingPath, {folder.toStdString()}));
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent())
        stDirs->expand(up);
    stDirs->setCurrentIndex(index);
    stDirs->scrollTo(index);
    // Selecting the folder that is already current changes nothing in the view.
    stDirsChange(index);
}

QString TfrmSelDir::SelectedFolder() const {
    return edtDirLoc->text();
}

void TfrmSelDir::stDirsChange(const QModelIndex& current) {
    edtDirLoc->setText(current.isValid() ? QDir::toNativeSeparators(model_->filePath(current))
                                         : QString());
}

} // namespace partsmith
