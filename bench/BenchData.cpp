#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/Settings.h"
#include "core/platform/Platform.h"
#include "core/system/Conversion.h"
#include "core/text/RocDate.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {

// Weekdays from 2001-01-02 on, so ten years end around 2010.
QDate TradingDay(int index)
{
    QDate day(2001, 1, 2);
    int seen = 0;
    while (true) {
        if (day.dayOfWeek() <= 5) {
            if (seen == index)
                return day;
            ++seen;
        }
        day = day.addDays(1);
    }
}

QString StockCode(int i)
{
    // Codes 1101.. spread over the real ranges, some with a letter suffix.
    const int base = 1101 + (i * 7919) % 8800;
    return i % 37 == 0 ? QString::number(base) + QLatin1Char('A') : QString::number(base);
}

} // namespace

int BenchTradingDays(const BenchDataShape& shape)
{
    return shape.years * shape.daysPerYear;
}

QString BenchTradingDate(const BenchDataShape&, int index)
{
    return RocDateText(TradingDay(index));
}

long long GenerateBenchData(const QString& folder, const BenchDataShape& shape)
{
    std::mt19937 random(shape.seed);
    db::Connection connection(db::BuildConnectionString(folder, QStringLiteral("Quorvex.mdb"), QStringLiteral("kvew7315")));
    db::Transaction transaction(connection);

    static const char16_t* const kNameParts[] = {u"台", u"積", u"電", u"鴻", u"海", u"聯", u"發", u"科",
                                                u"華", u"亞", u"光", u"國", u"泰", u"金", u"中", u"鋼"};
    std::vector<QString> codes;
    std::vector<QString> distinct;   // the master's codes, each once
    QSet<QString> listed;
    {
        db::Statement insert(connection, QStringLiteral("INSERT OR IGNORE INTO 股號資料 VALUES (?, ?, ?, ?, ?)"));
        std::uniform_real_distribution<double> ratio(0.3, 60.0);
        for (int i = 0; i < shape.stocks; ++i) {
            const QString code = StockCode(i);
            QString name;
            for (int k = 0; k < 2 + i % 3; ++k)
                name += QString::fromUtf16(kNameParts[(i * 3 + k * 5) % 16]);
            const auto text = [&](bool dash) { return dash ? QStringLiteral("-") : QString::number(ratio(random), 'f', 2); };
            insert.execute({code, name, text(i % 11 == 0), text(i % 13 == 0), text(false)});
            codes.push_back(code);
            if (!listed.contains(code.toUpper())) {
                listed.insert(code.toUpper());
                distinct.push_back(code);
            }
        }
    }

    long long details = 0;
    db::Statement header(connection, QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, ?)"));
    db::Statement buy(connection, QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"));
    db::Statement sell(connection, QStringLiteral("INSERT INTO 賣超明細資料 VALUES (?, ?, ?)"));
    db::Statement amounts(connection, QStringLiteral("INSERT INTO 法人買賣超 VALUES (?, ?, ?, ?, ?, ?)"));
    std::normal_distribution<double> flow(0.0, 1.0);
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> listSize(shape.minCodesPerList, shape.maxCodesPerList);
    // Popular stocks come up far more often than the rest.
    std::geometric_distribution<int> pick(3.0 / shape.stocks);
    for (int d = 0; d < BenchTradingDays(shape); ++d) {
        const QDate day = TradingDay(d);
        const QString date = RocDateText(day);
        header.execute({date, WeekdayText(day)});
        // Every stock's amounts, as the exchanges' files give them: large
        // companies trade more; trusts and dealers skip most stocks most days.
        for (size_t i = 0; i < distinct.size(); ++i) {
            const double scale = 2.0e6 / double(1 + i % 200);
            const qint64 foreign = qint64(flow(random) * scale);
            const qint64 trust = percent(random) < 70 ? 0 : qint64(flow(random) * scale / 4);
            const qint64 dealers = percent(random) < 50 ? 0 : qint64(flow(random) * scale / 6);
            amounts.execute({date, distinct[i], foreign, trust, dealers, foreign + trust + dealers});
        }
        for (db::Statement* list : {&buy, &sell}) {
            const int n = listSize(random);
            for (int k = 1; k <= n; ++k) {
                const int index = std::min(pick(random), shape.stocks - 1);
                list->execute({k, codes[static_cast<size_t>((index + d * 13 + (list == &sell ? 400 : 0)) % shape.stocks)],
                               date});
                ++details;
            }
        }
    }
    transaction.commit();
    return details;
}

namespace {

// With QUORVEX_BENCH_SERVER set (a libpq connection string), the benchmarks
// run against that server, which gets the generated data through the
// program's own conversion the first time.
void UseBenchServer(const QString& folder)
{
    if (!qEnvironmentVariableIsSet("QUORVEX_BENCH_SERVER"))
        return;
    const QString server = db::BuildServerConnectionString(qEnvironmentVariable("QUORVEX_BENCH_SERVER"));
    db::Connection connection(server);
    if (connection.query(QStringLiteral("SELECT count(*) FROM 買超明細資料")).value(0, 0).toLongLong() == 0) {
        QElapsedTimer timer;
        timer.start();
        ConvertOldDatabase(server, QDir(folder).filePath(kDatabaseFileName), gDbPassword, [](const ConversionProgress&) {});
        std::fprintf(stderr, "converted into the server in %lld ms\n", static_cast<long long>(timer.elapsed()));
    }
    gConnectionString = server;
}

} // namespace

const QString& TenYearFolder()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        // Written by a process of its own: generating leaves a heap shaped by
        // half a million inserts, which no user's session has.
        QProcess generator;
        generator.setProcessChannelMode(QProcess::ForwardedChannels);
        generator.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("generate_data")),
                        {dir.path()});
        if (!generator.waitForFinished(-1) || generator.exitCode() != 0) {
            std::fprintf(stderr, "generate_data failed\n");
            std::exit(1);
        }
        return dir.path();
    }();
    InitSettings(path);
    UseBenchServer(path);
    return path;
}

int RunBenchmarks(int argc, char** argv)
{
    KeepFreedMemoryForReuse();
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

int RunBenchmarksWithWidgets(int argc, char** argv)
{
    KeepFreedMemoryForReuse();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
