// Several PCs on one server at once: each client saves trading dates of its
// own and runs a statistic, over and over, for the given seconds. Afterwards
// every save a client was told had succeeded must be on the server, whole.
//
//   QUORVEX_BENCH_SERVER='host=... dbname=...' bench_server_clients [clients] [seconds]
#include "BenchData.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/Settings.h"
#include "core/entry/TradingDays.h"
#include "core/stats/CountStatistics.h"
#include "core/stats/ListStatistics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>

namespace {

constexpr int kCodesPerList = 100;

QString ClientDate(int client, int index)
{
    // Years 130 and later: never a generated date, one block per client.
    return QString::number(1300000 + client * 10000 + index).rightJustified(7, QLatin1Char('0'));
}

TradingDay Day(const QString& date)
{
    TradingDay day{date, QStringLiteral("三"), {}, {}};
    for (int i = 1; i <= kCodesPerList; ++i) {
        day.buys.push_back({double(i), QString::number(1100 + i)});
        day.sells.push_back({double(i), QString::number(3100 + i)});
    }
    return day;
}

// One client: prints "saved <date>" once a save has committed, "stat" after
// each statistic and "error <text>" for anything that failed.
int RunClient(const QString& server, int client, int seconds)
{
    QElapsedTimer timer;
    timer.start();
    for (int index = 0; timer.elapsed() < seconds * 1000LL; ++index) {
        const QString date = ClientDate(client, index);
        try {
            db::Connection connection(server);
            db::Transaction transaction(connection);
            SaveTradingDay(connection, true, date, Day(date));
            transaction.commit();
            std::printf("saved %s\n", qPrintable(date));
        } catch (const db::DbError& e) {
            std::printf("error %s\n", qPrintable(e.text().simplified()));
        }
        try {
            db::Connection connection(server);
            PrepareTransition(connection, index % 2 == 0, {QStringLiteral("0990802"), QStringLiteral("0990701"),
                                                           QStringLiteral("0990731")});
            std::printf("stat\n");
        } catch (const db::DbError& e) {
            std::printf("error %s\n", qPrintable(e.text().simplified()));
        }
        std::fflush(stdout);
    }
    return 0;
}

int RunClients(const QString& server, int clients, int seconds)
{
    QVector<QProcess*> processes;
    for (int c = 0; c < clients; ++c) {
        auto* process = new QProcess;
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--client"), QString::number(c), QString::number(seconds)});
        processes << process;
    }
    QStringList saved;
    int statistics = 0;
    QStringList errors;
    for (QProcess* process : processes) {
        process->waitForFinished(-1);
        for (const QByteArray& line : process->readAllStandardOutput().split('\n')) {
            if (line.startsWith("saved "))
                saved << QString::fromUtf8(line.mid(6));
            else if (line == "stat")
                ++statistics;
            else if (line.startsWith("error "))
                errors << QString::fromUtf8(line.mid(6));
        }
        delete process;
    }

    db::Connection check(server);
    int missing = 0;
    for (const QString& date : saved) {
        const qlonglong header = check.query(QStringLiteral("SELECT count(*) FROM 買賣超資料 WHERE 買賣日期 = ?"), {date})
                                     .value(0, 0)
                                     .toLongLong();
        const qlonglong rows =
            check.query(QStringLiteral("SELECT (SELECT count(*) FROM 買超明細資料 WHERE 買賣日期 = ?1) + "
                                       "(SELECT count(*) FROM 賣超明細資料 WHERE 買賣日期 = ?1)"),
                        {date})
                .value(0, 0)
                .toLongLong();
        missing += header == 1 && rows == 2 * kCodesPerList ? 0 : 1;
    }
    for (const QString& table : {QStringLiteral("買賣超資料"), QStringLiteral("買超明細資料"), QStringLiteral("賣超明細資料")})
        check.execute(QStringLiteral("DELETE FROM %1 WHERE 買賣日期 >= '1300000'").arg(table));

    std::printf("%d clients, %d s: %lld saves (%.1f/s), %d statistics (%.1f/s), %lld errors, %d acknowledged saves "
                "missing or incomplete\n",
                clients, seconds, static_cast<long long>(saved.size()), double(saved.size()) / seconds, statistics,
                double(statistics) / seconds, static_cast<long long>(errors.size()), missing);
    for (const QString& error : errors.mid(0, 5))
        std::printf("  %s\n", qPrintable(error));
    return errors.isEmpty() && missing == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (!qEnvironmentVariableIsSet("QUORVEX_BENCH_SERVER")) {
        std::fprintf(stderr, "QUORVEX_BENCH_SERVER must hold the server's connection string\n");
        return 2;
    }
    const QString server = db::BuildServerConnectionString(qEnvironmentVariable("QUORVEX_BENCH_SERVER"));
    if (args.size() == 4 && args.at(1) == QLatin1String("--client"))
        return RunClient(server, args.at(2).toInt(), args.at(3).toInt());
    TenYearFolder();
    return RunClients(server, args.size() > 1 ? args.at(1).toInt() : 8, args.size() > 2 ? args.at(2).toInt() : 60);
}
