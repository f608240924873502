#pragma once

#include "core/records/KeyNavigation.h"

#include <QString>
#include <QVariant>
#include <QVector>
#include <optional>

namespace db {
class Connection;
}

// One row of a day's net-buy or net-sell list.
struct ListRow {
    double sequence = 0;
    QString code;
};

// A trading date with its two lists, each in 序 order.
struct TradingDay {
    QString date;
    QString weekday;
    QVector<ListRow> buys;
    QVector<ListRow> sells;
};

const KeyTable& TradingDayKeys();

std::optional<TradingDay> LoadTradingDay(db::Connection& connection, const QString& date);
// The same inside the caller's transaction, which keeps the one state.
std::optional<TradingDay> ReadTradingDay(db::Connection& connection, const QString& date);

// The same header and lists, rows of one 序 in any order.
bool SameTradingDay(const TradingDay& a, const TradingDay& b);

// Inserts a new day, or replaces the day stored under `currentDate` (header
// and both lists wholesale, moved to day.date with its amounts when that
// differs). Rows whose code is blank are not stored. Runs inside the
// caller's transaction.
void SaveTradingDay(db::Connection& connection, bool isNew, const QString& currentDate, const TradingDay& day);

// Deletes the day with its lists and amounts. Throws when no day is stored
// under `date` (another PC deleted it).
void DeleteTradingDay(db::Connection& connection, const QString& date);

// A sheet's rows of texts (序, 股號, ...) as list rows: every row whose code
// is not blank, 序 taken as its leading number.
QVector<ListRow> ListRowsFromTexts(const QVector<QStringList>& texts);
