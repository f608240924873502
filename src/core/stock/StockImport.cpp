#include "core/stock/StockImport.h"

#include "core/data/Connection.h"
#include "core/stock/CsvReader.h"

namespace {

constexpr int kFieldLength = 10;
constexpr qint64 kLargestFile = 64 * 1024 * 1024;

QString Clean(const QString& field)
{
    return CsvCell(field).left(kFieldLength);
}

// Column numbers of code, name and the three ratios, or empty when the row
// is not a heading row.
QVector<int> HeadingColumns(const QStringList& record)
{
    const QStringList keys = {QStringLiteral("代號"), QStringLiteral("名稱"), QStringLiteral("本益比"),
                              QStringLiteral("殖利率"), QStringLiteral("股價淨值比")};
    QVector<int> columns(keys.size(), -1);
    for (int c = 0; c < record.size(); ++c) {
        const QString cell = record.at(c).simplified().remove(QLatin1Char(' '));
        for (int k = 0; k < keys.size(); ++k) {
            if (columns[k] < 0 && cell.contains(keys.at(k)))
                columns[k] = c;
        }
    }
    return columns.contains(-1) ? QVector<int>() : columns;
}

} // namespace

QVector<ImportedStock> StocksFromRecords(const QVector<QStringList>& records)
{
    QVector<ImportedStock> stocks;
    QVector<int> columns = {0, 1, 2, 3, 4};
    for (const QStringList& record : records) {
        const QVector<int> heading = HeadingColumns(record);
        if (!heading.isEmpty()) {
            columns = heading;
            continue;
        }
        const auto field = [&record](int column) { return Clean(record.value(column)); };
        ImportedStock stock{field(columns[0]).toUpper(), field(columns[1]), field(columns[2]), field(columns[3]),
                            field(columns[4])};
        if (IsStockCode(stock.code))
            stocks.push_back(std::move(stock));
    }
    return stocks;
}

QVector<ImportedStock> ReadStockFile(const QString& path, QString* error)
{
    const QVector<QStringList> records =
        ReadCsvFile(path, kLargestFile, QStringLiteral("檔案太大，不是股號資料檔"), error);
    return error->isEmpty() ? StocksFromRecords(records) : QVector<ImportedStock>();
}

void ImportStocks(db::Connection& connection, const QVector<ImportedStock>& stocks, int* written)
{
    *written = 0;
    db::Transaction transaction(connection);
    // The engine predates INSERT ... ON CONFLICT: update, and insert when no row had the code.
    db::Statement update(connection, QStringLiteral(
        "UPDATE 股號資料 SET 股號 = ?1, 名稱 = ?2, 本益比 = ?3, 殖利率 = ?4, 股價淨值比 = ?5 WHERE 股號 = ?1"));
    db::Statement insert(connection, QStringLiteral(
        "INSERT INTO 股號資料 (股號, 名稱, 本益比, 殖利率, 股價淨值比) VALUES (?, ?, ?, ?, ?)"));
    for (const ImportedStock& stock : stocks) {
        const QVariantList values = {stock.code, stock.name, stock.priceEarnings, stock.yield, stock.priceBook};
        try {
            if (update.execute(values) == 0)
                insert.execute(values);
        } catch (const db::DbError&) {
            transaction.commit();
            throw;
        }
        ++*written;
    }
    transaction.commit();
}
