#include "core/stock/CsvReader.h"
#include "core/stock/StockImport.h"
#include "core/data/ConnectionString.h"
#include "core/support/JournalWriteFailure.h"
#include "core/support/TempDatabase.h"
#include "core/support/TestServer.h"
#include "core/support/TestPlatform.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QVector<ImportedStock> Stocks(const QString& csv)
{
    QString error;
    const StockFile file = StocksFromRecords(ParseCsv(csv), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return file.stocks;
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
    EXPECT_EQ(twse[0].priceEarnings, "1234.50");
    EXPECT_EQ(twse[1].priceBook, "7.12");

    const QVector<ImportedStock> tpex = Stocks(QString::fromUtf8(
        "資料日期:115/12/08\n股票代號,名稱,本益比,每股股利,股利年度,殖利率(%),股價淨值比\n"
        "6488,環球晶,20.1,10,114,3.3,2.2\n"
        "00679B,元大美債20年,,,,,\n"));
    ASSERT_EQ(Codes(tpex), (QStringList{"6488", "00679B"}));
    EXPECT_EQ(tpex[0].yield, "3.3");
    // An ETF the file gives no ratios for: the mark for none, never 0 to the screening.
    EXPECT_EQ(QStringList({tpex[1].priceEarnings, tpex[1].yield, tpex[1].priceBook}), (QStringList{"-", "-", "-"}));
}

// Ratios are stored as the screening reads them: no thousands separators,
// "-" for what is no number.
TEST(StocksFromRecords, RatiosAreNumbersOrTheMarkForNone)
{
    const QVector<ImportedStock> stocks = Stocks(QString::fromUtf8(
        "2330,台積電,\"1,234.56\",N/A,－\n"
        "1101,台泥,-12.5,,1.2.3\n"));
    ASSERT_EQ(stocks.size(), 2);
    EXPECT_EQ(QStringList({stocks[0].priceEarnings, stocks[0].yield, stocks[0].priceBook}),
              (QStringList{"1234.56", "-", "-"}));
    EXPECT_EQ(QStringList({stocks[1].priceEarnings, stocks[1].yield, stocks[1].priceBook}), (QStringList{"-12.5", "", "-"}));

    // Thousands commas only in groups of three; a fraction needs its digits.
    const QVector<ImportedStock> edges = Stocks(QString::fromUtf8(
        "2330,台積電,\"12,34\",\"1,234,567.8\",.5\n"
        "1101,台泥,+,\"1,2345\",7.\n"));
    ASSERT_EQ(edges.size(), 2);
    EXPECT_EQ(QStringList({edges[0].priceEarnings, edges[0].yield, edges[0].priceBook}), (QStringList{"-", "1234567.8", ".5"}));
    EXPECT_EQ(QStringList({edges[1].priceEarnings, edges[1].yield, edges[1].priceBook}), (QStringList{"-", "-", "-"}));
}

// The exchanges' company list (t187ap03) is read by its headings, in Big5
// as downloaded; a headed file without a code column is refused.
TEST(StocksFromRecords, TheCompanyListIsReadByItsHeadingsAndAFileWithoutCodesIsRefused)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t187ap03_L.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ToBig5(QString::fromUtf8(
        "\"出表日期\",\"公司代號\",\"公司名稱\",\"公司簡稱\",\"外國企業註冊地國\",\"產業別\"\r\n"
        "\"1151209\",\"1101\",\"臺灣水泥股份有限公司\",\"台泥\",\"－ \",\"01\"\r\n"
        "\"1151209\",\"2330\",\"台灣積體電路製造股份有限公司\",\"台積電\",\"－ \",\"24\"\r\n")));
    file.close();
    QString error;
    const StockFile list = ReadStockFile(path, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(Codes(list.stocks), (QStringList{"1101", "2330"}));
    EXPECT_EQ(list.stocks[1].name, QString::fromUtf8("台積電"));
    EXPECT_FALSE(list.stocks[0].hasRatios);

    const StockFile refused = StocksFromRecords(ParseCsv(QString::fromUtf8("出表日期,公司名稱,產業別\n1151209,台泥,01\n")), &error);
    EXPECT_TRUE(refused.stocks.isEmpty());
    EXPECT_TRUE(error.contains(QString::fromUtf8("股號欄"))) << error.toStdString();
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

// A file without ratios renames stored codes and keeps their ratios; the
// plan shown before the import tells added from overwritten codes.
TEST_F(StockImportTest, AFileWithoutRatiosKeepsTheStoredOnes)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '舊名', '15', '2', '4')"));
    const QVector<ImportedStock> stocks =
        Stocks(QString::fromUtf8("證券代號,證券名稱,產業別\n2330,台積電,24\n1101,台泥,01\n2330,台積電,24\n"));
    const ImportPlan plan = PlanImport(c, stocks);
    EXPECT_EQ(Codes(plan.added), QStringList{"1101"});
    EXPECT_EQ(Codes(plan.updated), QStringList{"2330"});
    int written = 0;
    ImportStocks(c, stocks, &written);
    EXPECT_EQ(stored("2330"), QString::fromUtf8("台積電|15"));
    EXPECT_EQ(stored("1101"), QString::fromUtf8("台泥|"));
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

// A disk that fails mid-import undoes the whole transaction: the count
// says nothing was stored, and the failure shown is the disk's.
TEST_F(StockImportTest, AFailingDiskKeepsNothingAndSaysWhy)
{
    if (UseTestServer())
        GTEST_SKIP() << "a failing journal write is the file's";
    QString csv;
    for (int i = 0; i < 3000; ++i)
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES (?, 'old', '', '', '')"), {QString::number(1000 + i)});
    for (int i = 0; i < 3000; ++i)
        csv += QStringLiteral("%1,new\n").arg(1000 + i);
    const QVector<ImportedStock> stocks = Stocks(csv);
    int written = -1;
    {
        const JournalWriteFailure failure(30);
        db::Connection other(db::BuildConnectionString(dir.filePath(QStringLiteral("Quorvex.mdb")), QStringLiteral("kvew7315")));
        try {
            ImportStocks(other, stocks, &written);
            ADD_FAILURE() << "the import went through a failing disk";
        } catch (const db::DbError& error) {
            EXPECT_FALSE(error.text().contains(QStringLiteral("no transaction"))) << error.what();
        }
    }
    EXPECT_EQ(written, 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 名稱 = 'new'")), 0);
}

} // namespace
