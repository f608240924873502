#pragma once

#include <QString>

#include <functional>

// Where a conversion stands: table `table` of `tables` (from 1), named
// `name`, and the rows of that table copied so far in percent; no tables yet
// while the old file is being read through first.
struct ConversionProgress {
    int table = 0;
    int tables = 0;
    QString name;
    int rowPercent = 0;
};

// Replaces the rows of every table of the current database with the rows of
// the table of the same name in the old file, one of ours (same key) or an
// Access file of the old program (same database password), column by column:
// numeric columns take the leading number of the old text (0 for none),
// byte columns the old value, other columns the old text trimmed and cut to
// what the column could ever hold (empty for none or a missing column).
// All in one transaction: after a failure, a kill or a power cut the current
// database holds either all its old rows or all the new ones. Afterwards
// 使用者資料 holds at least the user admin.
// A row the program could never have stored (a date that is not 7 digits, a
// number that is not finite, a blank code) or that the database refuses is
// left out; returns how many were. Throws DbError before touching anything
// when the old file cannot be opened or read, is the current file itself,
// holds none of the old program's tables or lacks the trading-day tables, or
// carries another password. `progress` is told after every table and every
// thousand rows.
int ConvertOldDatabase(const QString& connectionString, const QString& oldPath, const QString& password,
                       const std::function<void(const ConversionProgress&)>& progress);
