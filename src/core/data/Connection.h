#pragma once

#include "core/data/DbError.h"
#include "core/data/ResultSet.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>
#include <functional>
#include <memory>
#include <utility>

namespace db {

namespace backend {
class Prepared;
class Session;
}

enum class OpenMode {
    CreateIfMissing,   // the program's own file: a missing one is created with the schema
    MustExist          // any other file (old databases, copies): never created
};

class Connection;

// How long a connection waits for a lock another process holds (10 s);
// tests shorten it.
void SetBusyTimeout(int milliseconds);

// Server connections stay open between operations for the next one; this
// closes those, as when the server's database was replaced underneath.
void CloseIdleServerConnections();

// The current row of a statement being stepped; valid only while it is visited.
class Row {
public:
    virtual ~Row() = default;
    // As ResultSet gives it: a null is an invalid QVariant.
    virtual QVariant value(int column) const = 0;
    // The engine's own UTF-8 text of the value, without a copy.
    virtual QByteArrayView utf8(int column) const = 0;
};

// A statement prepared once and run with new bound values as often as needed.
class Statement {
public:
    Statement(Connection& connection, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Returns the number of rows changed.
    int execute(const QVariantList& params = {});
    // Runs the statement once per set of values, all or none: if one fails,
    // the others are undone too. A server gets them in one round trip.
    int executeBatch(const QVector<QVariantList>& rows);
    ResultSet query(const QVariantList& params = {});
    // Visits the rows one by one, keeping none: for reads too long to hold.
    void forEachRow(const QVariantList& params, const std::function<void(const Row&)>& visit);

private:
    std::unique_ptr<backend::Prepared> m_prepared;
};

// One open database. Opened for one operation and closed when it goes out
// of scope, whatever way the operation ends. Every call throws DbError on failure.
class Connection {
public:
    explicit Connection(const QString& connectionString, OpenMode mode = OpenMode::CreateIfMissing);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    ResultSet query(const QString& sql, const QVariantList& params = {});
    int execute(const QString& sql, const QVariantList& params = {});
    // Runs several statements without parameters (schema scripts).
    void executeScript(const QString& sql);

    // Tables of the file, internal ones left out, in name order.
    QStringList tableNames();
    // The columns of a table in their order, each with its declared type
    // ("TEXT", "REAL", "double precision", ...); none when there is no such table.
    QList<std::pair<QString, QString>> tableColumns(const QString& table);
    // The version the schema was built with.
    qlonglong schemaVersion();
    // A database server rather than a file: copies and compaction go another way.
    bool isServer() const;
    // Appends rows (values in the order of `columns`) to a table, all or none:
    // if one fails, none stays. A server takes them as one COPY.
    int appendRows(const QString& table, const QStringList& columns, const QVector<QVariantList>& rows);

    backend::Session& session() const { return *m_session; }

private:
    std::unique_ptr<backend::Session> m_session;
};

// BEGIN IMMEDIATE on construction, so two processes never deadlock upgrading a
// read lock; rolls back unless commit() ran.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    Connection& m_connection;
    bool m_open = false;
};

// Reads that belong together (a day's header and both lists) see one state
// of the file: the shared lock taken by the first read is held until the end,
// so another process cannot commit in between.
class ReadTransaction {
public:
    explicit ReadTransaction(Connection& connection);
    ~ReadTransaction();
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    Connection& m_connection;
};

} // namespace db
