#include "data/Connection.h"

#include "data/ConnectionString.h"
#include "data/KeyCache.h"
#include "data/Schema.h"
#include "data/SqlFunctions.h"

#include <QFileInfo>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

namespace db {

namespace {

int gBusyTimeoutMs = 10000;

ErrorKind KindOf(int extendedCode)
{
    if (extendedCode == SQLITE_CONSTRAINT_UNIQUE || extendedCode == SQLITE_CONSTRAINT_PRIMARYKEY)
        return ErrorKind::DuplicateKey;
    switch (extendedCode & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return ErrorKind::Busy;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return ErrorKind::NotADatabase;
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return ErrorKind::CannotOpen;
    default:
        return ErrorKind::Other;
    }
}

QVariant ColumnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
        return QVariant(static_cast<qlonglong>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, column)),
                                          sqlite3_column_bytes(stmt, column)));
    case SQLITE_BLOB:
        return QVariant(QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, column)),
                                   sqlite3_column_bytes(stmt, column)));
    default:
        return {};
    }
}

} // namespace

void SetBusyTimeout(int milliseconds)
{
    gBusyTimeoutMs = milliseconds;
}

// ---------------------------------------------------------------- Statement

Statement::Statement(Connection& connection, const QString& sql) : m_connection(connection)
{
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(connection.handle(), text.constData(), text.size(), &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

void Statement::fail(int rc)
{
    if (m_stmt)
        sqlite3_reset(m_stmt);
    m_connection.raise(rc);
}

void Statement::bindAll(const QVariantList& params)
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params.at(i);
        const int slot = i + 1;
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(m_stmt, slot);
        } else {
            switch (v.typeId()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
                rc = sqlite3_bind_int64(m_stmt, slot, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(m_stmt, slot, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob(m_stmt, slot, bytes.constData(), bytes.size(), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QByteArray text = v.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, slot, text.constData(), text.size(), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            fail(rc);
    }
}

int Statement::execute(const QVariantList& params)
{
    bindAll(params);
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        fail(rc);
    sqlite3_reset(m_stmt);
    return sqlite3_changes(m_connection.handle());
}

QVariant Row::value(int column) const
{
    return ColumnValue(m_stmt, column);
}

QByteArrayView Row::utf8(int column) const
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QByteArrayView(text, text ? sqlite3_column_bytes(m_stmt, column) : 0);
}

void Statement::forEachRow(const QVariantList& params, const std::function<void(const Row&)>& visit)
{
    bindAll(params);
    const Row row(m_stmt);
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW)
        visit(row);
    if (rc != SQLITE_DONE)
        fail(rc);
    sqlite3_reset(m_stmt);
}

ResultSet Statement::query(const QVariantList& params)
{
    bindAll(params);
    const int columns = sqlite3_column_count(m_stmt);
    QStringList names;
    names.reserve(columns);
    for (int c = 0; c < columns; ++c)
        names << QString::fromUtf8(sqlite3_column_name(m_stmt, c));

    QVector<QVector<QVariant>> rows;
    int rc;
    while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
        QVector<QVariant> row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << ColumnValue(m_stmt, c);
        rows << std::move(row);
    }
    if (rc != SQLITE_DONE)
        fail(rc);
    sqlite3_reset(m_stmt);
    return ResultSet(std::move(names), std::move(rows));
}

// ---------------------------------------------------------------- Connection

Connection::Connection(const QString& connectionString, OpenMode mode)
{
    const DataSource source = ParseConnectionString(connectionString);
    m_path = source.path;
    m_password = source.password;
    open(mode);
}

Connection::~Connection()
{
    sqlite3_close_v2(m_db);
}

void Connection::raise(int rc) const
{
    const int extended = m_db ? sqlite3_extended_errcode(m_db) : rc;
    QString text = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (text.isEmpty())
        text = QString::fromUtf8(sqlite3_errstr(rc));
    if (extended == SQLITE_READONLY_DBMOVED)
        text += QStringLiteral("（資料庫檔案已被重整或取代，這次的變更未寫入，請重新操作）");
    throw DbError(KindOf(extended ? extended : rc), text);
}

void Connection::open(OpenMode mode)
{
    if (m_path.isEmpty())
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("未指定資料庫檔案"));
    if (!QFileInfo::exists(m_path)) {
        if (mode == OpenMode::MustExist)
            throw DbError(ErrorKind::CannotOpen, QStringLiteral("找不到資料庫檔案 %1").arg(m_path));
        CreateDatabaseFile(m_path, m_password);
    }

    const QByteArray path = m_path.toUtf8();
    int rc = sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        QString text = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw DbError(KindOf(rc), text + QStringLiteral(" (%1)").arg(m_path));
    }
    // The destructor does not run for a constructor that throws: a handle the
    // file refused is closed here.
    try {
        configure();
    } catch (...) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        throw;
    }
}

void Connection::configure()
{
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, gBusyTimeoutMs);

    if (!m_password.isEmpty()) {
        const QByteArray salt = ReadFileSalt(m_path);
        const QByteArray key = salt.isEmpty() ? m_password.toUtf8() : RawKeyPragmaValue(m_password, salt);
        if (sqlite3_key(m_db, key.constData(), key.size()) != SQLITE_OK)
            throw DbError(ErrorKind::Other, QStringLiteral("無法設定資料庫密碼 (%1)").arg(m_path));
    }
    RegisterSqlFunctions(m_db);
    // Room for a statistic's scratch rows without spilling to the journal
    // mid-transaction; and no zero-filling of freed pages, which the build
    // turns on but an encrypted file does not need.
    sqlite3_exec(m_db, "PRAGMA cache_size = -16384; PRAGMA secure_delete = OFF", nullptr, nullptr, nullptr);

    // A wrong key only shows when the first page is read: read it now, so a
    // foreign or damaged file fails here and not in the middle of an operation.
    query(QStringLiteral("SELECT count(*) FROM sqlite_master"));

    // The file may sit on a network share, where WAL's shared memory does not
    // work; another tool may have switched it, so every open switches it back.
    const QString journal = query(QStringLiteral("PRAGMA journal_mode = DELETE")).text(0, 0);
    if (journal.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
        throw DbError(ErrorKind::Busy,
                      QStringLiteral("無法將資料庫的日誌模式改回 DELETE（目前為 %1），請先關閉其他使用此檔案的程式 (%2)")
                          .arg(journal, m_path));
}

ResultSet Connection::query(const QString& sql, const QVariantList& params)
{
    Statement statement(*this, sql);
    return statement.query(params);
}

int Connection::execute(const QString& sql, const QVariantList& params)
{
    Statement statement(*this, sql);
    return statement.execute(params);
}

void Connection::executeScript(const QString& sql)
{
    char* message = nullptr;
    const QByteArray text = sql.toUtf8();
    const int rc = sqlite3_exec(m_db, text.constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        raise(rc);
}

QStringList Connection::tableNames()
{
    const ResultSet rows = query(QStringLiteral(
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
        "ORDER BY name"));
    QStringList names;
    for (int r = 0; r < rows.rowCount(); ++r)
        names << rows.text(r, 0);
    return names;
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Connection& connection) : m_connection(connection)
{
    m_connection.execute(QStringLiteral("BEGIN IMMEDIATE"));
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open)
        sqlite3_exec(m_connection.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void Transaction::commit()
{
    m_connection.execute(QStringLiteral("COMMIT"));
    m_open = false;
}

// ---------------------------------------------------------------- ReadTransaction

ReadTransaction::ReadTransaction(Connection& connection) : m_connection(connection)
{
    m_connection.execute(QStringLiteral("BEGIN DEFERRED"));
}

ReadTransaction::~ReadTransaction()
{
    sqlite3_exec(m_connection.handle(), "COMMIT", nullptr, nullptr, nullptr);
}

} // namespace db
