#include "core/entry/EntryQuery.h"
#include "core/support/TempDatabase.h"
#include "core/text/Clock.h"

namespace {

class EntryQueryTest : public TempDatabase {
protected:
    void day(const QString& date, const QStringList& buys, const QStringList& sells)
    {
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '二')"), {date});
        for (int i = 0; i < buys.size(); ++i)
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"), {buys.size() - i, buys[i], date});
        for (int i = 0; i < sells.size(); ++i)
            c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (?, ?, ?)"), {i + 1, sells[i], date});
    }
    QStringList listed(const QString& prefix, const QString& from, const QString& to)
    {
        const GridQuery query = BuildEntryQuery(prefix, from, to);
        const db::ResultSet rows = c.query(query.sql, query.params);
        QStringList out;
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.text(r, 0) + QLatin1Char(' ') + rows.text(r, 2) + QLatin1Char(' ') + rows.text(r, 3);
        return out;
    }
};

TEST_F(EntryQueryTest, NewestDateFirstThenListThenSequence)
{
    day("1000124", {"2330"}, {});
    day("1000125", {"1101", "1233"}, {"2317"});   // 1233 has 序 1, 1101 序 2
    const QString buy = QString::fromUtf8("買超");
    const QString sell = QString::fromUtf8("賣超");
    EXPECT_EQ(listed("", "1000124", "1000125"),
              (QStringList{"1000125 " + buy + " 1233", "1000125 " + buy + " 1101", "1000125 " + sell + " 2317",
                           "1000124 " + buy + " 2330"}));
    EXPECT_EQ(listed("23", "1000124", "1000125"),
              (QStringList{"1000125 " + sell + " 2317", "1000124 " + buy + " 2330"}));
    EXPECT_EQ(listed("", "1000125", "1000125").size(), 3);
    EXPECT_TRUE(listed("", "1000126", "1000124").isEmpty());
    EXPECT_TRUE(listed("%", "1000124", "1000125").isEmpty());
    EXPECT_TRUE(listed("", "", "1000125").isEmpty());
    EXPECT_TRUE(listed("", "1000124", " ").isEmpty());
}

TEST(EntryQueryDefaults, FirstOfTheMonthSixtyDaysBackToTheEndOfThisMonth)
{
    SetFixedNow(QDateTime(QDate(2011, 1, 25), QTime(9, 0)));
    EXPECT_EQ(EntryQueryDefaultFrom(), "0991101");
    EXPECT_EQ(EntryQueryDefaultTo(), "1000131");
    ClearFixedNow();
}

} // namespace
