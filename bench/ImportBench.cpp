// Importing a stock file of 2,000 and of 40,000 rows into a database that
// already holds 1,800 stocks: read, decoded, parsed and written. And a day's
// institutional-trading files (TWSE 1,300 rows in Big5, TPEx 800 in UTF-8)
// read, parsed and ranked.
#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/download/DayFetch.h"
#include "core/download/ExchangeFiles.h"
#include "core/download/PoliteFetcher.h"
#include "core/entry/InstitutionalTrades.h"
#include "core/entry/TradingDays.h"
#include "core/text/RocDate.h"
#include "core/stock/StockImport.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QString WriteStockFile(int rows, const QString& folder = TenYearFolder())
{
    const QString path = QDir(folder).filePath(QStringLiteral("stocks%1.csv").arg(rows));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QString::fromUtf8("\"證券代號\",\"證券名稱\",\"殖利率(%)\",\"股利年度\",\"本益比\",\"股價淨值比\",\n").toUtf8());
    for (int i = 0; i < rows; ++i)
        file.write(QStringLiteral("\"%1\",\"名稱%2\",\"%3\",\"114\",\"%4\",\"1.%5\",\n")
                       .arg(1000 + i)
                       .arg(i % 97)
                       .arg(i % 13 + 0.25)
                       .arg(i % 40 + 0.5)
                       .arg(i % 9)
                       .toUtf8());
    return path;
}

void Import(benchmark::State& state, int rows)
{
    const QString path = WriteStockFile(rows);
    for (auto _ : state) {
        QString error;
        const StockFile stocks = ReadStockFile(path, &error);
        db::Connection connection(gConnectionString);
        int written = 0;
        ImportStocks(connection, stocks.stocks, &written);
        if (written != rows)
            state.SkipWithError("not every row was imported");
    }
}

void BM_Import2000(benchmark::State& state)
{
    Import(state, 2000);
}
BENCHMARK(BM_Import2000)->Unit(benchmark::kMillisecond);

void BM_Import40000(benchmark::State& state)
{
    Import(state, 40000);
}
BENCHMARK(BM_Import40000)->Unit(benchmark::kMillisecond)->Iterations(3);

// A file of a million rows read and checked, apart from the database: run
// alone (--benchmark_filter=MillionRows) under /usr/bin/time -v for its peak memory.
void BM_ReadStockFileMillionRows(benchmark::State& state)
{
    const QTemporaryDir dir;
    const QString path = WriteStockFile(1000000, dir.path());
    for (auto _ : state) {
        QString error;
        const StockFile stocks = ReadStockFile(path, &error);
        if (!error.isEmpty() || stocks.stocks.size() != 1000000)
            state.SkipWithError("the rows did not read");
    }
}
BENCHMARK(BM_ReadStockFileMillionRows)->Unit(benchmark::kMillisecond)->Iterations(1);

QString WriteTradesFile(const QTemporaryDir& dir, bool twse, int rows)
{
    QString text = twse ? QStringLiteral("\"115年12月08日 三大法人買賣超日報\"\n\"證券代號\",\"證券名稱\","
                                         "\"外陸資買賣超股數(不含外資自營商)\",\"外資自營商買賣超股數\",\"投信買賣超股數\","
                                         "\"自營商買賣超股數\",\"三大法人買賣超股數\",\n")
                        : QStringLiteral("\"資料日期:115/12/08\"\n\"代號\",\"名稱\",\"外資及陸資(不含外資自營商)-買賣超股數\","
                                         "\"投信-買賣超股數\",\"自營商-買賣超股數\",\"三大法人買賣超股數合計\",\n");
    const QLocale locale(QLocale::English);
    for (int i = 0; i < rows; ++i) {
        const qint64 net = (i * 7919 % 20001 - 10000) * 1000;
        text += QStringLiteral("\"%1\",\"名稱%2\",\"%3\",%4\"%5\",\"0\",\"%6\",\n")
                    .arg(twse ? 1000 + i : 3000 + i)
                    .arg(i)
                    .arg(locale.toString(net))
                    .arg(twse ? QStringLiteral("\"0\",") : QString())
                    .arg(locale.toString(net / 3))
                    .arg(locale.toString(net + net / 3));
    }
    // Each file's own end, without which a kept file is not taken.
    text += twse ? QStringLiteral("\"說明:\"\n\"備註: 股數單位為股\"\n") : QStringLiteral("\"共%1筆\"\n").arg(rows);
    QFile file(dir.filePath(twse ? QStringLiteral("twse.csv") : QStringLiteral("tpex.csv")));
    file.open(QIODevice::WriteOnly);
    file.write(twse ? QStringEncoder("Big5")(text) : text.toUtf8());
    return file.fileName();
}

void BM_ReadAndRankTradesFiles(benchmark::State& state)
{
    QTemporaryDir dir;
    const QStringList paths = {WriteTradesFile(dir, true, 1300), WriteTradesFile(dir, false, 800)};
    for (auto _ : state) {
        QString error;
        const InstitutionalDay day = ReadInstitutionalFiles(paths, &error);
        const RankedLists lists = RankInstitutional(day.rows, TradeBasis::AllThree, 30);
        if (!error.isEmpty() || day.rows.size() != 2100 || lists.buys.size() != 30)
            state.SkipWithError("the files did not read");
    }
}
BENCHMARK(BM_ReadAndRankTradesFiles)->Unit(benchmark::kMillisecond);

// A downloaded day made ready and stored, apart from the network and the
// polite wait: the two kept files read, ranked and stored with the missing
// codes, in the ten-year database (the day is taken out again afterwards).
void BM_DownloadedDayStored(benchmark::State& state)
{
    const QString folder = TenYearFolder();
    const QDate date(2026, 12, 8);
    QTemporaryDir dir;
    const QString downloads = DownloadFolder(folder);
    QDir().mkpath(QFileInfo(CachedFilePath(downloads, ExchangeFile::TwseInstitutional, date)).absolutePath());
    for (const bool twse : {true, false}) {
        const ExchangeFile file = twse ? ExchangeFile::TwseInstitutional : ExchangeFile::TpexInstitutional;
        QFile::remove(CachedFilePath(downloads, file, date));
        QFile::copy(WriteTradesFile(dir, twse, twse ? 1300 : 800), CachedFilePath(downloads, file, date));
    }
    PoliteFetcher fetcher(5000);
    // The kept files serve; a file they failed to be must never reach the real sites.
    DownloadSettings settings = ReadDownloadSettings(folder);
    settings.twse = settings.tpex = QUrl(QStringLiteral("http://127.0.0.1:9"));
    for (auto _ : state) {
        const DayFetchResult result = FetchAndStoreDay(fetcher, settings, folder, date, {TradeBasis::AllThree, 30, true, false},
                                                       [](const QString&) {});
        if (result.outcome != DayFetchResult::Stored)
            state.SkipWithError(result.message.toUtf8().constData());
    }
    db::Connection connection(gConnectionString);
    db::Transaction transaction(connection);
    DeleteTradingDay(connection, RocDateText(date));
    transaction.commit();
    QDir(downloads).removeRecursively();
}
BENCHMARK(BM_DownloadedDayStored)->Unit(benchmark::kMillisecond);

// A million rows of one file read in memory: the reader's own pace, with no
// disk and no decoding.
void BM_TradesMillionRows(benchmark::State& state)
{
    QString text = QStringLiteral("\"資料日期:115/12/08\"\n\"代號\",\"名稱\",\"外資及陸資(不含外資自營商)-買賣超股數\","
                                  "\"投信-買賣超股數\",\"自營商-買賣超股數\",\"三大法人買賣超股數合計\",\n");
    for (int i = 0; i < 1000000; ++i)
        text += QStringLiteral("\"%1\",\"名稱\",\"1,000\",\"-200\",\"0\",\"800\",\n").arg(100000 + i % 900000);
    for (auto _ : state) {
        QString error;
        const InstitutionalDay day = InstitutionalDayFromText(text, &error);
        if (!error.isEmpty() || day.rows.size() != 900000)
            state.SkipWithError("the rows did not read");
    }
}
BENCHMARK(BM_TradesMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// What a wrong file costs before it is refused: 5 MB of line breaks, of
// commas, and a million rows of junk.
void BM_TradesJunk(benchmark::State& state)
{
    const QString junk[] = {QString(5 * 1024 * 1024, u'\n'), QString(5 * 1024 * 1024, u','),
                            QStringLiteral("x,y,\"z\"\n").repeated(1000000)};
    for (auto _ : state) {
        for (const QString& text : junk) {
            QString error;
            if (!InstitutionalDayFromText(text, &error).rows.isEmpty() || error.isEmpty())
                state.SkipWithError("junk was read");
        }
    }
}
BENCHMARK(BM_TradesJunk)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
