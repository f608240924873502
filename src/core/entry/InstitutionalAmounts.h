#pragma once

#include "core/entry/InstitutionalTrades.h"

namespace db {
class Connection;
}

// Replaces the amounts stored for the day's date with every row of the day
// (not only the ranked ones): 外資, 投信, 自營商 and 合計 in shares, null for a
// basis the row's own file has no column for. Runs inside the caller's transaction.
void SaveInstitutionalAmounts(db::Connection& connection, const InstitutionalDay& day);

// Amounts are stored for that 7-digit date.
bool HasInstitutionalAmounts(db::Connection& connection, const QString& date);

// The trading dates (days of 買賣超資料) with amounts up to `last`, newest
// first, at most `count`. Amounts a day no longer has lists for are left
// out everywhere.
QStringList AmountDatesUpTo(db::Connection& connection, const QString& last, int count);

// The trading dates (days of 買賣超資料) up to `last`, newest first, at most
// `count`, each with whether amounts are stored for it.
struct TradingDateAmounts {
    QString date;
    bool hasAmounts = false;
};
QVector<TradingDateAmounts> TradingDatesUpTo(db::Connection& connection, const QString& last, int count);

// Shares as 張 rounded half away from zero, with thousands separators: -1,235.
QString LotsText(qint64 shares);

// The column of 法人買賣超 holding a basis' net shares.
QString AmountColumn(TradeBasis basis);
