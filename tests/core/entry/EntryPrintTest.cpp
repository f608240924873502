#include "core/entry/EntryPrint.h"
#include "core/stats/ReportPainter.h"
#include "core/support/TempDatabase.h"
#include "core/text/Clock.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

class EntryPrintTest : public TempDatabase {
protected:
    void SetUp() override { SetFixedNow(QDateTime(QDate(2011, 1, 25), QTime(9, 0))); }
    void TearDown() override { ClearFixedNow(); }
    void day(const QString& date, const QString& weekday, int buys, int sells)
    {
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, ?)"), {date, weekday});
        for (int i = 1; i <= buys; ++i)
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"), {i, QString::number(1100 + i), date});
        for (int i = 1; i <= sells; ++i)
            c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (?, ?, ?)"), {i, QString::number(2300 + i), date});
    }
};

TEST_F(EntryPrintTest, EachDateHasItsHeadingBothListsSideBySideAndItsCounts)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('1101', '台泥')"));
    day("1000124", QString::fromUtf8("一"), 2, 1);
    day("1000125", QString::fromUtf8("二"), 1, 3);
    const EntryPrintout all = EntryPrintRows(c, {PrintSelection::All, {}, {}, {}});
    EXPECT_EQ(all.dates, 2);
    EXPECT_EQ(all.firstDate, "1000124");
    ASSERT_GE(all.lines.size(), 5);
    EXPECT_EQ(all.lines[0].value("日期"), QString::fromUtf8("100/01/24（一）"));
    EXPECT_EQ(all.lines[1].value("買超股號"), "1101");
    EXPECT_EQ(all.lines[1].value("買超名稱"), QString::fromUtf8("台泥"));
    EXPECT_EQ(all.lines[1].value("賣超股號"), "2301");
    EXPECT_EQ(all.lines[2].value("買超序"), "2");
    EXPECT_TRUE(all.lines[2].value("賣超股號").isEmpty());
    EXPECT_EQ(all.lines[3].value("筆數"), QString::fromUtf8("買超 2 筆　　賣超 1 筆"));

    EXPECT_EQ(EntryPrintRows(c, {PrintSelection::Single, "1000125", {}, {}}).dates, 1);
    EXPECT_EQ(EntryPrintRows(c, {PrintSelection::Range, {}, "1000125", "zzzzzzz"}).dates, 1);
    EXPECT_TRUE(EntryPrintRows(c, {PrintSelection::Range, {}, "1001301", "1001231"}).lines.isEmpty());
    EXPECT_TRUE(EntryPrintRows(c, {PrintSelection::Single, "1000126", {}, {}}).lines.isEmpty());
}

TEST_F(EntryPrintTest, ADateHeadingNeverEndsAPage)
{
    for (int d = 1; d <= 12; ++d)
        day(QStringLiteral("10001%1").arg(d, 2, 10, QLatin1Char('0')), QString::fromUtf8("一"), 7 + d % 5, 9);
    const PaginatedReport report = EntryListReport(EntryPrintRows(c, {PrintSelection::All, {}, {}, {}}));
    ASSERT_GT(report.pages.size(), 2);
    for (const ReportPage& page : report.pages) {
        const PlacedText* lowest = nullptr;
        for (const PlacedText& t : page.texts)
            if (!lowest || t.box.top() > lowest->box.top())
                lowest = &t;
        ASSERT_NE(lowest, nullptr);
        EXPECT_FALSE(lowest->text.contains(QString::fromUtf8("（"))) << lowest->text.toStdString();
    }
    bool totalSeen = false;
    for (const PlacedText& t : report.pages.last().texts)
        totalSeen = totalSeen || t.text == "12";
    EXPECT_TRUE(totalSeen);
}

TEST_F(EntryPrintTest, ThePdfHoldsTheLists)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "poppler-utils not installed";
    day("1000125", QString::fromUtf8("二"), 3, 2);
    const QString path = dir.filePath("lists.pdf");
    QString error;
    ASSERT_TRUE(WriteReportPdf(EntryListReport(EntryPrintRows(c, {PrintSelection::All, {}, {}, {}})), path, &error));
    QProcess process;
    process.start(pdftotext, {"-layout", path, "-"});
    process.waitForFinished(60000);
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(text.contains(QString::fromUtf8("買賣超明細表").normalized(QString::NormalizationForm_KC)));
    EXPECT_TRUE(text.contains("100/01/25"));
    EXPECT_TRUE(text.contains("1103"));
    EXPECT_TRUE(text.contains("2302")) << text.left(800).toStdString();
}

} // namespace
