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

// Sets every setting for a program running from `appFolder`.
void InitSettings(const QString& appFolder);

// "1.0.0" and "v1.0.0" from the version compiled in.
QString VersionNumber();
QString VersionText();
