#include "core/history/AmountChartPainter.h"

#include "core/data/FileMove.h"
#include "core/text/RocDate.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kPartColours[kAmountParts] = {QColor(0x1f, 0x77, 0xb4), QColor(0xff, 0x7f, 0x0e), QColor(0x94, 0x67, 0xbd)};
const QColor kTotalColour(0x33, 0x33, 0x33);
const QColor kCumulativeColour(0x8c, 0x56, 0x4b);
// The entry screen's colours of the two lists.
const QColor kBuyColour(0xc6, 0x28, 0x28);
const QColor kSellColour(0x2e, 0x7d, 0x32);
const QColor kGridColour(0xdd, 0xdd, 0xdd);
const QColor kSelectionColour(0xff, 0xe0, 0x82, 140);

// The rows above and below the plot, in text lines.
constexpr double kTitleLines = 1.6;
constexpr double kLegendLines = 1.5;
constexpr double kCaptionLines = 1.3;
constexpr double kMarkerLines = 2.4;
constexpr double kDateLines = 1.4;

QString Dash()
{
    return QStringLiteral("—");
}

QString MaybeLots(const std::optional<qint64>& shares)
{
    return shares ? LotsText(*shares) : Dash();
}

double LabelWidth(const QFontMetricsF& metrics, const ChartAxis& axis)
{
    double width = 0;
    for (double tick : axis.ticks)
        width = std::max(width, metrics.horizontalAdvance(LotsText(tick)));
    return width;
}

QPolygonF Triangle(QPointF centre, double size, bool up)
{
    const double h = size / 2;
    if (up)
        return QPolygonF({QPointF(centre.x(), centre.y() - h), QPointF(centre.x() + h, centre.y() + h),
                          QPointF(centre.x() - h, centre.y() + h)});
    return QPolygonF({QPointF(centre.x(), centre.y() + h), QPointF(centre.x() + h, centre.y() - h),
                      QPointF(centre.x() - h, centre.y() - h)});
}

// A margin keeps the outermost labels off the edge of a picture or a page.
QRectF Inside(const QRectF& whole, const QFontMetricsF& metrics)
{
    const double margin = metrics.height() / 2;
    return whole.adjusted(margin, margin / 2, -margin, -margin / 2);
}

struct Painting {
    QPainter& painter;
    const QFontMetricsF metrics;
    const double line;   // one text line: every size scales with the device

    QRectF textBox(double x, double y, double width, double lines = 1) const
    {
        return QRectF(x, y, width, line * lines);
    }
};

void PaintLegend(const Painting& p, const QRectF& row)
{
    QPainter& painter = p.painter;
    const double swatch = p.line * 0.8;
    double x = row.left();
    const auto text = [&](const QString& words) {
        const double width = p.metrics.horizontalAdvance(words);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x, row.top(), width + 2, row.height()), Qt::AlignLeft | Qt::AlignVCenter, words);
        x += width + p.line;
    };
    const double middle = row.center().y();
    for (int part = 0; part < kAmountParts; ++part) {
        painter.fillRect(QRectF(x, middle - swatch / 2, swatch, swatch), kPartColours[part]);
        x += swatch + p.line * 0.3;
        text(AmountPartName(part));
    }
    const auto lineSample = [&](const QColor& colour, Qt::PenStyle style, const QString& words) {
        painter.setPen(QPen(colour, p.line / 7, style));
        painter.drawLine(QPointF(x, middle), QPointF(x + swatch * 2, middle));
        x += swatch * 2 + p.line * 0.3;
        text(words);
    };
    lineSample(kTotalColour, Qt::SolidLine, QStringLiteral("合計"));
    lineSample(kCumulativeColour, Qt::DashLine, QStringLiteral("累計（右軸）"));
    for (bool buy : {true, false}) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(buy ? kBuyColour : kSellColour);
        painter.drawPolygon(Triangle(QPointF(x + swatch / 2, middle), swatch, buy));
        x += swatch + p.line * 0.3;
        text(buy ? QStringLiteral("在買超清單") : QStringLiteral("在賣超清單"));
    }
    painter.setBrush(Qt::NoBrush);
}

void PaintAxes(const Painting& p, const AmountChartModel& model)
{
    QPainter& painter = p.painter;
    const QRectF& plot = model.plot;
    const double gap = p.line * 0.4;
    for (double tick : model.barAxis.ticks) {
        const double y = model.barAxis.y(plot, tick);
        painter.setPen(QPen(tick == 0 ? QColor(Qt::black) : kGridColour, p.line / (tick == 0 ? 12 : 20)));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, y - p.line / 2, plot.left() - gap, p.line), Qt::AlignRight | Qt::AlignVCenter,
                         LotsText(tick));
    }
    painter.setPen(kCumulativeColour);
    for (double tick : model.cumulativeAxis.ticks) {
        const double y = model.cumulativeAxis.y(plot, tick);
        painter.drawLine(QPointF(plot.right(), y), QPointF(plot.right() + gap / 2, y));
        painter.drawText(QRectF(plot.right() + gap, y - p.line / 2, p.line * 20, p.line), Qt::AlignLeft | Qt::AlignVCenter,
                         LotsText(tick));
    }
    painter.setPen(QPen(Qt::black, p.line / 14));
    painter.drawRect(plot);
}

void PaintSeries(const Painting& p, const AmountChartModel& model)
{
    QPainter& painter = p.painter;
    for (const QVector<ChartBar>& day : model.bars) {
        for (const ChartBar& bar : day)
            painter.fillRect(bar.rect, kPartColours[bar.part]);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(kTotalColour, p.line / 8));
    painter.drawPolyline(QPolygonF(model.totalLine));
    painter.setBrush(kTotalColour);
    for (const QPointF& point : model.totalLine)
        painter.drawEllipse(point, p.line / 7, p.line / 7);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(kCumulativeColour, p.line / 7, Qt::DashLine));
    painter.drawPolyline(QPolygonF(model.cumulativeLine));
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void PaintDates(const Painting& p, const AmountChartModel& model, const AmountHistory& history, int selected)
{
    QPainter& painter = p.painter;
    const QRectF& plot = model.plot;
    // The list markers in two rows under the plot, each named at its left.
    const double buyRow = plot.bottom() + p.line * 0.7;
    const double sellRow = plot.bottom() + p.line * 1.7;
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, buyRow - p.line / 2, plot.left() - p.line * 0.4, p.line), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("買超"));
    painter.drawText(QRectF(0, sellRow - p.line / 2, plot.left() - p.line * 0.4, p.line), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("賣超"));
    painter.setPen(Qt::NoPen);
    const double size = std::min(p.line * 0.7, std::max(p.line * 0.3, model.slotWidth * 0.8));
    for (const ChartMarker& marker : model.markers) {
        painter.setBrush(marker.buy ? kBuyColour : kSellColour);
        painter.drawPolygon(Triangle(QPointF(model.centres.at(marker.day), marker.buy ? buyRow : sellRow), size, marker.buy));
    }
    painter.setBrush(Qt::NoBrush);

    const double top = plot.bottom() + p.line * kMarkerLines;
    QFont bold = painter.font();
    bold.setBold(true);
    const QFont normal = painter.font();
    for (int day : model.labelledDays) {
        const QString text = RocDateDisplay(history.days.at(day).date);
        const double width = p.metrics.horizontalAdvance(text) + p.line;
        painter.setPen(Qt::black);
        painter.drawLine(QPointF(model.centres.at(day), plot.bottom()), QPointF(model.centres.at(day), plot.bottom() + p.line / 4));
        painter.setFont(day == selected ? bold : normal);
        painter.drawText(QRectF(model.centres.at(day) - width / 2, top, width, p.line), Qt::AlignCenter, text);
    }
    painter.setFont(normal);
}

} // namespace

QString NoAmountsText()
{
    return QStringLiteral("此期間無法人買賣資料");
}

QString AmountChartTitle(const AmountHistory& history)
{
    QString title = history.code;
    if (!history.name.isEmpty())
        title += QLatin1Char(' ') + history.name;
    title += QStringLiteral("　法人買賣超");
    if (!history.from.isEmpty() || !history.to.isEmpty())
        title += QStringLiteral("　%1 ～ %2").arg(RocDateDisplay(history.from), RocDateDisplay(history.to));
    if (history.period == BarPeriod::Week)
        title += QStringLiteral("　每週一根");
    else if (history.period == BarPeriod::Month)
        title += QStringLiteral("　每月一根");
    return title + QStringLiteral("（單位：張）");
}

QString AmountDayText(const AmountDay& day, double cumulativeLots)
{
    QStringList parts{day.firstDate.isEmpty() || day.firstDate == day.date
                          ? RocDateDisplay(day.date)
                          : RocDateDisplay(day.firstDate) + QStringLiteral("～") + RocDateDisplay(day.date)};
    for (int part = 0; part < kAmountParts; ++part)
        parts << AmountPartName(part) + QLatin1Char(' ') + MaybeLots(day.parts[part]);
    parts << QStringLiteral("合計 ") + MaybeLots(day.dayTotal());
    parts << QStringLiteral("累計 ") + LotsText(cumulativeLots);
    if (day.onBuyList)
        parts << QStringLiteral("在買超清單");
    if (day.onSellList)
        parts << QStringLiteral("在賣超清單");
    return parts.join(QStringLiteral("　"));
}

AmountChartModel LayoutAmountChart(const AmountHistory& history, BarLayout layout, const QRectF& whole,
                                   const QFontMetricsF& metrics)
{
    const QRectF area = Inside(whole, metrics);
    const double line = metrics.height();
    const double top = area.top() + line * (kTitleLines + kLegendLines + kCaptionLines);
    const double bottom = area.bottom() - line * (kMarkerLines + kDateLines);
    const double labelGap = metrics.horizontalAdvance(QStringLiteral("000/00/00")) + line;
    const double tickGap = line * 2;
    // The axes depend only on the height; their labels then decide the width.
    const QRectF tall(area.left(), top, area.width(), std::max(line, bottom - top));
    const AmountChartModel trial = BuildAmountChart(history, layout, tall, labelGap, tickGap);
    const double left = std::max(LabelWidth(metrics, trial.barAxis), metrics.horizontalAdvance(QStringLiteral("買超")));
    const double right = LabelWidth(metrics, trial.cumulativeAxis);
    const QRectF plot(QPointF(area.left() + left + line, top), QPointF(area.right() - right - line, tall.bottom()));
    return BuildAmountChart(history, layout, plot, labelGap, tickGap);
}

void PaintAmountChart(QPainter& painter, const QRectF& whole, const AmountHistory& history, BarLayout layout, int selected)
{
    painter.save();
    painter.fillRect(whole, Qt::white);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF area = Inside(whole, metrics);
    const Painting p{painter, metrics, metrics.height()};
    const QFont plain = painter.font();
    QFont titleFont = plain;
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    painter.drawText(p.textBox(area.left(), area.top(), area.width(), kTitleLines), Qt::AlignCenter,
                     AmountChartTitle(history));
    painter.setFont(plain);
    if (history.days.isEmpty()) {
        painter.drawText(area, Qt::AlignCenter, NoAmountsText());
        painter.restore();
        return;
    }

    const AmountChartModel model = LayoutAmountChart(history, layout, whole, p.metrics);
    PaintLegend(p, QRectF(model.plot.left(), area.top() + p.line * kTitleLines, area.width(), p.line * kLegendLines));
    const double captionTop = model.plot.top() - p.line * kCaptionLines;
    painter.drawText(QRectF(area.left(), captionTop, model.plot.left() - area.left(), p.line), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("張"));
    painter.setPen(kCumulativeColour);
    painter.drawText(QRectF(model.plot.right(), captionTop, area.right() - model.plot.right(), p.line),
                     Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral(" 累計張"));
    if (selected >= 0 && selected < model.centres.size())
        painter.fillRect(QRectF(model.plot.left() + model.slotWidth * selected, model.plot.top(), model.slotWidth,
                                model.plot.height()),
                         kSelectionColour);
    PaintAxes(p, model);
    PaintSeries(p, model);
    PaintDates(p, model, history, selected);
    painter.restore();
}

bool WriteAmountChartPng(const AmountHistory& history, BarLayout layout, const QString& path, QString* error)
{
    QImage image(kChartPictureSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QFont font = painter.font();
        font.setPixelSize(kChartPictureSize.height() / 45);
        painter.setFont(font);
        PaintAmountChart(painter, QRectF(QPointF(0, 0), QSizeF(kChartPictureSize)), history, layout);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        *error = QStringLiteral("無法產生 PNG 圖片。");
        return false;
    }
    return SaveWholeFile(path, bytes, error);
}
