#include "mainwin/updown.h"

#include <QLineEdit>
#include <QToolButton>

#include <algorithm>

namespace tavil::mainwin {

namespace {

QToolButton* makeArrow(QWidget* parent, Qt::ArrowType arrow)
{
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    // The buddy keeps the focus: a click on the arrows must not move it, or
    // the buddy's leaving rule would run between two clicks.
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

UpDown::UpDown(QWidget* parent, QLineEdit* buddy, int minimum, int maximum)
    : QWidget(parent), m_buddy(buddy), m_minimum(minimum), m_maximum(maximum), m_value(std::clamp(0, minimum, maximum)),
      m_up(makeArrow(this, Qt::UpArrow)), m_down(makeArrow(this, Qt::DownArrow))
{
    wire();
}

void UpDown::wire()
{
    connect(m_up, &QToolButton::clicked, this, &UpDown::stepUp);
    connect(m_down, &QToolButton::clicked, this, &UpDown::stepDown);
}

void UpDown::stepUp()
{
    step(1);
    emit upClicked();
}

void UpDown::stepDown()
{
    step(-1);
    emit downClicked();
}

void UpDown::step(int by)
{
    bool ok = false;
    const qlonglong typed = m_buddy->text().trimmed().toLongLong(&ok);
    const qlonglong current = ok ? typed : m_value;
    m_value = int(std::clamp<qlonglong>(current + by, m_minimum, m_maximum));
    m_buddy->setText(QString::number(m_value));
}

void UpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace tavil::mainwin
