#include "core/system/UserCheck.h"

#include "core/data/Connection.h"
#include "core/data/PasswordHash.h"

namespace {

// Each password an older version or a conversion left as typed, replaced by
// its hash unless another PC changed it meanwhile. The hashes are made
// before the write lock is taken: each takes a noticeable moment.
void HashPasswordsKeptAsTyped(db::Connection& connection)
{
    const db::ResultSet rows =
        connection.query(QStringLiteral("SELECT rowid, 密碼 FROM 使用者資料 WHERE 密碼 IS NOT NULL"));
    try {
        QVector<QVariantList> replacements;
        for (int r = 0; r < rows.rowCount(); ++r) {
            const QString typed = rows.text(r, 1);
            if (!db::IsPasswordHash(typed))
                replacements.push_back({db::HashPassword(typed), rows.value(r, 0), typed});
        }
        if (replacements.isEmpty())
            return;
        db::Transaction transaction(connection);
        db::Statement replace(connection, QStringLiteral("UPDATE 使用者資料 SET 密碼 = ? WHERE rowid = ? AND 密碼 = ?"));
        for (const QVariantList& values : replacements)
            replace.execute(values);
        transaction.commit();
    } catch (const db::DbError&) {
        // A PC that may only read the file, finds it locked past the wait
        // or lacks the memory for a hash still logs in: the password was
        // checked. A later login stores the hashes.
    }
}

} // namespace

bool PasswordMatches(const QString& connectionString, const QString& name, const QString& password)
{
    db::Connection connection(connectionString);
    const db::ResultSet users =
        connection.query(QStringLiteral("SELECT 密碼 FROM 使用者資料 WHERE 使用者 = ? LIMIT 1"), {name});
    if (users.isEmpty() || !db::StoredPasswordMatches(users.value(0, 0), password))
        return false;
    HashPasswordsKeptAsTyped(connection);
    return true;
}
