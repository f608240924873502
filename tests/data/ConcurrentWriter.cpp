// A second process for the concurrency tests: writes trading days into the
// database named on the command line (a file's path or a whole connection
// string), one connection and transaction per day.
//   concurrent_writer <database path> <first day> <days>
//   concurrent_writer <database path> create
//   concurrent_writer <database path> hold <milliseconds>
//   concurrent_writer <database path> late
//   concurrent_writer <database path> rewrite <times>
//     saves day 1000125 again and again, both lists holding the number of the save
#include "data/Connection.h"
#include "data/ConnectionString.h"

#include <QCoreApplication>
#include <QThread>

#include <cstdio>

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
        for (int d = first; d < first + days; ++d) {
            db::Connection c(cs);
            db::Transaction t(c);
            const QString date = QString::number(1000000 + d);
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {date});
            for (int i = 1; i <= 5; ++i)
                c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"), {i, QString::number(i), date});
            t.commit();
            c.query(QStringLiteral("SELECT count(*) FROM 買超明細資料"));
        }
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
