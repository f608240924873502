#include "core/system/Conversion.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/FileMove.h"
#include "core/data/SqlFunctions.h"
#include "core/data/SqlText.h"
#include "core/system/OldDatabase.h"
#include "core/text/TextBytes.h"

#include <QHash>

#include <cmath>
#include <optional>

namespace {

enum class ColumnKind { Number, Integer, Bytes, Text };

struct Column {
    QString name;
    ColumnKind kind;
};

// The old program's tables; a file with none of them is some other database.
const QStringList kOldProgramTables = {QStringLiteral("股號資料"),   QStringLiteral("使用者資料"),
                                       QStringLiteral("公司基本資料"), QStringLiteral("買賣超資料"),
                                       QStringLiteral("買超明細資料"), QStringLiteral("賣超明細資料")};

// Without these a file is not a database of this program, whatever its key.
const QStringList kRequiredTables = {QStringLiteral("買賣超資料"), QStringLiteral("買超明細資料"),
                                     QStringLiteral("賣超明細資料")};

// The longest text the screens and imports ever store in a column; Access
// kept no longer text in a field either.
constexpr int kLongestText = 255;

QVector<Column> ColumnsOf(db::Connection& connection, const QString& table)
{
    QVector<Column> columns;
    for (const auto& [name, declared] : connection.tableColumns(table)) {
        const QString type = declared.toUpper();
        const ColumnKind kind = type.contains(QLatin1String("INT")) ? ColumnKind::Integer
                                : type.contains(QLatin1String("REAL"))
                                        || type.contains(QLatin1String("FLOA")) || type.contains(QLatin1String("DOUB"))
                                        || type.contains(QLatin1String("NUM"))
                                    ? ColumnKind::Number
                                : type.contains(QLatin1String("BLOB")) ? ColumnKind::Bytes
                                                                       : ColumnKind::Text;
        columns.push_back({name, kind});
    }
    return columns;
}

QString CutToColumn(const QString& table, const QString& column, const QString& text)
{
    // A list's code is limited in Big5 bytes, as the entry sheet limits it.
    if (column == QStringLiteral("股號") && table.endsWith(QStringLiteral("明細資料")))
        return LeftBytes(text, 10);
    static const QHash<QString, int> widths = {
        {QStringLiteral("股號"), 10},     {QStringLiteral("名稱"), 10},       {QStringLiteral("本益比"), 10},
        {QStringLiteral("殖利率"), 10},   {QStringLiteral("股價淨值比"), 10}, {QStringLiteral("買賣星期"), 1},
        {QStringLiteral("使用者"), 20}};
    return text.left(widths.value(column, kLongestText));
}

bool IsRocDateText(const QString& text)
{
    return text.size() == 7 && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// The old value as the current column takes it; nothing when no version of
// the program could have stored it.
std::optional<QVariant> Converted(const QString& table, const Column& column, const QVariant& old)
{
    switch (column.kind) {
    case ColumnKind::Number: {
        const bool numeric = old.typeId() == QMetaType::Double || old.typeId() == QMetaType::LongLong;
        const double number = old.isNull() ? 0.0
                              : numeric    ? old.toDouble()
                                           : db::LeadingNumber(old.toString().toUtf8().toStdString());
        if (!std::isfinite(number))
            return std::nullopt;
        return QVariant(number);
    }
    case ColumnKind::Integer: {
        // An amount the files had no column for stays unknown.
        if (old.isNull())
            return QVariant();
        const bool numeric = old.typeId() == QMetaType::Double || old.typeId() == QMetaType::LongLong;
        const double number = numeric ? old.toDouble() : db::LeadingNumber(old.toString().toUtf8().toStdString());
        if (!std::isfinite(number) || std::fabs(number) > 9.0e15)
            return std::nullopt;
        return QVariant(qlonglong(std::llround(number)));
    }
    case ColumnKind::Bytes:
        return old;
    case ColumnKind::Text:
        break;
    }
    const QString text = old.isNull() ? QString() : old.toString().trimmed();
    if (column.name == QStringLiteral("買賣日期") && !IsRocDateText(text))
        return std::nullopt;
    if (column.name == QStringLiteral("股號") && text.isEmpty())
        return std::nullopt;
    return QVariant(CutToColumn(table, column.name, text));
}

// Copies the rows; returns how many were left out.
int CopyTable(db::Connection& current, OldDatabase& old, const QStringList& oldTables, const QString& table,
              const std::function<void(int)>& rowPercent)
{
    if (!oldTables.contains(table))
        return 0;   // the old file has no such table: it stays empty
    const QStringList oldNames = old.columnNames(table);
    // The current columns the old table has, and the text columns it lacks;
    // only the old columns that have a place are read.
    QVector<Column> targets;
    QVector<int> sources;
    QStringList read;
    for (const Column& column : ColumnsOf(current, table)) {
        const int source = db::ColumnIndexIn(oldNames, column.name);
        if (source >= 0 || column.kind == ColumnKind::Text) {
            targets.push_back(column);
            sources.push_back(source < 0 ? -1 : int(read.size()));
            if (source >= 0)
                read << oldNames[source];
        }
    }
    if (targets.isEmpty() || oldNames.isEmpty())
        return 0;
    // A table sharing no column still brings its rows, each of empty texts.
    if (read.isEmpty())
        read << oldNames.first();
    QStringList names;
    for (const Column& column : targets)
        names << column.name;
    db::Statement insert(current, db::InsertStatement(table, names));
    // Rows go in batches, all or none: a server takes each as one COPY. A
    // repeated key undoes its batch, which then goes row by row to refuse
    // that row alone. Anything else (a full disk, an I/O error) may have
    // undone the whole transaction already: going on would write the rest
    // outside it.
    const int batchSize = current.isServer() ? 20000 : 1000;
    int refused = 0;
    QVector<QVariantList> batch;
    batch.reserve(batchSize);
    const auto insertBatch = [&] {
        try {
            current.appendRows(table, names, batch);
        } catch (const db::DbError& error) {
            if (error.kind() != db::ErrorKind::DuplicateKey)
                throw;
            for (const QVariantList& values : batch) {
                try {
                    insert.execute(values);
                } catch (const db::DbError& rowError) {
                    if (rowError.kind() != db::ErrorKind::DuplicateKey)
                        throw;
                    ++refused;
                }
            }
        }
        batch.clear();
    };
    // Read row by row: a table of every stock's daily amounts holds millions.
    const qlonglong total = old.rowCount(table);
    qlonglong r = 0;
    old.forEachRow(table, read, [&](const OldRow& row) {
        QVariantList values;
        values.reserve(targets.size());
        for (int c = 0; c < targets.size(); ++c) {
            const std::optional<QVariant> value =
                Converted(table, targets[c], sources[c] < 0 ? QVariant() : row.value(sources[c]));
            if (!value)
                break;
            values << *value;
        }
        if (values.size() < targets.size())
            ++refused;
        else
            batch.push_back(std::move(values));
        if (batch.size() == batchSize)
            insertBatch();
        if (++r % 1000 == 0 && total > 0)
            rowPercent(int(std::min<qlonglong>(100, r * 100 / total)));
    });
    if (!batch.isEmpty())
        insertBatch();
    if (r > 0)
        rowPercent(100);
    return refused;
}

void RequireOurTables(const QStringList& present)
{
    if (std::none_of(kOldProgramTables.begin(), kOldProgramTables.end(),
                     [&](const QString& table) { return present.contains(table); }))
        throw db::DbError(db::ErrorKind::Other, QStringLiteral("這不是舊版系統的資料庫檔案：找不到 股號資料 等資料表"));
    QStringList missing;
    for (const QString& table : kRequiredTables) {
        if (!present.contains(table))
            missing << table;
    }
    if (!missing.isEmpty())
        throw db::DbError(db::ErrorKind::NotADatabase,
                          QStringLiteral("來源檔不是本系統的資料庫，缺少資料表：%1").arg(missing.join(QStringLiteral("、"))));
}

} // namespace

int ConvertOldDatabase(const QString& connectionString, const QString& oldPath, const QString& password,
                       const std::function<void(const ConversionProgress&)>& progress)
{
    if (!db::IsServerConnectionString(connectionString)
        && IsSameFile(oldPath, db::ParseConnectionString(connectionString).path))
        throw db::DbError(db::ErrorKind::Other, QStringLiteral("來源檔就是目前使用中的資料庫，不能轉檔"));
    ConversionProgress now;
    const std::unique_ptr<OldDatabase> old = OpenOldDatabase(oldPath, password, [&] { progress(now); });
    const QStringList oldTables = old->tableNames();
    RequireOurTables(oldTables);
    if (!old->passwordMatches())
        throw db::DbError(db::ErrorKind::Other,
                          QStringLiteral("來源檔的資料庫密碼與目前的資料庫不同，不能轉檔。請確認選的是舊版系統的資料庫檔案。"));
    db::Connection current(connectionString, db::OpenMode::MustExist);

    const QStringList tables = current.tableNames();
    now.tables = static_cast<int>(tables.size());
    int refused = 0;
    db::Transaction transaction(current);
    for (const QString& listed : tables) {
        now.name = listed.trimmed();
        ++now.table;
        now.rowPercent = 0;
        progress(now);
        current.execute(QStringLiteral("DELETE FROM %1").arg(db::QuotedName(now.name)));
        refused += CopyTable(current, *old, oldTables, now.name, [&](int percent) {
            now.rowPercent = percent;
            progress(now);
        });
    }
    if (current.query(QStringLiteral("SELECT 1 FROM 使用者資料 LIMIT 1")).isEmpty())
        current.execute(QStringLiteral("INSERT INTO 使用者資料 (使用者) VALUES ('admin')"));
    transaction.commit();
    return refused;
}
