#pragma once

#include <QString>

namespace db {

class Connection;

// 2: the institutions' daily amounts (法人買賣超).
constexpr int kSchemaVersion = 2;

enum class Dialect { SqlCipher, PostgreSQL };

// The tables, keys and saved queries in an engine's own words.
QString SchemaScript(Dialect dialect);
// What brings a schema of `fromVersion` up to kSchemaVersion; empty when
// nothing does. The program's own file and server are brought up when opened.
QString UpgradeScript(Dialect dialect, qlonglong fromVersion);
// The statistics' scratch tables and the queries over them; temporary, per
// connection, on a server.
QString ScratchScript(Dialect dialect);
// Everything a fresh server database needs, the first user and the version included.
QString ServerSchemaScript();

// Builds the complete schema in a fresh file under a temporary name beside
// `path`, then moves it into place without replacing anything: a file another
// process created meanwhile wins, and an existing file is never touched.
void CreateDatabaseFile(const QString& path, const QString& password);

// The database file this process created since the last call, once; empty
// when it created none. The start routine tells the user where it went.
QString TakeCreatedDatabaseFile();

// Tables, views, keys, indexes, the version and the first user, in one transaction.
void CreateSchema(Connection& connection);

} // namespace db
