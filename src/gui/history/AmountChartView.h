#pragma once

#include "core/history/AmountChart.h"

#include <QWidget>

// The chart of one stock's amounts, drawn by PaintAmountChart. A selected
// bar moves with Left/Right/Home/End or a click, PgUp/PgDn from one dated
// bar under the axis to the next; hovering a bar shows its values.
class AmountChartView : public QWidget {
    Q_OBJECT
public:
    explicit AmountChartView(QWidget* parent = nullptr);

    void setHistory(AmountHistory history);
    const AmountHistory& history() const { return m_history; }
    void setBarLayout(BarLayout layout);
    BarLayout barLayout() const { return m_layout; }

    // -1 when the range holds no amounts.
    int selectedDay() const { return m_selected; }
    void selectDay(int day);
    // The selected day's values, or NoAmountsText.
    QString selectionText() const;
    // The geometry as drawn at the widget's present size.
    AmountChartModel model() const;

Q_SIGNALS:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // The bars from one date written under the axis to the next.
    int pageOfBars() const;

    AmountHistory m_history;
    BarLayout m_layout = BarLayout::Stacked;
    int m_selected = -1;
};
