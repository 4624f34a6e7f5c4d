#include "mainwin/tabpages_build.h"

#include "mainwin/twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace tavil::mainwin::tabbuild {

namespace {

template <typename W>
W* placed(W* widget, const QString& name, double l, double t, double w, double h)
{
    widget->setObjectName(name);
    twips::place(widget, l, t, w, h);
    return widget;
}

} // namespace

QString indexed(const char* name, int i)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

QLabel* label(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h)
{
    auto* widget = placed(new QLabel(text, parent), name, l, t, w, h);
    widget->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return widget;
}

QCheckBox* check(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h)
{
    return placed(new QCheckBox(text, parent), name, l, t, w, h);
}

QRadioButton* radio(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h)
{
    return placed(new QRadioButton(text, parent), name, l, t, w, h);
}

QPushButton* button(QWidget* parent, const QString& name, const QString& text, double l, double t, double w, double h)
{
    auto* widget = placed(new QPushButton(text, parent), name, l, t, w, h);
    widget->setAutoDefault(false);
    return widget;
}

QLineEdit* edit(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    return placed(new QLineEdit(parent), name, l, t, w, h);
}

QComboBox* editCombo(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* widget = placed(new QComboBox(parent), name, l, t, w, h);
    widget->setEditable(true);
    widget->setInsertPolicy(QComboBox::NoInsert);
    return widget;
}

QComboBox* listCombo(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    return placed(new QComboBox(parent), name, l, t, w, h);
}

QGroupBox* group(QWidget* parent, const QString& name, const QString& title, double l, double t, double w, double h)
{
    return placed(new QGroupBox(title, parent), name, l, t, w, h);
}

QFrame* plainFrame(QWidget* parent, const QString& name, double l, double t, double w, double h)
{
    auto* frame = placed(new QFrame(parent), name, l, t, w, h);
    frame->setFrameShape(QFrame::NoFrame);
    return frame;
}

QButtonGroup* exclusive(QObject* owner, std::initializer_list<QAbstractButton*> buttons)
{
    auto* choice = new QButtonGroup(owner);
    choice->setExclusive(true);
    for (QAbstractButton* b : buttons)
        choice->addButton(b);
    return choice;
}

} // namespace tavil::mainwin::tabbuild
