// TfrmCnfFile: asks the user where the next part of a set is when the join cannot find it.
#pragma once

#include "Platform.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace partsmith {

class GeneralErrorHandler;

class TfrmCnfFile : public QDialog {
    Q_OBJECT
public:
    TfrmCnfFile(Platform& platform, GeneralErrorHandler& errors, QWidget* parent);

    QLabel* Image1;
    QLabel* Label1;
    QLabel* Label2;
    QLineEdit* edtPath;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;

    const FileDialogSpec openNext{};

public slots:
    // Picks the part with the open-file dialog, starting from the text of edtPath.
    void BitBtn3Click();

private:
    Platform& platform_;
};

} // namespace partsmith
