#include "core/stats/Report.h"
#include "core/text/Clock.h"

#include <gtest/gtest.h>

namespace {

QVector<ReportRow> Rows(int n)
{
    QVector<ReportRow> rows;
    for (int i = 0; i < n; ++i)
        rows << ReportRow{{"股號", QString::number(1000 + i)}, {"名稱", QStringLiteral("名%1").arg(i)}, {"筆數", "5"}};
    return rows;
}

QStringList TextsOf(const ReportPage& page)
{
    QStringList texts;
    for (const PlacedText& t : page.texts)
        texts << t.text;
    return texts;
}

// The text placed in the box at `left` (twips from the margin) on the page, in page order.
QStringList Column(const ReportPage& page, int left, int margin = 1000)
{
    QStringList texts;
    for (const PlacedText& t : page.texts)
        if (qRound(t.box.left()) == margin + left)
            texts << t.text;
    return texts;
}

class ReportTest : public ::testing::Test {
protected:
    void SetUp() override { SetFixedNow(QDateTime(QDate(2011, 1, 25), QTime(10, 0))); }
    void TearDown() override { ClearFixedNow(); }
};

TEST_F(ReportTest, EveryPageRepeatsTheHeadingBlockAndCountsItsNumber)
{
    Report report(CountReportLayout(true), Rows(100));
    SetStandardHeading(report, "0991001", "1000125", QString());
    const PaginatedReport pages = report.paginate();
    ASSERT_EQ(pages.pages.size(), 3);   // 40 lines fit below the heading block
    for (int p = 0; p < pages.pages.size(); ++p) {
        const QStringList texts = TextsOf(pages.pages[p]);
        EXPECT_TRUE(texts.contains(QString::fromUtf8("買超統計表"))) << p;
        EXPECT_TRUE(texts.contains("99/10/01")) << p;
        EXPECT_TRUE(texts.contains("100/01/25")) << p;
        EXPECT_TRUE(texts.contains("100/1/25")) << p;
        EXPECT_TRUE(texts.contains(QString::fromUtf8("股票名稱"))) << p;
        EXPECT_EQ(Column(pages.pages[p], 9000).first(), QString::number(p + 1)) << p;
    }
    EXPECT_EQ(Column(pages.pages[0], 850).mid(2, 2), (QStringList{"1000", "1001"}));
    EXPECT_EQ(report.pageCounter(), 3);
    EXPECT_EQ(report.rowCounter(), 100);
}

TEST_F(ReportTest, TheTotalLineComesOnceAfterTheLastLine)
{
    Report report(CountReportLayout(false), Rows(45));
    const PaginatedReport pages = report.paginate();
    int totals = 0;
    for (const ReportPage& page : pages.pages)
        totals += static_cast<int>(TextsOf(page).count(QString::fromUtf8("合　　計：")));
    EXPECT_EQ(totals, 1);
    const QStringList last = TextsOf(pages.pages.last());
    EXPECT_TRUE(last.contains(QString::fromUtf8("合　　計：")));
    EXPECT_EQ(Column(pages.pages.last(), 2126).last(), "45");
    // The total sits below the last detail line.
    qreal lastDetail = 0, total = 0;
    for (const PlacedText& t : pages.pages.last().texts) {
        if (t.text == "1044")
            lastDetail = t.box.top();
        if (t.text == QString::fromUtf8("合　　計："))
            total = t.box.top();
    }
    EXPECT_GT(total, lastDetail);
}

TEST_F(ReportTest, ATotalThatDoesNotFitGoesToANewPageWithTheHeading)
{
    // 40 lines fill the first page exactly; the total needs a page of its own.
    Report report(CountReportLayout(true), Rows(40));
    const PaginatedReport pages = report.paginate();
    ASSERT_EQ(pages.pages.size(), 2);
    const QStringList second = TextsOf(pages.pages[1]);
    EXPECT_TRUE(second.contains(QString::fromUtf8("合　　計：")));
    EXPECT_TRUE(second.contains(QString::fromUtf8("買超統計表")));
    EXPECT_FALSE(second.contains("1000"));
    EXPECT_EQ(Column(pages.pages[1], 9000).first(), "2");
    EXPECT_EQ(Column(pages.pages[1], 2126).last(), "40");
}

TEST_F(ReportTest, EmptyResultStillPrintsHeadingAndAZeroTotal)
{
    Report report(TransitionReportLayout(true), {});
    const PaginatedReport pages = report.paginate();
    ASSERT_EQ(pages.pages.size(), 1);
    EXPECT_TRUE(TextsOf(pages.pages[0]).contains(QString::fromUtf8("賣超轉買超統計表")));
    EXPECT_EQ(Column(pages.pages[0], 2126).last(), "0");
}

TEST_F(ReportTest, OpenEndPrintsNinesAndAnEmptyStartPrintsNothing)
{
    Report report(CountReportLayout(true), Rows(1));
    SetStandardHeading(report, QString(), "9999999", QString());
    const PaginatedReport pages = report.paginate();
    EXPECT_TRUE(Column(pages.pages[0], 3543).contains("999/99/99"));
    EXPECT_TRUE(Column(pages.pages[0], 2126).filter("/").isEmpty());
}

TEST_F(ReportTest, TheDetailProcedureRunsBeforeEachLineInOrder)
{
    Report report(CountReportLayout(true), Rows(3));
    QStringList seen;
    report.setDetailFormat([&](ReportRow& row) {
        seen << row.value("股號");
        row["其他筆數"] = QStringLiteral("x%1").arg(seen.size());
    });
    const PaginatedReport pages = report.paginate();
    EXPECT_EQ(seen, (QStringList{"1000", "1001", "1002"}));
    EXPECT_EQ(Column(pages.pages[0], 4890), (QStringList{QString::fromUtf8("賣超次數"), "x1", "x2", "x3"}));
}

TEST(ReportLayouts, AllSixHaveTheirTitlesAndStayInsideThePage)
{
    const std::pair<ReportLayout, const char*> layouts[] = {
        {CountReportLayout(true), "買超統計表"},          {CountReportLayout(false), "賣超統計表"},
        {TransitionReportLayout(true), "賣超轉買超統計表"}, {TransitionReportLayout(false), "買超轉賣超統計表"},
        {NewDetailsReportLayout(true), "新增賣超明細表"},   {NewDetailsReportLayout(false), "新增買超明細表"}};
    for (const auto& [layout, title] : layouts) {
        EXPECT_EQ(layout.name, QStringLiteral("rpt") + QString::fromUtf8(title));
        bool hasTitle = false;
        for (const ReportElement& e : layout.groupHeader.elements) {
            hasTitle |= e.font == FontRole::Title && e.text == QString::fromUtf8(title);
            const int right = e.kind == ReportElement::Kind::Line ? e.width : e.left + e.width;
            EXPECT_LE(layout.marginLeft + right, kA4WidthTwips - layout.marginRight) << title;
        }
        EXPECT_TRUE(hasTitle) << title;
        EXPECT_EQ(layout.detail.height, 360);
        EXPECT_EQ(layout.groupFooter.height, 525);
    }
    EXPECT_EQ(CountReportLayout(true).groupHeader.height, 1815);
    EXPECT_EQ(NewDetailsReportLayout(false).groupHeader.height, 1935);
}

} // namespace
