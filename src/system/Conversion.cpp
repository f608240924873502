#include "system/Conversion.h"

#include "data/Connection.h"
#include "data/ConnectionString.h"
#include "data/SqlText.h"
#include "data/SqlFunctions.h"

#include <QFileInfo>

namespace {

enum class ColumnKind { Number, Bytes, Text };

struct Column {
    QString name;
    ColumnKind kind;
};

QVector<Column> ColumnsOf(db::Connection& connection, const QString& table)
{
    QVector<Column> columns;
    for (const auto& [name, declared] : connection.tableColumns(table)) {
        const QString type = declared.toUpper();
        const ColumnKind kind = type.contains(QLatin1String("INT")) || type.contains(QLatin1String("REAL"))
                                        || type.contains(QLatin1String("FLOA")) || type.contains(QLatin1String("DOUB"))
                                        || type.contains(QLatin1String("NUM"))
                                    ? ColumnKind::Number
                                : type.contains(QLatin1String("BLOB")) ? ColumnKind::Bytes
                                                                       : ColumnKind::Text;
        columns.push_back({name, kind});
    }
    return columns;
}

QVariant Converted(const Column& column, const QVariant& old)
{
    switch (column.kind) {
    case ColumnKind::Number:
        return old.isNull() ? 0.0 : db::LeadingNumber(old.toString().toUtf8().toStdString());
    case ColumnKind::Bytes:
        return old;
    case ColumnKind::Text:
        break;
    }
    return old.isNull() ? QString() : old.toString().trimmed();
}

void CopyTable(db::Connection& current, db::Connection& old, const QString& table,
               const std::function<void(int)>& rowPercent)
{
    db::ResultSet rows;
    try {
        rows = old.query(QStringLiteral("SELECT * FROM %1").arg(db::QuotedName(table)));
    } catch (const db::DbError&) {
        return;   // the old file has no such table: it stays empty
    }
    // The current columns the old table has, and the text columns it lacks.
    QVector<Column> targets;
    QVector<int> sources;
    for (const Column& column : ColumnsOf(current, table)) {
        const int source = rows.columnIndex(column.name);
        if (source >= 0 || column.kind == ColumnKind::Text) {
            targets.push_back(column);
            sources.push_back(source);
        }
    }
    if (targets.isEmpty())
        return;
    QStringList names;
    QStringList marks;
    for (const Column& column : targets) {
        names << db::QuotedName(column.name);
        marks << QStringLiteral("?");
    }
    db::Statement insert(current, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(db::QuotedName(table), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))));
    for (int r = 0; r < rows.rowCount(); ++r) {
        QVariantList values;
        values.reserve(targets.size());
        for (int c = 0; c < targets.size(); ++c)
            values << (sources[c] < 0 ? QVariant(QString()) : Converted(targets[c], rows.value(r, sources[c])));
        try {
            insert.execute(values);
        } catch (const db::DbError&) {
            // a row the current table refuses is left out
        }
        if ((r + 1) % 1000 == 0 || r + 1 == rows.rowCount())
            rowPercent(qRound((r + 1) * 100.0 / rows.rowCount()));
    }
}

} // namespace

void ConvertOldDatabase(const QString& connectionString, const QString& oldPath, const QString& password,
                        const std::function<void(const ConversionProgress&)>& progress)
{
    const QString livePath = db::ParseConnectionString(connectionString).path;
    const QFileInfo oldFile(oldPath);
    if (oldFile.exists() && oldFile.canonicalFilePath() == QFileInfo(livePath).canonicalFilePath())
        throw db::DbError(db::ErrorKind::Other, QStringLiteral("來源檔就是目前使用中的資料庫，不能轉檔"));
    db::Connection old(db::BuildConnectionString(oldPath, password), db::OpenMode::MustExist);
    db::Connection current(connectionString, db::OpenMode::MustExist);

    const QStringList tables = current.tableNames();
    ConversionProgress now;
    now.tables = static_cast<int>(tables.size());
    for (const QString& listed : tables) {
        now.name = listed.trimmed();
        ++now.table;
        now.rowPercent = 0;
        progress(now);
        db::Transaction transaction(current);
        current.execute(QStringLiteral("DELETE FROM %1").arg(db::QuotedName(now.name)));
        CopyTable(current, old, now.name, [&](int percent) {
            now.rowPercent = percent;
            progress(now);
        });
        transaction.commit();
    }
    if (current.query(QStringLiteral("SELECT 1 FROM 使用者資料 LIMIT 1")).isEmpty())
        current.execute(QStringLiteral("INSERT INTO 使用者資料 (使用者) VALUES ('admin')"));
}
