#include "core/system/UserCheck.h"

#include "core/data/Connection.h"

bool PasswordMatches(const QString& connectionString, const QString& name, const QString& password)
{
    db::Connection connection(connectionString);
    const db::ResultSet users =
        connection.query(QStringLiteral("SELECT * FROM 使用者資料 WHERE 使用者 = ?"), {name});
    return !users.isEmpty() && users.text(0, QStringLiteral("密碼")) == password;
}
