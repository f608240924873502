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
