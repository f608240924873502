// Backup and compaction of ten years of lists and amounts (about 296 MB),
// each including the check of the copy, beside the raw copy they are built
// on; and the conversion of those years into an empty database.
#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/DatabaseCopy.h"
#include "core/data/Settings.h"
#include "core/system/Conversion.h"

#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_Backup(benchmark::State& state)
{
    const QString target = QDir(TenYearFolder()).filePath(QStringLiteral("backup.mdb"));
    for (auto _ : state) {
        db::Connection source(gConnectionString);
        db::CopyDatabase(source, target, gDbPassword);
    }
    QFile::remove(target);
}
BENCHMARK(BM_Backup)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Compact(benchmark::State& state)
{
    TenYearFolder();
    for (auto _ : state)
        db::CompactDatabase(gConnectionString, QStringLiteral("Tmp.mdb"));
}
BENCHMARK(BM_Compact)->Unit(benchmark::kMillisecond)->Iterations(3);

// Ten years of lists and amounts converted into an empty file; on a bench
// server (QUORVEX_BENCH_SERVER), into that server: the office's one-time move.
void BM_ConvertTenYears(benchmark::State& state)
{
    const QString old = QDir(TenYearFolder()).filePath(kDatabaseFileName);
    QTemporaryDir empty;
    const QString target = db::IsServerConnectionString(gConnectionString)
                               ? gConnectionString
                               : db::BuildConnectionString(empty.filePath(kDatabaseFileName), gDbPassword);
    { db::Connection create(target); }
    for (auto _ : state)
        ConvertOldDatabase(target, old, gDbPassword, [](const ConversionProgress&) {});
    db::Connection check(target);
    state.counters["rows"] = check.query(QStringLiteral("SELECT count(*) FROM 法人買賣超")).value(0, 0).toDouble()
                             + check.query(QStringLiteral("SELECT count(*) FROM 買超明細資料")).value(0, 0).toDouble()
                             + check.query(QStringLiteral("SELECT count(*) FROM 賣超明細資料")).value(0, 0).toDouble();
}
BENCHMARK(BM_ConvertTenYears)->Unit(benchmark::kMillisecond)->Iterations(2);

// The same bytes copied by the file system, for scale.
void BM_PlainFileCopy(benchmark::State& state)
{
    const QString folder = TenYearFolder();
    const QString target = QDir(folder).filePath(QStringLiteral("plain.mdb"));
    for (auto _ : state) {
        QFile::remove(target);
        QFile::copy(QDir(folder).filePath(kDatabaseFileName), target);
    }
    QFile::remove(target);
}
BENCHMARK(BM_PlainFileCopy)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarks(argc, argv);
}
