// The count statistic on ten years of lists: from the button to the first
// preview page, with the other count from one grouped query, beside the old
// way of one query on its own connection per printed line. A 2,000-line
// report laid out and written as a PDF. The streak statistic beside a walk
// back one query per stock and date. The base-date statistics beside their
// floor, with and without the scratch tables every run refills. The
// institutions' N-day ranking from one grouped query beside one query per
// stock.
#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/entry/InstitutionalAmounts.h"
#include "core/stats/AmountRanking.h"
#include "core/stats/CountStatistics.h"
#include "core/stats/ListStatistics.h"
#include "core/stats/ReportPainter.h"
#include "core/stats/StreakStatistics.h"

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

const CountQuery kOneYear{true, QStringLiteral("0980101"), QStringLiteral("0981231"), false};

void CountToFirstPage(benchmark::State& state, const CountQuery& range)
{
    TenYearFolder();
    size_t lines = 0;
    for (auto _ : state) {
        QVector<ReportRow> rows;
        {
            db::Connection connection(gConnectionString);
            rows = RunCountStatistic(connection, range);
        }
        lines = rows.size();
        RenderFirstPage(Lay(std::move(rows)));
    }
    state.counters["lines"] = double(lines);
}

void BM_CountToFirstPage(benchmark::State& state)
{
    CountToFirstPage(state, kWholeRange);
}
BENCHMARK(BM_CountToFirstPage)->Unit(benchmark::kMillisecond);

void BM_CountToFirstPageYear(benchmark::State& state)
{
    CountToFirstPage(state, kOneYear);
}
BENCHMARK(BM_CountToFirstPageYear)->Unit(benchmark::kMillisecond);

// The floor of a count statistic over a range: both lists counted per code
// and joined to the master, in one statement on a fresh connection; no
// report. What a count statistic does beyond it is its own cost.
// Each list read through the index that suits the range best: over all the
// dates the code index (股號, 買賣日期), whose scan is already in group
// order; over one year the date index, which reads a tenth of the rows.
void CountFloor(benchmark::State& state, const CountQuery& range, bool byCode)
{
    TenYearFolder();
    const QString buys = byCode ? QStringLiteral("買超明細資料 INDEXED BY 買超明細資料_股號")
                                : QStringLiteral("買超明細資料 INDEXED BY 買超明細資料_買賣日期");
    const QString sells = byCode ? QStringLiteral("賣超明細資料 INDEXED BY 賣超明細資料_股號")
                                 : QStringLiteral("賣超明細資料 INDEXED BY 賣超明細資料_買賣日期");
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        const db::ResultSet rows = connection.query(QStringLiteral(
            "SELECT d.股號, s.名稱, d.n, o.n FROM "
            "(SELECT 股號, count(*) AS n FROM %1 WHERE 買賣日期 BETWEEN ?1 AND ?2 GROUP BY 股號) d "
            "LEFT JOIN (SELECT 股號, count(*) AS n FROM %2 WHERE 買賣日期 BETWEEN ?1 AND ?2 GROUP BY 股號) o "
            "ON o.股號 = d.股號 LEFT JOIN 股號資料 s ON s.股號 = d.股號").arg(buys, sells),
            {range.from, range.to});
        state.counters["lines"] = double(rows.rowCount());
    }
}

void BM_CountFloor(benchmark::State& state)
{
    CountFloor(state, kWholeRange, true);
}
BENCHMARK(BM_CountFloor)->Unit(benchmark::kMillisecond);

void BM_CountFloorYear(benchmark::State& state)
{
    CountFloor(state, kOneYear, false);
}
BENCHMARK(BM_CountFloorYear)->Unit(benchmark::kMillisecond);

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

// The transition and new-details statistics: a base date late in the data
// with the six days before it, and the same base date against every date.
BaseDateQuery Week()
{
    const BenchDataShape shape;
    const int last = BenchTradingDays(shape) - 1;
    return {BenchTradingDate(shape, last), BenchTradingDate(shape, last - 5), BenchTradingDate(shape, last - 1)};
}
const BaseDateQuery kWeek = Week();
const BaseDateQuery kEverything{kWeek.base, QString(), QStringLiteral("9999999")};

enum Statistic { SellToBuy, BuyToSell, NewSell, NewBuy };

QVector<ReportRow> Prepare(Statistic statistic, const BaseDateQuery& query)
{
    db::Connection connection(gConnectionString);
    switch (statistic) {
    case SellToBuy:
        return PrepareTransition(connection, true, query);
    case BuyToSell:
        return PrepareTransition(connection, false, query);
    case NewSell:
        return PrepareNewDetails(connection, true, query);
    default:
        return PrepareNewDetails(connection, false, query);
    }
}

ReportLayout LayoutOf(Statistic statistic)
{
    return statistic <= BuyToSell ? TransitionReportLayout(statistic == SellToBuy)
                                  : NewDetailsReportLayout(statistic == NewSell);
}

void BM_BaseDateToFirstPage(benchmark::State& state)
{
    TenYearFolder();
    const auto statistic = static_cast<Statistic>(state.range(0));
    const BaseDateQuery& query = state.range(1) ? kEverything : kWeek;
    size_t lines = 0;
    for (auto _ : state) {
        QVector<ReportRow> rows = Prepare(statistic, query);
        lines = rows.size();
        Report report(LayoutOf(statistic), std::move(rows));
        RenderFirstPage(report.paginate());
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_BaseDateToFirstPage)
    ->ArgNames({"statistic", "everything"})
    ->ArgsProduct({{SellToBuy, BuyToSell, NewSell, NewBuy}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The floor of a base-date statistic, sell to buy's shape: the base list's
// codes with their rows in the other list over the range, joined to the
// master, in one statement on a fresh connection. With scratch, in one
// transaction with the two scratch tables emptied and refilled by plain
// statements first, as every run must leave them.
void BM_BaseDateFloor(benchmark::State& state)
{
    TenYearFolder();
    const bool scratch = state.range(0);
    const BaseDateQuery& query = state.range(1) ? kEverything : kWeek;
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        db::Transaction transaction(connection);
        if (scratch) {
            connection.execute(QStringLiteral("DELETE FROM 基準日股號_tmp"));
            connection.execute(QStringLiteral("DELETE FROM 比較日股號_tmp"));
            connection.execute(QStringLiteral("INSERT INTO 基準日股號_tmp SELECT 股號 FROM 買超明細資料 WHERE 買賣日期 = ?"),
                               {query.base});
            connection.execute(
                QStringLiteral("INSERT INTO 比較日股號_tmp SELECT 股號 FROM 賣超明細資料 WHERE 買賣日期 BETWEEN ? AND ?"),
                {query.from, query.to});
        }
        const db::ResultSet lines = connection.query(
            QStringLiteral("SELECT b.股號, s.名稱, b.n, b.m FROM "
                           "(SELECT 股號, count(*) AS n, (SELECT count(*) FROM 賣超明細資料 o WHERE o.股號 = d.股號 "
                           "  AND o.買賣日期 BETWEEN ?2 AND ?3) AS m FROM 買超明細資料 d WHERE 買賣日期 = ?1 GROUP BY 股號) b "
                           "LEFT JOIN 股號資料 s ON s.股號 = b.股號 WHERE b.m > 0"),
            {query.base, query.from, query.to});
        transaction.commit();
        state.counters["lines"] = double(lines.rowCount());
    }
}
BENCHMARK(BM_BaseDateFloor)
    ->ArgNames({"scratch", "everything"})
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

// The old way for sell to buy: scratch tables filled, then per common code two
// count queries and one insert, all in the transaction.
void BM_SellToBuyPerLine(benchmark::State& state)
{
    TenYearFolder();
    const BaseDateQuery& query = state.range(0) ? kEverything : kWeek;
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        db::Transaction transaction(connection);
        for (const char* table : {"基準日股號_tmp", "比較日股號_tmp", "買超轉賣超_tmp"})
            connection.execute(QStringLiteral("DELETE FROM %1").arg(QString::fromUtf8(table)));
        connection.execute(QStringLiteral("INSERT INTO 基準日股號_tmp SELECT 股號 FROM 買超明細資料 WHERE 買賣日期 = ?"),
                           {query.base});
        connection.execute(
            QStringLiteral("INSERT INTO 比較日股號_tmp SELECT 股號 FROM 賣超明細資料 WHERE 買賣日期 BETWEEN ? AND ?"),
            {query.from, query.to});
        const db::ResultSet common = connection.query(QStringLiteral("SELECT * FROM 買超轉賣超明細表"));
        for (int r = 0; r < common.rowCount(); ++r) {
            const QString code = common.text(r, 0);
            const int range = connection.query(QStringLiteral("SELECT count(股號) FROM 賣超明細資料 WHERE 買賣日期 "
                                                              "BETWEEN ? AND ? GROUP BY 股號 HAVING 股號 = ?"),
                                               {query.from, query.to, code})
                                  .value(0, 0)
                                  .toInt();
            const int base = connection.query(QStringLiteral("SELECT count(股號) FROM 買超明細資料 WHERE 買賣日期 = ? "
                                                             "GROUP BY 股號 HAVING 股號 = ?"),
                                              {query.base, code})
                                 .value(0, 0)
                                 .toInt();
            connection.execute(QStringLiteral("INSERT INTO 買超轉賣超_tmp VALUES (?, ?, ?, ?)"),
                               {code, common.text(r, 1), base, range});
        }
        const db::ResultSet result = connection.query(
            QStringLiteral("SELECT * FROM 買超轉賣超_tmp ORDER BY 買超次數 DESC, 賣超次數 DESC, 股號"));
        transaction.commit();
        benchmark::DoNotOptimize(result.rowCount());
    }
}
BENCHMARK(BM_SellToBuyPerLine)->ArgName("everything")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// The streak statistic from the last stored date, runs of 2 days or more.
void BM_StreakToFirstPage(benchmark::State& state)
{
    TenYearFolder();
    size_t lines = 0;
    for (auto _ : state) {
        QVector<ReportRow> rows;
        QString base;
        {
            db::Connection connection(gConnectionString);
            base = LastTradingDate(connection);
            rows = RunStreakStatistic(connection, {true, base, 2});
        }
        lines = rows.size();
        Report report(StreakReportLayout(true), std::move(rows));
        SetStandardHeading(report, QString(), QString(), base);
        RenderFirstPage(report.paginate());
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_StreakToFirstPage)->Unit(benchmark::kMillisecond);

// The naive way: per stock of the base list, its dates walked back one query
// at a time until a trading date lacks it.
void BM_StreakPerStockAndDate(benchmark::State& state)
{
    TenYearFolder();
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        const db::ResultSet days =
            connection.query(QStringLiteral("SELECT 買賣日期 FROM 買賣超資料 ORDER BY 買賣日期 DESC"));
        const db::ResultSet codes = connection.query(
            QStringLiteral("SELECT DISTINCT 股號 FROM 買超明細資料 WHERE 買賣日期 = ?"), {days.text(0, 0)});
        db::Statement listed(connection,
                             QStringLiteral("SELECT count(*) FROM 買超明細資料 WHERE 股號 = ? AND 買賣日期 = ?"));
        int longest = 0;
        for (int r = 0; r < codes.rowCount(); ++r) {
            int run = 0;
            while (run < days.rowCount() && listed.query({codes.text(r, 0), days.text(run, 0)}).value(0, 0).toInt() > 0)
                ++run;
            longest = std::max(longest, run);
        }
        benchmark::DoNotOptimize(longest);
    }
}
BENCHMARK(BM_StreakPerStockAndDate)->Unit(benchmark::kMillisecond)->Iterations(3);


// Ten years of every stock's amounts (about 4.5 million rows): the ranking of
// the last N dates to its first page.
void BM_AmountRankingToFirstPage(benchmark::State& state)
{
    TenYearFolder();
    const AmountRankingQuery query{QStringLiteral("9999999"), int(state.range(0)), TradeBasis::AllThree, 30};
    size_t lines = 0;
    for (auto _ : state) {
        AmountRanking ranking;
        {
            db::Connection connection(gConnectionString);
            ranking = RunAmountRanking(connection, query);
        }
        lines = ranking.lines.size();
        Report report(AmountRankingReportLayout(), std::move(ranking.lines));
        SetStandardHeading(report, QString(), QString(), query.base);
        RenderFirstPage(report.paginate());
    }
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_AmountRankingToFirstPage)->ArgName("days")->Arg(5)->Arg(60)->Unit(benchmark::kMillisecond);

// The same sums asked stock by stock, as a loop over the master would.
void BM_AmountRankingPerStock(benchmark::State& state)
{
    TenYearFolder();
    for (auto _ : state) {
        db::Connection connection(gConnectionString);
        db::ReadTransaction reading(connection);
        const QStringList dates = AmountDatesUpTo(connection, QStringLiteral("9999999"), int(state.range(0)));
        const db::ResultSet codes = connection.query(QStringLiteral("SELECT 股號 FROM 股號資料"));
        db::Statement sum(connection, QStringLiteral("SELECT sum(合計) FROM 法人買賣超 WHERE 股號 = ? AND 買賣日期 BETWEEN ? AND ?"));
        std::vector<std::pair<qint64, QString>> totals;
        for (int r = 0; r < codes.rowCount(); ++r)
            totals.emplace_back(sum.query({codes.text(r, 0), dates.last(), dates.first()}).value(0, 0).toLongLong(),
                                codes.text(r, 0));
        std::sort(totals.begin(), totals.end());
        benchmark::DoNotOptimize(totals);
    }
}
BENCHMARK(BM_AmountRankingPerStock)->ArgName("days")->Arg(5)->Arg(60)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksWithWidgets(argc, argv);
}
