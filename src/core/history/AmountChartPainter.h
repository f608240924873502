#pragma once

#include "core/history/AmountChart.h"

#include <QSize>

class QFontMetricsF;
class QPainter;

// Shown in the chart's place when the range holds no amounts.
QString NoAmountsText();

// The title over the chart: 股號, 名稱, the range and what a bar stands for
// when it is more than a day.
QString AmountChartTitle(const AmountHistory& history);

// One bar's values as a line of text, in 張: for the tooltip and the selection.
QString AmountDayText(const AmountDay& day, double cumulativeLots);

// The chart laid out in `area` for text measured with `metrics`: the plot
// leaves room for the title, the legend, both axes' labels, the list
// markers and the dates.
AmountChartModel LayoutAmountChart(const AmountHistory& history, BarLayout layout, const QRectF& area,
                                   const QFontMetricsF& metrics);

// Draws the chart, or NoAmountsText, into `area` with the painter's font;
// the same drawing serves the screen, the printer and the picture file.
// `selected` is the day shown highlighted, -1 for none.
void PaintAmountChart(QPainter& painter, const QRectF& area, const AmountHistory& history, BarLayout layout,
                      int selected = -1);

// The size of an exported picture, in pixels.
constexpr QSize kChartPictureSize(1600, 900);

// Writes the chart as a PNG of kChartPictureSize beside `path` and renames it
// over the file there; false with the reason in `error`.
bool WriteAmountChartPng(const AmountHistory& history, BarLayout layout, const QString& path, QString* error);
