#include "core/entry/InstitutionalAmounts.h"

#include "core/data/Connection.h"

#include <QLocale>

namespace {
constexpr TradeBasis kStoredBases[] = {TradeBasis::Foreign, TradeBasis::InvestmentTrust, TradeBasis::Dealers,
                                       TradeBasis::AllThree};
}

QString AmountColumn(TradeBasis basis)
{
    return basis == TradeBasis::AllThree ? QStringLiteral("合計") : BasisName(basis);
}

void SaveInstitutionalAmounts(db::Connection& connection, const InstitutionalDay& day)
{
    connection.execute(QStringLiteral("DELETE FROM 法人買賣超 WHERE 買賣日期 = ?"), {day.date});
    QVector<QVariantList> rows;
    rows.reserve(day.rows.size());
    for (const InstitutionalRow& row : day.rows) {
        QVariantList values{day.date, row.code.trimmed()};
        for (TradeBasis basis : kStoredBases)
            values << (row.known[int(basis)] ? QVariant(row.net[int(basis)]) : QVariant());
        rows.push_back(std::move(values));
    }
    if (rows.isEmpty())
        return;
    db::Statement insert(connection, QStringLiteral("INSERT INTO 法人買賣超 (買賣日期, 股號, 外資, 投信, 自營商, 合計) "
                                                    "VALUES (?, ?, ?, ?, ?, ?)"));
    insert.executeBatch(rows);
}

QString LotsText(qint64 shares)
{
    const qint64 lots = shares >= 0 ? (shares + 500) / 1000 : (shares - 500) / 1000;
    return QLocale(QLocale::Chinese, QLocale::Taiwan).toString(lots);
}

bool HasInstitutionalAmounts(db::Connection& connection, const QString& date)
{
    return !connection.query(QStringLiteral("SELECT 1 FROM 法人買賣超 WHERE 買賣日期 = ? LIMIT 1"), {date}).isEmpty();
}

QStringList AmountDatesUpTo(db::Connection& connection, const QString& last, int count)
{
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT h.買賣日期 FROM 買賣超資料 h WHERE h.買賣日期 <= ? "
                       "AND EXISTS (SELECT 1 FROM 法人買賣超 a WHERE a.買賣日期 = h.買賣日期) "
                       "ORDER BY h.買賣日期 DESC LIMIT ?"),
        {last, qlonglong(count)});
    QStringList dates;
    for (int r = 0; r < rows.rowCount(); ++r)
        dates << rows.text(r, 0).trimmed();
    return dates;
}

QVector<TradingDateAmounts> TradingDatesUpTo(db::Connection& connection, const QString& last, int count)
{
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT h.買賣日期, CASE WHEN EXISTS (SELECT 1 FROM 法人買賣超 a WHERE a.買賣日期 = h.買賣日期) "
                       "THEN 1 ELSE 0 END FROM 買賣超資料 h WHERE h.買賣日期 <= ? ORDER BY h.買賣日期 DESC LIMIT ?"),
        {last, qlonglong(count)});
    QVector<TradingDateAmounts> dates;
    for (int r = 0; r < rows.rowCount(); ++r)
        dates.push_back({rows.text(r, 0).trimmed(), rows.value(r, 1).toInt() != 0});
    return dates;
}
