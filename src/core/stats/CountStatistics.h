#pragma once

#include "core/stats/Report.h"

namespace db {
class Connection;
}

// How often each stock stood on one list within a date range, with the
// number of times it stood on the other list in the same range.
struct CountQuery {
    bool netBuy = true;     // count 買超明細資料, the other list is 賣超明細資料
    QString from;           // inclusive; empty means from the first date
    QString to;             // inclusive
    bool skipSingle = false;
};

// One line per code: 股號, 名稱, 本益比, 殖利率, 股價淨值比 (empty for a code
// missing from 股號資料), 筆數, and 其他筆數 (empty when 0). Count
// descending, then code. The other count comes from one grouped query, not
// one query per line.
QVector<ReportRow> RunCountStatistic(db::Connection& connection, const CountQuery& query);

// The date column as a range condition should name it: plain, so the date
// index serves a short range, or kept off the index for a wide one.
QString DateColumnFor(db::Connection& connection, const QString& from, const QString& to);

// The count table's name for the list counted, and for the other one.
QString CountedTable(bool netBuy);
QString OtherTable(bool netBuy);
