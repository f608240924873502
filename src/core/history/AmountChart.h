#pragma once

#include "core/entry/InstitutionalAmounts.h"
#include "core/history/AmountHistory.h"

#include <QRectF>
#include <QVector>

// Shares as the chart reads them: 張, a thousand shares.
double SharesToLots(qint64 shares);
// 張 rounded to whole ones, with thousands separators.
QString LotsText(double lots);

enum class BarLayout { Stacked, SideBySide };

// A value axis in 張 with round steps; it always takes in zero.
struct ChartAxis {
    double min = 0;
    double max = 1;
    double step = 1;
    QVector<double> ticks;   // min to max by step

    // The height in `plot` where `value` lies.
    double y(const QRectF& plot, double value) const;
};

// An axis from `low` to `high` with at most `maxIntervals` steps of 1, 2 or
// 5 times a power of ten, never under one 張.
ChartAxis NiceAxis(double low, double high, int maxIntervals);

struct ChartBar {
    int part;      // AmountPartName
    QRectF rect;   // from the zero line, or from the part stacked below it
};

struct ChartMarker {
    int day;
    bool buy;   // 買超 list, else 賣超 list
};

// Where each thing of a history goes in a plot area: pure geometry, drawn by
// PaintAmountChart and read by the window for hovering and the keys.
struct AmountChartModel {
    QRectF plot;
    ChartAxis barAxis;          // left: the day's nets and 合計
    ChartAxis cumulativeAxis;   // right: the running sum of the day's totals
    double slotWidth = 0;
    QVector<double> centres;                 // per day
    QVector<QVector<ChartBar>> bars;         // per day, unknown parts left out
    QVector<QPointF> totalLine;              // days with a known total
    QVector<double> cumulative;              // per day, in 張
    QVector<QPointF> cumulativeLine;
    QVector<ChartMarker> markers;
    QVector<int> labelledDays;               // dates written under the axis, the last always

    // The day whose slot holds x, or -1 outside the plot.
    int dayAt(double x) const;
};

// `minLabelGap`: the width a date label needs; `minTickGap`: the height
// between two value labels.
AmountChartModel BuildAmountChart(const AmountHistory& history, BarLayout layout, const QRectF& plot,
                                  double minLabelGap, double minTickGap);
