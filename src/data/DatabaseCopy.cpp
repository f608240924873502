#include "data/DatabaseCopy.h"

#include "data/Connection.h"
#include "data/ConnectionString.h"
#include "data/FileMove.h"

#include <QTemporaryFile>

#include <cstring>

namespace db {

namespace {

void CheckCopy(const QString& path, const QString& password, qlonglong expectedVersion)
{
    Connection copy(BuildConnectionString(path, password), OpenMode::MustExist);
    const QString integrity = copy.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0);
    if (integrity != QLatin1String("ok"))
        throw DbError(ErrorKind::NotADatabase, integrity);
    if (copy.query(QStringLiteral("PRAGMA user_version")).value(0, 0).toLongLong() != expectedVersion)
        throw DbError(ErrorKind::Other, QStringLiteral("複製的資料庫版本不符"));
}

void DetachQuietly(Connection& source)
{
    try {
        source.executeScript(QStringLiteral("DETACH DATABASE quorvex_copy"));
    } catch (const DbError&) {
        // the original failure is the one worth reporting
    }
}

} // namespace

void CopyDatabase(Connection& source, const QString& targetPath, const QString& password)
{
    QString reason;
    const std::unique_ptr<QTemporaryFile> scratch = ScratchFileBeside(targetPath, &reason);
    if (!scratch)
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法建立檔案 %1：%2").arg(targetPath, reason));
    const QString scratchPath = scratch->fileName();

    const qlonglong version = source.query(QStringLiteral("PRAGMA user_version")).value(0, 0).toLongLong();
    source.execute(QStringLiteral("ATTACH DATABASE ? AS quorvex_copy KEY ?"), {scratchPath, password});
    try {
        source.query(QStringLiteral("SELECT sqlcipher_export('quorvex_copy')"));
        source.executeScript(QStringLiteral("PRAGMA quorvex_copy.user_version = %1").arg(version));
    } catch (...) {
        DetachQuietly(source);
        throw;
    }
    source.executeScript(QStringLiteral("DETACH DATABASE quorvex_copy"));

    CheckCopy(scratchPath, password, version);
    int error = 0;
    if (!MoveReplacing(scratchPath, targetPath, &error))
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法寫入檔案 %1：%2")
                                                 .arg(targetPath, QString::fromLocal8Bit(std::strerror(error))));
    scratch->setAutoRemove(false);
}

} // namespace db
