#pragma once

#include "core/data/Connection.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fresh database with the program's schema in a temporary folder, and one
// connection to it, for tests of the SQL behind the screens.
class TempDatabase : public ::testing::Test {
protected:
    TempDatabase();
    qlonglong count(const QString& sql, const QVariantList& params = {});

    QTemporaryDir dir;
    const QString connectionString;   // of the file or the test server
    db::Connection c;
};
