#include "mainwin/clsprogressbar.h"

#include "mainwin/picturebox.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tavil::mainwin {

clsProgressBar::clsProgressBar() = default;

clsProgressBar::~clsProgressBar()
{
    if (m_target)
        m_target->removeEventFilter(this);
}

void clsProgressBar::setTarget(PictureBox* target)
{
    if (m_target)
        m_target->removeEventFilter(this);
    m_target = target;
    if (!target)
        return;
    target->installEventFilter(this);
    target->clear();
    m_drawn.reset();
    setValue(0);
}

PictureBox* clsProgressBar::target() const
{
    return surface();
}

PictureBox* clsProgressBar::surface() const
{
    return qobject_cast<PictureBox*>(m_target.data());
}

void clsProgressBar::setValue(int value)
{
    m_value = std::clamp(value, 0, std::max(m_max, 0));
    drawIfChanged();
}

void clsProgressBar::setMax(int max)
{
    m_max = max;
    RefreshBar();
}

void clsProgressBar::setBarColor(const QColor& color)
{
    m_barColor = color;
    RefreshBar();
}

void clsProgressBar::setBackColor(const QColor& color)
{
    m_backColor = color;
    RefreshBar();
}

void clsProgressBar::setUnit(const QString& unit)
{
    m_unit = unit;
    RefreshBar();
}

void clsProgressBar::setValueShow(bool show)
{
    m_valueShow = show;
    RefreshBar();
}

void clsProgressBar::setStyle(int style)
{
    m_style = style;
    RefreshBar();
}

void clsProgressBar::RefreshBar()
{
    // A property changed: drawn whatever the picture showed before.
    m_drawn.reset();
    setValue(m_value);
}

bool clsProgressBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_target.data())
        RefreshBar();
    return QObject::eventFilter(watched, event);
}

clsProgressBar::Look clsProgressBar::lookFor(const QSize& size) const
{
    // The same measures as draw().
    const double scale = m_max > 0 ? m_max : 1;
    Look look;
    look.size = size;
    const double extent = m_style == Vertical ? size.height() : size.width();
    const double reached = m_style == Vertical ? scale - m_value : m_value;
    look.edge = int(std::lround(reached * extent / scale));
    look.bar = m_value != 0;
    look.text = m_valueShow ? QString::number(m_value) + m_unit : m_unit;
    return look;
}

void clsProgressBar::drawIfChanged()
{
    PictureBox* const target = surface();
    if (!target)
        return;
    const QImage& image = target->canvas();
    if (image.isNull())
        return;
    const Look look = lookFor(image.size());
    if (m_drawn && *m_drawn == look)
        return;
    draw();
    m_drawn = look;
}

void clsProgressBar::draw()
{
    PictureBox* const target = surface();
    if (!target)
        return;
    QImage& image = target->canvas();
    if (image.isNull())
        return;

    // The surface measures Max units each way; a Max of 0 or less has no
    // scale, so it is drawn on a scale of one unit with an empty bar.
    const double scale = m_max > 0 ? m_max : 1;
    const int pw = image.width();
    const int ph = image.height();
    const auto x = [&](double units) { return int(std::lround(units * pw / scale)); };
    const auto y = [&](double units) { return int(std::lround(units * ph / scale)); };

    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(image.rect(), Qt::white);

    // Not-xor: a box drawn over white shows its own colour, a box drawn over
    // text of its own colour turns that text white.
    p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);

    const QString text = m_valueShow ? QString::number(m_value) + m_unit : m_unit;
    if (!text.isEmpty()) {
        // Unsmoothed glyphs: every text pixel is the bar colour or untouched,
        // so the bar turns exactly the text's pixels white.
        QFont font = target->font();
        font.setStyleStrategy(QFont::NoAntialias);
        p.setFont(font);
        const QFontMetrics metrics(font);
        const int left = x(scale / 2) - metrics.horizontalAdvance(text) / 2;
        const int top = (ph - metrics.height()) / 2;
        p.setPen(m_barColor);
        p.drawText(QPoint(left, top + metrics.ascent()), text);
    }

    const double full = scale;
    const double barHeight = m_value == 0 ? 0 : full; // no bar at 0
    if (m_style == Vertical) {
        const int barTop = y(full - m_value);
        if (barHeight > 0)
            p.fillRect(QRect(QPoint(0, barTop), QPoint(pw - 1, ph - 1)), m_barColor);
        if (barTop > 0)
            p.fillRect(QRect(0, 0, pw, barTop), m_backColor);
    } else {
        const int barRight = x(m_value);
        if (barHeight > 0 && barRight > 0)
            p.fillRect(QRect(0, 0, barRight, y(barHeight)), m_barColor);
        if (barRight < pw)
            p.fillRect(QRect(barRight, 0, pw - barRight, ph), m_backColor);
    }
    p.end();
    ++m_drawCount;
    target->refresh();
}

} // namespace tavil::mainwin
