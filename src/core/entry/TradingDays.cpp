#include "core/entry/TradingDays.h"

#include "core/data/Connection.h"
#include "core/entry/SequenceRules.h"

#include <algorithm>

const KeyTable& TradingDayKeys()
{
    static const KeyTable keys{QStringLiteral("買賣超資料"), QStringLiteral("買賣日期")};
    return keys;
}

namespace {

QVector<ListRow> LoadList(db::Connection& connection, const QString& table, const QString& date)
{
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT 序, 股號 FROM %1 WHERE 買賣日期 = ? ORDER BY 序").arg(table), {date});
    QVector<ListRow> list;
    list.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r)
        list.push_back({rows.value(r, 0).toDouble(), rows.text(r, 1)});
    return list;
}

void InsertList(db::Connection& connection, const QString& table, const QString& date, const QVector<ListRow>& rows)
{
    QVector<QVariantList> values;
    values.reserve(rows.size());
    for (const ListRow& row : rows) {
        const QString code = row.code.trimmed();
        if (!code.isEmpty())
            values.push_back({row.sequence, code, date});
    }
    db::Statement(connection, QStringLiteral("INSERT INTO %1 (序, 股號, 買賣日期) VALUES (?, ?, ?)").arg(table))
        .executeBatch(values);
}

} // namespace

std::optional<TradingDay> LoadTradingDay(db::Connection& connection, const QString& date)
{
    // Header and both lists from one state of the file, whatever another PC saves meanwhile.
    const db::ReadTransaction snapshot(connection);
    return ReadTradingDay(connection, date);
}

std::optional<TradingDay> ReadTradingDay(db::Connection& connection, const QString& date)
{
    const QString key = date.trimmed();
    const db::ResultSet header =
        connection.query(QStringLiteral("SELECT * FROM 買賣超資料 WHERE 買賣日期 = ?"), {key});
    if (header.isEmpty())
        return std::nullopt;
    TradingDay day;
    day.date = header.text(0, QStringLiteral("買賣日期")).trimmed();
    day.weekday = header.text(0, QStringLiteral("買賣星期")).trimmed();
    day.buys = LoadList(connection, QStringLiteral("買超明細資料"), key);
    day.sells = LoadList(connection, QStringLiteral("賣超明細資料"), key);
    return day;
}

namespace {
QVector<ListRow> InSequence(QVector<ListRow> rows)
{
    std::sort(rows.begin(), rows.end(), [](const ListRow& a, const ListRow& b) {
        return a.sequence != b.sequence ? a.sequence < b.sequence : a.code < b.code;
    });
    return rows;
}
bool SameList(const QVector<ListRow>& a, const QVector<ListRow>& b)
{
    const QVector<ListRow> x = InSequence(a);
    const QVector<ListRow> y = InSequence(b);
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [](const ListRow& l, const ListRow& r) { return l.sequence == r.sequence && l.code == r.code; });
}
} // namespace

bool SameTradingDay(const TradingDay& a, const TradingDay& b)
{
    return a.date == b.date && a.weekday == b.weekday && SameList(a.buys, b.buys) && SameList(a.sells, b.sells);
}

void SaveTradingDay(db::Connection& connection, bool isNew, const QString& currentDate, const TradingDay& day)
{
    const QString date = day.date.trimmed();
    const QString weekday = day.weekday.trimmed();
    if (isNew) {
        connection.execute(QStringLiteral("INSERT INTO 買賣超資料 (買賣日期, 買賣星期) VALUES (?, ?)"), {date, weekday});
    } else {
        connection.execute(QStringLiteral("DELETE FROM 買超明細資料 WHERE 買賣日期 = ?"), {currentDate});
        connection.execute(QStringLiteral("DELETE FROM 賣超明細資料 WHERE 買賣日期 = ?"), {currentDate});
        const int changed = connection.execute(
            QStringLiteral("UPDATE 買賣超資料 SET 買賣日期 = ?, 買賣星期 = ? WHERE 買賣日期 = ?"),
            {date, weekday, currentDate});
        if (changed == 0)
            throw db::DbError(db::ErrorKind::Other,
                              QStringLiteral("找不到買賣日期 %1 的資料，可能已被刪除。").arg(currentDate));
        // The day's amounts go with it; any left at the new date by a day
        // deleted elsewhere belong to no day.
        if (date != currentDate) {
            connection.execute(QStringLiteral("DELETE FROM 法人買賣超 WHERE 買賣日期 = ?"), {date});
            connection.execute(QStringLiteral("UPDATE 法人買賣超 SET 買賣日期 = ? WHERE 買賣日期 = ?"), {date, currentDate});
        }
    }
    InsertList(connection, QStringLiteral("買超明細資料"), date, day.buys);
    InsertList(connection, QStringLiteral("賣超明細資料"), date, day.sells);
}

void DeleteTradingDay(db::Connection& connection, const QString& date)
{
    if (connection.execute(QStringLiteral("DELETE FROM 買賣超資料 WHERE 買賣日期 = ?"), {date}) == 0)
        throw db::DbError(db::ErrorKind::Other, QStringLiteral("找不到買賣日期 %1 的資料，可能已被刪除。").arg(date));
    connection.execute(QStringLiteral("DELETE FROM 買超明細資料 WHERE 買賣日期 = ?"), {date});
    connection.execute(QStringLiteral("DELETE FROM 賣超明細資料 WHERE 買賣日期 = ?"), {date});
    connection.execute(QStringLiteral("DELETE FROM 法人買賣超 WHERE 買賣日期 = ?"), {date});
}

QVector<ListRow> ListRowsFromTexts(const QVector<QStringList>& texts)
{
    QVector<ListRow> rows;
    for (int i = 0; i < texts.size(); ++i) {
        const QString code = texts.at(i).value(1).trimmed();
        if (!code.isEmpty())
            rows.push_back({SequenceValue(texts.at(i).value(0)), code});
    }
    return rows;
}
