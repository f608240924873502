#include "core/records/QueryResultModel.h"

QueryResultModel::QueryResultModel(QObject* parent) : QAbstractTableModel(parent) {}

void QueryResultModel::setResult(db::ResultSet rows, QVector<int> rightAligned)
{
    beginResetModel();
    m_rows = std::move(rows);
    m_rightAligned = std::move(rightAligned);
    endResetModel();
}

void QueryResultModel::setCellColours(const QColor& background, const QColor& text)
{
    m_background = background;
    m_text = text;
}

QString QueryResultModel::text(int row, int column) const
{
    if (row < 0 || row >= m_rows.rowCount() || column < 0 || column >= m_rows.columnCount())
        return {};
    return m_rows.text(row, column);
}

int QueryResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.rowCount();
}

int QueryResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.columnCount();
}

Qt::Alignment QueryResultModel::alignment(int column) const
{
    return (m_rightAligned.contains(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

QVariant QueryResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(alignment(index.column()));
    case Qt::BackgroundRole:
        return m_background.isValid() ? QVariant(m_background) : QVariant();
    case Qt::ForegroundRole:
        return m_text.isValid() ? QVariant(m_text) : QVariant();
    default:
        return {};
    }
}

QVariant QueryResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_rows.columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_rows.columns().at(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(alignment(section));
    return {};
}
