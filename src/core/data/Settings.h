#pragma once

#include <QString>
#include <QStringList>

// Process-wide settings, filled by the start routine and read by every screen.
extern QString gAppFolder;
extern QString gDbPassword;
extern QString gConnectionString;
extern bool gLoginOk;
extern QString gUserName;
extern QString gStatKind;
// The seven grid colours as decimal texts of red + 256 * green + 65536 * blue.
extern QStringList gGridColors;

extern const QString kDatabaseFileName;
// Beside the program, it sends every PC to a database server instead of the file.
extern const QString kServerFileName;

// The libpq connection string of that file: its first line that is neither
// blank nor a # comment; empty without the file.
QString ReadServerConninfo(const QString& appFolder);

// Sets every setting for a program running from `appFolder`: the server of
// its Quorvex.conninfo when there is one, its Quorvex.mdb otherwise.
void InitSettings(const QString& appFolder);

// The path leads to the database file the settings name (under any name:
// a link, another spelling); never true for a server.
bool IsLiveDatabaseFile(const QString& path);

// "1.0.0" and "v1.0.0" from the version compiled in.
QString VersionNumber();
QString VersionText();
