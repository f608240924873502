#include "core/history/AmountHistory.h"

#include "core/data/Connection.h"
#include "core/entry/InstitutionalAmounts.h"

#include <QVariant>

QString AmountPartName(int part)
{
    static const QString names[kAmountParts] = {QStringLiteral("外資"), QStringLiteral("投信"), QStringLiteral("自營商")};
    return names[part];
}

std::optional<qint64> AmountDay::dayTotal() const
{
    if (total)
        return total;
    std::optional<qint64> sum;
    for (const std::optional<qint64>& part : parts) {
        if (part)
            sum = sum.value_or(0) + *part;
    }
    return sum;
}

namespace {

std::optional<qint64> Amount(const db::ResultSet& rows, int row, int column)
{
    const QVariant value = rows.value(row, column);
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return value.toLongLong();
}

} // namespace

DateRange LatestAmountDates(db::Connection& connection, int count)
{
    const QStringList dates = AmountDatesUpTo(connection, QStringLiteral("9999999"), count);
    if (dates.isEmpty())
        return {};
    return {dates.last(), dates.first()};
}

AmountHistory LoadAmountHistory(db::Connection& connection, const QString& code, const QString& from,
                                const QString& to, int defaultCount)
{
    AmountHistory history;
    history.code = code.trimmed();
    history.from = from.trimmed();
    history.to = to.trimmed();
    const db::ReadTransaction snapshot(connection);
    if (history.from.isEmpty() && history.to.isEmpty()) {
        const DateRange latest = LatestAmountDates(connection, defaultCount);
        history.from = latest.from;
        history.to = latest.to;
    }
    const db::ResultSet name =
        connection.query(QStringLiteral("SELECT 名稱 FROM 股號資料 WHERE 股號 = ?"), {history.code});
    if (!name.isEmpty())
        history.name = name.text(0, 0).trimmed();
    if (history.from.isEmpty() && history.to.isEmpty())
        return history;

    // An open end of the range reaches as far as the dates go.
    const QString last = history.to.isEmpty() ? QStringLiteral("9999999") : history.to;
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT a.買賣日期, a.外資, a.投信, a.自營商, a.合計, "
                       "CASE WHEN EXISTS (SELECT 1 FROM 買超明細資料 b WHERE b.股號 = a.股號 AND b.買賣日期 = a.買賣日期) "
                       "THEN 1 ELSE 0 END, "
                       "CASE WHEN EXISTS (SELECT 1 FROM 賣超明細資料 s WHERE s.股號 = a.股號 AND s.買賣日期 = a.買賣日期) "
                       "THEN 1 ELSE 0 END "
                       "FROM 法人買賣超 a JOIN 買賣超資料 h ON h.買賣日期 = a.買賣日期 "
                       "WHERE a.股號 = ? AND a.買賣日期 BETWEEN ? AND ? ORDER BY a.買賣日期"),
        {history.code, history.from, last});
    history.days.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r) {
        AmountDay day;
        day.date = rows.text(r, 0).trimmed();
        for (int part = 0; part < kAmountParts; ++part)
            day.parts[part] = Amount(rows, r, 1 + part);
        day.total = Amount(rows, r, 4);
        day.onBuyList = rows.value(r, 5).toInt() != 0;
        day.onSellList = rows.value(r, 6).toInt() != 0;
        history.days.push_back(day);
    }
    return history;
}
