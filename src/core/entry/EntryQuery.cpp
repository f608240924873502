#include "core/entry/EntryQuery.h"

#include "core/data/SqlText.h"
#include "core/text/RocDate.h"

GridQuery BuildEntryQuery(const QString& codePrefix, const QString& from, const QString& to)
{
    GridQuery query;
    query.sql = QStringLiteral(
        "SELECT 買賣日期, 買賣星期 AS 星期, 類別, 股號, 名稱, 買賣日期 AS H買賣日期 "
        "FROM 買賣超明細查詢 WHERE 股號 LIKE ? ESCAPE '\\' AND 買賣日期 BETWEEN ? AND ? "
        "ORDER BY 買賣日期 DESC, 類別, 序");
    // An empty date lists nothing, as a start after the end does.
    const bool open = from.trimmed().isEmpty() || to.trimmed().isEmpty();
    query.params = {db::LikePrefix(codePrefix.trimmed()), open ? QStringLiteral("1") : from.trimmed(),
                    open ? QString() : to.trimmed()};
    query.widthsTwips = {1200, 700, 1000, 1400, 2000, 0};
    return query;
}

QString EntryQueryDefaultFrom()
{
    return RocDate60DaysAgo().left(5) + QStringLiteral("01");
}

QString EntryQueryDefaultTo()
{
    return MonthEndRocDate();
}
