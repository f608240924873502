#include "core/stock/StockRecords.h"

#include "core/data/Connection.h"

const KeyTable& StockKeys()
{
    static const KeyTable keys{QStringLiteral("股號資料"), QStringLiteral("股號")};
    return keys;
}

bool operator==(const StockRecord& a, const StockRecord& b)
{
    return a.code == b.code && a.name == b.name && a.priceEarnings == b.priceEarnings && a.yield == b.yield
           && a.priceBook == b.priceBook;
}

std::optional<StockRecord> LoadStock(db::Connection& connection, const QString& code)
{
    const db::ResultSet rows =
        connection.query(QStringLiteral("SELECT * FROM 股號資料 WHERE 股號 = ?"), {code.trimmed()});
    if (rows.isEmpty())
        return std::nullopt;
    return StockRecord{rows.text(0, QStringLiteral("股號")).trimmed(), rows.text(0, QStringLiteral("名稱")).trimmed(),
                       rows.text(0, QStringLiteral("本益比")).trimmed(), rows.text(0, QStringLiteral("殖利率")).trimmed(),
                       rows.text(0, QStringLiteral("股價淨值比")).trimmed()};
}

namespace {
QVariantList Values(const StockRecord& r)
{
    return {r.code.trimmed(), r.name.trimmed(), r.priceEarnings.trimmed(), r.yield.trimmed(), r.priceBook.trimmed()};
}
}

void InsertStock(db::Connection& connection, const StockRecord& record)
{
    connection.execute(
        QStringLiteral("INSERT INTO 股號資料 (股號, 名稱, 本益比, 殖利率, 股價淨值比) VALUES (?, ?, ?, ?, ?)"),
        Values(record));
}

void UpdateStock(db::Connection& connection, const QString& currentCode, const StockRecord& record)
{
    QVariantList values = Values(record);
    values << currentCode;
    const int changed = connection.execute(
        QStringLiteral("UPDATE 股號資料 SET 股號 = ?, 名稱 = ?, 本益比 = ?, 殖利率 = ?, 股價淨值比 = ? WHERE 股號 = ?"),
        values);
    if (changed == 0)
        throw db::DbError(db::ErrorKind::Other, QStringLiteral("找不到股號 %1 的資料，可能已被刪除。").arg(currentCode));
}

void DeleteStock(db::Connection& connection, const QString& code)
{
    if (connection.execute(QStringLiteral("DELETE FROM 股號資料 WHERE 股號 = ?"), {code}) == 0)
        throw db::DbError(db::ErrorKind::Other, QStringLiteral("找不到股號 %1 的資料，可能已被刪除。").arg(code));
}

void AddMissingStocks(db::Connection& connection, const QVector<StockRecord>& stocks)
{
    // The code is bound twice: a server types each use of a parameter apart.
    db::Statement insert(connection, QStringLiteral(
        "INSERT INTO 股號資料 (股號, 名稱, 本益比, 殖利率, 股價淨值比) SELECT ?, ?, ?, ?, ? "
        "WHERE NOT EXISTS (SELECT 1 FROM 股號資料 WHERE 股號 = ?)"));
    for (const StockRecord& stock : stocks)
        insert.execute({stock.code, stock.name, stock.priceEarnings, stock.yield, stock.priceBook, stock.code});
}

QHash<QString, QString> StockNames(db::Connection& connection)
{
    const db::ResultSet rows = connection.query(QStringLiteral("SELECT 股號, 名稱 FROM 股號資料"));
    QHash<QString, QString> names;
    names.reserve(rows.rowCount());
    for (int r = 0; r < rows.rowCount(); ++r)
        names.insert(rows.text(r, 0).trimmed().toUpper(), rows.text(r, 1).trimmed());
    return names;
}
