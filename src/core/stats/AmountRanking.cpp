#include "core/stats/AmountRanking.h"

#include "core/data/Connection.h"
#include "core/entry/InstitutionalAmounts.h"
#include "core/text/RocDate.h"

#include <algorithm>

namespace {

struct Total {
    QString code;
    QString name;
    qint64 shares = 0;
    int buyDays = 0;
    QString ratios[3];
};

// The run of one stock's trading dates back from the newest `calendar` date on which
// its net had the sign wanted; grows the calendar when the run reaches its
// end. Asked per listed stock through the code index: only a few runs reach
// far back, and a read of every stock over that many dates would not pay.
int RunLength(db::Connection& connection, db::Statement& newestFirst, const QString& code, const QString& base,
              QStringList& calendar, bool buying)
{
    for (;;) {
        const db::ResultSet rows = newestFirst.query({code, base, qlonglong(calendar.size())});
        int run = 0;
        while (run < rows.rowCount() && rows.text(run, 0) == calendar.at(run) && !rows.value(run, 1).isNull()) {
            const qint64 net = rows.value(run, 1).toLongLong();
            if (buying ? net <= 0 : net >= 0)
                return run;
            ++run;
        }
        if (run < calendar.size())
            return run;
        const QVector<TradingDateAmounts> longer = TradingDatesUpTo(connection, base, int(calendar.size()) * 4);
        if (longer.size() == calendar.size())
            return run;
        calendar.clear();
        for (const TradingDateAmounts& d : longer)
            calendar << d.date;
    }
}

} // namespace

QString LastAmountDate(db::Connection& connection)
{
    return AmountDatesUpTo(connection, QStringLiteral("9999999"), 1).value(0);
}

AmountRanking RunAmountRanking(db::Connection& connection, const AmountRankingQuery& query)
{
    AmountRanking ranking;
    const QString column = AmountColumn(query.basis);
    db::ReadTransaction reading(connection);
    const QVector<TradingDateAmounts> span = TradingDatesUpTo(connection, query.base, std::max(query.days, 1));
    QStringList calendar;
    int withoutAmounts = 0;
    for (const TradingDateAmounts& d : span) {
        calendar << d.date;
        withoutAmounts += d.hasAmounts ? 0 : 1;
    }
    if (withoutAmounts == calendar.size())
        return ranking;
    ranking.dates = calendar;
    std::reverse(ranking.dates.begin(), ranking.dates.end());
    if (calendar.first() != query.base)
        ranking.notes << QStringLiteral("基準日期 %1 非交易日，改以 %2 計算")
                             .arg(RocDateDisplay(query.base), RocDateDisplay(calendar.first()));
    if (withoutAmounts > 0)
        ranking.notes << QStringLiteral("其中 %1 日無法人買賣資料").arg(withoutAmounts);

    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT g.股號, g.total, g.buyDays, s.名稱, s.本益比, s.殖利率, s.股價淨值比 FROM ("
                       "SELECT a.股號 AS 股號, sum(a.%1) AS total, sum(CASE WHEN a.%1 > 0 THEN 1 ELSE 0 END) AS buyDays "
                       "FROM 法人買賣超 a WHERE a.買賣日期 IN (SELECT 買賣日期 FROM 買賣超資料 WHERE 買賣日期 BETWEEN ? AND ?) "
                       "AND a.%1 IS NOT NULL GROUP BY a.股號) g "
                       "LEFT JOIN 股號資料 s ON s.股號 = g.股號")
            .arg(column),
        {ranking.dates.first(), ranking.dates.last()});
    QVector<Total> buys;
    QVector<Total> sells;
    for (int r = 0; r < rows.rowCount(); ++r) {
        Total t{rows.text(r, 0).trimmed(), rows.text(r, 3).trimmed(), rows.value(r, 1).toLongLong(), rows.value(r, 2).toInt(),
                {rows.text(r, 4).trimmed(), rows.text(r, 5).trimmed(), rows.text(r, 6).trimmed()}};
        if (t.shares > 0)
            buys.push_back(std::move(t));
        else if (t.shares < 0)
            sells.push_back(std::move(t));
    }
    db::Statement newestFirst(
        connection,
        QStringLiteral("SELECT a.買賣日期, a.%1 FROM 法人買賣超 a JOIN 買賣超資料 h ON h.買賣日期 = a.買賣日期 "
                       "WHERE a.股號 = ? AND a.買賣日期 <= ? ORDER BY a.買賣日期 DESC LIMIT ?")
            .arg(column));
    const auto rank = [&](QVector<Total>& side, bool buying) {
        const auto before = [buying](const Total& a, const Total& b) {
            return a.shares != b.shares ? (buying ? a.shares > b.shares : a.shares < b.shares)
                                        : a.code.toUpper() < b.code.toUpper();
        };
        const int kept = std::min(int(side.size()), std::max(query.top, 0));
        std::partial_sort(side.begin(), side.begin() + kept, side.end(), before);
        side.resize(kept);
        if (side.isEmpty())
            return;
        ranking.lines.push_back({{QStringLiteral("段落"), QStringLiteral("%1排行（前 %2 名）")
                                                              .arg(buying ? QStringLiteral("買超") : QStringLiteral("賣超"))
                                                              .arg(side.size())},
                                 {ReportSource::kKeepWithNext, QStringLiteral("1")}});
        for (const Total& t : side) {
            const int run = RunLength(connection, newestFirst, t.code, query.base, calendar, buying);
            ranking.lines.push_back({{QStringLiteral("股號"), t.code},
                                     {QStringLiteral("名稱"), t.name},
                                     {QStringLiteral("累計張數"), LotsText(t.shares)},
                                     {QStringLiteral("買超天數"), QString::number(t.buyDays)},
                                     {QStringLiteral("連續天數"), QString::number(run)},
                                     {QStringLiteral("本益比"), t.ratios[0]},
                                     {QStringLiteral("殖利率"), t.ratios[1]},
                                     {QStringLiteral("股價淨值比"), t.ratios[2]}});
        }
    };
    rank(buys, true);
    rank(sells, false);
    ranking.buys = int(buys.size());
    ranking.sells = int(sells.size());
    return ranking;
}
