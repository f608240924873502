#pragma once

#include <QDateTime>
#include <QString>

namespace db {
class Connection;
}

// The two time stamps shared by every user, kept in the first row of 使用者資料.
struct MaintTimes {
    QString backup;
    QString compaction;
};

MaintTimes ReadMaintTimes(db::Connection& connection);
// Writes the non-empty stamps into the first row, adding one to an empty table.
void SaveMaintTimes(db::Connection& connection, const QString& backup, const QString& compaction);

// 0 changed, the new password stored as its hash; 1 refused (no such user,
// or the old password does not open the stored one). A user whose password
// is null gets the new one whatever old one was typed.
int ChangePassword(db::Connection& connection, const QString& user, const QString& oldPassword,
                   const QString& newPassword);

// Empties every table but 使用者資料, inside the caller's transaction.
void ClearAllData(db::Connection& connection);

// "YYYY/MM/DD", two blanks, the time.
QString MaintTimeStamp(const QDateTime& now);

// Quorvex-<today's ROC date>.mdb in the user's home folder.
QString DefaultBackupPath();
