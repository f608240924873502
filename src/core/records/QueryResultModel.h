#pragma once

#include "core/data/ResultSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QVector>

// The rows of the last query, read by the grid as it paints: one result set
// behind the view, no item per cell, so tens of thousands of rows list at once.
class QueryResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryResultModel(QObject* parent = nullptr);

    void setResult(db::ResultSet rows, QVector<int> rightAligned);
    void setCellColours(const QColor& background, const QColor& text);

    // Text of a cell; empty outside the rows.
    QString text(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    Qt::Alignment alignment(int column) const;

    db::ResultSet m_rows;
    QVector<int> m_rightAligned;
    QColor m_background;
    QColor m_text;
};
