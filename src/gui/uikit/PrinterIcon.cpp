#include "gui/uikit/PrinterIcon.h"

#include <QPainter>
#include <QPixmap>

// The style has no printer among its standard pixmaps.
QIcon PrinterIcon()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(60, 60, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(18, 6, 28, 20));
    p.setBrush(QColor(120, 130, 145));
    p.drawRoundedRect(QRectF(6, 24, 52, 24), 5, 5);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(16, 38, 32, 20));
    p.setPen(QPen(QColor(60, 60, 60), 2));
    for (int y = 45; y <= 52; y += 6)
        p.drawLine(QPointF(21, y), QPointF(43, y));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 220, 120));
    p.drawEllipse(QPointF(50, 31), 2.5, 2.5);
    return QIcon(pixmap);
}
