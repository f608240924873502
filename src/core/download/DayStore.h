#pragma once

#include "core/entry/InstitutionalTrades.h"

namespace db {
class Connection;
}

struct StoredDay {
    bool stored = false;   // false: the day was there already and left alone
    int buys = 0;
    int sells = 0;
    bool amountsAdded = false;   // to a stored day that lacked them
};

// Stores a day read from the exchanges' files with its two lists ranked as
// the import ranks them, every stock's amounts, and the listed codes the
// master lacks (named from the files), in one transaction. A stored day is
// replaced only with `replace`; without it, only amounts it lacks are added. Throws db::DbError, storing nothing, when it cannot; throws
// std::invalid_argument when a file lacks the basis' column.
StoredDay StoreInstitutionalDay(db::Connection& connection, const InstitutionalDay& day, TradeBasis basis, int length,
                                bool sharesOnly, bool replace);

// A day of that 7-digit date is stored.
bool IsDayStored(db::Connection& connection, const QString& date);
