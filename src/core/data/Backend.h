#pragma once

#include "core/data/Connection.h"

#include <memory>

// What a database engine offers a Connection. Only the data layer sees this;
// screens and logic talk to Connection and Statement and never learn which
// engine holds the data.
namespace db::backend {

// How a bound value goes to an engine: the same Qt types are numbers for both.
enum class ValueKind { Null, Integer, Real, Bytes, Text };
ValueKind KindOfValue(const QVariant& value);

class Prepared {
public:
    virtual ~Prepared() = default;
    virtual int execute(const QVariantList& params) = 0;
    virtual int executeBatch(const QVector<QVariantList>& rows) = 0;
    virtual ResultSet query(const QVariantList& params) = 0;
    virtual void forEachRow(const QVariantList& params, const std::function<void(const Row&)>& visit) = 0;
};

class Session {
public:
    virtual ~Session() = default;
    // `?` marks each parameter, whatever the engine's own marks are.
    virtual std::unique_ptr<Prepared> prepare(const QString& sql) = 0;
    virtual void executeScript(const QString& sql) = 0;
    virtual QStringList tableNames() = 0;
    virtual QList<std::pair<QString, QString>> tableColumns(const QString& table) = 0;
    virtual qlonglong schemaVersion() = 0;
    virtual bool isServer() const = 0;
    // Appends rows to a table, all or none, the fastest way the engine takes
    // many rows; returns how many went in.
    virtual int appendRows(const QString& table, const QStringList& columns, const QVector<QVariantList>& rows) = 0;

    // A write transaction takes its lock at the start, so two writers never
    // deadlock upgrading; a read transaction sees one state throughout.
    virtual void begin(bool write) = 0;
    virtual void commit() = 0;
    // From a destructor: never throws. Rolls back a write, ends a read.
    virtual void end(bool write) noexcept = 0;
};

// The encrypted file of the connection string.
std::unique_ptr<Session> OpenSqlCipher(const QString& connectionString, OpenMode mode);
// A PostgreSQL database; the schema is created in an empty one unless `mode` says it must exist.
std::unique_ptr<Session> OpenPostgres(const QString& conninfo, OpenMode mode);

// How long to wait for a lock another connection holds, in milliseconds.
int BusyTimeout();

} // namespace db::backend
