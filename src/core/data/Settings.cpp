#include "core/data/Settings.h"

#include "core/data/ConnectionString.h"
#include "core/data/FileMove.h"

#include <QColor>
#include <QDir>
#include <QFile>

QString gAppFolder;
QString gDbPassword;
QString gConnectionString;
bool gLoginOk = false;
QString gUserName;
QString gStatKind;
QStringList gGridColors;

const QString kDatabaseFileName = QStringLiteral("Quorvex.mdb");
const QString kServerFileName = QStringLiteral("Quorvex.conninfo");

namespace {
QString Packed(int red, int green, int blue)
{
    return QString::number(red + 256 * green + 65536 * blue);
}
}

QString ReadServerConninfo(const QString& appFolder)
{
    QFile file(QDir(appFolder).filePath(kServerFileName));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            return line;
    }
    return {};
}

bool IsLiveDatabaseFile(const QString& path)
{
    return !db::IsServerConnectionString(gConnectionString)
           && IsSameFile(path, db::ParseConnectionString(gConnectionString).path);
}

void InitSettings(const QString& appFolder)
{
    gLoginOk = false;
    gUserName.clear();
    gStatKind.clear();
    gAppFolder = appFolder;
    gDbPassword = QStringLiteral("kvew7315");
    const QString conninfo = ReadServerConninfo(appFolder);
    gConnectionString = conninfo.isEmpty() ? db::BuildConnectionString(appFolder, kDatabaseFileName, gDbPassword)
                                           : db::BuildServerConnectionString(conninfo);
    gGridColors = {Packed(0, 192, 192),   Packed(253, 254, 239), Packed(0, 0, 217),  Packed(255, 255, 255),
                   Packed(62, 139, 255),  Packed(255, 255, 255), Packed(255, 74, 74)};
}

QString VersionNumber()
{
    return QStringLiteral("%1.%2.%3")
        .arg(QUORVEX_VERSION_MAJOR)
        .arg(QUORVEX_VERSION_MINOR)
        .arg(QUORVEX_VERSION_PATCH);
}

QString VersionText()
{
    return QStringLiteral("v") + VersionNumber();
}
