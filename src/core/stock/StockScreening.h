#pragma once

#include "core/records/GridQuery.h"

#include <QString>

// The stock screen's screening conditions, as the query panel holds them.
struct StockScreening {
    enum Order { ByCode = 0, ByPriceEarnings = 1, ByYieldDescending = 2, ByPriceBook = 3 };

    QString prefix;              // code or name prefix; empty matches every stock
    bool priceEarningsOn = true;
    QString priceEarningsFrom;   // read as their leading number, 0 when none
    QString priceEarningsTo;
    bool yieldOn = true;
    QString yieldFrom;
    QString yieldTo;
    Order order = ByCode;
};

// 股號, 名稱, the three ratios and the hidden key H股號 of the stocks that
// meet the conditions. A price/earnings range leaves out "-"; a yield stored
// as "-" or empty counts as 0.
GridQuery BuildStockQuery(const StockScreening& screening);
