#pragma once

#include "core/records/KeyNavigation.h"

#include <QHash>
#include <QString>
#include <QVector>
#include <optional>

namespace db {
class Connection;
}

// One row of 股號資料, every value trimmed.
struct StockRecord {
    QString code;
    QString name;
    QString priceEarnings;   // 本益比
    QString yield;           // 殖利率
    QString priceBook;       // 股價淨值比
};

// A ratio without a value, as the screening leaves it out: an empty text
// would count as 0.
inline const QString kNoRatio = QStringLiteral("-");

// A code named from an exchange's file that gives no ratios.
inline StockRecord StockWithoutRatios(const QString& code, const QString& name)
{
    return {code, name, kNoRatio, kNoRatio, kNoRatio};
}

bool operator==(const StockRecord& a, const StockRecord& b);
inline bool operator!=(const StockRecord& a, const StockRecord& b) { return !(a == b); }

const KeyTable& StockKeys();

std::optional<StockRecord> LoadStock(db::Connection& connection, const QString& code);
void InsertStock(db::Connection& connection, const StockRecord& record);
// Writes into the row that still carries `currentCode`; a row another PC
// removed meanwhile is an error, not a silent success.
void UpdateStock(db::Connection& connection, const QString& currentCode, const StockRecord& record);
void DeleteStock(db::Connection& connection, const QString& code);

// Adds the codes 股號資料 does not hold yet, with the values given; a code
// another PC added meanwhile keeps its row. Runs inside the caller's transaction.
void AddMissingStocks(db::Connection& connection, const QVector<StockRecord>& stocks);

// Every stock's name by its code in upper case.
QHash<QString, QString> StockNames(db::Connection& connection);
