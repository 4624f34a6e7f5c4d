#pragma once

#include <QRect>

class QWidget;

// The windows are designed in twips (1440 to the inch), as their stored
// geometry is; pixels follow from the screen's logical resolution (15 twips
// to the pixel at 96 DPI).
namespace tavil::mainwin::twips {

double perPixel();
int toPx(double twips);
int fromPx(int pixels);
QRect rect(double left, double top, double width, double height);
// Places a widget at a position and size given in twips (in its parent's
// coordinates).
void place(QWidget* widget, double left, double top, double width, double height);
void move(QWidget* widget, double left, double top);
void setLeft(QWidget* widget, double left);
void setWidth(QWidget* widget, double width);
void setHeight(QWidget* widget, double height);
int left(const QWidget* widget);
int top(const QWidget* widget);
int width(const QWidget* widget);
int height(const QWidget* widget);

} // namespace tavil::mainwin::twips
