#pragma once

#include <QString>

#include <initializer_list>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QObject;
class QPushButton;
class QRadioButton;
class QWidget;

// Makers of the tab pages' controls: each one named (member name = object
// name) and placed in twips in its parent's coordinates.
namespace tavil::mainwin::tabbuild {

// "Option8(0)": the object name of element i of a control array.
QString indexed(const char* name, int i);

QLabel* label(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h);
QCheckBox* check(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h);
QRadioButton* radio(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h);
QPushButton* button(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h);
QLineEdit* edit(QWidget* parent, const QString& name, double l, double t, double w, double h);
// An editable box with a list: what is typed is never added to the list.
QComboBox* editCombo(QWidget* parent, const QString& name, double l, double t, double w, double h);
// A box whose text is always one of its items.
QComboBox* listCombo(QWidget* parent, const QString& name, double l, double t, double w, double h);
QGroupBox* group(QWidget* parent, const QString& name, const QString& title, double l, double t, double w, double h);
// A frame without a border: it only holds controls together.
QFrame* plainFrame(QWidget* parent, const QString& name, double l, double t, double w, double h);

// One exclusive choice among the buttons, whatever their parents hold.
QButtonGroup* exclusive(QObject* owner, std::initializer_list<QAbstractButton*> buttons);

} // namespace tavil::mainwin::tabbuild
