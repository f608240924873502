#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/stats/ReportCsv.h"
#include "core/stock/CsvReader.h"
#include "core/support/TempAppFolder.h"
#include "core/text/Clock.h"

#include <QFile>
#include <QTemporaryDir>

#include <algorithm>

#include <gtest/gtest.h>

#include "core/support/TestPlatform.h"

namespace {

QStringList DetailSources(const ReportLayout& layout)
{
    QStringList sources;
    for (const ReportElement& e : layout.detail.elements)
        if (e.kind == ReportElement::Kind::Field)
            sources << e.text;
    return sources;
}

QVector<QStringList> ParsedBack(const PaginatedReport& report)
{
    QString error;
    const QString text = DecodeCsvText(ReportCsv(report), &error);
    EXPECT_TRUE(error.isEmpty()) << error.toStdString();
    return ParseCsv(text);
}

// Every layout, over several pages, with values that need quoting and cells
// left blank: the detail records are the lines as laid out.
TEST(ReportCsv, EveryLayoutParsesBackToItsLines)
{
    const QVector<ReportLayout> layouts = {CountReportLayout(true),       CountReportLayout(false),
                                           TransitionReportLayout(true),  TransitionReportLayout(false),
                                           NewDetailsReportLayout(true),  NewDetailsReportLayout(false),
                                           StockListReportLayout(),       EntryListReportLayout()};
    SetFixedNow(QDateTime(QDate(2011, 1, 25), QTime(9, 0)));
    for (const ReportLayout& layout : layouts) {
        QStringList sources = DetailSources(layout);
        for (const QString& whole : layout.wholeLineFields)
            sources.removeAll(whole);
        QVector<ReportRow> rows;
        QVector<QStringList> expected;
        for (int i = 0; i < 130; ++i) {
            ReportRow row;
            QStringList cells;
            for (int c = 0; c < sources.size(); ++c) {
                const QString value = (i + c) % 5 == 0 ? QString() : QStringLiteral("名,\"%1\"-%2").arg(i).arg(c);
                row.insert(sources.at(c), value);
                cells << value;
            }
            rows << row;
            expected << cells;
        }
        Report report(layout, rows);
        SetStandardHeading(report, QStringLiteral("1000103"), QStringLiteral("1000125"), QString());
        const PaginatedReport pages = report.paginate();
        ASSERT_GT(pages.pages.size(), 2) << layout.name.toStdString();

        const QVector<QStringList> records = ParsedBack(pages);
        ASSERT_GE(records.size(), rows.size() + 2) << layout.name.toStdString();
        EXPECT_EQ(records.first(), QStringList{pages.caption()}) << layout.name.toStdString();
        EXPECT_EQ(records.mid(records.size() - 1 - rows.size(), rows.size()), expected) << layout.name.toStdString();
        EXPECT_EQ(records.last().first(), QString::fromUtf8("合　　計：")) << layout.name.toStdString();
        // The page number belongs to the paper, not to the data.
        for (const QStringList& record : records.mid(0, records.size() - 1 - rows.size())) {
            EXPECT_FALSE(record.contains(QStringLiteral("1"))) << record.join('|').toStdString();
            EXPECT_FALSE(record.contains(QString::fromUtf8("頁　　次："))) << record.join('|').toStdString();
        }
    }
    ClearFixedNow();
}

TEST(ReportCsv, StartsWithAByteOrderMarkAndEndsLinesWithCrLf)
{
    Report report(CountReportLayout(true), {ReportRow{{"股號", "2330"}, {"名稱", "台積電"}, {"筆數", "3"}}});
    SetStandardHeading(report, QStringLiteral("1000103"), QStringLiteral("1000125"), QString());
    const PaginatedReport pages = report.paginate();
    const QByteArray bytes = ReportCsv(pages);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_FALSE(bytes.contains("\n\n"));
    EXPECT_EQ(ReportCsvFileName(pages), QString::fromUtf8("買超統計表 1000103-1000125.csv"));

    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(WriteReportCsv(pages, dir.filePath("out.csv"), &error)) << error.toStdString();
    QFile written(dir.filePath("out.csv"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), bytes);
}

// The ranking's side headings stand alone in the first column, once each,
// though print repeats a heading on the page its side goes on to; its lines
// end with their last field.
TEST(ReportCsv, GroupHeadingsStandAloneInTheFirstColumnOnce)
{
    QVector<ReportRow> rows;
    for (const char* side : {"買超排行（前 60 名）", "賣超排行（前 60 名）"}) {
        rows << ReportRow{{"段落", QString::fromUtf8(side)}, {ReportSource::kKeepWithNext, "1"}};
        for (int i = 0; i < 60; ++i)
            rows << ReportRow{{"股號", QString::number(1000 + i)}, {"累計張數", "12"}, {"股價淨值比", "1.5"}};
    }
    const PaginatedReport pages = Report(AmountRankingReportLayout(), rows).paginate();
    ASSERT_EQ(pages.pages.size(), 4);
    const auto firstLine = [](const ReportPage& page) {
        const auto detail = std::find_if(page.texts.begin(), page.texts.end(), [](const PlacedText& t) {
            return t.part == TextPart::Detail || t.part == TextPart::Repeated;
        });
        return detail == page.texts.end() ? QString() : detail->text;
    };
    EXPECT_EQ(firstLine(pages.pages.at(1)), QString::fromUtf8("買超排行（前 60 名）"));
    EXPECT_EQ(firstLine(pages.pages.at(2)), QString::fromUtf8("賣超排行（前 60 名）"));
    EXPECT_EQ(firstLine(pages.pages.at(3)), QString::fromUtf8("賣超排行（前 60 名）"));

    QVector<QStringList> headings;
    int lines = 0;
    for (const QStringList& record : ParsedBack(pages)) {
        if (record.value(0).contains(QString::fromUtf8("排行（")))
            headings << record;
        if (record.value(0).startsWith('1')) {
            ++lines;
            EXPECT_EQ(record, (QStringList{record.first(), "", "12", "", "", "", "", "1.5"}));
        }
    }
    EXPECT_EQ(headings, (QVector<QStringList>{{QString::fromUtf8("買超排行（前 60 名）")}, {QString::fromUtf8("賣超排行（前 60 名）")}}));
    EXPECT_EQ(lines, 120);
}

// Names a spreadsheet would run as formulas are written as texts; numbers
// that begin with a sign stay numbers.
TEST(ReportCsv, TextsThatLookLikeFormulasStayTexts)
{
    QVector<ReportRow> rows;
    for (const char* name : {"=1+1", "+SUM(A1)", "@cmd", "-2.5", "+1,234", "\t=x", "-"})
        rows << ReportRow{{"股號", "2330"}, {"名稱", QString::fromUtf8(name)}, {"筆數", "1"}};
    const QVector<QStringList> records = ParsedBack(Report(CountReportLayout(true), rows).paginate());
    QStringList names;
    for (const QStringList& record : records) {
        if (record.value(0) == QLatin1String("2330"))
            names << record.value(1);
    }
    EXPECT_EQ(names, (QStringList{"'=1+1", "'+SUM(A1)", "'@cmd", "-2.5", "+1,234", "'\t=x", "-"}));
}

// An export named like the database, or linked to it, must not replace it.
TEST(ReportCsv, NeverReplacesTheLiveDatabase)
{
    const TempAppFolder folder;
    { db::Connection create(gConnectionString); }
    const QString link = folder.filePath(QStringLiteral("report.csv"));
    ASSERT_TRUE(MakeHardLink(folder.databasePath(), link));
    const PaginatedReport pages = Report(CountReportLayout(true), {}).paginate();
    for (const QString& path : {folder.databasePath(), link}) {
        QString error;
        EXPECT_FALSE(WriteReportCsv(pages, path, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    db::Connection c(gConnectionString);
    EXPECT_EQ(c.query(QStringLiteral("SELECT count(*) FROM 使用者資料")).value(0, 0).toLongLong(), 1);
}

} // namespace
