#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace db {
class Connection;
}

struct ImportedStock {
    QString code;
    QString name;
    QString priceEarnings;
    QString yield;
    QString priceBook;
};

// The stocks of a parsed file. A row whose cells name the code, name,
// 本益比, 殖利率 and 股價淨值比 columns (the exchanges' ratio files) maps the
// rows after it by those headings; otherwise the first five fields are
// code, name and the three ratios. Every field is trimmed, freed of the
// ="..." that keeps a leading zero, and cut to 10 characters; a row is a
// stock when its code is digits, optionally followed by letters.
QVector<ImportedStock> StocksFromRecords(const QVector<QStringList>& records);

// Reads, decodes and parses the file at `path`; empty with `error` set when
// it cannot be read or is no text.
QVector<ImportedStock> ReadStockFile(const QString& path, QString* error);

// Adds new codes and overwrites stored ones, in file order (a later row of
// the same code wins), in one transaction. When a row fails, the rows before
// it are kept and the error is thrown; `written` counts the rows stored.
void ImportStocks(db::Connection& connection, const QVector<ImportedStock>& stocks, int* written);
