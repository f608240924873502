#include "core/history/AmountChart.h"

#include <QLocale>

#include <algorithm>
#include <cmath>

double SharesToLots(qint64 shares)
{
    return static_cast<double>(shares) / 1000.0;
}

QString LotsText(double lots)
{
    return QLocale(QLocale::Chinese, QLocale::Taiwan).toString(static_cast<qint64>(std::llround(lots)));
}

double ChartAxis::y(const QRectF& plot, double value) const
{
    return plot.bottom() - (value - min) / (max - min) * plot.height();
}

ChartAxis NiceAxis(double low, double high, int maxIntervals)
{
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
    const double raw = (high - low) / std::max(1, maxIntervals);
    double step = 1;
    if (raw > 1) {
        const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
        const double normal = raw / magnitude;
        step = (normal <= 1 ? 1 : normal <= 2 ? 2 : normal <= 5 ? 5 : 10) * magnitude;
    }
    ChartAxis axis;
    // Rounding both ends outward can add steps beyond the limit: a coarser
    // step then keeps the labels apart.
    do {
        axis.step = step;
        axis.min = std::floor(low / step) * step;
        axis.max = std::ceil(high / step) * step;
        step *= 2;
    } while ((axis.max - axis.min) / axis.step > std::max(1, maxIntervals) + 1);
    step = axis.step;
    // Nothing but zeros still needs a scale to draw the zero line on.
    if (axis.max == axis.min)
        axis.max = axis.min + step;
    for (double tick = axis.min; tick <= axis.max + step / 2; tick += step)
        axis.ticks << tick;
    return axis;
}

int AmountChartModel::dayAt(double x) const
{
    if (centres.isEmpty() || x < plot.left() || x >= plot.right())
        return -1;
    return std::clamp(static_cast<int>((x - plot.left()) / slotWidth), 0, static_cast<int>(centres.size()) - 1);
}

namespace {

// The lowest and highest values the bar axis must show.
std::pair<double, double> BarRange(const AmountHistory& history, BarLayout layout)
{
    double low = 0;
    double high = 0;
    for (const AmountDay& day : history.days) {
        double up = 0;
        double down = 0;
        for (const std::optional<qint64>& part : day.parts) {
            if (!part)
                continue;
            const double lots = SharesToLots(*part);
            if (layout == BarLayout::Stacked) {
                (lots >= 0 ? up : down) += lots;
            } else {
                up = std::max(up, lots);
                down = std::min(down, lots);
            }
        }
        if (const std::optional<qint64> total = day.dayTotal()) {
            up = std::max(up, SharesToLots(*total));
            down = std::min(down, SharesToLots(*total));
        }
        low = std::min(low, down);
        high = std::max(high, up);
    }
    return {low, high};
}

} // namespace

AmountChartModel BuildAmountChart(const AmountHistory& history, BarLayout layout, const QRectF& plot,
                                  double minLabelGap, double minTickGap)
{
    AmountChartModel model;
    model.plot = plot;
    const int count = static_cast<int>(history.days.size());
    const int intervals = std::max(1, static_cast<int>(plot.height() / std::max(1.0, minTickGap)));
    const auto [low, high] = BarRange(history, layout);
    model.barAxis = NiceAxis(low, high, intervals);

    double running = 0;
    double lowest = 0;
    double highest = 0;
    for (const AmountDay& day : history.days) {
        if (const std::optional<qint64> total = day.dayTotal())
            running += SharesToLots(*total);
        model.cumulative << running;
        lowest = std::min(lowest, running);
        highest = std::max(highest, running);
    }
    model.cumulativeAxis = NiceAxis(lowest, highest, intervals);
    if (count == 0)
        return model;

    model.slotWidth = plot.width() / count;
    const double groupWidth = std::min(model.slotWidth * 0.75, plot.width() / 12);
    const double barWidth = layout == BarLayout::Stacked ? groupWidth : groupWidth / kAmountParts;
    for (int i = 0; i < count; ++i) {
        const AmountDay& day = history.days.at(i);
        const double centre = plot.left() + model.slotWidth * (i + 0.5);
        model.centres << centre;
        QVector<ChartBar> bars;
        double up = 0;
        double down = 0;
        for (int part = 0; part < kAmountParts; ++part) {
            if (!day.parts[part])
                continue;
            const double lots = SharesToLots(*day.parts[part]);
            double from = 0;
            double left = centre - barWidth / 2;
            if (layout == BarLayout::Stacked) {
                double& base = lots >= 0 ? up : down;
                from = base;
                base += lots;
            } else {
                left = centre - groupWidth / 2 + part * barWidth;
            }
            const double y0 = model.barAxis.y(plot, from);
            const double y1 = model.barAxis.y(plot, from + lots);
            bars << ChartBar{part, QRectF(QPointF(left, std::min(y0, y1)), QPointF(left + barWidth, std::max(y0, y1)))};
        }
        model.bars << bars;
        if (const std::optional<qint64> total = day.dayTotal())
            model.totalLine << QPointF(centre, model.barAxis.y(plot, SharesToLots(*total)));
        model.cumulativeLine << QPointF(centre, model.cumulativeAxis.y(plot, model.cumulative.at(i)));
        if (day.onBuyList)
            model.markers << ChartMarker{i, true};
        if (day.onSellList)
            model.markers << ChartMarker{i, false};
    }
    const int every = std::max(1, static_cast<int>(std::ceil(minLabelGap / model.slotWidth)));
    for (int i = (count - 1) % every; i < count; i += every)
        model.labelledDays << i;
    return model;
}
