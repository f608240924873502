#pragma once

#include <QStringList>
#include <QTextStream>

// quorvex --fetch [YYYMMDD|today] [--basis 合計|外資|投信|自營商] [--top N] [--replace]
// Downloads the day's two files and stores the day, with no window and no
// login, for a scheduled daily run. One line per step on `out`; the exit
// code: 0 stored (or already there), 2 no data for that date, 1 an error,
// with nothing stored.
int RunFetchCommand(const QStringList& arguments, const QString& dataFolder, QTextStream& out);

// The command line asks for a download rather than the windows.
bool IsFetchCommand(const QStringList& arguments);
