// TfrmStartup: the welcome shown once on a first run.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace partsmith {

class Platform;

class TfrmStartup : public QDialog {
    Q_OBJECT
public:
    TfrmStartup(Platform& platform, QWidget* parent);

    QLabel* Image1;
    QLabel* Label1;
    QPushButton* Button1; // "Donate": the OK result
    QPushButton* Button2; // "Countinue": the Cancel result

protected:
    void showEvent(QShowEvent* event) override;

private:
    Platform& platform_;
};

} // namespace partsmith
