// Importing a stock file of 2,000 and of 40,000 rows into a database that
// already holds 1,800 stocks: read, decoded, parsed and written.
#include "BenchData.h"

#include "app/Settings.h"
#include "data/Connection.h"
#include "stock/StockImport.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

namespace {

QString WriteStockFile(int rows)
{
    const QString path = QDir(TenYearFolder()).filePath(QStringLiteral("stocks%1.csv").arg(rows));
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
        const QVector<ImportedStock> stocks = ReadStockFile(path, &error);
        db::Connection connection(gConnectionString);
        int written = 0;
        ImportStocks(connection, stocks, &written);
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

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
