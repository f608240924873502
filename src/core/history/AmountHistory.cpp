#include "core/history/AmountHistory.h"

#include "core/data/Connection.h"
#include "core/entry/InstitutionalAmounts.h"
#include "core/text/RocDate.h"

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
    // Days typed by hand hold lists but no amounts: their markers still count.
    const db::ResultSet listedOnly = connection.query(
        QStringLiteral("SELECT l.買賣日期, max(l.buy), max(l.sell) FROM ("
                       "SELECT b.買賣日期 AS 買賣日期, 1 AS buy, 0 AS sell FROM 買超明細資料 b "
                       "WHERE b.股號 = ? AND b.買賣日期 BETWEEN ? AND ? "
                       "UNION ALL SELECT s.買賣日期, 0, 1 FROM 賣超明細資料 s "
                       "WHERE s.股號 = ? AND s.買賣日期 BETWEEN ? AND ?) l "
                       "JOIN 買賣超資料 h ON h.買賣日期 = l.買賣日期 "
                       "WHERE NOT EXISTS (SELECT 1 FROM 法人買賣超 a WHERE a.股號 = ? AND a.買賣日期 = l.買賣日期) "
                       "GROUP BY l.買賣日期 ORDER BY l.買賣日期"),
        {history.code, history.from, last, history.code, history.from, last, history.code});
    history.days.reserve(rows.rowCount() + listedOnly.rowCount());
    int listed = 0;
    const auto addListedBefore = [&](const QString& date) {
        for (; listed < listedOnly.rowCount() && (date.isEmpty() || listedOnly.text(listed, 0).trimmed() < date); ++listed) {
            AmountDay day;
            day.date = listedOnly.text(listed, 0).trimmed();
            day.onBuyList = listedOnly.value(listed, 1).toInt() != 0;
            day.onSellList = listedOnly.value(listed, 2).toInt() != 0;
            history.days.push_back(day);
        }
    };
    for (int r = 0; r < rows.rowCount(); ++r) {
        AmountDay day;
        day.date = rows.text(r, 0).trimmed();
        addListedBefore(day.date);
        for (int part = 0; part < kAmountParts; ++part)
            day.parts[part] = Amount(rows, r, 1 + part);
        day.total = Amount(rows, r, 4);
        day.onBuyList = rows.value(r, 5).toInt() != 0;
        day.onSellList = rows.value(r, 6).toInt() != 0;
        history.days.push_back(day);
    }
    addListedBefore(QString());
    return history;
}

namespace {

// The week (ISO) or the month a date belongs to, as one comparable number.
int PeriodKey(const QString& date, BarPeriod period)
{
    const QDate day = DateFromRoc(date);
    if (period == BarPeriod::Month)
        return day.year() * 100 + day.month();
    int year = 0;
    const int week = day.weekNumber(&year);
    return year * 100 + week;
}

void AddTo(std::optional<qint64>& sum, const std::optional<qint64>& value)
{
    if (value)
        sum = sum.value_or(0) + *value;
}

} // namespace

AmountHistory BarsForReading(AmountHistory daily)
{
    const int count = static_cast<int>(daily.days.size());
    if (count <= kWeeklyBarsAbove)
        return daily;
    const BarPeriod period = count > kMonthlyBarsAbove ? BarPeriod::Month : BarPeriod::Week;
    AmountHistory grouped = daily;
    grouped.period = period;
    grouped.days.clear();
    int openKey = -1;
    for (const AmountDay& day : std::as_const(daily.days)) {
        const int key = PeriodKey(day.date, period);
        if (grouped.days.isEmpty() || key != openKey) {
            AmountDay bar;
            bar.firstDate = day.date;
            grouped.days.push_back(bar);
            openKey = key;
        }
        AmountDay& bar = grouped.days.back();
        bar.date = day.date;
        for (int part = 0; part < kAmountParts; ++part)
            AddTo(bar.parts[part], day.parts[part]);
        // Each day's own total: a day without 合計 counts its known parts.
        AddTo(bar.total, day.dayTotal());
        bar.onBuyList |= day.onBuyList;
        bar.onSellList |= day.onSellList;
    }
    return grouped;
}
