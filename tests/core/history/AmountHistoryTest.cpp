#include "core/history/AmountHistory.h"
#include "core/support/TempDatabase.h"
#include "core/text/RocDate.h"

#include <gtest/gtest.h>

namespace {

class AmountHistoryTest : public TempDatabase {
protected:
    void day(const QString& date) { c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {date}); }
    void amounts(const QString& date, const QString& code, const QVariant& foreign, const QVariant& trust,
                 const QVariant& dealers, const QVariant& total)
    {
        c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES (?, ?, ?, ?, ?, ?)"), {date, code, foreign, trust, dealers, total});
    }
    void listed(const char* table, const QString& code, const QString& date)
    {
        c.execute(QStringLiteral("INSERT INTO %1 VALUES (1, ?, ?)").arg(QString::fromUtf8(table)), {code, date});
    }
    static QStringList dates(const AmountHistory& history)
    {
        QStringList list;
        for (const AmountDay& d : history.days)
            list << d.date;
        return list;
    }
};

TEST_F(AmountHistoryTest, ReadsOneStocksTradingDatesInTheRangeWithTheirListsAndUnknownParts)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '', '', '')"));
    for (const char* date : {"1151201", "1151202", "1151203", "1151204"})
        day(QString::fromLatin1(date));
    amounts("1151201", "2330", 1000, 2000, 3000, 6000);
    amounts("1151202", "2330", -5000, QVariant(), 200, QVariant());
    amounts("1151202", "2317", 9, 9, 9, 27);
    amounts("1151203", "2330", 1, 1, 1, 3);
    amounts("1151204", "2330", 7, 7, 7, 21);
    // Amounts left behind by a deleted day are no trading date.
    amounts("1151205", "2330", 8, 8, 8, 24);
    listed("買超明細資料", "2330", "1151201");
    listed("賣超明細資料", "2330", "1151202");
    listed("買超明細資料", "2330", "1151202");
    listed("買超明細資料", "2317", "1151203");
    listed("買超明細資料", "2330", "1151205");

    // The code as typed in another case finds the stock as the key does.
    const AmountHistory history = LoadAmountHistory(c, QStringLiteral("2330 "), QStringLiteral("1151202"), QStringLiteral("1151205"));
    EXPECT_EQ(history.code, "2330");
    EXPECT_EQ(history.name, QString::fromUtf8("台積電"));
    EXPECT_EQ(dates(history), (QStringList{"1151202", "1151203", "1151204"}));
    const AmountDay& second = history.days.at(0);
    EXPECT_EQ(second.parts[0], -5000);
    EXPECT_FALSE(second.parts[1].has_value());
    EXPECT_EQ(second.parts[2], 200);
    EXPECT_FALSE(second.total.has_value());
    EXPECT_EQ(second.dayTotal(), -4800);
    EXPECT_TRUE(second.onBuyList);
    EXPECT_TRUE(second.onSellList);
    EXPECT_FALSE(history.days.at(1).onBuyList);   // another stock's list row
    EXPECT_EQ(history.days.at(2).total, 21);

    // An open end reaches the last date.
    EXPECT_EQ(dates(LoadAmountHistory(c, "2330", "1151203", QString())), (QStringList{"1151203", "1151204"}));
}

TEST_F(AmountHistoryTest, TheDefaultRangeIsTheLastDatesWithAmountsAndAStockWithoutAnyStillGetsIt)
{
    for (const char* date : {"1151130", "1151201", "1151202", "1151203"})
        day(QString::fromLatin1(date));
    amounts("1151130", "2330", 1, 1, 1, 3);
    amounts("1151201", "2330", 1, 1, 1, 3);
    amounts("1151202", "2317", 1, 1, 1, 3);
    // 1151203 has lists only, typed by hand: no amounts, so not in the default range.

    const AmountHistory history = LoadAmountHistory(c, "2330", QString(), QString(), 2);
    EXPECT_EQ(history.from, "1151201");
    EXPECT_EQ(history.to, "1151202");
    EXPECT_EQ(dates(history), QStringList{"1151201"});

    const AmountHistory none = LoadAmountHistory(c, "9999", QString(), QString(), 2);
    EXPECT_EQ(none.from, "1151201");
    EXPECT_TRUE(none.days.isEmpty());
    EXPECT_TRUE(none.name.isEmpty());

    c.execute(QStringLiteral("DELETE FROM 法人買賣超"));
    const AmountHistory empty = LoadAmountHistory(c, "2330", QString(), QString());
    EXPECT_TRUE(empty.from.isEmpty());
    EXPECT_TRUE(empty.days.isEmpty());
}

// A day typed by hand keeps the stock's place on its list though it has no
// amounts; a list row of a day no longer there, or of another stock, does not.
TEST_F(AmountHistoryTest, ADayOnAListWithoutAmountsKeepsItsMarker)
{
    for (const char* date : {"1151201", "1151202", "1151203"})
        day(QString::fromLatin1(date));
    amounts("1151201", "2330", 1, 1, 1, 3);
    amounts("1151203", "2330", 1, 1, 1, 3);
    listed("買超明細資料", "2330", "1151202");
    listed("賣超明細資料", "2330", "1151202");
    listed("賣超明細資料", "2317", "1151203");
    listed("賣超明細資料", "2330", "1151204");

    const AmountHistory history = LoadAmountHistory(c, "2330", "1151201", "1151204");
    ASSERT_EQ(dates(history), (QStringList{"1151201", "1151202", "1151203"}));
    const AmountDay& typed = history.days.at(1);
    EXPECT_TRUE(typed.onBuyList);
    EXPECT_TRUE(typed.onSellList);
    EXPECT_FALSE(typed.dayTotal().has_value());
    EXPECT_FALSE(typed.parts[0].has_value());
    EXPECT_FALSE(history.days.at(2).onSellList);
}

// Up to 250 dates a bar each; beyond, a bar a week (ISO weeks, across a
// year's end), beyond 1,250 a bar a month: sums of what is known, the lists
// any of its dates stood on.
TEST_F(AmountHistoryTest, LongRangesGetABarAWeekOrAMonth)
{
    const auto daily = [](int count) {
        AmountHistory h;
        QDate date(2025, 1, 1);   // a Wednesday
        for (int i = 0; i < count; date = date.addDays(1)) {
            if (date.dayOfWeek() > 5)
                continue;
            AmountDay d;
            d.date = RocDateText(date);
            d.parts[0] = 1000;
            if (i % 2 == 0)
                d.total = 3000;
            d.onSellList = i == 7;
            h.days << d;
            ++i;
        }
        return h;
    };
    EXPECT_EQ(BarsForReading(daily(kWeeklyBarsAbove)).days.size(), kWeeklyBarsAbove);
    EXPECT_EQ(BarsForReading(daily(kWeeklyBarsAbove)).period, BarPeriod::Day);

    const AmountHistory weekly = BarsForReading(daily(kWeeklyBarsAbove + 1));
    EXPECT_EQ(weekly.period, BarPeriod::Week);
    ASSERT_EQ(weekly.days.size(), 51);   // 3 dates, 49 weeks of 5, 3 dates
    EXPECT_EQ(weekly.days.at(0).firstDate, "1140101");
    EXPECT_EQ(weekly.days.at(0).date, "1140103");
    EXPECT_EQ(weekly.days.at(0).parts[0], 3000);
    EXPECT_FALSE(weekly.days.at(0).parts[1].has_value());
    EXPECT_EQ(weekly.days.at(0).total, 3000 + 1000 + 3000);   // the day without 合計 counts its parts
    EXPECT_EQ(weekly.days.at(1).firstDate, "1140106");
    EXPECT_EQ(weekly.days.at(1).date, "1140110");
    EXPECT_TRUE(weekly.days.at(1).onSellList);
    EXPECT_FALSE(weekly.days.at(2).onSellList);

    const AmountHistory monthly = BarsForReading(daily(kMonthlyBarsAbove + 1));
    EXPECT_EQ(monthly.period, BarPeriod::Month);
    EXPECT_EQ(monthly.days.at(0).firstDate, "1140101");
    EXPECT_EQ(monthly.days.at(0).date, "1140131");
    EXPECT_EQ(monthly.days.at(0).parts[0], 23000);
    EXPECT_EQ(monthly.days.at(12).firstDate, "1150101");
}

} // namespace
