#include "core/data/Connection.h"

#include "core/data/Backend.h"
#include "core/data/ConnectionString.h"

namespace db {

namespace {
int gBusyTimeoutMs = 10000;
}

void SetBusyTimeout(int milliseconds)
{
    gBusyTimeoutMs = milliseconds;
}

int backend::BusyTimeout()
{
    return gBusyTimeoutMs;
}

backend::ValueKind backend::KindOfValue(const QVariant& value)
{
    if (value.isNull())
        return ValueKind::Null;
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return ValueKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
        return ValueKind::Real;
    case QMetaType::QByteArray:
        return ValueKind::Bytes;
    default:
        return ValueKind::Text;
    }
}

Statement::Statement(Connection& connection, const QString& sql) : m_prepared(connection.session().prepare(sql)) {}

Statement::~Statement() = default;

int Statement::execute(const QVariantList& params)
{
    return m_prepared->execute(params);
}

int Statement::executeBatch(const QVector<QVariantList>& rows)
{
    return m_prepared->executeBatch(rows);
}

ResultSet Statement::query(const QVariantList& params)
{
    return m_prepared->query(params);
}

void Statement::forEachRow(const QVariantList& params, const std::function<void(const Row&)>& visit)
{
    m_prepared->forEachRow(params, visit);
}

Connection::Connection(const QString& connectionString, OpenMode mode)
    : m_session(IsServerConnectionString(connectionString)
                    ? backend::OpenPostgres(ServerConninfo(connectionString), mode)
                    : backend::OpenSqlCipher(connectionString, mode))
{
}

Connection::~Connection() = default;

ResultSet Connection::query(const QString& sql, const QVariantList& params)
{
    return m_session->prepare(sql)->query(params);
}

int Connection::execute(const QString& sql, const QVariantList& params)
{
    return m_session->prepare(sql)->execute(params);
}

void Connection::executeScript(const QString& sql)
{
    m_session->executeScript(sql);
}

QStringList Connection::tableNames()
{
    return m_session->tableNames();
}

QList<std::pair<QString, QString>> Connection::tableColumns(const QString& table)
{
    return m_session->tableColumns(table);
}

qlonglong Connection::schemaVersion()
{
    return m_session->schemaVersion();
}

bool Connection::isServer() const
{
    return m_session->isServer();
}

int Connection::appendRows(const QString& table, const QStringList& columns, const QVector<QVariantList>& rows)
{
    return rows.isEmpty() ? 0 : m_session->appendRows(table, columns, rows);
}

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_connection.session().begin(true);
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open)
        m_connection.session().end(true);
}

void Transaction::commit()
{
    m_connection.session().commit();
    m_open = false;
}

ReadTransaction::ReadTransaction(Connection& connection) : m_connection(connection)
{
    m_connection.session().begin(false);
}

ReadTransaction::~ReadTransaction()
{
    m_connection.session().end(false);
}

} // namespace db
