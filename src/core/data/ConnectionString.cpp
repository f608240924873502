#include "core/data/ConnectionString.h"

namespace db {

namespace {
const QString kProvider = QStringLiteral("Provider=SQLCipher;");
const QString kSource = QStringLiteral("Data Source=");
const QString kPassword = QStringLiteral(";Database Password=");
const QString kServer = QStringLiteral("Provider=PostgreSQL;Conninfo=");
}

QString BuildServerConnectionString(const QString& conninfo)
{
    return kServer + conninfo;
}

bool IsServerConnectionString(const QString& connectionString)
{
    return connectionString.startsWith(kServer);
}

QString ServerConninfo(const QString& connectionString)
{
    return IsServerConnectionString(connectionString) ? connectionString.mid(kServer.size()) : QString();
}

QString BuildConnectionString(const QString& filePath, const QString& password)
{
    return kProvider + kSource + filePath + kPassword + password;
}

QString BuildConnectionString(const QString& folder, const QString& fileName, const QString& password)
{
    QString dir = folder;
    while (dir.size() > 1 && (dir.endsWith(QLatin1Char('/')) || dir.endsWith(QLatin1Char('\\'))))
        dir.chop(1);
    const QString separator = dir.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
    return BuildConnectionString(dir + separator + fileName, password);
}

DataSource ParseConnectionString(const QString& connectionString)
{
    DataSource source;
    const int sourceAt = connectionString.indexOf(kSource);
    const int passwordAt = connectionString.lastIndexOf(kPassword);
    if (sourceAt < 0)
        return source;
    const int pathStart = sourceAt + kSource.size();
    if (passwordAt < pathStart) {
        source.path = connectionString.mid(pathStart);
        return source;
    }
    source.path = connectionString.mid(pathStart, passwordAt - pathStart);
    source.password = connectionString.mid(passwordAt + kPassword.size());
    return source;
}

} // namespace db
