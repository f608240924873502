#include "core/stats/ListStatistics.h"

#include "core/data/Connection.h"
#include "core/stats/CountStatistics.h"

namespace {

QVector<ReportRow> Lines(const db::ResultSet& rows)
{
    QVector<ReportRow> lines;
    lines.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        ReportRow line;
        for (int c = 0; c < rows.columnCount(); ++c)
            line.insert(rows.columns().at(c), rows.text(r, c));
        lines << line;
    }
    return lines;
}

void FillScratchTables(db::Connection& connection, const QString& baseTable, const QString& rangeTable,
                       const BaseDateQuery& query, bool excludeBaseFromRange)
{
    connection.execute(QStringLiteral("DELETE FROM 基準日股號_tmp"));
    connection.execute(QStringLiteral("DELETE FROM 比較日股號_tmp"));
    connection.execute(QStringLiteral("INSERT INTO 基準日股號_tmp (股號) SELECT 股號 FROM %1 WHERE 買賣日期 = ?")
                           .arg(baseTable),
                       {query.base});
    const QString date = DateColumnFor(connection, query.from, query.to);
    if (excludeBaseFromRange)
        connection.execute(QStringLiteral("INSERT INTO 比較日股號_tmp (股號) SELECT 股號 FROM %1 "
                                          "WHERE %2 BETWEEN ? AND ? AND 買賣日期 <> ?")
                               .arg(rangeTable, date),
                           {query.from, query.to, query.base});
    else
        connection.execute(
            QStringLiteral("INSERT INTO 比較日股號_tmp (股號) SELECT 股號 FROM %1 WHERE %2 BETWEEN ? AND ?")
                .arg(rangeTable, date),
            {query.from, query.to});
}

} // namespace

// Per result code, its rows in `table` within the range; the code-and-date
// index answers each one with a short seek, however wide the range.
QString RangeCount(const QString& table)
{
    return QStringLiteral("(SELECT count(*) FROM %1 r WHERE r.股號 = b.股號 AND r.買賣日期 BETWEEN ?2 AND ?3)").arg(table);
}

QVector<ReportRow> PrepareTransition(db::Connection& connection, bool sellToBuy, const BaseDateQuery& query)
{
    const QString baseTable = CountedTable(sellToBuy);    // the net-buy list for sell to buy
    const QString rangeTable = OtherTable(sellToBuy);
    db::Transaction transaction(connection);
    FillScratchTables(connection, baseTable, rangeTable, query, false);
    connection.execute(QStringLiteral("DELETE FROM 買超轉賣超_tmp"));
    // The codes of 買超轉賣超明細表: on the base list and at least once in the
    // range, with the base list's and the other list's counts.
    connection.execute(QStringLiteral(
        "INSERT INTO 買超轉賣超_tmp (股號, 名稱, 買超次數, 賣超次數) "
        "SELECT 股號, 名稱, %1, %2 FROM ("
        "  SELECT trim(b.股號) AS 股號, trim(ifnull(s.名稱, '')) AS 名稱, b.n AS base, %3 AS range "
        "  FROM (SELECT 股號, count(股號) AS n FROM 基準日股號_tmp GROUP BY 股號) b "
        "  LEFT JOIN 股號資料 s ON s.股號 = b.股號) t "
        "WHERE range > 0")
                           .arg(sellToBuy ? QStringLiteral("base") : QStringLiteral("range"),
                                sellToBuy ? QStringLiteral("range") : QStringLiteral("base"), RangeCount(rangeTable)),
                       {query.base, query.from, query.to});
    const db::ResultSet result = connection.query(
        sellToBuy ? QStringLiteral("SELECT * FROM 買超轉賣超_tmp ORDER BY 買超次數 DESC, 賣超次數 DESC, 股號")
                  : QStringLiteral("SELECT * FROM 買超轉賣超_tmp ORDER BY 賣超次數 DESC, 買超次數 DESC, 股號"));
    transaction.commit();
    return Lines(result);
}

QVector<ReportRow> PrepareNewDetails(db::Connection& connection, bool newSell, const BaseDateQuery& query)
{
    const QString own = newSell ? QStringLiteral("賣超") : QStringLiteral("買超");
    const QString other = newSell ? QStringLiteral("買超") : QStringLiteral("賣超");
    const QString ownTable = own + QStringLiteral("明細資料");
    const QString otherTable = other + QStringLiteral("明細資料");
    const QString resultTable = QStringLiteral("新增") + own + QStringLiteral("_tmp");

    db::Transaction transaction(connection);
    FillScratchTables(connection, ownTable, ownTable, query, true);
    connection.execute(QStringLiteral("DELETE FROM %1").arg(resultTable));
    // The codes of 新增買賣超明細表: on the base date's own list and on it on no
    // other date of the range.
    connection.execute(
        QStringLiteral(
            "INSERT INTO %1 (股號, 名稱, %2次數, %3次數, 累積%3次數, 本益比, 殖利率, 股價淨值比) "
            "SELECT trim(b.股號), trim(ifnull(s.名稱, '')), b.n, "
            "  (SELECT count(*) FROM %4 o WHERE o.股號 = b.股號 AND o.買賣日期 = ?1), %5, "
            "  trim(ifnull(s.本益比, '')), trim(ifnull(s.殖利率, '')), trim(ifnull(s.股價淨值比, '')) "
            "FROM (SELECT 股號, count(股號) AS n FROM 基準日股號_tmp GROUP BY 股號) b "
            "LEFT JOIN 股號資料 s ON s.股號 = b.股號 "
            "WHERE NOT EXISTS (SELECT 1 FROM %6 c WHERE c.股號 = b.股號 AND c.買賣日期 BETWEEN ?2 AND ?3 "
            "                  AND c.買賣日期 <> ?1)")
            .arg(resultTable, own, other, otherTable, RangeCount(otherTable), ownTable),
        {query.base, query.from, query.to});
    const QString filter = query.skipSingle ? QStringLiteral("WHERE %1次數 <> 1 ").arg(own) : QString();
    const db::ResultSet result = connection.query(
        QStringLiteral("SELECT * FROM %1 %2ORDER BY %3次數 DESC, %4次數 DESC, 股號").arg(resultTable, filter, own, other));
    transaction.commit();
    return Lines(result);
}

void BlankZeroOtherCounts(bool newSell, ReportRow& row)
{
    const QString other = newSell ? QStringLiteral("買超") : QStringLiteral("賣超");
    for (const QString& column : {other + QStringLiteral("次數"), QStringLiteral("累積") + other + QStringLiteral("次數")}) {
        if (row.value(column) == QLatin1String("0"))
            row[column].clear();
    }
}
