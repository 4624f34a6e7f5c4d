#include "mainwin/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace tavil::mainwin::twips {

double perPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int toPx(double twips)
{
    return int(std::lround(twips / perPixel()));
}

int fromPx(int pixels)
{
    return int(std::lround(pixels * perPixel()));
}

QRect rect(double left, double top, double width, double height)
{
    return QRect(toPx(left), toPx(top), std::max(0, toPx(width)), std::max(0, toPx(height)));
}

void place(QWidget* widget, double left, double top, double width, double height)
{
    widget->setGeometry(rect(left, top, width, height));
}

void move(QWidget* widget, double left, double top)
{
    widget->move(toPx(left), toPx(top));
}

void setLeft(QWidget* widget, double left)
{
    widget->move(toPx(left), widget->y());
}

void setWidth(QWidget* widget, double width)
{
    widget->resize(std::max(0, toPx(width)), widget->height());
}

void setHeight(QWidget* widget, double height)
{
    widget->resize(widget->width(), std::max(0, toPx(height)));
}

int left(const QWidget* widget)
{
    return fromPx(widget->x());
}

int top(const QWidget* widget)
{
    return fromPx(widget->y());
}

int width(const QWidget* widget)
{
    return fromPx(widget->width());
}

int height(const QWidget* widget)
{
    return fromPx(widget->height());
}

} // namespace tavil::mainwin::twips
