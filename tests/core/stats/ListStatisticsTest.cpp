#include "core/stats/ListStatistics.h"
#include "core/support/TempDatabase.h"
#include "core/support/TestServer.h"

#include <gtest/gtest.h>

namespace {

class ListStatisticsTest : public TempDatabase {
protected:
    ListStatisticsTest()
    {
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')"));
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('1101', '台泥', ' 8 ', '5', '1.1')"));
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2317', '鴻海', '10', '3', '1.5')"));
    }
    void buy(const char* code, const char* date, int times = 1) { add("買超明細資料", code, date, times); }
    void sell(const char* code, const char* date, int times = 1) { add("賣超明細資料", code, date, times); }
    void add(const char* table, const char* code, const char* date, int times)
    {
        for (int i = 0; i < times; ++i)
            c.execute(QStringLiteral("INSERT INTO %1 VALUES (1, ?, ?)").arg(QString::fromUtf8(table)),
                      {QString::fromLatin1(code), QString::fromLatin1(date)});
    }
    static QStringList Lines(const QVector<ReportRow>& rows, const QStringList& columns)
    {
        QStringList out;
        for (const ReportRow& r : rows) {
            QStringList values;
            for (const QString& column : columns)
                values << r.value(column);
            out << values.join(',');
        }
        return out;
    }
    QStringList transition(bool sellToBuy, const BaseDateQuery& q)
    {
        return Lines(PrepareTransition(c, sellToBuy, q), {"股號", "名稱", "買超次數", "賣超次數"});
    }
    QStringList newDetails(bool newSell, const BaseDateQuery& q)
    {
        const QString own = newSell ? "賣超" : "買超", other = newSell ? "買超" : "賣超";
        QVector<ReportRow> rows = PrepareNewDetails(c, newSell, q);
        for (ReportRow& row : rows)
            BlankZeroOtherCounts(newSell, row);
        return Lines(rows, {"股號", own + "次數", other + "次數", "累積" + other + "次數", "本益比"});
    }
    qlonglong rows(const QString& table)
    {
        return c.query(QStringLiteral("SELECT count(*) FROM %1").arg(table)).value(0, 0).toLongLong();
    }

};

TEST_F(ListStatisticsTest, SellToBuyListsBaseStocksThatWereSoldInTheRange)
{
    buy("2330", "1000125");
    buy("1101", "1000125", 2);
    buy("2317", "1000125");   // never sold in the range
    sell("2330", "1000118", 3);
    sell("1101", "1000119");
    sell("2317", "1000110");   // before the range
    EXPECT_EQ(transition(true, {"1000125", "1000117", "1000124"}),
              (QStringList{"1101,台泥,2,1", "2330,台積電,1,3"}));
}

TEST_F(ListStatisticsTest, BuyToSellSortsByTheSellCountFirst)
{
    sell("2330", "1000125");
    sell("1101", "1000125");
    sell("2317", "1000125");
    buy("2330", "1000120", 2);
    buy("1101", "1000120", 3);
    buy("2317", "1000121", 2);
    EXPECT_EQ(transition(false, {"1000125", "1000117", "1000124"}),
              (QStringList{"1101,台泥,3,1", "2317,鴻海,2,1", "2330,台積電,2,1"}));
}

TEST_F(ListStatisticsTest, EqualCountsSortByTheOtherCountThenCode)
{
    buy("2330", "1000125");
    buy("2317", "1000125");
    buy("1101", "1000125");
    sell("2330", "1000120");
    sell("2317", "1000120", 2);
    sell("1101", "1000120");
    EXPECT_EQ(transition(true, {"1000125", "1000101", "1000124"}),
              (QStringList{"2317,鴻海,1,2", "1101,台泥,1,1", "2330,台積電,1,1"}));
}

TEST_F(ListStatisticsTest, EmptyRangeBoxesCoverEveryDateTheBaseIncluded)
{
    buy("2330", "1000125");
    sell("2330", "1000125");
    sell("2330", "0990101");
    EXPECT_EQ(transition(true, {"1000125", "", "9999999"}), QStringList{"2330,台積電,1,2"});
    EXPECT_TRUE(transition(true, {"1000126", "", "9999999"}).isEmpty());
}

TEST_F(ListStatisticsTest, OnlyTheLastDirectionsResultStays)
{
    buy("2330", "1000125");
    sell("2330", "1000120");
    sell("1101", "1000125");
    buy("1101", "1000120");
    EXPECT_EQ(transition(true, {"1000125", "1000101", "1000124"}).size(), 1);
    EXPECT_EQ(transition(false, {"1000125", "1000101", "1000124"}), QStringList{"1101,台泥,1,1"});
    EXPECT_EQ(c.query("SELECT 股號 FROM 買超轉賣超_tmp").text(0, 0), "1101");
    EXPECT_EQ(rows("買超轉賣超_tmp"), 1);
}

TEST_F(ListStatisticsTest, ACodeMissingFromTheMasterIsListedWithoutName)
{
    buy("9999", "1000125");
    sell("9999", "1000120");
    EXPECT_EQ(transition(true, {"1000125", "1000101", "1000124"}), QStringList{"9999,,1,1"});
}

TEST_F(ListStatisticsTest, NewSellLeavesOutStocksSoldOnAnotherDateOfTheRange)
{
    sell("2330", "1000125", 2);
    sell("1101", "1000125");
    sell("2317", "1000125");
    sell("2317", "1000120");   // not new
    buy("2330", "1000125");
    buy("2330", "1000119");
    EXPECT_EQ(newDetails(true, {"1000125", "1000117", "1000124"}),
              (QStringList{"2330,2,1,1,15", "1101,1,,,8"}));
}

TEST_F(ListStatisticsTest, TheBaseDateNeverCountsAsAComparisonDateButCountsInTheRange)
{
    buy("2330", "1000125");
    sell("2330", "1000125");
    sell("2330", "1000124");
    // The range includes the base date: 2330 is still new on the buy list.
    EXPECT_EQ(newDetails(false, {"1000125", "1000120", "1000125"}), QStringList{"2330,1,1,2,15"});
    // Both boxes empty: new only when never listed before.
    buy("2330", "0990101");
    EXPECT_TRUE(newDetails(false, {"1000125", "", "9999999"}).isEmpty());
}

TEST_F(ListStatisticsTest, AReversedRangeMakesEveryBaseStockNew)
{
    buy("2330", "1000125");
    buy("2330", "1000120");
    buy("1101", "1000125");
    EXPECT_EQ(newDetails(false, {"1000125", "1000124", "1000101"}).size(), 2);
}

TEST_F(ListStatisticsTest, TheOptionLeavesOutStocksListedOnceOnTheBaseDate)
{
    buy("2330", "1000125", 2);
    buy("1101", "1000125");
    EXPECT_EQ(newDetails(false, {"1000125", "1000101", "1000124", true}), QStringList{"2330,2,,,15"});
    buy("2330", "1000101");
    EXPECT_TRUE(newDetails(false, {"1000125", "1000101", "1000124", true}).isEmpty());
}

TEST_F(ListStatisticsTest, AFailedRebuildKeepsThePreviousResult)
{
    buy("2330", "1000125");
    sell("2330", "1000120");
    ASSERT_EQ(transition(true, {"1000125", "1000101", "1000124"}).size(), 1);
    c.execute(UseTestServer() ? "DROP TABLE 比較日股號_tmp CASCADE" : "DROP TABLE 比較日股號_tmp");
    buy("1101", "1000126");
    EXPECT_THROW(PrepareTransition(c, true, {"1000126", "1000101", "1000124"}), db::DbError);
    EXPECT_EQ(c.query("SELECT 股號 FROM 基準日股號_tmp").text(0, 0), "2330");
    EXPECT_EQ(rows("買超轉賣超_tmp"), 1);
}

} // namespace
