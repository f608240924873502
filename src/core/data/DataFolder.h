#pragma once

#include <QString>
#include <QStringList>

// Where the data file and what goes with it (Quorvex.conninfo, Quorvex.ini,
// the download folder) live:
// - the folder given by --data DIR;
// - else the program's own folder, when it holds the data (Quorvex.mdb or
//   Quorvex.conninfo) or may be written and is no system folder: copies of
//   the program on a shared folder keep working as they always have;
// - else the folder named by folder= in the [data] section of
//   ~/.config/Quorvex/Quorvex.ini;
// - else the user's own data folder (~/.local/share/Quorvex), made for the
//   user alone when missing.
// The folder is made when missing; `error` says why none could be used.
QString ChooseDataFolder(const QString& programFolder, const QStringList& arguments, QString* error);

// The folder named by --data, or empty.
QString DataOption(const QStringList& arguments);
