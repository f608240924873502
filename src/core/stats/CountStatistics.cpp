#include "core/stats/CountStatistics.h"

#include "core/data/Connection.h"

QString CountedTable(bool netBuy)
{
    return netBuy ? QStringLiteral("買超明細資料") : QStringLiteral("賣超明細資料");
}

QString OtherTable(bool netBuy)
{
    return CountedTable(!netBuy);
}

namespace {

// Past about three years of lists, reading the code index straight through beats
// fetching the rows of the range one by one through the date index.
constexpr int kWideRangeDays = 750;

} // namespace

QString DateColumnFor(db::Connection& connection, const QString& from, const QString& to)
{
    const qlonglong days =
        connection.query(QStringLiteral("SELECT count(*) FROM 買賣超資料 WHERE 買賣日期 BETWEEN ? AND ?"), {from, to})
            .value(0, 0)
            .toLongLong();
    // "+" keeps the column's value and collation but keeps the date index out.
    return days > kWideRangeDays ? QStringLiteral("+買賣日期") : QStringLiteral("買賣日期");
}

QVector<ReportRow> RunCountStatistic(db::Connection& connection, const CountQuery& query)
{
    const QString date = DateColumnFor(connection, query.from.trimmed(), query.to.trimmed());
    const QString sql = QStringLiteral(
        "SELECT d.股號 AS 股號, s.名稱 AS 名稱, s.本益比 AS 本益比, s.殖利率 AS 殖利率, "
        "s.股價淨值比 AS 股價淨值比, d.筆數 AS 筆數, o.筆數 AS 其他筆數 "
        "FROM (SELECT 股號, count(股號) AS 筆數 FROM %1 WHERE %4 BETWEEN ?1 AND ?2 GROUP BY 股號 %3) d "
        "LEFT JOIN 股號資料 s ON s.股號 = d.股號 "
        "LEFT JOIN (SELECT 股號, count(股號) AS 筆數 FROM %2 WHERE %4 BETWEEN ?1 AND ?2 GROUP BY 股號) o "
        "ON o.股號 = d.股號 "
        "ORDER BY d.筆數 DESC, d.股號")
                            .arg(CountedTable(query.netBuy), OtherTable(query.netBuy),
                                 query.skipSingle ? QStringLiteral("HAVING count(股號) <> 1") : QString(), date);
    const db::ResultSet rows = connection.query(sql, {query.from.trimmed(), query.to.trimmed()});
    QVector<ReportRow> lines;
    lines.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        ReportRow line;
        for (int c = 0; c < rows.columnCount(); ++c)
            line.insert(rows.columns().at(c), rows.text(r, c).trimmed());
        if (line.value(QStringLiteral("其他筆數")) == QLatin1String("0"))
            line[QStringLiteral("其他筆數")].clear();
        lines << line;
    }
    return lines;
}
