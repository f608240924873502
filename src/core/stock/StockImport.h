#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
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
    // A file without ratio columns (the exchanges' company list) leaves the
    // stored ratios of a code as they are.
    bool hasRatios = true;
};

// What a file holds: its stocks, and the first field of each other row that
// held anything (title lines, notes, codes that are no stock codes).
struct StockFile {
    QVector<ImportedStock> stocks;
    QStringList skipped;
};

// The stocks of a parsed file. A row that names its columns (no field a
// code, two or more the exchanges' headings) maps the rows after it: the
// code from 公司代號, 證券代號, 股票代號, 代號 or 股號, the name from
// 公司簡稱, 證券名稱, 股票名稱 or 名稱, the ratios from 本益比, 殖利率 and
// 股價淨值比 when all three are there. A headed file without a code column is
// refused with `error` set. Without a heading the first five fields are code,
// name and the three ratios. Every field is trimmed and freed of the ="..."
// that keeps a leading zero; a ratio loses its thousands separators, and one
// that is no number (in a headed file, an empty one too) becomes "-", the
// mark for no value; fields are cut to 10
// characters. A row is a stock when its code is digits, optionally followed
// by letters.
StockFile StocksFromRecords(const QVector<QStringList>& records, QString* error);
// The same, record by record from the decoded text of a file, holding no
// parsed field but the stocks'.
StockFile StocksFromText(QStringView text, QString* error);

// Reads, decodes and parses the file at `path`; empty with `error` set when
// it cannot be read, is no text or names no code column.
StockFile ReadStockFile(const QString& path, QString* error);

// What an import would do: the codes it adds and those it overwrites, in
// file order, each once.
struct ImportPlan {
    QVector<ImportedStock> added;
    QVector<ImportedStock> updated;
};
ImportPlan PlanImport(db::Connection& connection, const QVector<ImportedStock>& stocks);

// Adds new codes and overwrites stored ones, in file order (a later row of
// the same code wins), in one transaction. When a row is refused, the rows
// before it are kept and the error is thrown; when the disk or the engine
// fails, nothing is kept. `written` counts the rows stored.
void ImportStocks(db::Connection& connection, const QVector<ImportedStock>& stocks, int* written);
