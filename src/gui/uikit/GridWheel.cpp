#include "gui/uikit/GridWheel.h"

#include <QAbstractItemView>
#include <QScrollBar>
#include <QWheelEvent>

namespace {
constexpr int kNotch = 120;
}

int WheelTopRow(int topRow, int rows, int notch)
{
    for (int k = 3; k >= 1; --k) {
        if (notch < 0 && topRow + k < rows)
            return topRow + k;
        if (notch > 0 && topRow - k >= 1)
            return topRow - k;
    }
    return topRow;
}

GridWheelFilter::GridWheelFilter(QAbstractItemView* view) : QObject(view), m_view(view) {}

GridWheelFilter* GridWheelFilter::install(QAbstractItemView* view)
{
    auto* filter = new GridWheelFilter(view);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->viewport()->installEventFilter(filter);
    view->installEventFilter(filter);
    return filter;
}

bool GridWheelFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Wheel)
        return QObject::eventFilter(watched, event);
    const auto* wheel = static_cast<QWheelEvent*>(event);
    const QPoint delta = wheel->angleDelta();
    const bool plain = wheel->modifiers() == Qt::NoModifier && wheel->buttons() == Qt::NoButton
                       && delta.x() == 0 && (delta.y() == kNotch || delta.y() == -kNotch);
    if (plain && m_view->model()) {
        // The view has no header row of its own: its row r is the grid's row r + 1.
        QScrollBar* bar = m_view->verticalScrollBar();
        const int rows = m_view->model()->rowCount(m_view->rootIndex()) + 1;
        const int top = WheelTopRow(bar->value() + 1, rows, delta.y() > 0 ? 1 : -1);
        bar->setValue(top - 1);
    }
    return true;
}
