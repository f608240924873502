// 列印全部 of the entry screen on ten years of lists (about 2,500 dates and
// 500,000 list rows): read, laid out, and written as a PDF or previewed.
#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/entry/EntryPrint.h"
#include "core/stats/ReportCsv.h"
#include "core/stats/ReportPainter.h"
#include "core/stats/ReportXlsx.h"
#include "gui/stats/ReportPreview.h"

#include <QDir>

#include <benchmark/benchmark.h>

namespace {

const PrintSelection kAll{PrintSelection::All, {}, {}, {}};

void BM_EntryPrintAllLaidOut(benchmark::State& state)
{
    TenYearFolder();
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        const PaginatedReport report = EntryListReport(EntryPrintRows(connection, kAll));
        state.counters["pages"] = report.pages.size();
    }
}
BENCHMARK(BM_EntryPrintAllLaidOut)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_EntryPrintAllToPdf(benchmark::State& state)
{
    const QString target = QDir(TenYearFolder()).filePath(QStringLiteral("lists.pdf"));
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        const PaginatedReport report = EntryListReport(EntryPrintRows(connection, kAll));
        QString error;
        if (!WriteReportPdf(report, target, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["MB"] = QFileInfo(target).size() / 1e6;
    QFile::remove(target);
}
BENCHMARK(BM_EntryPrintAllToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

// The same lines exported from the preview: CSV, and Excel beside it. The
// laying out is done once; only the writing is timed.
void ExportLaidOut(benchmark::State& state, const QString& name,
                   bool (*write)(const PaginatedReport&, const QString&, QString*))
{
    const QString target = QDir(TenYearFolder()).filePath(name);
    db::Connection connection(gConnectionString);
    const PaginatedReport report = EntryListReport(EntryPrintRows(connection, kAll));
    for (auto _ : state) {
        QString error;
        if (!write(report, target, &error))
            state.SkipWithError(error.toUtf8().constData());
    }
    state.counters["MB"] = QFileInfo(target).size() / 1e6;
    QFile::remove(target);
}

void BM_EntryListToCsv(benchmark::State& state)
{
    ExportLaidOut(state, QStringLiteral("lists.csv"), WriteReportCsv);
}
BENCHMARK(BM_EntryListToCsv)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_EntryListToExcel(benchmark::State& state)
{
    ExportLaidOut(state, QStringLiteral("lists.xlsx"), WriteReportXlsx);
}
BENCHMARK(BM_EntryListToExcel)->Unit(benchmark::kMillisecond)->Iterations(2);

// The preview window open at the last page, drawn.
void BM_EntryPrintAllPreviewed(benchmark::State& state)
{
    TenYearFolder();
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        ReportPreview preview(EntryListReport(EntryPrintRows(connection, kAll)));
        preview.show();
        preview.goToPage(preview.pageCount());
        benchmark::DoNotOptimize(preview.grab());
    }
}
BENCHMARK(BM_EntryPrintAllPreviewed)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithWidgets(argc, argv);
}
