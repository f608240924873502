#include "core/data/Schema.h"

#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/FileMove.h"
#include "core/data/PasswordHash.h"

#include <QRegularExpression>

#include <utility>

namespace db {

namespace {

// The tables with their keys, and the saved queries over them.
const char* const kTablesScript = R"SQL(
CREATE TABLE 使用者資料 (
    使用者 TEXT COLLATE NOCASE,
    密碼 TEXT,
    備份時間 TEXT COLLATE NOCASE,
    重整時間 TEXT COLLATE NOCASE
);
CREATE TABLE 股號資料 (
    股號 TEXT COLLATE NOCASE NOT NULL,
    名稱 TEXT COLLATE NOCASE,
    本益比 TEXT COLLATE NOCASE,
    殖利率 TEXT COLLATE NOCASE,
    股價淨值比 TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX 股號資料_股號 ON 股號資料 (股號);
CREATE TABLE 公司基本資料 (
    公司名稱 TEXT COLLATE NOCASE
);
CREATE TABLE 買賣超資料 (
    買賣日期 TEXT COLLATE NOCASE NOT NULL,
    買賣星期 TEXT COLLATE NOCASE
);
CREATE UNIQUE INDEX 買賣超資料_買賣日期 ON 買賣超資料 (買賣日期);
CREATE TABLE 買超明細資料 (
    序 REAL,
    股號 TEXT COLLATE NOCASE,
    買賣日期 TEXT COLLATE NOCASE
);
CREATE INDEX 買超明細資料_買賣日期 ON 買超明細資料 (買賣日期, 股號);
CREATE INDEX 買超明細資料_股號 ON 買超明細資料 (股號, 買賣日期);
CREATE TABLE 賣超明細資料 (
    序 REAL,
    股號 TEXT COLLATE NOCASE,
    買賣日期 TEXT COLLATE NOCASE
);
CREATE INDEX 賣超明細資料_買賣日期 ON 賣超明細資料 (買賣日期, 股號);
CREATE INDEX 賣超明細資料_股號 ON 賣超明細資料 (股號, 買賣日期);

%AMOUNTS%
CREATE VIEW 買賣超明細查詢 AS
    SELECT d.買賣日期 AS 買賣日期, h.買賣星期 AS 買賣星期, '買超' AS 類別,
           d.股號 AS 股號, ifnull(s.名稱, '') AS 名稱, d.序 AS 序
      FROM 買超明細資料 d
      LEFT JOIN 買賣超資料 h ON h.買賣日期 = d.買賣日期
      LEFT JOIN 股號資料 s ON s.股號 = d.股號
    UNION ALL
    SELECT d.買賣日期, h.買賣星期, '賣超', d.股號, ifnull(s.名稱, ''), d.序
      FROM 賣超明細資料 d
      LEFT JOIN 買賣超資料 h ON h.買賣日期 = d.買賣日期
      LEFT JOIN 股號資料 s ON s.股號 = d.股號;

CREATE VIEW 工作單 AS
    SELECT 買賣日期, 買賣星期, 類別, 序, 股號, 名稱 FROM 買賣超明細查詢;
)SQL";

// Every stock's net shares per institution and date, as the exchanges'
// files give them; a basis a file has no column for is null. Kept in date
// order: a range of dates is read without a lookup per row.
const char* const kAmountsScript = R"SQL(
CREATE TABLE 法人買賣超 (
    買賣日期 TEXT COLLATE NOCASE NOT NULL,
    股號 TEXT COLLATE NOCASE NOT NULL,
    外資 INTEGER,
    投信 INTEGER,
    自營商 INTEGER,
    合計 INTEGER,
    PRIMARY KEY (買賣日期, 股號)
) WITHOUT ROWID;
CREATE INDEX 法人買賣超_股號 ON 法人買賣超 (股號, 買賣日期);
)SQL";

// The statistics' scratch tables and the saved queries over them. A server
// keeps them per connection, so two PCs running a statistic never meet there.
// Grouped by every shown column: one row per code either way, since a code is
// in the stock master at most once.
const char* const kScratchScript = R"SQL(
CREATE TABLE 基準日股號_tmp (股號 TEXT COLLATE NOCASE);
CREATE TABLE 比較日股號_tmp (股號 TEXT COLLATE NOCASE);
CREATE TABLE 買超轉賣超_tmp (
    股號 TEXT COLLATE NOCASE,
    名稱 TEXT COLLATE NOCASE,
    買超次數 INTEGER,
    賣超次數 INTEGER
);
CREATE TABLE 新增買超_tmp (
    股號 TEXT COLLATE NOCASE,
    名稱 TEXT COLLATE NOCASE,
    買超次數 INTEGER,
    賣超次數 INTEGER,
    累積賣超次數 INTEGER,
    本益比 TEXT COLLATE NOCASE,
    殖利率 TEXT COLLATE NOCASE,
    股價淨值比 TEXT COLLATE NOCASE
);
CREATE TABLE 新增賣超_tmp (
    股號 TEXT COLLATE NOCASE,
    名稱 TEXT COLLATE NOCASE,
    賣超次數 INTEGER,
    買超次數 INTEGER,
    累積買超次數 INTEGER,
    本益比 TEXT COLLATE NOCASE,
    殖利率 TEXT COLLATE NOCASE,
    股價淨值比 TEXT COLLATE NOCASE
);

CREATE VIEW 買超轉賣超明細表 AS
    SELECT b.股號 AS 股號, ifnull(s.名稱, '') AS 名稱
      FROM 基準日股號_tmp b
      LEFT JOIN 股號資料 s ON s.股號 = b.股號
     WHERE b.股號 IN (SELECT 股號 FROM 比較日股號_tmp)
     GROUP BY b.股號, s.名稱;

CREATE VIEW 新增買賣超明細表 AS
    SELECT b.股號 AS 股號, ifnull(s.名稱, '') AS 名稱,
           s.本益比 AS 本益比, s.殖利率 AS 殖利率, s.股價淨值比 AS 股價淨值比
      FROM 基準日股號_tmp b
      LEFT JOIN 股號資料 s ON s.股號 = b.股號
     WHERE b.股號 NOT IN (SELECT 股號 FROM 比較日股號_tmp WHERE 股號 IS NOT NULL)
     GROUP BY b.股號, s.名稱, s.本益比, s.殖利率, s.股價淨值比;
)SQL";

// The user who logs in, with the empty password's hash: letters, digits and
// "$,=+/", nothing a quote could end.
QString FirstUserScript()
{
    return QStringLiteral("INSERT INTO 使用者資料 (使用者, 密碼, 備份時間, 重整時間) VALUES ('admin', '%1', '', '');\n")
        .arg(EmptyPasswordHash());
}

// What a server needs before the tables: case-insensitive texts that compare
// like the file's NOCASE (ASCII letters only, byte order), and val() and
// ifnull() with the file's meanings.
const char* const kServerPrelude = R"SQL(
CREATE EXTENSION IF NOT EXISTS citext;
CREATE DOMAIN nocase AS citext COLLATE "C";
CREATE FUNCTION val(text) RETURNS double precision LANGUAGE sql IMMUTABLE AS $$
    SELECT coalesce(substring($1 from '^[ \t\r\n]*([+-]?([0-9]+[.]?[0-9]*|[.][0-9]+)([eE][+-]?[0-9]+)?)')::double precision, 0)
$$;
CREATE FUNCTION val(double precision) RETURNS double precision LANGUAGE sql IMMUTABLE AS $$
    SELECT coalesce($1, 0)
$$;
CREATE FUNCTION ifnull(anycompatible, anycompatible) RETURNS anycompatible LANGUAGE sql IMMUTABLE AS $$
    SELECT coalesce($1, $2)
$$;
CREATE TABLE quorvex_schema (version integer NOT NULL);
)SQL";

QString InServerWords(QString script, bool scratch)
{
    // A date is seven digits: compared byte for byte it needs no case
    // folding, which a server pays for on every row of a range.
    script.replace(QStringLiteral("買賣日期 TEXT COLLATE NOCASE"), QStringLiteral("買賣日期 text COLLATE \"C\""));
    script.replace(QStringLiteral("TEXT COLLATE NOCASE"), QStringLiteral("nocase"));
    script.replace(QRegularExpression(QStringLiteral("\\bTEXT\\b")), QStringLiteral("text COLLATE \"C\""));
    script.replace(QRegularExpression(QStringLiteral("\\bREAL\\b")), QStringLiteral("double precision"));
    script.replace(QRegularExpression(QStringLiteral("\\bINTEGER\\b")), QStringLiteral("bigint"));
    script.replace(QStringLiteral(" WITHOUT ROWID"), QString());
    if (scratch) {
        script.replace(QStringLiteral("CREATE TABLE"), QStringLiteral("CREATE TEMP TABLE"));
        script.replace(QStringLiteral("CREATE VIEW"), QStringLiteral("CREATE TEMP VIEW"));
    }
    return script;
}

} // namespace

QString SchemaScript(Dialect dialect)
{
    const QString script = QString::fromUtf8(kTablesScript).replace(QStringLiteral("%AMOUNTS%"), QString::fromUtf8(kAmountsScript));
    return dialect == Dialect::SqlCipher ? script : InServerWords(script, false);
}

QString ScratchScript(Dialect dialect)
{
    const QString script = QString::fromUtf8(kScratchScript);
    return dialect == Dialect::SqlCipher ? script : InServerWords(script, true);
}

QString ServerSchemaScript()
{
    return QString::fromUtf8(kServerPrelude) + SchemaScript(Dialect::PostgreSQL) + FirstUserScript()
           + QStringLiteral("INSERT INTO quorvex_schema (version) VALUES (%1);").arg(kSchemaVersion);
}

QString UpgradeScript(Dialect dialect, qlonglong fromVersion)
{
    QString script;
    if (fromVersion < 2)
        script += QString::fromUtf8(kAmountsScript);
    return dialect == Dialect::SqlCipher ? script : InServerWords(script, false);
}

void CreateSchema(Connection& connection)
{
    Transaction transaction(connection);
    connection.executeScript(SchemaScript(Dialect::SqlCipher) + ScratchScript(Dialect::SqlCipher)
                             + FirstUserScript());
    connection.executeScript(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion));
    transaction.commit();
}

namespace {
QString& CreatedFile()
{
    static QString path;
    return path;
}
} // namespace

QString TakeCreatedDatabaseFile()
{
    return std::exchange(CreatedFile(), QString());
}

void CreateDatabaseFile(const QString& path, const QString& password)
{
    QString reason;
    const std::unique_ptr<ScratchFile> scratch = ScratchFileBeside(path, &reason);
    if (!scratch)
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法建立資料庫檔案 %1：%2").arg(path, reason));
    const QString scratchPath = scratch->fileName();
    {
        Connection connection(BuildConnectionString(scratchPath, password), OpenMode::MustExist);
        CreateSchema(connection);
    }
    switch (MoveWithoutReplacing(scratchPath, path, &reason)) {
    case MoveOutcome::Moved:
        CreatedFile() = path;
        return;
    case MoveOutcome::TargetExists:
        return;   // another process created the file meanwhile; its file is the one to use
    case MoveOutcome::Failed:
        throw DbError(ErrorKind::CannotOpen, QStringLiteral("無法建立資料庫檔案 %1：%2").arg(path, reason));
    }
}

} // namespace db
