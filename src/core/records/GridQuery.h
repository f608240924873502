#pragma once

#include <QString>
#include <QVariantList>
#include <QVector>

// What a screen's BuildQuery gives the query panel: the statement with its
// bound values, and how the grid shows the columns. The last column holds the
// key a row opens.
struct GridQuery {
    QString sql;
    QVariantList params;
    QVector<int> widthsTwips;    // one per column; 0 hides the column
    QVector<int> rightAligned;   // column numbers from 0
};
