// TfrmSelDir: a folder tree rooted at the top of the file system, with an edit that holds the
// folder the dialog hands back.
#pragma once

#include <QDialog>

class QFileSystemModel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTreeView;

namespace partsmith {

class TfrmSelDir : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelDir(QWidget* parent);

    // Expands the tree down to folder and selects it. Raises "Error setting path: "%s"" when the
    // text names no folder.
    void SelectFolder(const QString& folder);
    [[nodiscard]] QString SelectedFolder() const;

    QLineEdit* edtDirLoc;
    QTreeView* stDirs;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

private slots:
    void stDirsChange(const QModelIndex& current);

private:
    QFileSystemModel* model_;
};

} // namespace partsmith
