#pragma once

#include <QString>

namespace db {

struct DataSource {
    QString path;
    QString password;
};

// "Provider=SQLCipher;Data Source=<folder>/<file>;Database Password=<password>"
QString BuildConnectionString(const QString& folder, const QString& fileName, const QString& password);
QString BuildConnectionString(const QString& filePath, const QString& password);

// The password is the last item, so a folder holding ';' still parses.
DataSource ParseConnectionString(const QString& connectionString);

// "Provider=PostgreSQL;Conninfo=<libpq connection string>": a database server
// instead of a file. The conninfo is the rest of the text, as libpq takes it.
QString BuildServerConnectionString(const QString& conninfo);
bool IsServerConnectionString(const QString& connectionString);
QString ServerConninfo(const QString& connectionString);

} // namespace db
