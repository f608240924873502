#pragma once

#include <QStringList>
#include <QTextStream>

// For a scheduled run, with no window and no login:
//   quorvex --fetch [YYYMMDD|today] [--basis 合計|外資|投信|自營商] [--top N] [--replace]
//   quorvex --fetch-range FROM TO [--basis ...] [--top N]
// Downloads a day's two files and stores the day; a range does so for each
// weekday not stored yet, politely, and goes on past days without data. One
// line per step on `out`; the exit code: 0 stored (or already there; for a
// range, every trading day in it is), 2 no data for that date (for a range,
// no day in it), 1 an error (nothing of that day stored).
int RunFetchCommand(const QStringList& arguments, const QString& dataFolder, QTextStream& out);

// The exit codes above, as the help lists them.
QString FetchExitCodes();

// The command line asks for a download rather than the windows.
bool IsFetchCommand(const QStringList& arguments);
