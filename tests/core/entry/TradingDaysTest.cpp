#include "core/entry/TradingDays.h"
#include "core/support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

class TradingDaysTest : public TempDatabase {
protected:
};

TEST_F(TradingDaysTest, SavedDayLoadsBackInSequenceOrder)
{
    TradingDay day{QStringLiteral("1000125"), QStringLiteral("二"),
                   {{2, QStringLiteral("2317")}, {1, QStringLiteral(" 2330 ")}, {2.5, QStringLiteral("  ")}},
                   {{1, QStringLiteral("1101")}, {1, QStringLiteral("1101")}}};
    SaveTradingDay(c, true, QString(), day);
    const std::optional<TradingDay> loaded = LoadTradingDay(c, QStringLiteral(" 1000125 "));
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->weekday, QString::fromUtf8("二"));
    ASSERT_EQ(loaded->buys.size(), 2);
    EXPECT_EQ(loaded->buys[0].code, "2330");
    EXPECT_EQ(loaded->buys[1].code, "2317");
    EXPECT_EQ(loaded->sells.size(), 2);   // a code may repeat within a list
    EXPECT_FALSE(LoadTradingDay(c, QStringLiteral("1000126")).has_value());
}

TEST_F(TradingDaysTest, UpdatingADayThatVanishedIsAnError)
{
    TradingDay day{QStringLiteral("1000125"), QStringLiteral("二"), {}, {}};
    EXPECT_THROW(SaveTradingDay(c, false, QStringLiteral("1000125"), day), db::DbError);
}

// A day's amounts move with its date and go with it; a hand edit that keeps
// the date leaves them alone.
TEST_F(TradingDaysTest, ADaysAmountsFollowItsDateAndGoWithIt)
{
    TradingDay day{QStringLiteral("1000125"), QStringLiteral("二"), {{1, QStringLiteral("2330")}}, {}};
    SaveTradingDay(c, true, QString(), day);
    c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1000125', '2330', 1, 2, 3, 6)"));
    c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1000126', '2330', 9, 9, 9, 27)"));   // no day's
    day.buys.push_back({2, QStringLiteral("1101")});
    SaveTradingDay(c, false, QStringLiteral("1000125"), day);
    EXPECT_EQ(count(QStringLiteral("SELECT 合計 FROM 法人買賣超 WHERE 買賣日期 = '1000125'")), 6);
    day.date = QStringLiteral("1000126");
    SaveTradingDay(c, false, QStringLiteral("1000125"), day);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 法人買賣超")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT 合計 FROM 法人買賣超 WHERE 買賣日期 = '1000126'")), 6);
    DeleteTradingDay(c, QStringLiteral("1000126"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 法人買賣超")), 0);
}

TEST_F(TradingDaysTest, EveryRowWithACodeIsStoredAndDeletingNothingIsAnError)
{
    const QVector<QStringList> texts = {{"1", "2330"}, {"", "2317"}, {"3", ""}, {"4", " 9999 "}};
    const QVector<ListRow> rows = ListRowsFromTexts(texts);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_DOUBLE_EQ(rows[1].sequence, 0);
    EXPECT_EQ(rows[1].code, "2317");
    EXPECT_EQ(rows[2].code, "9999");
    EXPECT_THROW(DeleteTradingDay(c, QStringLiteral("1000301")), db::DbError);
}

} // namespace
