#include "recordscreen/PrintSelection.h"

#include "data/Connection.h"

db::ResultSet ReadSelection(db::Connection& connection, const QString& select, const QString& keyColumn,
                            const QString& orderBy, const PrintSelection& selection)
{
    const QString order = QStringLiteral(" ORDER BY ") + orderBy;
    switch (selection.kind) {
    case PrintSelection::Single:
        return connection.query(select + QStringLiteral(" WHERE %1 = ?").arg(keyColumn) + order, {selection.single});
    case PrintSelection::Range:
        return connection.query(select + QStringLiteral(" WHERE %1 BETWEEN ? AND ?").arg(keyColumn) + order,
                                {selection.from, selection.to});
    case PrintSelection::All:
        break;
    }
    return connection.query(select + order);
}
