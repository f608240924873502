#include "gui/app/MenuIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

constexpr int kSize = 128;
const QColor kBuy(211, 47, 47);
const QColor kSell(46, 125, 50);
const QColor kEntry(21, 101, 192);
const QColor kStock(0, 131, 143);

void Tile(QPainter& p, const QColor& colour)
{
    QLinearGradient fill(0, 0, 0, kSize);
    fill.setColorAt(0, colour.lighter(125));
    fill.setColorAt(1, colour.darker(110));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(4, 4, kSize - 8, kSize - 8), 22, 22);
}

QPen WhitePen(qreal width)
{
    return QPen(Qt::white, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Sheet(QPainter& p)
{
    p.setPen(WhitePen(5));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(30, 24, 58, 80), 6, 6);
    for (int y = 44; y <= 84; y += 14)
        p.drawLine(QPointF(42, y), QPointF(76, y));
}

void Pencil(QPainter& p)
{
    p.save();
    p.translate(86, 74);
    p.rotate(45);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 213, 79));
    p.drawRect(QRectF(-7, -34, 14, 44));
    QPainterPath tip;
    tip.moveTo(-7, 10);
    tip.lineTo(7, 10);
    tip.lineTo(0, 24);
    tip.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(tip);
    p.restore();
}

void Table(QPainter& p)
{
    p.setPen(WhitePen(5));
    p.setBrush(Qt::NoBrush);
    const QRectF frame(24, 28, 80, 72);
    p.drawRoundedRect(frame, 6, 6);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(24, 28, 80, 16));
    for (int y = 62; y <= 82; y += 20)
        p.drawLine(QPointF(24, y), QPointF(104, y));
    p.drawLine(QPointF(52, 44), QPointF(52, 100));
}

void Bars(QPainter& p, bool rising)
{
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    const int heights[] = {22, 38, 54};
    for (int i = 0; i < 3; ++i) {
        const int h = heights[rising ? i : 2 - i];
        p.drawRoundedRect(QRectF(26 + i * 22, 100 - h, 16, h), 3, 3);
    }
}

void Arrow(QPainter& p, QPointF from, QPointF to)
{
    p.setPen(WhitePen(7));
    p.drawLine(from, to);
    const QLineF shaft(to, from);
    QLineF wing1 = shaft;
    wing1.setLength(16);
    wing1.setAngle(shaft.angle() + 35);
    QLineF wing2 = shaft;
    wing2.setLength(16);
    wing2.setAngle(shaft.angle() - 35);
    p.drawLine(wing1);
    p.drawLine(wing2);
}

void PlusBadge(QPainter& p, const QColor& colour)
{
    p.setPen(QPen(colour.darker(130), 3));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(90, 90), 20, 20);
    p.setPen(QPen(colour, 7, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(90, 79), QPointF(90, 101));
    p.drawLine(QPointF(79, 90), QPointF(101, 90));
}

void Transition(QPainter& p, const QColor& from, const QColor& to)
{
    p.setPen(WhitePen(4));
    p.setBrush(from);
    p.drawEllipse(QPointF(38, 46), 18, 18);
    p.setBrush(to);
    p.drawEllipse(QPointF(90, 84), 18, 18);
    Arrow(p, QPointF(54, 60), QPointF(76, 76));
}

} // namespace

QIcon MenuIcon(MenuGlyph glyph)
{
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (glyph) {
    case MenuGlyph::Entry:
        Tile(p, kEntry);
        Sheet(p);
        Pencil(p);
        break;
    case MenuGlyph::Stock:
        Tile(p, kStock);
        Table(p);
        break;
    case MenuGlyph::BuyCount:
        Tile(p, kBuy);
        Bars(p, true);
        Arrow(p, QPointF(96, 62), QPointF(96, 24));
        break;
    case MenuGlyph::SellCount:
        Tile(p, kSell);
        Bars(p, false);
        Arrow(p, QPointF(96, 24), QPointF(96, 62));
        break;
    case MenuGlyph::NewBuy:
        Tile(p, kBuy);
        Sheet(p);
        PlusBadge(p, kBuy);
        break;
    case MenuGlyph::NewSell:
        Tile(p, kSell);
        Sheet(p);
        PlusBadge(p, kSell);
        break;
    case MenuGlyph::BuyToSell:
        Tile(p, QColor(93, 64, 55));
        Transition(p, kBuy, kSell);
        break;
    case MenuGlyph::SellToBuy:
        Tile(p, QColor(69, 90, 100));
        Transition(p, kSell, kBuy);
        break;
    }
    p.end();
    return QIcon(pixmap);
}
