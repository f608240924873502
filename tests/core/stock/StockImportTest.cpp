#include "core/stock/CsvReader.h"
#include "core/stock/StockImport.h"
#include "core/support/TempDatabase.h"
#include "core/support/TestServer.h"

namespace {

QVector<ImportedStock> Stocks(const QString& csv)
{
    return StocksFromRecords(ParseCsv(csv));
}

QStringList Codes(const QVector<ImportedStock>& stocks)
{
    QStringList codes;
    for (const ImportedStock& s : stocks)
        codes << s.code;
    return codes;
}

TEST(StocksFromRecords, TheFirstFiveFieldsOfEveryRowWhoseCodeIsACode)
{
    const QVector<ImportedStock> stocks = Stocks(QString::fromUtf8(
        "股號,名稱,本益比,殖利率,股價淨值比\n"
        " 2330 ,台積電,15.2,2.1,4.5,extra\n"
        "2881a,富邦金特,-,5,\n"
        "=\"0050\",元大台灣50,,3.1,1.1\n"
        "\"=\"\"0056\"\"\",元大高股息,,5,1\n"
        "12345678901,名稱名稱名稱名稱名稱名稱,1,2,3\n"
        "ABC,字母,1,2,3\n"
        "9999,,1,2,3\n"
        "\n"
        "說明:資料來源\n"));
    EXPECT_EQ(Codes(stocks), (QStringList{"2330", "2881A", "0050", "0056", "1234567890", "9999"}));
    EXPECT_EQ(stocks[0].name, QString::fromUtf8("台積電"));
    EXPECT_EQ(stocks[0].priceBook, "4.5");
    EXPECT_EQ(stocks[1].priceEarnings, "-");
    EXPECT_EQ(stocks[4].name.size(), 10);
    EXPECT_TRUE(stocks[5].name.isEmpty());
}

// The exchanges' ratio files: title lines, headings in their own order,
// thousands commas kept as text, notes after the rows.
TEST(StocksFromRecords, HeadingsMapTheExchangesRatioFiles)
{
    const QVector<ImportedStock> twse = Stocks(QString::fromUtf8(
        "\"115年12月08日 個股日本益比、殖利率及股價淨值比\"\n"
        "\"證券代號\",\"證券名稱\",\"殖利率(%)\",\"股利年度\",\"本益比\",\"股價淨值比\",\"財報年/季\",\n"
        "\"1101\",\"台泥\",\"4.35\",\"114\",\"1,234.50\",\"1.02\",\"114/3\",\n"
        "\"2330\",\"台積電\",\"1.52\",\"114\",\"-\",\"7.12\",\"114/3\",\n"
        "\"備註:\"\n"));
    ASSERT_EQ(Codes(twse), (QStringList{"1101", "2330"}));
    EXPECT_EQ(twse[0].yield, "4.35");
    EXPECT_EQ(twse[0].priceEarnings, "1,234.50");
    EXPECT_EQ(twse[1].priceBook, "7.12");

    const QVector<ImportedStock> tpex = Stocks(QString::fromUtf8(
        "資料日期:115/12/08\n股票代號,名稱,本益比,每股股利,股利年度,殖利率(%),股價淨值比\n"
        "6488,環球晶,20.1,10,114,3.3,2.2\n"));
    ASSERT_EQ(Codes(tpex), QStringList{"6488"});
    EXPECT_EQ(tpex[0].yield, "3.3");
}

class StockImportTest : public TempDatabase {
protected:
    QString stored(const QString& code)
    {
        const db::ResultSet rows = c.query(QStringLiteral("SELECT * FROM 股號資料 WHERE 股號 = ?"), {code});
        return rows.isEmpty() ? QString() : rows.text(0, QStringLiteral("名稱")) + "|" + rows.text(0, QStringLiteral("本益比"));
    }
};

TEST_F(StockImportTest, StoredCodesAreOverwrittenAndTheLaterRowWins)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '舊名', '1', '1', '1')"));
    int written = 0;
    ImportStocks(c, Stocks(QStringLiteral("2330,TSMC,15,2,4\n1101,A,1,1,1\n1101,B,2,2,2\n")), &written);
    EXPECT_EQ(written, 3);
    EXPECT_EQ(stored("2330"), "TSMC|15");
    EXPECT_EQ(stored("1101"), "B|2");
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 2);
}

TEST_F(StockImportTest, ARowThatFailsKeepsTheRowsBeforeIt)
{
    c.executeScript(UseTestServer()
                        ? QStringLiteral("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN "
                                         "IF NEW.股號 = '6666' THEN RAISE EXCEPTION 'refused'; END IF; RETURN NEW; END $$; "
                                         "CREATE TRIGGER refuse BEFORE INSERT ON 股號資料 FOR EACH ROW EXECUTE FUNCTION refuse()")
                        : QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON 股號資料 WHEN NEW.股號 = '6666' "
                                         "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    int written = 0;
    EXPECT_THROW(ImportStocks(c, Stocks(QStringLiteral("1101,A\n2330,B\n6666,C\n9999,D\n")), &written), db::DbError);
    EXPECT_EQ(written, 2);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 2);
}

} // namespace
