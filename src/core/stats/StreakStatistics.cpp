#include "core/stats/StreakStatistics.h"

#include "core/data/Connection.h"
#include "core/text/RocDate.h"

#include <QHash>
#include <algorithm>

namespace {

QString ListTable(bool netBuy)
{
    return netBuy ? QStringLiteral("買超明細資料") : QStringLiteral("賣超明細資料");
}

struct Streak {
    QString code;   // as listed on the base date
    int days = 0;
    QString start;
    int otherDays = 0;
};

// The trading dates each stock of the base date's `own` list stood on
// `table` from `since` to the base date, newest first, once per date however
// often it was typed that day. A list row of a date that is no trading date
// (a converted file may hold them) counts for nothing.
QHash<QString, QStringList> ListedDates(db::Connection& connection, const QString& table, const QString& own,
                                        const QString& base, const QString& since)
{
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT upper(d.股號), d.買賣日期 FROM %1 d JOIN 買賣超資料 h ON h.買賣日期 = d.買賣日期 "
                       "WHERE d.買賣日期 BETWEEN ?2 AND ?1 "
                       "AND d.股號 IN (SELECT 股號 FROM %2 WHERE 買賣日期 = ?1) "
                       "GROUP BY upper(d.股號), d.買賣日期 ORDER BY upper(d.股號), d.買賣日期 DESC")
            .arg(table, own),
        {base, since});
    QHash<QString, QStringList> dates;
    for (int r = 0; r < rows.rowCount(); ++r)
        dates[rows.text(r, 0)] << rows.text(r, 1);
    return dates;
}

} // namespace

QString LastTradingDate(db::Connection& connection)
{
    return connection.query(QStringLiteral("SELECT max(買賣日期) FROM 買賣超資料")).text(0, 0).trimmed();
}

QVector<ReportRow> RunStreakStatistic(db::Connection& connection, const StreakQuery& query)
{
    const QString own = ListTable(query.netBuy);
    const QString other = ListTable(!query.netBuy);
    db::ReadTransaction reading(connection);

    // Trading dates up to the base date, newest first: a run cannot be longer.
    const db::ResultSet days = connection.query(
        QStringLiteral("SELECT 買賣日期 FROM 買賣超資料 WHERE 買賣日期 <= ? ORDER BY 買賣日期 DESC"), {query.base});
    if (days.isEmpty() || days.text(0, 0) != query.base)
        return {};

    const db::ResultSet listed = connection.query(
        QStringLiteral("SELECT upper(股號), min(股號) FROM %1 WHERE 買賣日期 = ? GROUP BY upper(股號)").arg(own),
        {query.base});
    const QHash<QString, QStringList> ownDates = ListedDates(connection, own, own, query.base, QString());

    QVector<Streak> streaks;
    QString earliest = query.base;
    for (int r = 0; r < listed.rowCount(); ++r) {
        const QStringList& dates = ownDates.value(listed.text(r, 0));
        int run = 0;
        while (run < dates.size() && run < days.rowCount() && dates.at(run) == days.text(run, 0))
            ++run;
        if (run < query.minDays)
            continue;
        streaks.push_back({listed.text(r, 1).trimmed(), run, dates.at(run - 1), 0});
        earliest = std::min(earliest, dates.at(run - 1));
    }
    if (streaks.isEmpty())
        return {};

    const QHash<QString, QStringList> otherDates = ListedDates(connection, other, own, query.base, earliest);
    for (Streak& s : streaks) {
        for (const QString& date : otherDates.value(s.code.toUpper()))
            s.otherDays += date >= s.start ? 1 : 0;
    }
    std::sort(streaks.begin(), streaks.end(), [](const Streak& a, const Streak& b) {
        return a.days != b.days ? a.days > b.days : a.code < b.code;
    });

    const db::ResultSet stocks = connection.query(
        QStringLiteral("SELECT upper(股號), 名稱, 本益比, 殖利率, 股價淨值比 FROM 股號資料 "
                       "WHERE 股號 IN (SELECT 股號 FROM %1 WHERE 買賣日期 = ?)")
            .arg(own),
        {query.base});
    QHash<QString, int> stockRow;
    for (int r = 0; r < stocks.rowCount(); ++r)
        stockRow.insert(stocks.text(r, 0), r);

    QVector<ReportRow> lines;
    lines.reserve(streaks.size());
    for (const Streak& s : streaks) {
        const int r = stockRow.value(s.code.toUpper(), -1);
        const auto stock = [&](int column) { return r < 0 ? QString() : stocks.text(r, column).trimmed(); };
        lines.push_back({{QStringLiteral("股號"), s.code},
                         {QStringLiteral("名稱"), stock(1)},
                         {QStringLiteral("連續天數"), QString::number(s.days)},
                         {QStringLiteral("起始日期"), RocDateDisplay(s.start)},
                         {QStringLiteral("其他次數"), s.otherDays > 0 ? QString::number(s.otherDays) : QString()},
                         {QStringLiteral("本益比"), stock(2)},
                         {QStringLiteral("殖利率"), stock(3)},
                         {QStringLiteral("股價淨值比"), stock(4)}});
    }
    return lines;
}
