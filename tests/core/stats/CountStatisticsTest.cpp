#include "core/stats/CountStatistics.h"
#include "core/support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

class CountStatisticsTest : public TempDatabase {
protected:
    CountStatisticsTest()
    {
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')"));
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('1101', '台泥', '-', '5', '1.1')"));
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2317', '鴻海', '10', '3', '1.5')"));
    }
    void buy(const char* code, const char* date) { add("買超明細資料", code, date); }
    void sell(const char* code, const char* date) { add("賣超明細資料", code, date); }
    void add(const char* table, const char* code, const char* date)
    {
        c.execute(QStringLiteral("INSERT INTO %1 VALUES (1, ?, ?)").arg(QString::fromUtf8(table)),
                  {QString::fromLatin1(code), QString::fromLatin1(date)});
    }
    QStringList lines(const CountQuery& q)
    {
        QStringList out;
        for (const ReportRow& r : RunCountStatistic(c, q))
            out << QStringList{r.value("股號"), r.value("名稱"), r.value("筆數"), r.value("其他筆數")}.join(',');
        return out;
    }

};

TEST_F(CountStatisticsTest, CountsDescendingThenCodeWithTheOtherListBeside)
{
    for (const char* d : {"1000103", "1000104", "1000105"})
        buy("2330", d);
    buy("2317", "1000103");
    buy("2317", "1000104");
    buy("1101", "1000104");
    buy("1101", "1000105");
    sell("2330", "1000104");
    sell("1101", "1000103");
    sell("1101", "1000104");
    sell("1101", "0991231");   // outside the range
    EXPECT_EQ(lines({true, "1000101", "1000131", false}),
              (QStringList{"2330,台積電,3,1", "1101,台泥,2,2", "2317,鴻海,2,"}));
    EXPECT_EQ(lines({false, "1000101", "1000131", false}), (QStringList{"1101,台泥,2,2", "2330,台積電,1,3"}));
}

TEST_F(CountStatisticsTest, ACodeMissingFromTheMasterIsCountedWithoutName)
{
    buy("9999", "1000103");
    buy("9999", "1000104");
    const QVector<ReportRow> rows = RunCountStatistic(c, {true, "", "9999999", false});
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value("股號"), "9999");
    EXPECT_EQ(rows[0].value("名稱"), "");
    EXPECT_EQ(rows[0].value("本益比"), "");
    EXPECT_EQ(rows[0].value("筆數"), "2");
}

TEST_F(CountStatisticsTest, RowsAreCountedNotDistinctDates)
{
    buy("2330", "1000103");
    buy("2330", "1000103");
    EXPECT_EQ(lines({true, "1000103", "1000103", false}), QStringList{"2330,台積電,2,"});
}

TEST_F(CountStatisticsTest, TheOptionLeavesOutStocksListedOnce)
{
    buy("2330", "1000103");
    buy("2330", "1000104");
    buy("1101", "1000104");
    EXPECT_EQ(lines({true, "", "9999999", true}), QStringList{"2330,台積電,2,"});
    EXPECT_EQ(lines({true, "", "9999999", false}).size(), 2);
    EXPECT_TRUE(lines({true, "1000104", "1000104", true}).isEmpty());
}

TEST_F(CountStatisticsTest, RangesAreInclusiveAndAReversedOneIsEmpty)
{
    buy("2330", "1000103");
    buy("2330", "1000105");
    EXPECT_EQ(lines({true, "1000103", "1000105", false}), QStringList{"2330,台積電,2,"});
    EXPECT_EQ(lines({true, "1000104", "9999999", false}), QStringList{"2330,台積電,1,"});
    EXPECT_TRUE(lines({true, "1000105", "1000103", false}).isEmpty());
    EXPECT_EQ(lines({true, "", "9999999", false}), QStringList{"2330,台積電,2,"});
}

} // namespace
