#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>

// The row being visited; valid only while it is visited.
class OldRow {
public:
    virtual ~OldRow() = default;
    // The value of the i-th column asked for; a null is an invalid QVariant.
    virtual QVariant value(int column) const = 0;
};

// An older database file as the conversion reads it: one of our own
// encrypted files or an Access file of the program we replace. Every call
// throws db::DbError with a sentence the user can read.
class OldDatabase {
public:
    virtual ~OldDatabase() = default;

    // The tables of the file's users, system tables left out.
    virtual QStringList tableNames() = 0;
    // The columns of a table in their order.
    virtual QStringList columnNames(const QString& table) = 0;
    // For the progress only.
    virtual qlonglong rowCount(const QString& table) = 0;
    // Visits the rows one by one, keeping none; value(i) is columns[i].
    virtual void forEachRow(const QString& table, const QStringList& columns,
                            const std::function<void(const OldRow&)>& visit) = 0;
    // Whether the file carries the database password the conversion was
    // given; ours cannot even be opened without it.
    virtual bool passwordMatches() const = 0;
};

// Opens the file as what its header says it is. Opening an Access file reads
// it once through, calling `waiting` now and then meanwhile.
std::unique_ptr<OldDatabase> OpenOldDatabase(const QString& path, const QString& password,
                                             const std::function<void()>& waiting = {});
