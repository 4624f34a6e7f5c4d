#include "mainwin/picturebox.h"

#include <QPaintEvent>
#include <QPainter>

namespace tavil::mainwin {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
    , m_backColor(palette().color(QPalette::WindowText)) // the window-frame colour
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::fitImage() const
{
    if (m_image.size() == size())
        return;
    if (size().isEmpty()) {
        m_image = QImage();
        return;
    }
    QImage grown(size(), QImage::Format_RGB32);
    grown.fill(m_backColor);
    if (!m_image.isNull()) {
        QPainter p(&grown);
        p.drawImage(0, 0, m_image);
    }
    m_image = std::move(grown);
}

QImage& PictureBox::canvas()
{
    fitImage();
    return m_image;
}

QImage PictureBox::image() const
{
    fitImage();
    return m_image;
}

void PictureBox::clear()
{
    fitImage();
    if (!m_image.isNull())
        m_image.fill(m_backColor);
    refresh();
}

void PictureBox::refresh()
{
    update();
}

void PictureBox::setBackColor(const QColor& color)
{
    m_backColor = color;
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    fitImage();
    QPainter p(this);
    if (m_image.isNull()) {
        p.fillRect(event->rect(), m_backColor);
        return;
    }
    p.drawImage(event->rect(), m_image, event->rect());
}

} // namespace tavil::mainwin
