#pragma once

#include "core/entry/InstitutionalTrades.h"
#include "core/stock/CsvReader.h"

#include <QString>
#include <QStringView>
#include <QVector>

#include <utility>

// Which columns of an institutional-trading file feed each basis (a basis
// adds up its columns), and what the rows are checked against.
struct InstitutionalColumns {
    int code = -1;
    int name = -1;
    QVector<int> basis[4];                // indexed by TradeBasis
    int last = -1;                        // the rightmost column read
    int total = -1;                       // the file's own 三大法人 column
    QVector<std::pair<int, QVector<int>>> groups;   // a group's total and its parts
    QVector<int> counts;                  // buy and sell share counts
    bool found() const { return code >= 0 && name >= 0 && !basis[0].isEmpty(); }
};

// The columns a heading row names: by the group words of its headings, or,
// for TPEx's headings that repeat 買進股數, 賣出股數, 買賣超股數 under each
// group, by their place in its 24- or 16-column layout. Nothing found when
// the row is no heading.
InstitutionalColumns HeadingColumns(const CsvRecord& record);

// The text without any blank.
QString Squeezed(QStringView cell);
