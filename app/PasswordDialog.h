// TfrmPasswd: asks for the password of an encrypted part set.
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace partsmith {

class TfrmPasswd : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPasswd(QWidget* parent);

    // The password exactly as typed, blanks included.
    [[nodiscard]] QString Password() const;
    // Drops the typed text once the caller has taken it.
    void ForgetPassword();

    QGroupBox* GroupBox1;
    QLineEdit* edtPass;
    QCheckBox* chkPssh;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;

public slots:
    void chkPsshClick();

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace partsmith
