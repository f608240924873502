#pragma once

#include "core/stats/Report.h"

namespace db {
class Connection;
}

struct StreakQuery {
    bool netBuy = true;
    QString base;       // the base trading date, 7 digits
    int minDays = 3;    // shortest run listed
};

// The stocks on the base date's net-buy (or net-sell) list that stood on it
// on every trading date (the dates of 買賣超資料) of an unbroken run ending at
// the base date, when the run is at least minDays long. Read in one read
// transaction with a fixed number of queries, whatever the number of stocks.
// Lines: 股號, 名稱, 連續天數, 起始日期 (as printed), 其他次數 (the other list's
// dates within the run, blank when none), 本益比, 殖利率, 股價淨值比; longest
// run first, then by code.
QVector<ReportRow> RunStreakStatistic(db::Connection& connection, const StreakQuery& query);

// The latest stored trading date, empty when there is none.
QString LastTradingDate(db::Connection& connection);
