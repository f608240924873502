#pragma once

#include <QString>

#include <functional>

// Where a conversion stands: table `table` of `tables` (from 1), named
// `name`, and the rows of that table copied so far in percent.
struct ConversionProgress {
    int table = 0;
    int tables = 0;
    QString name;
    int rowPercent = 0;
};

// Replaces the rows of every table of the current database with the rows of
// the table of the same name in the old file (same key), column by column:
// numeric columns take the leading number of the old text (0 for none),
// byte columns the old value, other columns the old text trimmed (empty for
// none or a missing column). A row the database refuses is skipped; each
// table is emptied and filled in one transaction. Afterwards 使用者資料 holds
// at least the user admin. Throws DbError for a failure outside the rows,
// before touching anything when the old file cannot be opened with the key
// or is the current file itself. `progress` is told after every table and
// every thousand rows.
void ConvertOldDatabase(const QString& connectionString, const QString& oldPath, const QString& password,
                        const std::function<void(const ConversionProgress&)>& progress);
