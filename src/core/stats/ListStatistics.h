#pragma once

#include "core/stats/Report.h"

namespace db {
class Connection;
}

// The base date and comparison range of a transition or new-details run.
struct BaseDateQuery {
    QString base;
    QString from;
    QString to;
    bool skipSingle = false;   // new details only: leave out stocks listed once on the base date
};

// Sell to buy (sellToBuy) or buy to sell: the stocks of the base date's list
// that stood on the other list within the range. Rebuilds the scratch tables
// and 買超轉賣超_tmp in one transaction and reads this run's result inside it,
// so another PC's run cannot change what is printed. Lines: 股號, 名稱,
// 買超次數, 賣超次數 in the direction's order.
QVector<ReportRow> PrepareTransition(db::Connection& connection, bool sellToBuy, const BaseDateQuery& query);

// New net-sell (newSell) or new net-buy: the stocks of the base date's own list
// that were on it on no other date of the range. Rebuilds the scratch tables
// and the direction's result table in one transaction and reads the result
// inside it. Lines: 股號, 名稱, own count, other count, 累積 count, ratios.
QVector<ReportRow> PrepareNewDetails(db::Connection& connection, bool newSell, const BaseDateQuery& query);

// The new-details report prints a zero other-list count as an empty cell.
void BlankZeroOtherCounts(bool newSell, ReportRow& row);
