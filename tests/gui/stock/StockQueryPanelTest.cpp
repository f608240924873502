#include "StockScreenFixture.h"

#include "gui/stats/ReportOutput.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>

namespace {

class StockQueryPanelTest : public StockScreenTest {
protected:
    QTableView* grid() { return Child<QTableView>(screen, QStringLiteral("MSHFlexGrid1")); }
    QPushButton* button(const char* name) { return Child<QPushButton>(screen, QString::fromUtf8(name)); }
    QLineEdit* condition(int i) { return Child<QLineEdit>(screen, QStringLiteral("txt查詢內容_%1").arg(i)); }
    QString panel() { return screen->findChild<QStackedWidget*>()->currentWidget()->objectName(); }
    QString count() { return Child<QLabel>(screen, QStringLiteral("StatusPanel2"))->text(); }
    int currentRow() { return grid()->currentIndex().row(); }
    QStringList listed()
    {
        QStringList codes;
        for (int r = 0; r < grid()->model()->rowCount(); ++r)
            codes << grid()->model()->index(r, 0).data().toString();
        return codes;
    }
    // Opens the condition frame, lets `edit` change it, and confirms.
    void requery(const std::function<void()>& edit)
    {
        QTest::mouseClick(button("scmd查詢條件"), Qt::LeftButton);
        edit();
        QTest::mouseClick(button("scmd確定"), Qt::LeftButton);
    }
    void allRatios()
    {
        Child<QCheckBox>(screen, QStringLiteral("chk本益比"))->setChecked(false);
        condition(3)->setText(QStringLiteral("0"));
    }
};

TEST_F(StockQueryPanelTest, TheFirstQueryScreensWithTheInitialRangesAndEnterOpensTheRow)
{
    seedFour();
    open();
    keyClick(Qt::Key_F2);
    EXPECT_EQ(panel(), QString::fromUtf8("pic查詢明細表"));
    EXPECT_EQ(listed(), QStringList{"9904"});
    EXPECT_EQ(count(), "1");
    EXPECT_EQ(condition(1)->text() + "|" + condition(2)->text() + "|" + condition(3)->text() + "|" +
                  condition(4)->text(),
              "0|10|5|100");
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl查詢名稱_0"))->text(), QString::fromUtf8("股　　號:"));
    EXPECT_TRUE(grid()->hasFocus());
    EXPECT_EQ(grid()->model()->headerData(5, Qt::Horizontal).toString(), QString::fromUtf8("H股號"));
    EXPECT_TRUE(grid()->isColumnHidden(5));

    keyClick(Qt::Key_Return);
    EXPECT_EQ(panel(), QString::fromUtf8("pic基本資料"));
    EXPECT_EQ(screen->mode(), QString::fromUtf8("修改"));
    EXPECT_EQ(code(), "9904");
    EXPECT_TRUE(action("del")->isEnabled());
}

TEST_F(StockQueryPanelTest, ConditionsComeBackAsLastRunNotAsLastTyped)
{
    seedFour();
    open();
    keyClick(Qt::Key_F2);
    QTest::mouseClick(button("scmd查詢條件"), Qt::LeftButton);
    EXPECT_FALSE(button("scmd看此資料")->isEnabled());
    condition(0)->setText(QStringLiteral("23"));
    QTest::mouseClick(button("scmd取消"), Qt::LeftButton);
    EXPECT_EQ(listed(), QStringList{"9904"});   // cancelled: nothing ran
    QTest::mouseClick(button("scmd回前畫面_查詢"), Qt::LeftButton);
    press("first");   // a record operation empties every box
    keyClick(Qt::Key_F2);
    EXPECT_TRUE(condition(0)->text().isEmpty());
    EXPECT_EQ(condition(2)->text(), "10");
}

TEST_F(StockQueryPanelTest, TheRememberedRowOrTheLastRowIsSelectedAfterARequery)
{
    seedFour();
    open();
    keyClick(Qt::Key_F2);
    requery([this] { allRatios(); });
    ASSERT_EQ(listed(), (QStringList{"0050", "1101", "2330", "9904"}));
    grid()->setCurrentIndex(grid()->model()->index(2, 0));
    QTest::mouseClick(Child<QRadioButton>(screen, QStringLiteral("opt排序_2")), Qt::LeftButton);
    EXPECT_EQ(listed(), (QStringList{"9904", "1101", "0050", "2330"}));   // highest yield first, at once
    EXPECT_EQ(currentRow(), 2);
    requery([this] { condition(0)->setText(QStringLiteral("2")); });
    EXPECT_EQ(listed(), QStringList{"2330"});
    EXPECT_EQ(currentRow(), 0);
    EXPECT_TRUE(grid()->selectionModel()->isRowSelected(0, {}));
    requery([this] { condition(0)->setText(QStringLiteral("X")); });
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(count(), "0");
    EXPECT_FALSE(button("scmd看此資料")->isEnabled());
    EXPECT_FALSE(grid()->selectionModel()->hasSelection());
}

TEST_F(StockQueryPanelTest, TheRightButtonOpensTheRowItIsPressedOn)
{
    seedFour();
    open();
    keyClick(Qt::Key_F2);
    requery([this] { allRatios(); });
    const QRect row = grid()->visualRect(grid()->model()->index(1, 1));
    QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, row.center());
    EXPECT_EQ(code(), "1101");
    EXPECT_EQ(screen->mode(), QString::fromUtf8("修改"));
}

TEST_F(StockQueryPanelTest, PrintAndQueryPanelsTakeTurnsWithoutQueryingAgain)
{
    seedFour();
    open();
    keyClick(Qt::Key_F2);
    keyClick(Qt::Key_F4);
    EXPECT_EQ(panel(), QString::fromUtf8("pic列印"));
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl列印單筆"))->text(), "9904");
    QLineEdit* from = Child<QLineEdit>(screen, QStringLiteral("txt列印範圍_0"));
    QLineEdit* to = Child<QLineEdit>(screen, QStringLiteral("txt列印範圍_1"));
    EXPECT_EQ(from->text(), "9904");
    EXPECT_EQ(to->text(), QString(10, 'z'));
    QTest::mouseClick(Child<QRadioButton>(screen, QStringLiteral("sopt條件設定_1")), Qt::LeftButton);
    EXPECT_TRUE(from->isReadOnly());
    QTest::mouseClick(Child<QRadioButton>(screen, QStringLiteral("sopt條件設定_2")), Qt::LeftButton);
    EXPECT_FALSE(to->isReadOnly());

    seed({{"5555", "新股", "1", "9"}});
    QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("ssc回前畫面_列印")), Qt::LeftButton);
    EXPECT_EQ(panel(), QString::fromUtf8("pic查詢明細表"));
    EXPECT_EQ(listed(), QStringList{"9904"});
    QTest::mouseClick(button("scmd回前畫面_查詢"), Qt::LeftButton);
    EXPECT_EQ(panel(), QString::fromUtf8("pic列印"));
}

TEST_F(StockQueryPanelTest, ThePrintPanelPreviewsItsChoiceOrSaysThereIsNothing)
{
    seedFour();
    QVector<QPair<PaginatedReport, ReportDestination>> outputs;
    SetReportOutputHandler([&outputs](const PaginatedReport& report, ReportDestination destination) {
        outputs.push_back({report, destination});
        return QString();
    });
    open();
    press("first");   // 0050
    keyClick(Qt::Key_F4);
    EXPECT_TRUE(Child<QRadioButton>(screen, QStringLiteral("sopt條件設定_1"))->isChecked());
    QTest::mouseClick(Child<QRadioButton>(screen, QStringLiteral("sopt條件設定_2")), Qt::LeftButton);
    Child<QLineEdit>(screen, QStringLiteral("txt列印範圍_0"))->setText(QStringLiteral("1101"));
    QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("ssc預覽列印")), Qt::LeftButton);
    ASSERT_EQ(outputs.size(), 1);
    EXPECT_EQ(outputs[0].second, ReportDestination::Preview);
    QStringList printed;
    for (const PlacedText& t : outputs[0].first.pages.first().texts)
        if (t.box.left() < 2000 && t.text.at(0).isDigit())   // the code column
            printed << t.text;
    EXPECT_EQ(printed, (QStringList{"1101", "2330", "9904"}));

    Child<QLineEdit>(screen, QStringLiteral("txt列印範圍_0"))->setText(QStringLiteral("9999"));
    EXPECT_FALSE(Child<QPushButton>(screen, QStringLiteral("ssc列印"))->icon().isNull());
    QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("ssc列印")), Qt::LeftButton);
    EXPECT_EQ(outputs.size(), 1);
    EXPECT_EQ(messages.last().text, QString::fromUtf8("查無任何資料!"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Warning);
    SetReportOutputHandler(nullptr);
}

} // namespace
