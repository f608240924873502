#include "core/stock/StockScreening.h"
#include "core/support/TempDatabase.h"

namespace {

class StockScreeningTest : public TempDatabase {
protected:
    void stock(const QString& code, const QString& name, const QString& pe, const QString& yield,
               const QString& pb = QStringLiteral("1"))
    {
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES (?, ?, ?, ?, ?)"), {code, name, pe, yield, pb});
    }
    QStringList codes(const StockScreening& screening)
    {
        const GridQuery query = BuildStockQuery(screening);
        const db::ResultSet rows = c.query(query.sql, query.params);
        QStringList out;
        for (int r = 0; r < rows.rowCount(); ++r)
            out << rows.text(r, QStringLiteral("H股號"));
        return out;
    }
    static StockScreening initial()
    {
        StockScreening s;
        s.priceEarningsFrom = QStringLiteral("0");
        s.priceEarningsTo = QStringLiteral("10");
        s.yieldFrom = QStringLiteral("5");
        s.yieldTo = QStringLiteral("100");
        return s;
    }
};

TEST_F(StockScreeningTest, InitialRangesTreatDashAndEmptyRatiosAsThePartSays)
{
    stock("1101", "台泥", "8", "6");
    stock("1102", "亞泥", "", "7");     // empty P/E counts as 0
    stock("1103", "嘉泥", "-", "9");    // "-" P/E never passes the P/E range
    stock("1104", "環泥", "12", "6");   // above the P/E range
    stock("1105", "幸福", "10", "5");   // both bounds inclusive
    stock("1106", "信大", "4", "-");    // yield "-" counts as 0
    EXPECT_EQ(codes(initial()), (QStringList{"1101", "1102", "1105"}));

    StockScreening noPe = initial();
    noPe.priceEarningsOn = false;
    noPe.yieldFrom = QStringLiteral("0");
    EXPECT_EQ(codes(noPe), (QStringList{"1101", "1102", "1103", "1104", "1105", "1106"}));

    StockScreening emptyUpper = initial();
    emptyUpper.priceEarningsTo.clear();   // read as 0: only ratios equal to 0
    EXPECT_EQ(codes(emptyUpper), QStringList{"1102"});
}

TEST_F(StockScreeningTest, OrdersEndWithTheCodeAndOnlyTheYieldDescends)
{
    stock("2002", "中鋼", "9", "6", "1.5");
    stock("1301", "台塑", "3", "8", "0.9");
    stock("2330", "台積電", "3", "6", "4");
    StockScreening s = initial();
    s.order = StockScreening::ByYieldDescending;
    EXPECT_EQ(codes(s), (QStringList{"1301", "2002", "2330"}));
    s.order = StockScreening::ByPriceEarnings;
    EXPECT_EQ(codes(s), (QStringList{"1301", "2330", "2002"}));
    s.order = StockScreening::ByPriceBook;
    EXPECT_EQ(codes(s), (QStringList{"1301", "2002", "2330"}));
}

TEST_F(StockScreeningTest, ThePrefixMatchesCodeOrNameLiterally)
{
    stock("2330", "台積電", "5", "6");
    stock("1233", "23號", "5", "6");
    stock("2317", "鴻海", "5", "6");
    stock("4A%_", "O'Neil", "5", "6");
    stock("4AB", "其他", "5", "6");
    StockScreening s = initial();
    s.prefix = QStringLiteral(" 23 ");
    EXPECT_EQ(codes(s), (QStringList{"1233", "2317", "2330"}));
    s.prefix = QStringLiteral("4a%");
    EXPECT_EQ(codes(s), QStringList{"4A%_"});
    s.prefix = QStringLiteral("O'N");
    EXPECT_EQ(codes(s), QStringList{"4A%_"});
}

} // namespace
