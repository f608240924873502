// The server engine: a PostgreSQL database reached through libpq, for offices
// whose PCs outgrow one shared file.
#include "core/data/Backend.h"

#include "core/data/ConnectionString.h"
#include "core/data/PgCopyText.h"
#include "core/data/PgDialect.h"
#include "core/data/Schema.h"
#include "core/data/SqlText.h"

#include <libpq-fe.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace db {

namespace {

// Type numbers of the server's built-in types (pg_type.oid, fixed for all versions).
enum : Oid { kBool = 16, kBytea = 17, kInt8 = 20, kText = 25, kInt2 = 21, kInt4 = 23, kFloat4 = 700, kFloat8 = 701, kNumeric = 1700 };

// A SQLSTATE class or code, as the screens need to tell cases apart.
ErrorKind KindOfState(const char* state)
{
    const QByteArray code(state ? state : "");
    if (code == "23505")
        return ErrorKind::DuplicateKey;
    if (code == "55P03" || code == "40P01" || code == "40001")
        return ErrorKind::Busy;
    if (code.startsWith("08") || code == "28P01" || code == "28000" || code == "3D000")
        return ErrorKind::CannotOpen;
    return ErrorKind::Other;
}

// libpq's text, without the tab it indents its hint lines with.
QString ServerText(const char* text)
{
    QStringList lines = QString::fromUtf8(text ? text : "").trimmed().split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = line.trimmed();
    return lines.join(QLatin1Char('\n'));
}

struct ResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

QVariant CellValue(const PGresult* result, int row, int column)
{
    if (PQgetisnull(result, row, column))
        return {};
    const char* text = PQgetvalue(result, row, column);
    switch (PQftype(result, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
        return QVariant(QByteArray(text).toLongLong());
    case kFloat4:
    case kFloat8:
    case kNumeric:
        return QVariant(QByteArray(text).toDouble());
    case kBool:
        return QVariant(static_cast<qlonglong>(text[0] == 't' ? 1 : 0));
    case kBytea: {
        size_t length = 0;
        unsigned char* bytes = PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &length);
        QByteArray value(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
        PQfreemem(bytes);
        return QVariant(value);
    }
    default:
        return QVariant(QString::fromUtf8(text, PQgetlength(result, row, column)));
    }
}

// Takes ownership of a result; true when the statement succeeded.
bool Succeeded(PGresult* raw)
{
    const Result result(raw);
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK;
}

// What the server says became of a transaction, over a new connection:
// "committed", "aborted", or empty when it cannot say. A session whose line
// just went may still be running, holding its locks, until the server
// notices; when it does not notice soon (the line is half open), that session
// is ended, which settles the transaction either way.
QByteArray TransactionOutcome(const QString& conninfo, const QByteArray& transaction, const QByteArray& backend)
{
    PGconn* conn = PQconnectdb(conninfo.toUtf8().constData());
    const auto ask = [conn, &transaction]() -> QByteArray {
        const char* values[] = {transaction.constData()};
        const Result result(PQexecParams(conn, "SELECT txid_status($1::bigint)", 1, nullptr, values, nullptr, nullptr, 0));
        if (!result || PQresultStatus(result.get()) != PGRES_TUPLES_OK || PQgetisnull(result.get(), 0, 0))
            return {};
        return PQgetvalue(result.get(), 0, 0);
    };
    QByteArray status;
    for (int attempt = 0; attempt < 10 && PQstatus(conn) == CONNECTION_OK; ++attempt) {
        status = ask();
        if (status != "in progress")
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (status == "in progress") {
        const char* values[] = {backend.constData()};
        PQclear(PQexecParams(conn, "SELECT pg_terminate_backend($1::integer, 5000)", 1, nullptr, values, nullptr, nullptr, 0));
        status = ask();
    }
    PQfinish(conn);
    return status == "committed" || status == "aborted" ? status : QByteArray();
}

class PgRow : public Row {
public:
    PgRow(const PGresult* result, int row) : m_result(result), m_row(row) {}
    QVariant value(int column) const override { return CellValue(m_result, m_row, column); }
    QByteArrayView utf8(int column) const override
    {
        return QByteArrayView(PQgetvalue(m_result, m_row, column), PQgetlength(m_result, m_row, column));
    }
    void moveTo(int row) { m_row = row; }

private:
    const PGresult* m_result;
    int m_row;
};

// Server connections kept open between operations: the program opens one per
// operation, and logging in to a server costs tens of milliseconds.
struct IdleConnection {
    QString conninfo;
    PGconn* conn;
    bool scratchReady;
    bool schemaCurrent;   // checked against this version when first used
};

class IdlePool {
public:
    static IdlePool& instance()
    {
        static IdlePool pool;
        return pool;
    }
    ~IdlePool() { clear(); }

    std::optional<IdleConnection> take(const QString& conninfo)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_idle.begin(); it != m_idle.end(); ++it) {
            if (it->conninfo != conninfo)
                continue;
            const IdleConnection found = *it;
            m_idle.erase(it);
            return found;
        }
        return std::nullopt;
    }

    void give(const IdleConnection& idle)
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_idle.size() >= kKept) {
            PQfinish(m_idle.front().conn);
            m_idle.erase(m_idle.begin());
        }
        m_idle.push_back(idle);
    }

    void clear()
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        for (const IdleConnection& idle : m_idle)
            PQfinish(idle.conn);
        m_idle.clear();
    }

private:
    static constexpr size_t kKept = 4;
    std::mutex m_mutex;
    std::vector<IdleConnection> m_idle;
};

// A statement's values as the server takes them, kept alive while sent.
struct BoundValues {
    QVector<QByteArray> values;
    QVector<const char*> pointers;
    QVector<Oid> types;
};

class PgSession;

class PgPrepared : public backend::Prepared {
public:
    PgPrepared(PgSession& session, const QString& sql) : m_session(session), m_sql(InServerDialect(sql, &m_used).toUtf8())
    {
    }

    int execute(const QVariantList& params) override;
    int executeBatch(const QVector<QVariantList>& rows) override;
    ResultSet query(const QVariantList& params) override;
    void forEachRow(const QVariantList& params, const std::function<void(const Row&)>& visit) override;

private:
    BoundValues bind(const QVariantList& params) const;
    Result run(const QVariantList& params);

    PgSession& m_session;
    QList<int> m_used;
    QByteArray m_sql;
};

class PgSession : public backend::Session {
public:
    PgSession(const QString& conninfo, OpenMode mode) : m_conninfo(conninfo)
    {
        // A kept connection may have died while idle (the server restarted, an
        // administrator ended the session). Nothing of this operation has been
        // sent yet, so nothing can be done twice: another one takes its place.
        while (std::optional<IdleConnection> idle = IdlePool::instance().take(conninfo)) {
            if (Succeeded(PQexec(idle->conn, settings().constData()))) {
                m_conn = idle->conn;
                m_scratchReady = idle->scratchReady;
                m_schemaCurrent = idle->schemaCurrent;
                break;
            }
            PQfinish(idle->conn);
        }
        try {
            if (!m_conn) {
                m_conn = PQconnectdb(conninfo.toUtf8().constData());
                if (!m_conn || PQstatus(m_conn) != CONNECTION_OK)
                    throw DbError(ErrorKind::CannotOpen, ServerText(m_conn ? PQerrorMessage(m_conn) : "out of memory"));
                exec(settings());
            }
            ensureSchema(mode);
        } catch (...) {
            PQfinish(m_conn);
            throw;
        }
    }
    // A connection that ended cleanly waits for the next operation.
    ~PgSession() override
    {
        if (PQstatus(m_conn) == CONNECTION_OK && PQtransactionStatus(m_conn) == PQTRANS_IDLE)
            IdlePool::instance().give({m_conninfo, m_conn, m_scratchReady, m_schemaCurrent});
        else
            PQfinish(m_conn);
    }
    PgSession(const PgSession&) = delete;
    PgSession& operator=(const PgSession&) = delete;

    std::unique_ptr<backend::Prepared> prepare(const QString& sql) override
    {
        if (!m_scratchReady && NeedsScratch(sql)) {
            exec(ScratchScript(Dialect::PostgreSQL).toUtf8());
            m_scratchReady = true;
            // Made inside a transaction, they are gone again if it rolls back.
            m_scratchUncommitted = PQtransactionStatus(m_conn) == PQTRANS_INTRANS;
        }
        return std::make_unique<PgPrepared>(*this, sql);
    }

    void executeScript(const QString& sql) override { exec(sql.toUtf8()); }

    QStringList tableNames() override
    {
        const Result result = check(PQexec(m_conn, "SELECT table_name FROM information_schema.tables "
                                                   "WHERE table_schema = current_schema() AND table_type = 'BASE TABLE' "
                                                   "AND table_name <> 'quorvex_schema' ORDER BY table_name COLLATE \"C\""));
        QStringList names;
        for (int r = 0; r < PQntuples(result.get()); ++r)
            names << QString::fromUtf8(PQgetvalue(result.get(), r, 0));
        return names;
    }

    QList<std::pair<QString, QString>> tableColumns(const QString& table) override
    {
        const QByteArray name = table.toUtf8();
        const char* values[] = {name.constData()};
        const Result result = check(PQexecParams(
            m_conn,
            "SELECT a.attname, format_type(a.atttypid, a.atttypmod) FROM pg_attribute a "
            "JOIN pg_class c ON c.oid = a.attrelid JOIN pg_namespace n ON n.oid = c.relnamespace "
            "WHERE c.relname = $1 AND n.nspname = current_schema() AND a.attnum > 0 AND NOT a.attisdropped "
            "ORDER BY a.attnum",
            1, nullptr, values, nullptr, nullptr, 0));
        QList<std::pair<QString, QString>> columns;
        for (int r = 0; r < PQntuples(result.get()); ++r)
            columns.append({QString::fromUtf8(PQgetvalue(result.get(), r, 0)), QString::fromUtf8(PQgetvalue(result.get(), r, 1))});
        return columns;
    }

    qlonglong schemaVersion() override
    {
        const Result result = check(PQexec(m_conn, "SELECT max(version) FROM quorvex_schema"));
        return QByteArray(PQgetvalue(result.get(), 0, 0)).toLongLong();
    }
    bool isServer() const override { return true; }

    // One COPY: the server parses no statement per row. Under a savepoint
    // inside a transaction, so a refused row undoes only these rows.
    int appendRows(const QString& table, const QStringList& columns, const QVector<QVariantList>& rows) override
    {
        const QByteArray copy = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(QuotedName(table), QuotedNameList(columns)).toUtf8();
        const QByteArray data = PgCopyText(rows);
        const bool guarded = PQtransactionStatus(m_conn) == PQTRANS_INTRANS;
        if (guarded)
            exec("SAVEPOINT quorvex_statement");
        Result result(PQexec(m_conn, copy.constData()));
        if (result && PQresultStatus(result.get()) == PGRES_COPY_IN) {
            if (PQputCopyData(m_conn, data.constData(), static_cast<int>(data.size())) != 1
                || PQputCopyEnd(m_conn, nullptr) != 1)
                raiseConnection();
            result.reset(PQgetResult(m_conn));
            while (PGresult* rest = PQgetResult(m_conn))
                PQclear(rest);
        }
        if (!result || PQresultStatus(result.get()) != PGRES_COMMAND_OK) {
            if (guarded && PQstatus(m_conn) == CONNECTION_OK)
                PQclear(PQexec(m_conn, "ROLLBACK TO SAVEPOINT quorvex_statement"));
            check(result.release());
        }
        if (guarded)
            exec("RELEASE SAVEPOINT quorvex_statement");
        return QByteArray(PQcmdTuples(result.get())).toInt();
    }

    // One writer at a time, as with the file: the lock comes first, so two
    // writers never wait on each other's rows halfway. A write transaction's
    // number is kept, to ask about it if the connection is lost at COMMIT.
    void begin(bool write) override
    {
        try {
            if (!write) {
                exec("BEGIN ISOLATION LEVEL REPEATABLE READ");
                return;
            }
            const Result result = check(
                PQexec(m_conn, "BEGIN; SELECT pg_advisory_xact_lock(7315); SELECT txid_current(), pg_backend_pid()"));
            m_transactionId = PQgetvalue(result.get(), 0, 0);
            m_backendId = PQgetvalue(result.get(), 0, 1);
        } catch (...) {
            // A lock that never came leaves no transaction behind, as with the file.
            end(true);
            throw;
        }
    }

    // A connection lost during COMMIT leaves the outcome open: the server may
    // have committed before the line went. A new connection asks it, so the
    // user is never told "not saved" about a save that is there.
    void commit() override
    {
        const QByteArray transaction = std::exchange(m_transactionId, QByteArray());
        PGresult* result = PQexec(m_conn, "COMMIT");
        keepScratchIf(Committed(result));
        if (PQstatus(m_conn) == CONNECTION_OK || transaction.isEmpty()) {
            check(result);
            return;
        }
        PQclear(result);
        const QString lost = ServerText(PQerrorMessage(m_conn));
        const QByteArray outcome = TransactionOutcome(m_conninfo, transaction, m_backendId);
        if (outcome == "committed")
            return;
        throw DbError(ErrorKind::CannotOpen,
                      lost + (outcome == "aborted" ? QStringLiteral("\n與伺服器的連線中斷，這次的變更未儲存。")
                                                   : QStringLiteral("\n與伺服器的連線中斷，伺服器無法回答這次的變更是否已儲存，請重新查詢後再確認。")));
    }
    void end(bool write) noexcept override
    {
        PGresult* result = PQexec(m_conn, write ? "ROLLBACK" : "COMMIT");
        keepScratchIf(!write && Committed(result));
        PQclear(result);
    }

    // Scratch tables made in the transaction just ended last only if it committed.
    void keepScratchIf(bool committed)
    {
        if (std::exchange(m_scratchUncommitted, false) && !committed)
            m_scratchReady = false;
    }
    static bool Committed(PGresult* result)
    {
        // COMMIT of a transaction that failed answers ROLLBACK.
        return result && PQresultStatus(result) == PGRES_COMMAND_OK && qstrcmp(PQcmdStatus(result), "COMMIT") == 0;
    }

    // Takes ownership of a result; throws with the server's text unless it succeeded.
    Result check(PGresult* raw)
    {
        Result result(raw);
        const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
        if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK)
            return result;
        if (!result || PQstatus(m_conn) != CONNECTION_OK)
            raiseConnection();
        throw DbError(KindOfState(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE)),
                      ServerText(PQresultErrorMessage(result.get())));
    }

    // Runs a statement once per set of values, all in one round trip. Inside
    // a transaction they run under a savepoint: if one fails, they all undo
    // and the transaction goes on, as a failed statement does in the file.
    // Outside one, the round trip is a transaction of its own.
    std::vector<Result> runAll(const QByteArray& sql, const QVector<BoundValues>& executions)
    {
        const bool guarded = PQtransactionStatus(m_conn) == PQTRANS_INTRANS;
        if (!PQenterPipelineMode(m_conn))
            raiseConnection();
        const auto send = [this](const char* text, const BoundValues* bound) {
            return bound ? PQsendQueryParams(m_conn, text, static_cast<int>(bound->types.size()), bound->types.constData(),
                                             bound->pointers.constData(), nullptr, nullptr, 0)
                         : PQsendQueryParams(m_conn, text, 0, nullptr, nullptr, nullptr, nullptr, 0);
        };
        bool sent = !guarded || send("SAVEPOINT quorvex_statement", nullptr);
        for (const BoundValues& bound : executions)
            sent = sent && send(sql.constData(), &bound);
        sent = sent && (!guarded || send("RELEASE SAVEPOINT quorvex_statement", nullptr));
        if (!sent || !PQpipelineSync(m_conn))
            raiseConnection();

        std::vector<Result> results;
        const size_t commands = executions.size() + (guarded ? 2 : 0);
        for (size_t i = 0; i < commands; ++i) {
            results.emplace_back(PQgetResult(m_conn));
            while (PGresult* rest = PQgetResult(m_conn))   // up to the NULL that ends a command's results
                PQclear(rest);
        }
        PQclear(PQgetResult(m_conn));   // the pipeline's sync
        PQexitPipelineMode(m_conn);

        const auto failed = std::find_if(results.begin(), results.end(), [](const Result& result) {
            const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
            return status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK;
        });
        if (failed != results.end()) {
            if (guarded && PQstatus(m_conn) == CONNECTION_OK)
                PQclear(PQexec(m_conn, "ROLLBACK TO SAVEPOINT quorvex_statement"));
            check(failed->release());
        }
        if (guarded) {
            results.erase(results.begin());
            results.pop_back();
        }
        return results;
    }

private:
    static bool NeedsScratch(const QString& sql)
    {
        return sql.contains(QLatin1String("_tmp")) || sql.contains(QStringLiteral("買超轉賣超明細表"))
               || sql.contains(QStringLiteral("新增買賣超明細表"));
    }

    [[noreturn]] void raiseConnection()
    {
        throw DbError(ErrorKind::CannotOpen, ServerText(PQerrorMessage(m_conn)));
    }

    void exec(const QByteArray& sql) { check(PQexec(m_conn, sql.constData())); }

    bool schemaPresent()
    {
        // Read from the catalog table itself: a name lookup may answer from a
        // cache that has not yet seen another PC's schema, just committed.
        const Result result = check(PQexec(m_conn, "SELECT EXISTS (SELECT 1 FROM pg_class c JOIN pg_namespace n "
                                                   "ON n.oid = c.relnamespace WHERE c.relname = 'quorvex_schema' "
                                                   "AND n.nspname = current_schema())"));
        return QByteArray(PQgetvalue(result.get(), 0, 0)) == "t";
    }

    // A fresh database gets the schema once, even when several PCs start together.
    void ensureSchema(OpenMode mode)
    {
        const bool present = schemaPresent();
        if (!present && mode == OpenMode::MustExist)
            throw DbError(ErrorKind::NotADatabase, QStringLiteral("伺服器上的資料庫沒有 Quorvex 的資料表"));
        // An earlier version's database is brought up once per connection.
        if (present && (mode == OpenMode::MustExist || m_schemaCurrent || schemaVersion() >= kSchemaVersion)) {
            m_schemaCurrent = m_schemaCurrent || mode == OpenMode::CreateIfMissing;
            return;
        }
        begin(true);
        try {
            if (!schemaPresent()) {
                exec(ServerSchemaScript().toUtf8());
            } else if (const qlonglong version = schemaVersion(); version < kSchemaVersion) {
                exec(UpgradeScript(Dialect::PostgreSQL, version).toUtf8());
                exec(QByteArray("INSERT INTO quorvex_schema (version) VALUES (") + QByteArray::number(kSchemaVersion) + ")");
            }
            commit();
            m_schemaCurrent = true;
        } catch (...) {
            end(true);
            throw;
        }
    }

    QByteArray settings() const
    {
        return QByteArrayLiteral("SET client_encoding = 'UTF8'; SET client_min_messages = warning; SET lock_timeout = ")
               + QByteArray::number(backend::BusyTimeout());
    }

    QString m_conninfo;
    PGconn* m_conn = nullptr;
    bool m_scratchReady = false;
    bool m_scratchUncommitted = false;
    bool m_schemaCurrent = false;
    QByteArray m_transactionId;
    QByteArray m_backendId;
};

BoundValues PgPrepared::bind(const QVariantList& params) const
{
    // Texts go untyped, so the server compares them as the column's own type
    // (case-insensitively against a code); numbers go with their type. A
    // parameter the statement never names still needs a type.
    BoundValues bound;
    bound.values.resize(params.size());
    bound.pointers.resize(params.size());
    bound.types.resize(params.size());
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params.at(i);
        bound.types[i] = m_used.contains(i + 1) ? Oid(0) : Oid(kText);
        bound.pointers[i] = nullptr;
        switch (backend::KindOfValue(v)) {
        case backend::ValueKind::Null:
            continue;
        case backend::ValueKind::Integer:
            bound.values[i] = QByteArray::number(v.toLongLong());
            bound.types[i] = kInt8;
            break;
        case backend::ValueKind::Real:
            bound.values[i] = QByteArray::number(v.toDouble(), 'g', 17);
            bound.types[i] = kFloat8;
            break;
        case backend::ValueKind::Bytes:
        case backend::ValueKind::Text:
            bound.values[i] = v.toString().toUtf8();
            break;
        }
        bound.pointers[i] = bound.values[i].constData();
    }
    return bound;
}

Result PgPrepared::run(const QVariantList& params)
{
    return std::move(m_session.runAll(m_sql, {bind(params)}).front());
}

int PgPrepared::executeBatch(const QVector<QVariantList>& rows)
{
    if (rows.isEmpty())
        return 0;
    QVector<BoundValues> executions;
    executions.reserve(rows.size());
    for (const QVariantList& row : rows)
        executions << bind(row);
    int changed = 0;
    for (const Result& result : m_session.runAll(m_sql, executions))
        changed += QByteArray(PQcmdTuples(result.get())).toInt();
    return changed;
}

int PgPrepared::execute(const QVariantList& params)
{
    return executeBatch({params});
}

ResultSet PgPrepared::query(const QVariantList& params)
{
    const Result result = run(params);
    const int columns = PQnfields(result.get());
    QStringList names;
    for (int c = 0; c < columns; ++c)
        names << QString::fromUtf8(PQfname(result.get(), c));
    QVector<QVector<QVariant>> rows;
    rows.reserve(PQntuples(result.get()));
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        QVector<QVariant> row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << CellValue(result.get(), r, c);
        rows << std::move(row);
    }
    return ResultSet(std::move(names), std::move(rows));
}

void PgPrepared::forEachRow(const QVariantList& params, const std::function<void(const Row&)>& visit)
{
    const Result result = run(params);
    PgRow row(result.get(), 0);
    for (int r = 0; r < PQntuples(result.get()); ++r) {
        row.moveTo(r);
        visit(row);
    }
}

} // namespace

void CloseIdleServerConnections()
{
    IdlePool::instance().clear();
}

std::unique_ptr<backend::Session> backend::OpenPostgres(const QString& conninfo, OpenMode mode)
{
    return std::make_unique<PgSession>(conninfo, mode);
}

} // namespace db
