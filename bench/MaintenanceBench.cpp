// Backup and compaction of ten years of lists (about 37 MB), each including
// the check of the copy, beside the raw copy they are built on.
#include "BenchData.h"

#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DatabaseCopy.h"

#include <QDir>

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
