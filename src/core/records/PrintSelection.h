#pragma once

#include <QString>
#include <functional>

namespace db {
class Connection;
class Row;
}

// Which records the print panel chose: the one shown, all, or a range of
// keys compared as text, both ends included.
struct PrintSelection {
    enum Kind { Single = 0, All = 1, Range = 2 };
    Kind kind = Single;
    QString single;   // the key shown when the panel was entered
    QString from;
    QString to;
};

// Visits the rows of `select` (a SELECT ... FROM ... text) that the selection
// chose by `keyColumn`, in the order `orderBy` gives, one at a time.
void ForEachSelected(db::Connection& connection, const QString& select, const QString& keyColumn,
                     const QString& orderBy, const PrintSelection& selection,
                     const std::function<void(const db::Row&)>& visit);
