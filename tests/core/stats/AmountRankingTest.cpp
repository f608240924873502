#include "core/stats/AmountRanking.h"
#include "core/support/TempDatabase.h"

#include <gtest/gtest.h>

namespace {

// Amounts on five trading dates; 1151205 and 1151206 are none.
class AmountRankingTest : public TempDatabase {
protected:
    AmountRankingTest()
    {
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')"));
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('0050', '元大台灣50', '', '3', '')"));
        for (const char* d : {"1151201", "1151202", "1151203", "1151204", "1151207"}) {
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '')"), {QString::fromLatin1(d)});
            amount(d, "2330", 1000, 1000);
        }
        amount("1151206", "2330", -7000, -7000);   // a day deleted by an older program: no trading date
        amount("1151203", "1101", 2000, 2000);   // none on 1151204
        amount("1151207", "1101", 1000, 1000);
        amount("1151207", "2881A", -5000, QVariant());
        amount("1151203", "0050", -1000, -1000);
        amount("1151204", "0050", -1000, -1000);
        amount("1151207", "0050", 500, 500);
        amount("1151204", "6488", 1000, 1000);   // nets to nothing
        amount("1151207", "6488", -1000, -1000);
        amount("1151207", "9910", 1234500, 1234500);
    }
    void amount(const char* date, const char* code, qint64 total, const QVariant& trust)
    {
        c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES (?, ?, 0, ?, 0, ?)"),
                  {QString::fromLatin1(date), QString::fromLatin1(code), trust, total});
    }
    QStringList lines(const char* base, int days, int top, TradeBasis basis = TradeBasis::AllThree)
    {
        last = RunAmountRanking(c, {QString::fromLatin1(base), days, basis, top});
        QStringList out;
        for (const ReportRow& r : last.lines)
            out << (r.value("段落").isEmpty() ? QStringList{r.value("股號"), r.value("名稱"), r.value("累計張數"),
                                                             r.value("買超天數"), r.value("連續天數"), r.value("本益比")}
                                                     .join('|')
                                               : r.value("段落"));
        return out;
    }
    AmountRanking last;
};

TEST_F(AmountRankingTest, SumsOverTheLastNDatesRankedEachSideWithTiesByCode)
{
    EXPECT_EQ(lines("1151207", 3, 30),
              QStringList({QString::fromUtf8("買超排行（前 3 名）"), "9910||1,235|1|1|", "1101||3|2|1|",
                           QString::fromUtf8("2330|台積電|3|3|5|15"), QString::fromUtf8("賣超排行（前 2 名）"),
                           "2881A||-5|0|1|", QString::fromUtf8("0050|元大台灣50|-2|1|0|")}));
    EXPECT_EQ(last.dates, QStringList({"1151203", "1151204", "1151207"}));
    EXPECT_EQ(last.buys, 3);
    EXPECT_EQ(last.sells, 2);

    // Two shares per side: the tie of 1101 and 2330 goes by code.
    EXPECT_EQ(lines("1151207", 3, 2).mid(1, 2), QStringList({"9910||1,235|1|1|", "1101||3|2|1|"}));
}

TEST_F(AmountRankingTest, ABaseDateWithoutAmountsAndMoreDaysThanStoredTakeWhatThereIs)
{
    EXPECT_EQ(lines("1151206", 2, 30),
              QStringList({QString::fromUtf8("買超排行（前 3 名）"), "1101||2|1|0|", QString::fromUtf8("2330|台積電|2|2|4|15"),
                           "6488||1|1|1|", QString::fromUtf8("賣超排行（前 1 名）"), QString::fromUtf8("0050|元大台灣50|-2|0|2|")}));
    EXPECT_EQ(last.dates, QStringList({"1151203", "1151204"}));
    EXPECT_EQ(last.notes, QStringList{QString::fromUtf8("基準日期 115/12/06 非交易日，改以 115/12/04 計算")});
    lines("1151207", 99, 30);
    EXPECT_EQ(last.dates.size(), 5);
    EXPECT_EQ(last.lines.at(2).value("股號"), "2330");
    EXPECT_EQ(last.lines.at(2).value("累計張數"), "5");
    EXPECT_TRUE(lines("1151130", 5, 30).isEmpty());
}

// A day typed by hand holds lists but no amounts: it is one of the N dates,
// adds nothing, ends a run, and is told; the span does not reach further back.
TEST_F(AmountRankingTest, ADayWithoutAmountsStaysInTheSpanAndIsTold)
{
    c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1151205', '')"));
    EXPECT_EQ(lines("1151207", 3, 30).mid(0, 4),
              QStringList({QString::fromUtf8("買超排行（前 3 名）"), "9910||1,235|1|1|", QString::fromUtf8("2330|台積電|2|2|1|15"),
                           "1101||1|1|1|"}));
    EXPECT_EQ(last.dates, QStringList({"1151204", "1151205", "1151207"}));
    EXPECT_EQ(last.notes, QStringList{QString::fromUtf8("其中 1 日無法人買賣資料")});

    lines("1151206", 2, 30);
    EXPECT_EQ(last.dates, QStringList({"1151204", "1151205"}));
    EXPECT_EQ(last.notes, QStringList({QString::fromUtf8("基準日期 115/12/06 非交易日，改以 115/12/05 計算"),
                                       QString::fromUtf8("其中 1 日無法人買賣資料")}));
    EXPECT_TRUE(lines("1151205", 1, 30).isEmpty());   // nothing to rank
}

TEST_F(AmountRankingTest, ABasisAFileLackedCountsForNothing)
{
    const QStringList trust = lines("1151207", 1, 30, TradeBasis::InvestmentTrust);
    EXPECT_EQ(trust.size(), 7) << trust.join('\n').toStdString();
    EXPECT_FALSE(trust.join('\n').contains("2881A"));
    EXPECT_EQ(lines("1151207", 5, 30, TradeBasis::Foreign), QStringList());
}

} // namespace
