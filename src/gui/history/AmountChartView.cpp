#include "gui/history/AmountChartView.h"

#include "core/history/AmountChartPainter.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

AmountChartView::AmountChartView(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    // Room for the legend on one line.
    setMinimumSize(720, 360);
    setAccessibleName(QStringLiteral("法人買賣超圖"));
}

void AmountChartView::setHistory(AmountHistory history)
{
    m_history = std::move(history);
    m_selected = -1;
    selectDay(static_cast<int>(m_history.days.size()) - 1);
    update();
}

void AmountChartView::setBarLayout(BarLayout layout)
{
    m_layout = layout;
    update();
}

void AmountChartView::selectDay(int day)
{
    const int last = static_cast<int>(m_history.days.size()) - 1;
    day = last < 0 ? -1 : std::clamp(day, 0, last);
    const bool changed = day != m_selected;
    m_selected = day;
    setAccessibleDescription(selectionText());
    update();
    if (changed)
        Q_EMIT selectionChanged();
}

QString AmountChartView::selectionText() const
{
    if (m_selected < 0)
        return NoAmountsText();
    const AmountChartModel chart = model();
    return AmountDayText(m_history.days.at(m_selected), chart.cumulative.value(m_selected));
}

AmountChartModel AmountChartView::model() const
{
    return LayoutAmountChart(m_history, m_layout, QRectF(rect()), QFontMetricsF(font(), this));
}

void AmountChartView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintAmountChart(painter, QRectF(rect()), m_history, m_layout, m_selected);
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(rect().adjusted(1, 1, -1, -1));
    }
}

void AmountChartView::keyPressEvent(QKeyEvent* event)
{
    const int last = static_cast<int>(m_history.days.size()) - 1;
    switch (event->key()) {
    case Qt::Key_Left:
        selectDay(m_selected - 1);
        break;
    case Qt::Key_Right:
        selectDay(m_selected + 1);
        break;
    case Qt::Key_PageUp:
        selectDay(m_selected - pageOfBars());
        break;
    case Qt::Key_PageDown:
        selectDay(m_selected + pageOfBars());
        break;
    case Qt::Key_Home:
        selectDay(0);
        break;
    case Qt::Key_End:
        selectDay(last);
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

int AmountChartView::pageOfBars() const
{
    const QVector<int> labelled = model().labelledDays;
    return labelled.size() >= 2 ? labelled.at(1) - labelled.at(0) : std::max(1, int(m_history.days.size()));
}

void AmountChartView::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    const int day = model().dayAt(event->position().x());
    if (day >= 0)
        selectDay(day);
}

bool AmountChartView::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const AmountChartModel chart = model();
    const int day = chart.plot.contains(help->pos()) ? chart.dayAt(help->pos().x()) : -1;
    if (day < 0) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), AmountDayText(m_history.days.at(day), chart.cumulative.value(day)), this);
    return true;
}
