#include "core/history/AmountChart.h"
#include "core/history/AmountChartPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>

#include <gtest/gtest.h>

namespace {

const QRectF kPlot(100, 50, 600, 300);

AmountDay Day(const QString& date, std::optional<qint64> foreign, std::optional<qint64> trust,
              std::optional<qint64> dealers, std::optional<qint64> total)
{
    AmountDay day;
    day.date = date;
    day.parts[0] = foreign;
    day.parts[1] = trust;
    day.parts[2] = dealers;
    day.total = total;
    return day;
}

AmountHistory History(QVector<AmountDay> days)
{
    AmountHistory history;
    history.code = QStringLiteral("2330");
    history.from = days.isEmpty() ? QString() : days.first().date;
    history.to = days.isEmpty() ? QString() : days.last().date;
    history.days = std::move(days);
    return history;
}

// The height a value in 張 lies at, on the model's bar axis.
double Y(const AmountChartModel& model, double lots)
{
    return model.barAxis.y(model.plot, lots);
}

TEST(AmountChartTest, StackedBarsGrowUpAndDownFromZeroAndSideBySideBarsEachStartAtZero)
{
    const AmountHistory history = History({Day("1151201", 3000, -2000, 1000, 2000), Day("1151202", -500, std::nullopt, -1500, -2000)});

    const AmountChartModel stacked = BuildAmountChart(history, BarLayout::Stacked, kPlot, 50, 30);
    ASSERT_EQ(stacked.bars.size(), 2);
    const QVector<ChartBar>& first = stacked.bars[0];
    ASSERT_EQ(first.size(), 3);
    // 外資 0..3, 投信 0..-2 below the line, 自營商 on top of 外資: 3..4.
    EXPECT_DOUBLE_EQ(first[0].rect.bottom(), Y(stacked, 0));
    EXPECT_DOUBLE_EQ(first[0].rect.top(), Y(stacked, 3));
    EXPECT_DOUBLE_EQ(first[1].rect.top(), Y(stacked, 0));
    EXPECT_DOUBLE_EQ(first[1].rect.bottom(), Y(stacked, -2));
    EXPECT_DOUBLE_EQ(first[2].rect.bottom(), Y(stacked, 3));
    EXPECT_DOUBLE_EQ(first[2].rect.top(), Y(stacked, 4));
    EXPECT_DOUBLE_EQ(first[0].rect.left(), first[2].rect.left());
    // The unknown 投信 has no bar; 自營商 stacks under 外資.
    const QVector<ChartBar>& second = stacked.bars[1];
    ASSERT_EQ(second.size(), 2);
    EXPECT_EQ(second[1].part, 2);
    EXPECT_DOUBLE_EQ(second[1].rect.top(), Y(stacked, -0.5));
    EXPECT_DOUBLE_EQ(second[1].rect.bottom(), Y(stacked, -2));
    // The axis takes in the stacks' sums, not only single values.
    EXPECT_GE(stacked.barAxis.max, 4);
    EXPECT_LE(stacked.barAxis.min, -2);

    const AmountChartModel apart = BuildAmountChart(history, BarLayout::SideBySide, kPlot, 50, 30);
    const QVector<ChartBar>& bars = apart.bars[0];
    ASSERT_EQ(bars.size(), 3);
    EXPECT_LT(bars[0].rect.right(), bars[1].rect.left() + 1e-9);
    EXPECT_LT(bars[1].rect.right(), bars[2].rect.left() + 1e-9);
    EXPECT_DOUBLE_EQ(bars[2].rect.bottom(), Y(apart, 0));
    EXPECT_DOUBLE_EQ(bars[2].rect.top(), Y(apart, 1));
    // Every bar stays inside its own date's slot.
    for (int day = 0; day < 2; ++day)
        for (const ChartBar& bar : apart.bars[day]) {
            EXPECT_GE(bar.rect.left(), kPlot.left() + apart.slotWidth * day);
            EXPECT_LE(bar.rect.right(), kPlot.left() + apart.slotWidth * (day + 1));
        }
}

TEST(AmountChartTest, AxesHaveRoundStepsAndCoverTheValuesAndZero)
{
    struct Case {
        double low;
        double high;
        int intervals;
    };
    for (const Case& c : {Case{-3.2, 17.9, 5}, Case{-500, -20, 4}, Case{0, 0, 6}, Case{0, 123456, 8}, Case{12, 13, 1},
                          Case{-98765.4, 43210, 10}, Case{0.2, 0.4, 5}}) {
        SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
        const ChartAxis axis = NiceAxis(c.low, c.high, c.intervals);
        EXPECT_LE(axis.min, std::min(c.low, 0.0));
        EXPECT_GE(axis.max, std::max(c.high, 0.0));
        EXPECT_LT(axis.min, axis.max);
        EXPECT_GE(axis.step, 1);
        const double mantissa = axis.step / std::pow(10.0, std::floor(std::log10(axis.step) + 1e-9));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9)
            << axis.step;
        EXPECT_LE(axis.ticks.size(), c.intervals + 2);
        ASSERT_GE(axis.ticks.size(), 2);
        EXPECT_DOUBLE_EQ(axis.ticks.first(), axis.min);
        EXPECT_DOUBLE_EQ(axis.ticks.last(), axis.max);
        EXPECT_TRUE(axis.ticks.contains(0.0));
        // The axis wastes less than a step at either end.
        EXPECT_LT(std::min(c.low, 0.0) - axis.min, axis.step);
        if (c.high != c.low) {
            EXPECT_LT(axis.max - std::max(c.high, 0.0), axis.step);
        }
    }
    // Nothing but zeros: one step above the zero line.
    const ChartAxis zeros = NiceAxis(0, 0, 6);
    EXPECT_EQ(zeros.ticks, (QVector<double>{0, 1}));
    const ChartAxis negative = NiceAxis(-500, -20, 4);
    EXPECT_EQ(negative.max, 0);
    EXPECT_DOUBLE_EQ(negative.y(kPlot, negative.max), kPlot.top());
    EXPECT_DOUBLE_EQ(negative.y(kPlot, negative.min), kPlot.bottom());
}

TEST(AmountChartTest, CumulativeSeriesAddsEachDaysTotalAndCarriesOverUnknownDays)
{
    // A file without 合計 has its known parts added; a day with nothing known adds nothing.
    const AmountHistory history = History({Day("1151201", 1000, 0, 0, 1000), Day("1151202", -3000, 500, std::nullopt, std::nullopt),
                                           Day("1151203", std::nullopt, std::nullopt, std::nullopt, std::nullopt),
                                           Day("1151204", 0, 0, 0, 4000)});
    const AmountChartModel model = BuildAmountChart(history, BarLayout::Stacked, kPlot, 50, 30);
    EXPECT_EQ(model.cumulative, (QVector<double>{1, -1.5, -1.5, 2.5}));
    ASSERT_EQ(model.cumulativeLine.size(), 4);
    EXPECT_DOUBLE_EQ(model.cumulativeLine[1].y(), model.cumulativeAxis.y(kPlot, -1.5));
    EXPECT_LE(model.cumulativeAxis.min, -1.5);
    EXPECT_GE(model.cumulativeAxis.max, 2.5);
    // The 合計 line skips the day with nothing known.
    ASSERT_EQ(model.totalLine.size(), 3);
    EXPECT_DOUBLE_EQ(model.totalLine[2].x(), model.centres[3]);
    EXPECT_DOUBLE_EQ(model.totalLine[2].y(), Y(model, 4));
    EXPECT_TRUE(model.bars[2].isEmpty());
}

TEST(AmountChartTest, MarkersFollowTheListsAndDatesFindTheirSlot)
{
    QVector<AmountDay> days;
    for (int i = 0; i < 40; ++i)
        days << Day(QStringLiteral("11512%1").arg(i, 2, 10, QLatin1Char('0')), 1000 * i, 0, 0, 1000 * i);
    days[3].onBuyList = true;
    days[7].onSellList = true;
    days[9].onBuyList = days[9].onSellList = true;
    const AmountChartModel model = BuildAmountChart(History(days), BarLayout::Stacked, kPlot, 70, 30);
    ASSERT_EQ(model.markers.size(), 4);
    EXPECT_EQ(model.markers[0].day, 3);
    EXPECT_TRUE(model.markers[0].buy);
    EXPECT_EQ(model.markers[1].day, 7);
    EXPECT_FALSE(model.markers[1].buy);
    EXPECT_EQ(model.markers[2].day, 9);
    EXPECT_EQ(model.markers[3].day, 9);
    EXPECT_NE(model.markers[2].buy, model.markers[3].buy);

    for (int day : {0, 17, 39})
        EXPECT_EQ(model.dayAt(model.centres[day]), day);
    EXPECT_EQ(model.dayAt(kPlot.left() - 1), -1);
    EXPECT_EQ(model.dayAt(kPlot.right()), -1);
    // Dates under the axis: the latest always, never closer than a label's width.
    ASSERT_FALSE(model.labelledDays.isEmpty());
    EXPECT_EQ(model.labelledDays.last(), 39);
    for (int i = 1; i < model.labelledDays.size(); ++i)
        EXPECT_GE(model.centres[model.labelledDays[i]] - model.centres[model.labelledDays[i - 1]], 70);
}

TEST(AmountChartTest, ADayWithoutAmountsKeepsItsSlotAndMarkerWithAnEmptyBar)
{
    AmountDay typed = Day(QStringLiteral("1151202"), std::nullopt, std::nullopt, std::nullopt, std::nullopt);
    typed.onSellList = true;
    const AmountChartModel model = BuildAmountChart(
        History({Day(QStringLiteral("1151201"), 1000, 0, 0, 1000), typed, Day(QStringLiteral("1151203"), 1000, 0, 0, 1000)}),
        BarLayout::Stacked, kPlot, 50, 30);
    ASSERT_EQ(model.markers.size(), 1);
    EXPECT_EQ(model.markers[0].day, 1);
    EXPECT_FALSE(model.markers[0].buy);
    ASSERT_EQ(model.bars.size(), 3);
    EXPECT_TRUE(model.bars[1].isEmpty());
    EXPECT_EQ(model.cumulative, (QVector<double>{1, 1, 2}));
}

// A bar of more than one date says its span, and the title what a bar holds.
TEST(AmountChartTest, TheTitleAndABarsTextSayWhatABarHolds)
{
    AmountHistory history = History({Day(QStringLiteral("1151205"), 1000, 0, 0, 1000)});
    EXPECT_FALSE(AmountChartTitle(history).contains(QString::fromUtf8("一根")));
    history.period = BarPeriod::Week;
    EXPECT_TRUE(AmountChartTitle(history).contains(QString::fromUtf8("每週一根"))) << AmountChartTitle(history).toStdString();
    history.period = BarPeriod::Month;
    EXPECT_TRUE(AmountChartTitle(history).contains(QString::fromUtf8("每月一根")));
    history.days[0].firstDate = QStringLiteral("1151201");
    EXPECT_TRUE(AmountDayText(history.days[0], 1).startsWith(QString::fromUtf8("115/12/01～115/12/05")));
}

TEST(AmountChartTest, ARangeWithoutRowsHasNothingToDrawAndSaysSo)
{
    const AmountHistory history = History({});
    const AmountChartModel model = BuildAmountChart(history, BarLayout::SideBySide, kPlot, 50, 30);
    EXPECT_TRUE(model.bars.isEmpty());
    EXPECT_TRUE(model.markers.isEmpty());
    EXPECT_TRUE(model.labelledDays.isEmpty());
    EXPECT_EQ(model.dayAt(kPlot.center().x()), -1);
    EXPECT_LT(model.barAxis.min, model.barAxis.max);

    // The picture of an empty range carries the sentence in the chart's place.
    QImage image(400, 300, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        PaintAmountChart(painter, QRectF(0, 0, 400, 300), history, BarLayout::Stacked);
    }
    const QRect middle(100, 140, 200, 20);
    bool inked = false;
    for (int y = middle.top(); y <= middle.bottom() && !inked; ++y)
        for (int x = middle.left(); x <= middle.right() && !inked; ++x)
            inked = image.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_TRUE(inked);
}

TEST(AmountChartTest, LotsAreRoundedThousandsOfSharesWithSeparatorsAndUnknownsShowADash)
{
    EXPECT_EQ(LotsText(qint64(1234567)), "1,235");
    EXPECT_EQ(LotsText(qint64(-1500)), "-2");
    EXPECT_EQ(LotsText(qint64(499)), "0");
    EXPECT_EQ(LotsText(-25000.0), "-25,000");

    AmountDay day = Day("1151209", 12345000, std::nullopt, -345000, std::nullopt);
    day.onSellList = true;
    const QString text = AmountDayText(day, 4321.4);
    EXPECT_EQ(text, QString::fromUtf8("115/12/09　外資 12,345　投信 —　自營商 -345　合計 12,000　累計 4,321　在賣超清單"));
}

} // namespace
