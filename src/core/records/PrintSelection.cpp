#include "core/records/PrintSelection.h"

#include "core/data/Connection.h"

void ForEachSelected(db::Connection& connection, const QString& select, const QString& keyColumn,
                     const QString& orderBy, const PrintSelection& selection,
                     const std::function<void(const db::Row&)>& visit)
{
    QString sql = select;
    QVariantList params;
    switch (selection.kind) {
    case PrintSelection::Single:
        sql += QStringLiteral(" WHERE %1 = ?").arg(keyColumn);
        params = {selection.single};
        break;
    case PrintSelection::Range:
        sql += QStringLiteral(" WHERE %1 BETWEEN ? AND ?").arg(keyColumn);
        params = {selection.from, selection.to};
        break;
    case PrintSelection::All:
        break;
    }
    db::Statement statement(connection, sql + QStringLiteral(" ORDER BY ") + orderBy);
    statement.forEachRow(params, visit);
}
