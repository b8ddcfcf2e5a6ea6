// Page 4, "Configure": the settings a user can change, the priority slider and the language
// list.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace partsmith {

class SpinEdit;

class ConfigurePage : public QWidget {
    Q_OBJECT
public:
    explicit ConfigurePage(QWidget* parent);

    // Replaces the language list by the names of fileNames (in their order, each without its
    // extension) and selects the entry that equals language exactly, case included; without
    // such an entry nothing is selected.
    void FillLanguageList(const std::vector<std::string>& fileNames, const std::string& language);

    QGroupBox* GroupBox5;
    QLabel* Label18;
    SpinEdit* spMaxBuf;
    QCheckBox* chkAsf;
    QCheckBox* chkMintr;
    QCheckBox* chkExecjf;
    QLabel* lblExech;
    QLineEdit* edtExecp;
    QCheckBox* chkExtFin;
    QCheckBox* chkStyp;
    QPushButton* BitBtn8;
    QLabel* Label20;
    QLabel* Label21;
    QLabel* Label22;
    QSlider* trPrior;
    QLabel* Label11;
    QComboBox* cbxLang;
    QPushButton* BitBtn7;

    QAction* ConfigOk;
    QAction* ConfigAsc; // no handler: it stays hidden

public slots:
    // The command edit is usable exactly while its box is checked.
    void chkExecjfClick();
};

} // namespace partsmith
