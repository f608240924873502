// The count statistic on ten years of lists: from the button to the first
// preview page, with the other count from one grouped query, beside the old
// way of one query on its own connection per printed line. And a 2,000-line
// report laid out and written as a PDF.
#include "BenchData.h"

#include "app/Settings.h"
#include "data/Connection.h"
#include "stats/CountStatistics.h"
#include "stats/ReportPainter.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const CountQuery kWholeRange{true, QString(), QStringLiteral("9999999"), false};

// What the preview shows first: page 1 drawn at screen resolution.
void RenderFirstPage(const PaginatedReport& report)
{
    QImage page(794, 1123, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    PaintReportPage(painter, report.pages.first());
}

PaginatedReport Lay(QVector<ReportRow> rows)
{
    Report report(CountReportLayout(true), std::move(rows));
    SetStandardHeading(report, QString(), QStringLiteral("9999999"), QString());
    return report.paginate();
}

void BM_CountToFirstPage(benchmark::State& state)
{
    TenYearFolder();
    size_t lines = 0;
    for (auto _ : state) {
        QVector<ReportRow> rows;
        {
            db::Connection connection(gConnectionString);
            rows = RunCountStatistic(connection, kWholeRange);
        }
        lines = rows.size();
        RenderFirstPage(Lay(std::move(rows)));
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_CountToFirstPage)->Unit(benchmark::kMillisecond);

// The old way: the main query, then per printed line a connection and a count.
void BM_CountToFirstPagePerLine(benchmark::State& state)
{
    TenYearFolder();
    for (auto _ : state) {
        QVector<ReportRow> rows;
        {
            db::Connection connection(gConnectionString);
            rows = RunCountStatistic(connection, kWholeRange);
        }
        Report report(CountReportLayout(true), rows);
        report.setDetailFormat([](ReportRow& row) {
            db::Connection connection(gConnectionString);
            const db::ResultSet count = connection.query(
                QStringLiteral("SELECT count(股號) AS 筆數 FROM 賣超明細資料 WHERE 股號 = ? AND 買賣日期 BETWEEN ? AND ?"),
                {row.value(QStringLiteral("股號")), QString(), QStringLiteral("9999999")});
            const int n = count.value(0, 0).toInt();
            row[QStringLiteral("其他筆數")] = n ? QString::number(n) : QString();
        });
        RenderFirstPage(report.paginate());
    }
}
BENCHMARK(BM_CountToFirstPagePerLine)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Report2000LinesToPdf(benchmark::State& state)
{
    QVector<ReportRow> rows;
    for (int i = 0; i < 2000; ++i)
        rows << ReportRow{{"股號", QString::number(1101 + i)}, {"名稱", QStringLiteral("台灣積體電路")},
                          {"筆數", QString::number(2000 - i)}, {"其他筆數", QString::number(i % 17)},
                          {"本益比", "15.20"}, {"殖利率", "2.10"}, {"股價淨值比", "4.50"}};
    QTemporaryDir dir;
    for (auto _ : state) {
        QString error;
        if (!WriteReportPdf(Lay(rows), dir.filePath(QStringLiteral("r.pdf")), &error))
            state.SkipWithError(error.toUtf8().constData());
    }
}
BENCHMARK(BM_Report2000LinesToPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
