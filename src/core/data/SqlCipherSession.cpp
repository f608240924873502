// The embedded engine: one SQLCipher file, beside the program or anywhere a
// copy or an older database lies.
#include "core/data/Backend.h"

#include "core/data/ConnectionString.h"
#include "core/data/KeyCache.h"
#include "core/data/Schema.h"
#include "core/data/SqlFunctions.h"
#include "core/data/SqlText.h"

#include <QFileInfo>

#define SQLITE_HAS_CODEC 1
#include <sqlite3.h>

namespace db {

namespace {

// SQLCipher 3's file format also for the files the engine opens on its own
// (a copy's ATTACH ... KEY): set once, for every connection opened after.
void PinDefaultFileFormat()
{
    [[maybe_unused]] static const bool pinned = [] {
        sqlite3* memory = nullptr;
        if (sqlite3_open(":memory:", &memory) == SQLITE_OK)
            sqlite3_exec(memory, "PRAGMA cipher_default_compatibility = 3", nullptr, nullptr, nullptr);
        sqlite3_close(memory);
        return true;
    }();
}

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

const QString kMovedHint = QStringLiteral("（資料庫檔案已被重整或取代，這次的變更未寫入，請重新操作）");

[[noreturn]] void Raise(sqlite3* db, int rc)
{
    const int extended = db ? sqlite3_extended_errcode(db) : rc;
    QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    if (text.isEmpty())
        text = QString::fromUtf8(sqlite3_errstr(rc));
    if (extended == SQLITE_READONLY_DBMOVED)
        text += kMovedHint;
    throw DbError(KindOf(extended ? extended : rc), text);
}

// Another name now leads to another file: a compaction elsewhere renamed its
// copy over the one this handle opened.
bool FileMoved(sqlite3* db)
{
    int moved = 0;
    return sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) == SQLITE_OK && moved;
}

DbError MovedFileError(bool write)
{
    return DbError(ErrorKind::Other, write ? QString::fromUtf8(sqlite3_errstr(SQLITE_READONLY)) + kMovedHint
                                           : QStringLiteral("資料庫檔案已被重整或取代，請重新操作。"));
}

// A handle on a replaced file must take no lock there, not even to read: the
// engine would take the journal of a commit in progress on the new file for
// one left by a crash of its own file, roll it back into the old file and
// delete it. Only a handle outside a transaction checks: a transaction takes
// its lock as it begins, and keeps it whatever happens to the name.
void RefuseLockOnMovedFile(sqlite3* db, bool write)
{
    if (sqlite3_get_autocommit(db) && FileMoved(db))
        throw MovedFileError(write);
}

// The file's salt, read through the engine's own descriptor: a descriptor of
// ours on the same file, once closed, would drop every lock this process
// holds on it (POSIX locks belong to the process). Empty for a new file.
QByteArray FileSalt(sqlite3* db)
{
    sqlite3_file* file = nullptr;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file || !file->pMethods)
        return {};
    QByteArray salt(kSaltBytes, '\0');
    if (file->pMethods->xRead(file, salt.data(), kSaltBytes, 0) != SQLITE_OK)
        return {};
    return salt;
}

void Script(sqlite3* db, const char* sql)
{
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        Raise(db, rc);
}

class SqliteRow : public Row {
public:
    explicit SqliteRow(sqlite3_stmt* stmt) : m_stmt(stmt) {}
    QVariant value(int column) const override { return ColumnValue(m_stmt, column); }
    QByteArrayView utf8(int column) const override
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
        return QByteArrayView(text, text ? sqlite3_column_bytes(m_stmt, column) : 0);
    }

private:
    sqlite3_stmt* m_stmt;
};

class SqlitePrepared : public backend::Prepared {
public:
    SqlitePrepared(sqlite3* db, const QString& sql) : m_db(db)
    {
        const QByteArray text = sql.toUtf8();
        const int rc = sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &m_stmt, nullptr);
        if (rc != SQLITE_OK)
            fail(rc);
    }
    ~SqlitePrepared() override { sqlite3_finalize(m_stmt); }
    SqlitePrepared(const SqlitePrepared&) = delete;
    SqlitePrepared& operator=(const SqlitePrepared&) = delete;

    int execute(const QVariantList& params) override
    {
        bindAll(params);
        int rc;
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            fail(rc);
        sqlite3_reset(m_stmt);
        return sqlite3_changes(m_db);
    }

    int executeBatch(const QVector<QVariantList>& rows) override
    {
        RefuseLockOnMovedFile(m_db, true);
        Script(m_db, "SAVEPOINT quorvex_batch");
        int changed = 0;
        try {
            for (const QVariantList& row : rows)
                changed += execute(row);
        } catch (...) {
            sqlite3_exec(m_db, "ROLLBACK TO quorvex_batch; RELEASE quorvex_batch", nullptr, nullptr, nullptr);
            throw;
        }
        Script(m_db, "RELEASE quorvex_batch");
        return changed;
    }

    void forEachRow(const QVariantList& params, const std::function<void(const Row&)>& visit) override
    {
        bindAll(params);
        const SqliteRow row(m_stmt);
        int rc;
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW)
            visit(row);
        if (rc != SQLITE_DONE)
            fail(rc);
        sqlite3_reset(m_stmt);
    }

    ResultSet query(const QVariantList& params) override
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

private:
    [[noreturn]] void fail(int rc)
    {
        if (m_stmt)
            sqlite3_reset(m_stmt);
        Raise(m_db, rc);
    }

    void bindAll(const QVariantList& params)
    {
        RefuseLockOnMovedFile(m_db, !sqlite3_stmt_readonly(m_stmt));
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
        for (int i = 0; i < params.size(); ++i) {
            const QVariant& v = params.at(i);
            const int slot = i + 1;
            int rc = SQLITE_OK;
            switch (backend::KindOfValue(v)) {
            case backend::ValueKind::Null:
                rc = sqlite3_bind_null(m_stmt, slot);
                break;
            case backend::ValueKind::Integer:
                rc = sqlite3_bind_int64(m_stmt, slot, v.toLongLong());
                break;
            case backend::ValueKind::Real:
                rc = sqlite3_bind_double(m_stmt, slot, v.toDouble());
                break;
            case backend::ValueKind::Bytes: {
                const QByteArray bytes = v.toByteArray();
                rc = sqlite3_bind_blob(m_stmt, slot, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            case backend::ValueKind::Text: {
                const QByteArray text = v.toString().toUtf8();
                rc = sqlite3_bind_text(m_stmt, slot, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
                break;
            }
            }
            if (rc != SQLITE_OK)
                fail(rc);
        }
    }

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

class SqlCipherSession : public backend::Session {
public:
    SqlCipherSession(const QString& connectionString, OpenMode mode)
    {
        const DataSource source = ParseConnectionString(connectionString);
        m_path = source.path;
        m_password = source.password;
        open(mode);
    }
    ~SqlCipherSession() override { sqlite3_close_v2(m_db); }
    SqlCipherSession(const SqlCipherSession&) = delete;
    SqlCipherSession& operator=(const SqlCipherSession&) = delete;

    std::unique_ptr<backend::Prepared> prepare(const QString& sql) override
    {
        return std::make_unique<SqlitePrepared>(m_db, sql);
    }

    // Transaction control and settings: the statements that take locks check.
    void executeScript(const QString& sql) override { Script(m_db, sql.toUtf8().constData()); }

    QStringList tableNames() override
    {
        const ResultSet rows = SqlitePrepared(m_db, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' "
                                                                   "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY name"))
                                   .query({});
        QStringList names;
        for (int r = 0; r < rows.rowCount(); ++r)
            names << rows.text(r, 0);
        return names;
    }

    QList<std::pair<QString, QString>> tableColumns(const QString& table) override
    {
        const ResultSet info = SqlitePrepared(m_db, QStringLiteral("PRAGMA table_info(%1)").arg(QuotedName(table))).query({});
        QList<std::pair<QString, QString>> columns;
        for (int r = 0; r < info.rowCount(); ++r)
            columns.append({info.text(r, QStringLiteral("name")), info.text(r, QStringLiteral("type"))});
        return columns;
    }

    qlonglong schemaVersion() override
    {
        return SqlitePrepared(m_db, QStringLiteral("PRAGMA user_version")).query({}).value(0, 0).toLongLong();
    }
    bool isServer() const override { return false; }
    int appendRows(const QString& table, const QStringList& columns, const QVector<QVariantList>& rows) override
    {
        return SqlitePrepared(m_db, InsertStatement(table, columns)).executeBatch(rows);
    }

    void begin(bool write) override
    {
        RefuseLockOnMovedFile(m_db, write);
        if (!write) {
            // The read lock at once, right after the check: a deferred
            // transaction would take it at its first statement, unchecked.
            Script(m_db, "BEGIN DEFERRED");
            try {
                Script(m_db, "PRAGMA schema_version");
            } catch (...) {
                end(false);   // a lock that never came leaves no transaction behind
                throw;
            }
            return;
        }
        // A write lock that came after a compaction elsewhere is a lock on the
        // file that was replaced: nothing written there would ever be seen.
        Script(m_db, "BEGIN IMMEDIATE");
        if (FileMoved(m_db)) {
            end(true);
            throw MovedFileError(true);
        }
    }
    void commit() override { executeScript(QStringLiteral("COMMIT")); }
    void end(bool write) noexcept override { sqlite3_exec(m_db, write ? "ROLLBACK" : "COMMIT", nullptr, nullptr, nullptr); }

private:
    void open(OpenMode mode)
    {
        if (m_path.isEmpty())
            throw DbError(ErrorKind::CannotOpen, QStringLiteral("未指定資料庫檔案"));
        if (!QFileInfo::exists(m_path)) {
            if (mode == OpenMode::MustExist)
                throw DbError(ErrorKind::CannotOpen, QStringLiteral("找不到資料庫檔案 %1").arg(m_path));
            CreateDatabaseFile(m_path, m_password);
        }

        PinDefaultFileFormat();
        const QByteArray path = m_path.toUtf8();
        const int rc = sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK) {
            const QString text = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            throw DbError(KindOf(rc), text + QStringLiteral(" (%1)").arg(m_path));
        }
        // The destructor does not run for a constructor that throws: a handle the
        // file refused is closed here.
        try {
            configure();
            if (mode == OpenMode::CreateIfMissing)
                upgrade();
        } catch (...) {
            sqlite3_close_v2(m_db);
            m_db = nullptr;
            throw;
        }
    }

    void configure()
    {
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, backend::BusyTimeout());

        if (!m_password.isEmpty()) {
            const QByteArray salt = FileSalt(m_db);
            const QByteArray key = salt.isEmpty() ? m_password.toUtf8() : RawKeyPragmaValue(m_password, salt);
            if (sqlite3_key(m_db, key.constData(), static_cast<int>(key.size())) != SQLITE_OK)
                throw DbError(ErrorKind::Other, QStringLiteral("無法設定資料庫密碼 (%1)").arg(m_path));
            // The file format stays SQLCipher 3's (page size, HMAC, key
            // derivation) whichever SQLCipher the program is built on: 4.x
            // reads and writes it once told; 3.4 knows no such setting and
            // ignores it.
            sqlite3_exec(m_db, "PRAGMA cipher_compatibility = 3", nullptr, nullptr, nullptr);
        }
        RegisterSqlFunctions(m_db);
        // Room for a statistic's scratch rows without spilling to the journal
        // mid-transaction; and no zero-filling of freed pages, which the build
        // turns on but an encrypted file does not need.
        sqlite3_exec(m_db, "PRAGMA cache_size = -16384; PRAGMA secure_delete = OFF", nullptr, nullptr, nullptr);

        // A wrong key only shows when the first page is read: read it now, so a
        // foreign or damaged file fails here and not in the middle of an operation.
        SqlitePrepared(m_db, QStringLiteral("SELECT count(*) FROM sqlite_master")).query({});

        // The file may sit on a network share, where WAL's shared memory does not
        // work; another tool may have switched it, so every open switches it back.
        const QString journal = SqlitePrepared(m_db, QStringLiteral("PRAGMA journal_mode = DELETE")).query({}).text(0, 0);
        if (journal.compare(QLatin1String("delete"), Qt::CaseInsensitive) != 0)
            throw DbError(ErrorKind::Busy,
                          QStringLiteral("無法將資料庫的日誌模式改回 DELETE（目前為 %1），請先關閉其他使用此檔案的程式 (%2)")
                              .arg(journal, m_path));
    }

    // A file of an earlier version gets what this one adds, once, under the
    // write lock, whichever PC opens it first.
    void upgrade()
    {
        // A PC that may only read the file reads it as it is.
        if (schemaVersion() >= kSchemaVersion || sqlite3_db_readonly(m_db, "main") == 1)
            return;
        begin(true);
        try {
            const qlonglong version = schemaVersion();
            if (version < kSchemaVersion) {
                executeScript(UpgradeScript(Dialect::SqlCipher, version));
                executeScript(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
            }
            commit();
        } catch (...) {
            end(true);
            throw;
        }
    }

    QString m_path;
    QString m_password;
    sqlite3* m_db = nullptr;
};

} // namespace

std::unique_ptr<backend::Session> backend::OpenSqlCipher(const QString& connectionString, OpenMode mode)
{
    return std::make_unique<SqlCipherSession>(connectionString, mode);
}

} // namespace db
