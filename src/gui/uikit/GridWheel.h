#pragma once

#include <QObject>

class QAbstractItemView;

// The new top row after one wheel notch, in the grid's own terms: row 0 is the
// fixed header, `rows` counts it, `notch` is +1 (away from the user) or -1
// (towards the user). Scrolls by the largest of 3, 2, 1 that stays in range.
int WheelTopRow(int topRow, int rows, int notch);

// Scrolls a list view by those steps for a plain one-notch wheel turn and
// swallows every other wheel event.
class GridWheelFilter : public QObject {
    Q_OBJECT
public:
    // Installs itself on the view's viewport; owned by the view.
    static GridWheelFilter* install(QAbstractItemView* view);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit GridWheelFilter(QAbstractItemView* view);
    QAbstractItemView* m_view;
};
