// A second process for the concurrency tests: writes trading days into the
// database named on the command line (a file's path or a whole connection
// string), one connection and transaction per day.
//   concurrent_writer <database path> <first day> <days>
//   concurrent_writer <database path> create
//   concurrent_writer <database path> hold <milliseconds>
//   concurrent_writer <database path> late
//   concurrent_writer <database path> rewrite <times>
//     saves day 1000125 again and again, both lists holding the number of the save
//   concurrent_writer <database path> try <milliseconds>
//     one save, waiting that long for the lock; exit 3 when it never came
//   concurrent_writer <database path> saves <days>
//     saves days one by one, printing each day's number once it is saved
//   concurrent_writer <database path> convert <old file>
//     converts the old file into the database, printing every progress step
//   concurrent_writer <database path> count
//     prints the days, the net-buy rows and the stocks stored
//   concurrent_writer <database path> compact
//     compacts the database in place
//   concurrent_writer <database path> backup <target>
//     copies the database to the target; with QUORVEX_FAIL_FOLDER_SYNC set,
//     syncing a folder fails as on a disk that reports an I/O error
#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/DatabaseCopy.h"
#include "core/system/Conversion.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

namespace {

void SaveDay(const QString& cs, int day)
{
    db::Connection c(cs);
    db::Transaction t(c);
    const QString date = QString::number(1000000 + day);
    c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {date});
    for (int i = 1; i <= 5; ++i)
        c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"), {i, QString::number(i), date});
    t.commit();
    c.query(QStringLiteral("SELECT count(*) FROM 買超明細資料"));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3)
        return 2;
    const QString cs = args.at(1).startsWith(QLatin1String("Provider="))
                           ? args.at(1)
                           : db::BuildConnectionString(args.at(1), QStringLiteral("kvew7315"));
    try {
        if (args.at(2) == QLatin1String("create")) {
            db::Connection c(cs);
            c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('CHILD')"));
            return 0;
        }
        if (args.at(2) == QLatin1String("hold")) {
            // Holds a write transaction open for the given milliseconds.
            db::Connection c(cs);
            db::Transaction t(c);
            c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('HOLD')"));
            std::printf("held\n");
            std::fflush(stdout);
            QThread::msleep(args.value(3).toULong());
            t.commit();
            return 0;
        }
        if (args.at(2) == QLatin1String("late")) {
            // Opens first, writes only after a line arrives on the input.
            db::Connection c(cs);
            std::printf("open\n");
            std::fflush(stdout);
            char line[16];
            if (!std::fgets(line, sizeof line, stdin))
                return 2;
            db::Transaction t(c);
            c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('LATE')"));
            t.commit();
            return 0;
        }
        if (args.at(2) == QLatin1String("try")) {
            db::SetBusyTimeout(args.value(3).toInt());
            try {
                db::Connection c(cs);
                db::Transaction t(c);
                c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('TRY')"));
                t.commit();
            } catch (const db::DbError& e) {
                std::fprintf(stderr, "%s\n", e.what());
                return e.kind() == db::ErrorKind::Busy ? 3 : 1;
            }
            return 0;
        }
        if (args.at(2) == QLatin1String("saves")) {
            // A save refused (busy, or the file replaced meanwhile) is not
            // printed: only what the user was told is saved must be there.
            for (int day = 0; day < args.value(3).toInt(); ++day) {
                try {
                    SaveDay(cs, day);
                    std::printf("%d\n", day);
                    std::fflush(stdout);
                } catch (const db::DbError& e) {
                    std::fprintf(stderr, "%s\n", e.what());
                }
            }
            return 0;
        }
        if (args.at(2) == QLatin1String("convert")) {
            ConvertOldDatabase(cs, args.value(3), QStringLiteral("kvew7315"), [](const ConversionProgress& now) {
                std::printf("%d %d\n", now.table, now.rowPercent);
                std::fflush(stdout);
            });
            return 0;
        }
        if (args.at(2) == QLatin1String("count")) {
            db::Connection c(cs);
            std::printf("%lld %lld %lld\n", c.query(QStringLiteral("SELECT count(*) FROM 買賣超資料")).value(0, 0).toLongLong(),
                        c.query(QStringLiteral("SELECT count(*) FROM 買超明細資料")).value(0, 0).toLongLong(),
                        c.query(QStringLiteral("SELECT count(*) FROM 股號資料")).value(0, 0).toLongLong());
            return 0;
        }
        if (args.at(2) == QLatin1String("compact")) {
            db::CompactDatabase(cs, QStringLiteral("Tmp.mdb"));
            return 0;
        }
        if (args.at(2) == QLatin1String("backup")) {
            db::Connection c(cs);
            db::CopyDatabase(c, args.value(3), QStringLiteral("kvew7315"));
            return 0;
        }
        if (args.at(2) == QLatin1String("rewrite")) {
            for (int version = 1; version <= args.value(3).toInt(); ++version) {
                db::Connection c(cs);
                db::Transaction t(c);
                const QString code = QString::number(version);
                c.execute(QStringLiteral("DELETE FROM 買超明細資料 WHERE 買賣日期 = '1000125'"));
                c.execute(QStringLiteral("DELETE FROM 賣超明細資料 WHERE 買賣日期 = '1000125'"));
                for (int i = 1; i <= 5; ++i) {
                    c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, '1000125')"), {i, code});
                    c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (?, ?, '1000125')"), {i, code});
                }
                t.commit();
            }
            return 0;
        }
        const int first = args.at(2).toInt();
        const int days = args.value(3).toInt();
        for (int d = first; d < first + days; ++d)
            SaveDay(cs, d);
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
