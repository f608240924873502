#pragma once

#include "core/entry/InstitutionalTrades.h"
#include "core/stats/Report.h"

namespace db {
class Connection;
}

struct AmountRankingQuery {
    QString base;                            // 7 digits
    int days = 5;                            // N: the trading dates up to the base date
    TradeBasis basis = TradeBasis::AllThree;
    int top = 30;                            // lines per side
};

struct AmountRanking {
    QStringList dates;   // the trading dates summed, oldest first; fewer than N when fewer are stored
    // Under the span: the base date replaced by the trading date before it,
    // and how many of the dates hold no amounts (lists typed by hand).
    QStringList notes;
    // A heading line (段落, with @keep) before each side that has stocks, then
    // its lines: 股號, 名稱, 累計張數 (shares / 1000, grouped), 買超天數,
    // 連續天數, 本益比, 殖利率, 股價淨值比.
    QVector<ReportRow> lines;
    int buys = 0;
    int sells = 0;
};

// Each stock's net shares summed over the last N trading dates (dates with
// lists) up to the base date; dates among them without amounts add nothing, in one grouped query: the largest net buys first, then the
// most negative net sells, ties by code, at most `top` each. 連續天數 counts
// the dates, back from the last one, on which the stock's net kept the side's
// sign; a date without its amount ends the run. Nothing when none of the
// dates holds amounts.
AmountRanking RunAmountRanking(db::Connection& connection, const AmountRankingQuery& query);

// The latest date with amounts, empty when there is none.
QString LastAmountDate(db::Connection& connection);
