#pragma once

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// A temporary folder with the program's database file path in it (not yet created).
class DbFolder : public ::testing::Test {
protected:
    QString path(const QString& name = QStringLiteral("Quorvex.mdb")) const { return dir.filePath(name); }
    QString connectionString(const QString& name = QStringLiteral("Quorvex.mdb"),
                             const QString& password = QStringLiteral("kvew7315")) const
    {
        return db::BuildConnectionString(path(name), password);
    }
    qlonglong count(db::Connection& c, const QString& sql, const QVariantList& params = {})
    {
        return c.query(sql, params).value(0, 0).toLongLong();
    }

    QTemporaryDir dir;
};

// Runs `action` and returns the kind of the DbError it throws; fails the test if none.
template <typename Action>
db::ErrorKind ErrorKindOf(Action action)
{
    try {
        action();
    } catch (const db::DbError& error) {
        EXPECT_FALSE(error.text().isEmpty());
        return error.kind();
    }
    ADD_FAILURE() << "no DbError thrown";
    return db::ErrorKind::Other;
}
