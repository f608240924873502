#include "gui/uikit/GridWheel.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

TEST(WheelTopRow, StepsByTheLargestOfThreeTwoOneThatFits)
{
    // 10 rows: header plus 9.
    EXPECT_EQ(WheelTopRow(1, 10, -1), 4);
    EXPECT_EQ(WheelTopRow(6, 10, -1), 9);
    EXPECT_EQ(WheelTopRow(7, 10, -1), 9);
    EXPECT_EQ(WheelTopRow(8, 10, -1), 9);
    EXPECT_EQ(WheelTopRow(9, 10, -1), 9);
    EXPECT_EQ(WheelTopRow(5, 10, 1), 2);
    EXPECT_EQ(WheelTopRow(3, 10, 1), 1);
    EXPECT_EQ(WheelTopRow(2, 10, 1), 1);
    EXPECT_EQ(WheelTopRow(1, 10, 1), 1);
    EXPECT_EQ(WheelTopRow(1, 1, -1), 1);
}

class GridWheel : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setRowCount(9);
        grid.setColumnCount(1);
        for (int r = 0; r < 9; ++r)
            grid.setItem(r, 0, new QTableWidgetItem(QString::number(r)));
        // One row high, so every row can be the top row.
        grid.resize(200, grid.horizontalHeader()->height() + grid.rowHeight(0) + 2 * grid.frameWidth());
        GridWheelFilter::install(&grid);
        grid.show();
    }

    // The grid's top row counted the way the header-row grid counts it.
    int topRow() const { return grid.verticalScrollBar()->value() + 1; }
    void setTopRow(int row) { grid.verticalScrollBar()->setValue(row - 1); }

    void wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPoint angle = {})
    {
        const QPoint at = grid.viewport()->rect().center();
        QWheelEvent event(at, grid.viewport()->mapToGlobal(at), QPoint(),
                          angle.isNull() ? QPoint(0, delta) : angle, Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &event);
    }

    QTableWidget grid;
};

TEST_F(GridWheel, NotchTowardsTheUserScrollsDownThreeOrLess)
{
    ASSERT_GE(grid.verticalScrollBar()->maximum(), 8);
    setTopRow(1);
    wheel(-120);
    EXPECT_EQ(topRow(), 4);
    setTopRow(8);
    wheel(-120);
    EXPECT_EQ(topRow(), 9);
}

TEST_F(GridWheel, NotchAwayScrollsUpButNeverAboveTheFirstRow)
{
    setTopRow(6);
    wheel(120);
    EXPECT_EQ(topRow(), 3);
    setTopRow(1);
    wheel(120);
    EXPECT_EQ(topRow(), 1);
}

TEST_F(GridWheel, AnyOtherWheelIsSwallowed)
{
    setTopRow(4);
    wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(topRow(), 4);
    wheel(-240);
    EXPECT_EQ(topRow(), 4);
    wheel(-15);
    EXPECT_EQ(topRow(), 4);
    wheel(0, Qt::NoModifier, QPoint(-120, 0));
    EXPECT_EQ(topRow(), 4);
    EXPECT_EQ(grid.horizontalScrollBar()->value(), 0);
}

} // namespace
