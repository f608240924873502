#include "data/DatabaseCopy.h"

#include "data/Connection.h"
#include "data/ConnectionString.h"
#include "data/FileMove.h"
#include "data/SqlText.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstring>

namespace db {

namespace {

using TableCounts = QVector<QPair<QString, qlonglong>>;

TableCounts CountRows(Connection& connection)
{
    TableCounts counts;
    for (const QString& table : connection.tableNames())
        counts.push_back(
            {table, connection.query(QStringLiteral("SELECT count(*) FROM %1").arg(QuotedName(table))).value(0, 0).toLongLong()});
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
    if (CountRows(copy) != counts)
        throw DbError(ErrorKind::Other, QStringLiteral("複製的資料庫筆數與原資料庫不符"));
}

void MoveOver(const QString& scratchPath, const QString& targetPath)
{
    int error = 0;
    if (!MoveReplacing(scratchPath, targetPath, &error))
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法寫入檔案 %1：%2")
                                                 .arg(targetPath, QString::fromLocal8Bit(std::strerror(error))));
}

qlonglong VersionOf(Connection& connection)
{
    return connection.query(QStringLiteral("PRAGMA user_version")).value(0, 0).toLongLong();
}

} // namespace

void CopyDatabase(Connection& source, const QString& targetPath, const QString& password)
{
    QString reason;
    const std::unique_ptr<QTemporaryFile> scratch = ScratchFileBeside(targetPath, &reason);
    if (!scratch)
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法建立檔案 %1：%2").arg(targetPath, reason));
    const QString scratchPath = scratch->fileName();
    const qlonglong version = VersionOf(source);
    const TableCounts counts = ExportTo(source, scratchPath, password, version);
    CheckCopy(scratchPath, password, version, counts);
    MoveOver(scratchPath, targetPath);
    scratch->setAutoRemove(false);
}

void CompactDatabase(const QString& connectionString, const QString& scratchName)
{
    const DataSource live = ParseConnectionString(connectionString);
    const QString scratchPath = QFileInfo(live.path).absoluteDir().filePath(scratchName);

    // No other connection may write the live file until its successor is in
    // place; a writer that was waiting then finds the file moved and fails.
    Connection guard(connectionString, OpenMode::MustExist);
    Transaction writeLock(guard);

    QFile::remove(scratchPath);
    QString reason;
    if (!CreateOrdinaryFile(scratchPath, &reason))
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法建立檔案 %1：%2").arg(scratchPath, reason));
    try {
        Connection source(connectionString, OpenMode::MustExist);
        const qlonglong version = VersionOf(source);
        const TableCounts counts = ExportTo(source, scratchPath, live.password, version);
        CheckCopy(scratchPath, live.password, version, counts);
        MoveOver(scratchPath, live.path);
    } catch (...) {
        QFile::remove(scratchPath);
        throw;
    }
}

} // namespace db
