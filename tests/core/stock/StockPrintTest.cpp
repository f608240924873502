#include "core/stats/ReportPainter.h"
#include "core/stock/StockPrint.h"
#include "core/support/TempDatabase.h"
#include "core/text/Clock.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

QStringList Texts(const ReportPage& page)
{
    QStringList texts;
    for (const PlacedText& t : page.texts)
        texts << t.text;
    return texts;
}

class StockPrintTest : public TempDatabase {
protected:
    void SetUp() override
    {
        SetFixedNow(QDateTime(QDate(2011, 1, 25), QTime(9, 0)));
        for (int i = 0; i < 60; ++i)
            c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES (?, '台積電', '15.2', '-', '')"),
                      {QString::number(2300 + i)});
    }
    void TearDown() override { ClearFixedNow(); }
    QStringList codes(const PrintSelection& selection)
    {
        QStringList out;
        for (const ReportRow& row : StockPrintRows(c, selection))
            out << row.value(QStringLiteral("股號"));
        return out;
    }
};

TEST_F(StockPrintTest, TheSelectionsTakeOneAllOrAnInclusiveRange)
{
    EXPECT_EQ(codes({PrintSelection::Single, "2330", {}, {}}), QStringList{"2330"});
    EXPECT_TRUE(codes({PrintSelection::Single, "", {}, {}}).isEmpty());
    EXPECT_EQ(codes({PrintSelection::All, {}, {}, {}}).size(), 60);
    const QStringList range = codes({PrintSelection::Range, {}, "2355", QString(10, 'z')});
    EXPECT_EQ(range, (QStringList{"2355", "2356", "2357", "2358", "2359"}));
    EXPECT_TRUE(codes({PrintSelection::Range, {}, "2340", "2330"}).isEmpty());
}

TEST_F(StockPrintTest, TheListRepeatsItsHeadingAndEndsWithTheCount)
{
    const PaginatedReport report = StockListReport(StockPrintRows(c, {PrintSelection::All, {}, {}, {}}), "Quorvex 投資");
    EXPECT_EQ(report.name, QString::fromUtf8("rpt股號資料表"));
    ASSERT_EQ(report.pages.size(), 2);
    for (const ReportPage& page : report.pages) {
        EXPECT_TRUE(Texts(page).contains(QString::fromUtf8("股號資料表")));
        EXPECT_TRUE(Texts(page).contains("Quorvex 投資"));
    }
    EXPECT_TRUE(Texts(report.pages.last()).contains("60"));
    for (const PlacedText& t : report.pages.first().texts) {
        if (t.text == "15.2") {
            EXPECT_TRUE(t.align & Qt::AlignRight);
        }
    }

    const PaginatedReport nameless = StockListReport(StockPrintRows(c, {PrintSelection::Single, "2330", {}, {}}), "");
    EXPECT_EQ(nameless.pages.size(), 1);
}

TEST_F(StockPrintTest, ThePdfHoldsTheList)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "poppler-utils not installed";
    const QString path = dir.filePath("stocks.pdf");
    QString error;
    ASSERT_TRUE(WriteReportPdf(StockListReport(StockPrintRows(c, {PrintSelection::All, {}, {}, {}}), ""), path, &error))
        << error.toStdString();
    QProcess process;
    process.start(pdftotext, {"-layout", path, "-"});
    process.waitForFinished(60000);
    const QString text = QString::fromUtf8(process.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
    EXPECT_TRUE(text.contains(QString::fromUtf8("股號資料表").normalized(QString::NormalizationForm_KC)));
    EXPECT_TRUE(text.contains("2359"));
    EXPECT_TRUE(text.contains("100/1/25")) << text.left(500).toStdString();
}

} // namespace
