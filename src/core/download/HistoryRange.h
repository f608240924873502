#pragma once

#include <QDate>
#include <QSet>
#include <QStringList>

namespace db {
class Connection;
}

// The exchanges' published holidays, kept beside the downloaded files as one
// file a year, 下載/休市日<year>.txt (休市日115.txt): a date a line, as
// 1150216, 115/02/16, 2026-02-16 or 2026/02/16, anything after it on the line
// a remark; blank lines and lines starting with # are left alone. A line
// without a date is skipped and said in `warnings`.
struct MarketHolidays {
    QSet<QDate> dates;
    QStringList warnings;
};
MarketHolidays ReadMarketHolidays(const QString& dataFolder);

// Where a range download starts by default, ending `to`: the last `count`
// weekdays that are neither stored nor holidays lie in it.
QDate ProposedRangeStart(db::Connection& connection, const QDate& to, const QSet<QDate>& holidays, int count = 60);

// Two files a day, one request at a time at the polite interval:
// "約 4,269 天、8,538 次下載、約 12 小時".
QString RangeCostText(int days, int intervalSeconds);
