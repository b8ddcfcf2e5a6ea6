// Factories for the controls of the pages: each control gets its name and caption in one call,
// so the page constructors read like the layout they build.
#pragma once

#include <QString>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

namespace partsmith {

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent);
QLineEdit* MakeEdit(const QString& name, QWidget* parent);
QPushButton* MakeButton(const QString& name, const QString& text, QWidget* parent);
QCheckBox* MakeCheck(const QString& name, const QString& text, QWidget* parent);
QRadioButton* MakeRadio(const QString& name, const QString& text, QWidget* parent);
QGroupBox* MakeGroup(const QString& name, const QString& title, QWidget* parent);
// A drop-down list of fixed entries with nothing selected.
QComboBox* MakeList(const QString& name, QWidget* parent);

// The 115 x 25 px size of the pause, stop and start buttons of a task page.
void SetTaskButtonSize(QPushButton* button);
// The bottom row of a task page: pause at the left, stop beside it, start at the right.
QHBoxLayout* MakeTaskButtonRow(QPushButton* pause, QPushButton* stop, QPushButton* start);

// Enter anywhere on page presses button while the button is shown and enabled, as a default
// button does in a dialog.
void InstallDefaultButton(QWidget* page, QAbstractButton* button);

// The caption of a group box, button or label.
void SetCaption(QWidget* control, const QString& text);
QString Caption(const QWidget* control);

} // namespace partsmith
