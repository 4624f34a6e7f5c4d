#include "quick/quickicons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tavil::quick {

namespace {

constexpr int kSize = 32; // drawn large, shown at the toolbar's size

void drawSheet(QPainter& p)
{
    QPainterPath sheet;
    sheet.moveTo(7, 3);
    sheet.lineTo(19, 3);
    sheet.lineTo(25, 9);
    sheet.lineTo(25, 29);
    sheet.lineTo(7, 29);
    sheet.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawPolyline(QPolygonF({QPointF(19, 3), QPointF(19, 9), QPointF(25, 9)}));
    p.setPen(QPen(QColor(120, 140, 170), 1.5));
    for (int y = 14; y <= 24; y += 5)
        p.drawLine(QPointF(10, y), QPointF(22, y));
}

void drawFolder(QPainter& p)
{
    QPainterPath folder;
    folder.moveTo(3, 8);
    folder.lineTo(12, 8);
    folder.lineTo(15, 11);
    folder.lineTo(29, 11);
    folder.lineTo(29, 27);
    folder.lineTo(3, 27);
    folder.closeSubpath();
    p.setPen(QPen(QColor(150, 110, 20), 1.5));
    p.setBrush(QColor(245, 200, 80));
    p.drawPath(folder);
    p.drawLine(QPointF(3, 14), QPointF(29, 14));
}

void drawStrike(QPainter& p)
{
    p.setPen(QPen(QColor(200, 30, 30), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, 16), QPointF(28, 30));
    p.drawLine(QPointF(28, 16), QPointF(12, 30));
}

} // namespace

QIcon modeIcon(QuickMode mode)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (mode) {
    case QuickMode::Files:
        drawSheet(p);
        break;
    case QuickMode::Folders:
        drawFolder(p);
        break;
    case QuickMode::Delete:
        drawSheet(p);
        drawStrike(p);
        break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace tavil::quick
