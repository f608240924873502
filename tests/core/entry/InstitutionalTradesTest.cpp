#include "core/entry/InstitutionalFixtures.h"
#include "core/entry/InstitutionalTrades.h"
#include "core/support/TestPlatform.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class InstitutionalTradesTest : public ::testing::Test {
protected:
    QString write(const char* name, const char* text, bool big5)
    {
        const QString content = QString::fromUtf8(text);
        QByteArray bytes = big5 ? ToBig5(content) : QByteArray("\xEF\xBB\xBF") + content.toUtf8();
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    InstitutionalDay read(const QStringList& paths)
    {
        error.clear();
        return ReadInstitutionalFiles(paths, &error);
    }
    static QStringList Codes(const QVector<RankedStock>& list)
    {
        QStringList codes;
        for (const RankedStock& s : list)
            codes << s.code + QLatin1Char(':') + QString::number(s.net);
        return codes;
    }

    QTemporaryDir dir;
    QString error;
};

TEST_F(InstitutionalTradesTest, TwseAndTpexOfOneDayRankByEachBasis)
{
    const InstitutionalDay day = read({write("twse.csv", kTwse19, true), write("tpex.csv", kTpex, false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(day.date, "1151208");
    ASSERT_EQ(day.rows.size(), 6);
    EXPECT_EQ(day.rows[1].code, "0050");
    EXPECT_EQ(day.rows[1].name, QString::fromUtf8("元大台灣50"));

    const RankedLists all = RankInstitutional(day.rows, TradeBasis::AllThree, 30);
    EXPECT_EQ(Codes(all.buys), (QStringList{"2330:4501000", "1101:300000", "5347:300000"}));
    EXPECT_EQ(Codes(all.sells), (QStringList{"6488:-4001000", "0050:-2000000"}));
    // Foreign: 外陸資 without 外資自營商, whose trade is inside the dealers'
    // total; dealers: the total, not its parts again.
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Foreign, 30).buys), (QStringList{"2330:5000000", "5347:300000"}));
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Dealers, 30).sells), (QStringList{"2330:-299000", "6488:-1000"}));
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::InvestmentTrust, 30).buys), QStringList{"1101:300000"});
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::AllThree, 1).buys), QStringList{"2330:4501000"});
}

TEST_F(InstitutionalTradesTest, TheOlderTwelveAndSixteenColumnFilesReadToo)
{
    InstitutionalDay day = read({write("old.csv", kTwse12, false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(day.date, "1000125");
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Foreign, 30).buys), QStringList{"2317:1200"});
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Dealers, 30).sells), QStringList{"2317:-200"});

    day = read({write("mid.csv", kTwse16, true)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(day.date, "1050601");
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Dealers, 30).sells), QStringList{"2454:-500"});
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::AllThree, 30).sells), QStringList{"2454:-2500"});

    day = read({write("total.csv", kTpexForeignTotal, false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Foreign, 30).buys), QStringList{"5347:300000"});
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Dealers, 30).buys), QStringList{"5347:20000"});

    // 外資及陸資 must be its two parts; a file that splits the foreign dealers
    // off without the rest has no 外資 to rank.
    QByteArray parts(kTpexForeignTotal);
    parts.replace("\"300,000\",\"20,000\",\"320,000\"", "\"300,000\",\"20,000\",\"330,000\"");
    EXPECT_TRUE(read({write("parts.csv", parts.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("5347"))) << error.toStdString();
    QByteArray withoutRest(kTpexForeignTotal);
    withoutRest.replace("外資及陸資(不含外資自營商)-買賣超股數", "外資及陸資(不含外資自營商)-買進股數");
    day = read({write("rest.csv", withoutRest.constData(), false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(day.lacking[int(TradeBasis::Foreign)], QStringList{"rest.csv"});
}

TEST_F(InstitutionalTradesTest, BadFilesSayWhatIsWrongAndYieldNothing)
{
    const QString twse = write("twse.csv", kTwse19, false);
    EXPECT_TRUE(read({twse, write("old.csv", kTwse12, false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("old.csv")) && error.contains(QStringLiteral("1000125"))) << error.toStdString();

    EXPECT_TRUE(read({write("stocks.csv", "\"股號\",\"名稱\",\"本益比\"\n\"2330\",\"台積電\",\"15\"\n", false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QString::fromUtf8("不是三大法人買賣超"))) << error.toStdString();

    const QByteArray headingOnly = QByteArray(kTwse12).left(QByteArray(kTwse12).indexOf("\"2317\""));
    EXPECT_TRUE(read({write("empty.csv", headingOnly.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QString::fromUtf8("沒有任何股票"))) << error.toStdString();

    const QByteArray undated = QByteArray(kTpex).mid(QByteArray(kTpex).indexOf('\n') + 1);
    EXPECT_TRUE(read({write("undated.csv", undated.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QString::fromUtf8("日期"))) << error.toStdString();

    QFile binary(dir.filePath("binary.csv"));
    ASSERT_TRUE(binary.open(QIODevice::WriteOnly));
    binary.write(QByteArray("\xFF\xFE\x00\xD8garbage\x00", 12));
    binary.close();
    EXPECT_TRUE(read({binary.fileName()}).rows.isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

// One stock, one entry: a code twice in one file or in both exchanges'
// files of a day has its nets added. The 淨買 layout of TPEx reads like the
// others.
TEST_F(InstitutionalTradesTest, ACodeListedTwiceIsOneStockAndEveryNetWordingReads)
{
    // A code written in small letters is the same stock, as the database's key has it.
    const char* const lowerCase = "\"資料日期:115/12/08\"\n"
                                  "\"代號\",\"名稱\",\"外資及陸資(不含外資自營商)-買賣超股數\",\"投信-買賣超股數\",\"自營商-買賣超股數\","
                                  "\"三大法人買賣超股數合計\",\n"
                                  "\"2881a\",\"富邦特\",\"1,000\",\"0\",\"0\",\"1,000\",\n";
    const InstitutionalDay day = read({write("twse.csv", kTwse19, true), write("tpex.csv", kTpexNetBuy, false),
                                       write("again.csv", kTpexNetBuy, true), write("lower.csv", lowerCase, false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(day.rows.size(), 5);
    const RankedLists all = RankInstitutional(day.rows, TradeBasis::AllThree, 30);
    EXPECT_EQ(Codes(all.buys), (QStringList{"2330:4503000", "1101:300000", "6488:8000", "2881A:1000"}));
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::InvestmentTrust, 30).buys), (QStringList{"1101:300000", "6488:10000"}));
    for (const QStringList& lacking : day.lacking)
        EXPECT_TRUE(lacking.isEmpty());
}

// TPEx's plain repeated headings read by their place in either layout;
// a plain heading of another width is not guessed at.
TEST_F(InstitutionalTradesTest, TpexPlainHeadingsReadByTheirPlace)
{
    InstitutionalDay day = read({write("twse.csv", kTwse19, true), write("tpex.csv", kTpexPlain24, false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    for (const QStringList& lacking : day.lacking)
        EXPECT_TRUE(lacking.isEmpty());
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Foreign, 30).sells), (QStringList{"6488:-4000000", "0050:-2000000"}));
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Dealers, 30).sells), (QStringList{"2330:-299000", "6488:-1000"}));
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::AllThree, 30).buys), (QStringList{"2330:4501000", "1101:300000", "5347:300000"}));

    day = read({write("old.csv", kTpexPlain16, false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Foreign, 30).sells), QStringList{"6488:-3000"});
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::InvestmentTrust, 30).buys), QStringList{"6488:1000"});
    EXPECT_EQ(Codes(RankInstitutional(day.rows, TradeBasis::Dealers, 30).sells), QStringList{"6488:-500"});

    // The parts still have to add up when read by place.
    QByteArray wrong(kTpexPlain16);
    wrong.replace("\"-500\"", "\"-600\"");
    EXPECT_TRUE(read({write("wrong.csv", wrong.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("6488"))) << error.toStdString();

    QByteArray narrower(kTpexPlain16);
    narrower.replace("\"買賣超股數\",\"買賣超股數\",", "\"買賣超股數\",");
    narrower.replace("\"1,000\",\"-500\",", "\"1,000\",");
    day = read({write("narrower.csv", narrower.constData(), false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(day.lacking[int(TradeBasis::Foreign)], QStringList{"narrower.csv"});
}

// A basis without a column is named with the files that lack it, never
// ranked as zeros; warrants are left out on request and counted.
TEST_F(InstitutionalTradesTest, AMissingBasisIsNamedAndWarrantsCanBeLeftOut)
{
    const InstitutionalDay day = read({write("twse.csv", kTwse19, false), write("total.csv", kTpexTotalOnly, false)});
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_TRUE(day.lacking[int(TradeBasis::AllThree)].isEmpty());
    EXPECT_EQ(day.lacking[int(TradeBasis::InvestmentTrust)], QStringList{"total.csv"});

    QVector<InstitutionalRow> rows = day.rows;
    rows.push_back({"030001", "權證", {9000000, 0, 0, 0}});
    rows.push_back({"70000U", "權證", {-9000000, 0, 0, 0}});
    rows.push_back({"00632R", "ETF", {-1, 0, 0, 0}});
    rows.push_back({"910861", "TDR", {2, 0, 0, 0}});
    rows.push_back({"00625K", "ETF", {-2, 0, 0, 0}});
    const RankedLists shares = RankInstitutional(rows, TradeBasis::AllThree, 30, true);
    EXPECT_EQ(shares.leftOut, 2);
    EXPECT_EQ(Codes(shares.buys).last(), "910861:2");
    EXPECT_EQ(Codes(shares.sells).mid(shares.sells.size() - 2), (QStringList{"00625K:-2", "00632R:-1"}));
    EXPECT_EQ(Codes(shares.buys).first(), "2330:4501000");
    EXPECT_EQ(Codes(shares.sells).last(), "00632R:-1");
    EXPECT_EQ(RankInstitutional(rows, TradeBasis::AllThree, 30).buys.first().code, "030001");
}

// Rows that do not add up, negative counts and junk are refused with the
// reason; a file with no heading early on is given up.
TEST_F(InstitutionalTradesTest, FilesThatDoNotAddUpOrAreJunkAreRefused)
{
    QByteArray wrongTotal(kTpex);
    wrongTotal.replace("\"-4,001,000\"", "\"-4,000,000\"");
    EXPECT_TRUE(read({write("sum.csv", wrongTotal.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("6488")) && error.contains(QString::fromUtf8("合計"))) << error.toStdString();

    QByteArray negative(kTpexNetBuy);
    negative.replace("\"台積電\",\"1,000\"", "\"台積電\",\"-1,000\"");
    EXPECT_TRUE(read({write("negative.csv", negative.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("2330"))) << error.toStdString();

    // A file cut short: a "共N筆" that counts other rows, a row cut within.
    QByteArray overCounted(kTpex);
    overCounted.replace("共2筆", "共3筆");
    EXPECT_TRUE(read({write("count.csv", overCounted.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QString::fromUtf8("共 3 筆"))) << error.toStdString();
    QByteArray cutRow(kTwse12);
    cutRow.truncate(cutRow.lastIndexOf(",\"0\""));
    EXPECT_TRUE(read({write("cut.csv", cutRow.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QStringLiteral("2317")) && error.contains(QString::fromUtf8("不完整"))) << error.toStdString();

    const QByteArray junk = QByteArray(200000, '\n') + QByteArray(kTwse19);
    EXPECT_TRUE(read({write("junk.csv", junk.constData(), false)}).rows.isEmpty());
    EXPECT_TRUE(error.contains(QString::fromUtf8("不是三大法人買賣超"))) << error.toStdString();
}

} // namespace
