#include "core/data/ResultSet.h"

#include <utility>

namespace db {

ResultSet::ResultSet(QStringList columns, QVector<QVector<QVariant>> rows)
    : m_columns(std::move(columns)), m_rows(std::move(rows))
{
}

int ColumnIndexIn(const QStringList& columns, const QString& name)
{
    const int exact = static_cast<int>(columns.indexOf(name));
    if (exact >= 0)
        return exact;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int ResultSet::columnIndex(const QString& name) const
{
    return ColumnIndexIn(m_columns, name);
}

QVariant ResultSet::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0 || column >= m_columns.size())
        return {};
    return m_rows.at(row).at(column);
}

QVariant ResultSet::value(int row, const QString& column) const
{
    return value(row, columnIndex(column));
}

QString ResultSet::text(int row, int column) const
{
    const QVariant v = value(row, column);
    return v.isNull() ? QString() : v.toString();
}

QString ResultSet::text(int row, const QString& column) const
{
    return text(row, columnIndex(column));
}

} // namespace db
