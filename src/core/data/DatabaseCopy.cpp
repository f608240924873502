#include "core/data/DatabaseCopy.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/FileMove.h"
#include "core/data/Schema.h"
#include "core/data/SqlText.h"

#include <QDir>
#include <QFileInfo>


namespace db {

namespace {

using TableCounts = QVector<QPair<QString, qlonglong>>;

TableCounts CountRows(Connection& connection, const QStringList& tables)
{
    TableCounts counts;
    for (const QString& table : tables)
        counts.push_back(
            {table, connection.query(QStringLiteral("SELECT count(*) FROM %1").arg(QuotedName(table))).value(0, 0).toLongLong()});
    return counts;
}

TableCounts CountRows(Connection& connection)
{
    return CountRows(connection, connection.tableNames());
}

// A server's tables row by row into a fresh file with the schema, all read
// in one snapshot of the server. Values go as they are, nulls included.
TableCounts CopyServerTo(Connection& source, const QString& scratchPath, const QString& password)
{
    Connection copy(BuildConnectionString(scratchPath, password), OpenMode::MustExist);
    CreateSchema(copy);
    copy.executeScript(QStringLiteral("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA cache_size = -65536"));
    ReadTransaction snapshot(source);
    const TableCounts counts = CountRows(source);
    Transaction writing(copy);
    copy.execute(QStringLiteral("DELETE FROM 使用者資料"));
    for (const auto& [table, rows] : counts) {
        QStringList names;
        for (const auto& column : copy.tableColumns(table))
            names << column.first;
        Statement insert(copy, InsertStatement(table, names));
        Statement read(source, QStringLiteral("SELECT %1 FROM %2").arg(QuotedNameList(names), QuotedName(table)));
        QVariantList values;
        read.forEachRow({}, [&](const Row& row) {
            values.clear();
            for (int c = 0; c < names.size(); ++c)
                values << row.value(c);
            insert.execute(values);
        });
    }
    writing.commit();
    return counts;
}

void Quietly(Connection& connection, const char* sql)
{
    try {
        connection.executeScript(QString::fromLatin1(sql));
    } catch (const DbError&) {
        // the original failure is the one worth reporting
    }
}

// Writes the copy inside one transaction of the source, so the copy and the
// row counts it must hold show one state of the file whatever another
// process writes meanwhile. The scratch file is thrown away on any failure,
// so it needs no journal and no syncing until it is complete.
TableCounts ExportTo(Connection& source, const QString& scratchPath, const QString& password, qlonglong version)
{
    source.execute(QStringLiteral("ATTACH DATABASE ? AS quorvex_copy KEY ?"), {scratchPath, password});
    TableCounts counts;
    try {
        source.executeScript(QStringLiteral("PRAGMA quorvex_copy.journal_mode = OFF; PRAGMA quorvex_copy.synchronous = OFF; "
                                            "PRAGMA quorvex_copy.cache_size = -65536"));
        source.executeScript(QStringLiteral("BEGIN"));
        counts = CountRows(source);
        source.query(QStringLiteral("SELECT sqlcipher_export('quorvex_copy')"));
        source.executeScript(QStringLiteral("PRAGMA quorvex_copy.user_version = %1").arg(version));
        source.executeScript(QStringLiteral("COMMIT"));
    } catch (...) {
        Quietly(source, "ROLLBACK");
        Quietly(source, "DETACH DATABASE quorvex_copy");
        throw;
    }
    source.executeScript(QStringLiteral("DETACH DATABASE quorvex_copy"));
    return counts;
}

// The copy opens with the key, passes the integrity check, carries the
// version and holds as many rows in every table as the source did.
void CheckCopy(const QString& path, const QString& password, qlonglong version, const TableCounts& counts)
{
    QString reason;
    if (!SyncFile(path, &reason))
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法寫入檔案 %1：%2").arg(path, reason));
    Connection copy(BuildConnectionString(path, password), OpenMode::MustExist);
    copy.executeScript(QStringLiteral("PRAGMA cache_size = -65536"));
    const QString integrity = copy.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0);
    if (integrity != QLatin1String("ok"))
        throw DbError(ErrorKind::NotADatabase, integrity);
    if (copy.query(QStringLiteral("PRAGMA user_version")).value(0, 0).toLongLong() != version)
        throw DbError(ErrorKind::Other, QStringLiteral("複製的資料庫版本不符"));
    QStringList tables;
    for (const auto& count : counts)
        tables << count.first;
    if (CountRows(copy, tables) != counts)
        throw DbError(ErrorKind::Other, QStringLiteral("複製的資料庫筆數與原資料庫不符"));
}

void MoveOver(const QString& scratchPath, const QString& targetPath)
{
    QString reason;
    if (!MoveReplacing(scratchPath, targetPath, &reason))
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法寫入檔案 %1：%2").arg(targetPath, reason));
}

} // namespace

void CopyDatabase(Connection& source, const QString& targetName, const QString& password)
{
    // A backup name that is a link (to a share, say) is kept: the copy goes
    // where it leads, or fails there.
    const QString targetPath = WhereNameLeads(targetName);
    QString reason;
    const std::unique_ptr<ScratchFile> scratch = ScratchFileBeside(targetPath, &reason);
    if (!scratch)
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法建立檔案 %1：%2").arg(targetPath, reason));
    const QString scratchPath = scratch->fileName();
    RemoveStaleScratchFiles(scratchPath);
    const qlonglong version = source.schemaVersion();
    const TableCounts counts = source.isServer() ? CopyServerTo(source, scratchPath, password)
                                                 : ExportTo(source, scratchPath, password, version);
    CheckCopy(scratchPath, password, version, counts);
    MoveOver(scratchPath, targetPath);
    scratch->setAutoRemove(false);
}

void CompactDatabase(const QString& connectionString, const QString& scratchName)
{
    // A server compacts its own files, while everyone goes on working.
    if (IsServerConnectionString(connectionString)) {
        Connection server(connectionString, OpenMode::MustExist);
        server.executeScript(QStringLiteral("VACUUM (ANALYZE)"));
        return;
    }
    const DataSource live = ParseConnectionString(connectionString);
    // A live name that is a link is kept: the copy goes over the file it leads to.
    const QString livePath = WhereNameLeads(live.path);
    const QString scratchPath = QFileInfo(livePath).absoluteDir().filePath(scratchName);
    // A live file reached through a link may bear the scratch name itself.
    if (QFileInfo(livePath).fileName() == scratchName || IsSameFile(scratchPath, livePath))
        throw DbError(ErrorKind::Other, QStringLiteral("資料庫檔案 %1 與重整用的暫存檔同名，無法重整").arg(livePath));

    // No rename over an open file on Windows, not even over our own; and a
    // copy made by another account of the office would take the file from
    // its owner, who might no longer open it. The engine rebuilds the file
    // in place instead, under its journal and its exclusive lock, all or
    // nothing: the file keeps its owner, mode and access list.
    if (!OpenFilesCanBeReplaced() || !CanGiveFileTheOwnerOf(livePath)) {
        Connection compacted(connectionString, OpenMode::MustExist);
        compacted.executeScript(QStringLiteral("VACUUM"));
        const QString integrity = compacted.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0);
        if (integrity != QLatin1String("ok"))
            throw DbError(ErrorKind::NotADatabase, integrity);
        return;
    }

    // No other connection may write the live file until its successor is in
    // place; a writer that was waiting then finds the file moved and fails
    // (so does this one, when another PC's compaction got there first).
    Connection guard(connectionString, OpenMode::MustExist);
    Transaction writeLock(guard);

    QFile::remove(scratchPath);
    QString reason;
    if (!CreateOrdinaryFile(scratchPath, &reason))
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法建立檔案 %1：%2").arg(scratchPath, reason));
    try {
        Connection source(connectionString, OpenMode::MustExist);
        const qlonglong version = source.schemaVersion();
        const TableCounts counts = ExportTo(source, scratchPath, live.password, version);
        CheckCopy(scratchPath, live.password, version, counts);
        MoveOver(scratchPath, livePath);
    } catch (...) {
        QFile::remove(scratchPath);
        throw;
    }
}

} // namespace db
