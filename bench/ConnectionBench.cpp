// Opening a connection: ours (raw key derived once per file salt) beside the
// plain passphrase open that pays SQLCipher's key derivation every time.
#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

namespace {

const QString kPassword = QStringLiteral("kvew7315");

QString PreparedDatabase()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("Quorvex.mdb"));
        db::Connection create(db::BuildConnectionString(p, kPassword));
        return p;
    }();
    return path;
}

void BM_OpenConnection(benchmark::State& state)
{
    const QString cs = db::BuildConnectionString(PreparedDatabase(), kPassword);
    { db::Connection first(cs); }
    for (auto _ : state) {
        db::Connection c(cs);
        benchmark::DoNotOptimize(&c.session());
    }
}
BENCHMARK(BM_OpenConnection)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_OpenConnectionAndQuery(benchmark::State& state)
{
    const QString cs = db::BuildConnectionString(PreparedDatabase(), kPassword);
    for (auto _ : state) {
        db::Connection c(cs);
        benchmark::DoNotOptimize(c.query(QStringLiteral("SELECT * FROM 使用者資料 WHERE 使用者 = ?"),
                                         {QStringLiteral("admin")}));
    }
}
BENCHMARK(BM_OpenConnectionAndQuery)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The naive way: the passphrase, so SQLCipher derives the key on every open.
void BM_OpenWithPassphrase(benchmark::State& state)
{
    const QByteArray path = PreparedDatabase().toUtf8();
    const QByteArray key = kPassword.toUtf8();
    for (auto _ : state) {
        sqlite3* handle = nullptr;
        sqlite3_open_v2(path.constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_key(handle, key.constData(), key.size());
        sqlite3_exec(handle, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
        sqlite3_close_v2(handle);
    }
}
BENCHMARK(BM_OpenWithPassphrase)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
