#include "core/records/KeyNavigation.h"

#include "core/data/Connection.h"

namespace {

QString Sql(const KeyTable& keys, const char* pattern)
{
    return QString::fromUtf8(pattern).arg(keys.column, keys.table);
}

} // namespace

QString HighestKey(db::Connection& connection, const KeyTable& keys, bool* found)
{
    const db::ResultSet rows = connection.query(Sql(keys, "SELECT %1 FROM %2 ORDER BY %1 DESC LIMIT 1"));
    *found = !rows.isEmpty();
    return rows.text(0, 0);
}

int MoveKey(db::Connection& connection, const KeyTable& keys, MoveDirection direction, QString* currentKey)
{
    const char* pattern = nullptr;
    switch (direction) {
    case MoveDirection::First:
        pattern = "SELECT %1 FROM %2 ORDER BY %1 LIMIT 1";
        break;
    case MoveDirection::Last:
        pattern = "SELECT %1 FROM %2 ORDER BY %1 DESC LIMIT 1";
        break;
    case MoveDirection::Previous:
        pattern = "SELECT %1 FROM %2 WHERE %1 < ? ORDER BY %1 DESC LIMIT 1";
        break;
    case MoveDirection::Next:
        pattern = "SELECT %1 FROM %2 WHERE %1 > ? ORDER BY %1 LIMIT 1";
        break;
    }
    const bool stepping = direction == MoveDirection::Previous || direction == MoveDirection::Next;
    const db::ResultSet rows = stepping ? connection.query(Sql(keys, pattern), {*currentKey})
                                        : connection.query(Sql(keys, pattern));
    if (!rows.isEmpty()) {
        *currentKey = rows.text(0, 0);
        return 0;
    }
    if (!stepping)
        return 0;
    // Nothing before or after: at the end, unless nothing is stored at all.
    const bool anyStored = !connection.query(Sql(keys, "SELECT 1 FROM %2 WHERE %1 IS NOT NULL LIMIT 1")).isEmpty();
    return anyStored ? 1 : 0;
}
