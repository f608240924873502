#include "core/stats/StreakStatistics.h"
#include "core/support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

// Trading dates 3 to 7 January 2011 (1000103 ... 1000107).
class StreakStatisticsTest : public TempDatabase {
protected:
    StreakStatisticsTest()
    {
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')"));
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('1101', '台泥', '-', '5', '1.1')"));
        for (const char* d : {"1000103", "1000104", "1000105", "1000106", "1000107"})
            day(d);
        for (const char* d : {"1000103", "1000104", "1000105", "1000106", "1000107"})
            list("買超明細資料", "2330", d);
        list("買超明細資料", "2330", "1000107");   // typed twice: one date
        for (const char* d : {"1000104", "1000106", "1000107"})
            list("買超明細資料", "1101", d);     // 1000105 breaks its run
        for (const char* d : {"1000105", "1000106", "1000107"})
            list("買超明細資料", "2881a", d);    // not in the master
        list("買超明細資料", "9904", "1000107");
        list("買超明細資料", "2330", "1000110");   // no trading date
        for (const char* d : {"1000104", "1000106", "1000107"})
            list("賣超明細資料", "2330", d);
        list("賣超明細資料", "2881A", "1000104");  // before its run
    }
    void day(const char* date) { c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '')"), {QString::fromLatin1(date)}); }
    void list(const char* table, const char* code, const char* date)
    {
        c.execute(QStringLiteral("INSERT INTO %1 VALUES (1, ?, ?)").arg(QString::fromUtf8(table)),
                  {QString::fromLatin1(code), QString::fromLatin1(date)});
    }
    QStringList lines(bool netBuy, const char* base, int minDays)
    {
        QStringList out;
        for (const ReportRow& r : RunStreakStatistic(c, {netBuy, QString::fromLatin1(base), minDays}))
            out << QStringList{r.value("股號"),     r.value("名稱"),   r.value("連續天數"), r.value("起始日期"),
                               r.value("其他次數"), r.value("本益比"), r.value("殖利率"),   r.value("股價淨值比")}
                       .join(',');
        return out;
    }
};

TEST_F(StreakStatisticsTest, RunsEndAtTheBaseDateAndBreakAtAMissingDate)
{
    EXPECT_EQ(lines(true, "1000107", 2), (QStringList{QString::fromUtf8("2330,台積電,5,100/01/03,3,15,2,4"),
                                                      "2881a,,3,100/01/05,,,,", QString::fromUtf8("1101,台泥,2,100/01/06,,-,5,1.1")}));
    EXPECT_EQ(lines(true, "1000107", 3).size(), 2);
    EXPECT_TRUE(lines(true, "1000107", 6).isEmpty());
    EXPECT_EQ(lines(true, "1000106", 2), (QStringList{QString::fromUtf8("2330,台積電,4,100/01/03,2,15,2,4"),
                                                      "2881a,,2,100/01/05,,,,"}));
}

TEST_F(StreakStatisticsTest, TheSellSideCountsTheBuyDatesWithinItsRun)
{
    EXPECT_EQ(lines(false, "1000107", 2), QStringList{QString::fromUtf8("2330,台積電,2,100/01/06,2,15,2,4")});
}

TEST_F(StreakStatisticsTest, AStoredDateWithoutTheStockBreaksTheRunAndABaseThatIsNoTradingDateListsNothing)
{
    day("1000108");   // a trading date whose lists lack every stock
    day("1000111");
    list("買超明細資料", "2330", "1000111");
    list("買超明細資料", "2330", "1000110");
    EXPECT_TRUE(lines(true, "1000111", 2).isEmpty());
    EXPECT_TRUE(lines(true, "1000110", 2).isEmpty());
    EXPECT_EQ(LastTradingDate(c), "1000111");
}

// List rows of a date missing from the trading dates (as a converted file
// may hold) neither break a run nor count on the other list.
TEST_F(StreakStatisticsTest, ListRowsOfADateThatIsNoTradingDateCountForNothing)
{
    list("買超明細資料", "2330", "1000106x");
    list("賣超明細資料", "2330", "1000105x");
    list("賣超明細資料", "1101", "1000106x");
    EXPECT_EQ(lines(true, "1000107", 2), (QStringList{QString::fromUtf8("2330,台積電,5,100/01/03,3,15,2,4"),
                                                      "2881a,,3,100/01/05,,,,", QString::fromUtf8("1101,台泥,2,100/01/06,,-,5,1.1")}));
}

} // namespace
