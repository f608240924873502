#include "core/system/Maintenance.h"

#include "core/data/Connection.h"
#include "core/data/PasswordHash.h"
#include "core/data/SqlText.h"
#include "core/text/RocDate.h"

#include <QDir>

namespace {
const QString kUserTable = QStringLiteral("使用者資料");
}

MaintTimes ReadMaintTimes(db::Connection& connection)
{
    const db::ResultSet rows = connection.query(QStringLiteral("SELECT * FROM 使用者資料 LIMIT 1"));
    if (rows.isEmpty())
        return {};
    return {rows.text(0, QStringLiteral("備份時間")).trimmed(), rows.text(0, QStringLiteral("重整時間")).trimmed()};
}

void SaveMaintTimes(db::Connection& connection, const QString& backup, const QString& compaction)
{
    db::Transaction transaction(connection);
    db::ResultSet first = connection.query(QStringLiteral("SELECT rowid FROM 使用者資料 LIMIT 1"));
    if (first.isEmpty()) {
        connection.execute(QStringLiteral("INSERT INTO 使用者資料 DEFAULT VALUES"));
        first = connection.query(QStringLiteral("SELECT rowid FROM 使用者資料 LIMIT 1"));
    }
    // One statement: a server's row address changes with every update.
    connection.execute(QStringLiteral("UPDATE 使用者資料 SET 備份時間 = CASE WHEN ?1 = '' THEN 備份時間 ELSE ?1 END, "
                                      "重整時間 = CASE WHEN ?2 = '' THEN 重整時間 ELSE ?2 END WHERE rowid = ?3"),
                       {backup.trimmed(), compaction.trimmed(), first.value(0, 0)});
    transaction.commit();
}

int ChangePassword(db::Connection& connection, const QString& user, const QString& oldPassword,
                   const QString& newPassword)
{
    // Made before the write lock: a hash takes a noticeable moment.
    const QString hash = db::HashPassword(newPassword);
    db::Transaction transaction(connection);
    const db::ResultSet rows =
        connection.query(QStringLiteral("SELECT rowid, 密碼 FROM 使用者資料 WHERE 使用者 = ? LIMIT 1"), {user});
    if (rows.isEmpty())
        return 1;
    const QVariant stored = rows.value(0, 1);
    if (!stored.isNull() && !db::StoredPasswordMatches(stored, oldPassword))
        return 1;
    connection.execute(QStringLiteral("UPDATE 使用者資料 SET 密碼 = ? WHERE rowid = ?"), {hash, rows.value(0, 0)});
    transaction.commit();
    return 0;
}

void ClearAllData(db::Connection& connection)
{
    for (const QString& table : connection.tableNames()) {
        if (table.trimmed() == kUserTable)
            continue;
        connection.execute(QStringLiteral("DELETE FROM %1").arg(db::QuotedName(table)));
    }
}

QString MaintTimeStamp(const QDateTime& now)
{
    return now.toString(QStringLiteral("yyyy/MM/dd  HH:mm:ss"));
}

QString DefaultBackupPath()
{
    return QDir::home().filePath(QStringLiteral("Quorvex-") + TodayRocDate() + QStringLiteral(".mdb"));
}
