#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

namespace db {

// Where a column of that name stands: the exact name first, else the first
// that differs only in letter case; -1 when none does.
int ColumnIndexIn(const QStringList& columns, const QString& name);

// All rows of a query, copied out of the engine, so the row count is known
// before the first row is read and nothing stays open afterwards.
class ResultSet {
public:
    ResultSet() = default;
    ResultSet(QStringList columns, QVector<QVector<QVariant>> rows);

    int rowCount() const { return static_cast<int>(m_rows.size()); }
    int columnCount() const { return static_cast<int>(m_columns.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const QStringList& columns() const { return m_columns; }

    // -1 when no column has that name (compared ignoring ASCII case).
    int columnIndex(const QString& name) const;

    QVariant value(int row, int column) const;
    QVariant value(int row, const QString& column) const;

    // A null reads as an empty text.
    QString text(int row, int column) const;
    QString text(int row, const QString& column) const;

private:
    QStringList m_columns;
    QVector<QVector<QVariant>> m_rows;
};

} // namespace db
