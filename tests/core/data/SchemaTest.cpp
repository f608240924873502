#include "DbTestSupport.h"

#include "core/data/PasswordHash.h"
#include "core/data/Schema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

using db::Connection;

class SchemaTest : public DbFolder {};

TEST_F(SchemaTest, FirstAccessCreatesTheCompleteSchema)
{
    ASSERT_FALSE(QFile::exists(path()));
    Connection c(connectionString());
    EXPECT_TRUE(QFile::exists(path()));
    const QStringList expected = {
        "使用者資料", "公司基本資料", "基準日股號_tmp", "新增買超_tmp", "新增賣超_tmp", "比較日股號_tmp",
        "法人買賣超", "股號資料",   "買賣超資料",   "買超明細資料",   "買超轉賣超_tmp", "賣超明細資料"};
    QStringList tables = c.tableNames();
    QStringList sorted = expected;
    sorted.sort();
    tables.sort();
    EXPECT_EQ(tables, sorted);
    for (const char* view : {"買賣超明細查詢", "工作單", "買超轉賣超明細表", "新增買賣超明細表"}) {
        EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'view' AND name = ?"),
                        {QString::fromUtf8(view)}),
                  1)
            << view;
    }
    EXPECT_EQ(count(c, QStringLiteral("PRAGMA user_version")), db::kSchemaVersion);
    const db::ResultSet users = c.query(QStringLiteral("SELECT * FROM 使用者資料"));
    ASSERT_EQ(users.rowCount(), 1);
    EXPECT_EQ(users.text(0, QStringLiteral("使用者")), "admin");
    EXPECT_TRUE(db::StoredPasswordMatches(users.value(0, QStringLiteral("密碼")), QString()));
    EXPECT_TRUE(db::IsPasswordHash(users.text(0, QStringLiteral("密碼"))));
    EXPECT_EQ(c.query(QStringLiteral("PRAGMA journal_mode")).text(0, 0), "delete");
    // No temporary file is left beside the database.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Quorvex.mdb"});
}

TEST_F(SchemaTest, AFileOfTheFirstVersionIsBroughtUpOnceKeepingItsRows)
{
    {
        Connection c(connectionString());
        c.executeScript(QStringLiteral("DROP TABLE 法人買賣超; PRAGMA user_version = 1"));
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1150105', '一')"));
    }
    {
        // Copies and old files are read as they are.
        Connection other(connectionString(), db::OpenMode::MustExist);
        EXPECT_EQ(other.schemaVersion(), 1);
    }
    Connection c(connectionString());
    EXPECT_EQ(c.schemaVersion(), db::kSchemaVersion);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 1);
    c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1150105', '2330', 1, 2, 3, 6)"));
    EXPECT_EQ(ErrorKindOf([&] { c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1150105', '2330', 0, 0, 0, 0)")); }),
              db::ErrorKind::DuplicateKey);
    Connection again(connectionString());
    EXPECT_EQ(count(again, QStringLiteral("SELECT count(*) FROM 法人買賣超")), 1);
}

// An account that may only read the file still reads it; the first PC that
// may write brings it up.
TEST_F(SchemaTest, AFileOfTheFirstVersionIsReadAsItIsByAnAccountThatMayNotWrite)
{
    {
        Connection c(connectionString());
        c.executeScript(QStringLiteral("DROP TABLE 法人買賣超; PRAGMA user_version = 1"));
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1150105', '一')"));
    }
    QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    const auto reader = runWriterAs(65534, 65534, {"count"});
    SKIP_WITHOUT_SECOND_ACCOUNT(reader);
    EXPECT_EQ(reader->first, 0) << reader->second;
    EXPECT_EQ(Connection(connectionString(), db::OpenMode::MustExist).schemaVersion(), 1);
}

TEST_F(SchemaTest, AnExistingFileIsNeverRecreated)
{
    {
        Connection c(connectionString());
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('2330')"));
        c.execute(QStringLiteral("DELETE FROM 使用者資料"));
    }
    Connection again(connectionString());
    EXPECT_EQ(count(again, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(count(again, QStringLiteral("SELECT count(*) FROM 使用者資料")), 0);
}

TEST_F(SchemaTest, UniqueKeysAreTheirOwnErrorKindAndIgnoreLetterCase)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('ABC1')"));
    EXPECT_EQ(ErrorKindOf([&] { c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('abc1')")); }),
              db::ErrorKind::DuplicateKey);
    c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
    EXPECT_EQ(ErrorKindOf([&] { c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '三')")); }),
              db::ErrorKind::DuplicateKey);
    // Detail rows may repeat a code within a day.
    c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', '1000125')"));
    c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (2, '2330', '1000125')"));
}

TEST_F(SchemaTest, TextComparisonsIgnoreAsciiLetterCase)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330A', 'TSMC')"));
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 股號 = '2330a'")), 1);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 名稱 LIKE 'ts%'")), 1);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 股號 BETWEEN '2330a' AND '2330b'")), 1);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 使用者資料 WHERE 使用者 = 'ADMIN'")), 1);
}

TEST_F(SchemaTest, DetailQueryNamesBothListsAndKeepsUnknownCodes)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')"));
    c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
    c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', '1000125')"));
    c.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (1, '9999', '1000125')"));
    const db::ResultSet rows =
        c.query(QStringLiteral("SELECT * FROM 買賣超明細查詢 ORDER BY 買賣日期 DESC, 類別, 序"));
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.text(0, QStringLiteral("類別")), QString::fromUtf8("買超"));
    EXPECT_EQ(rows.text(0, QStringLiteral("名稱")), QString::fromUtf8("台積電"));
    EXPECT_EQ(rows.text(0, QStringLiteral("買賣星期")), QString::fromUtf8("二"));
    EXPECT_EQ(rows.text(1, QStringLiteral("類別")), QString::fromUtf8("賣超"));
    EXPECT_EQ(rows.text(1, QStringLiteral("股號")), "9999");
    EXPECT_EQ(rows.text(1, QStringLiteral("名稱")), "");
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 工作單 WHERE 買賣日期 = '1000125'")), 2);
}

TEST_F(SchemaTest, ScratchViewsGiveTheCommonAndTheNewCodesOnce)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '3', '4')"));
    for (const char* code : {"2330", "2330", "1101", "5555"})
        c.execute(QStringLiteral("INSERT INTO 基準日股號_tmp VALUES (?)"), {QString::fromLatin1(code)});
    for (const char* code : {"2330", "1101", "1101"})
        c.execute(QStringLiteral("INSERT INTO 比較日股號_tmp VALUES (?)"), {QString::fromLatin1(code)});
    const db::ResultSet common = c.query(QStringLiteral("SELECT * FROM 買超轉賣超明細表 ORDER BY 股號"));
    ASSERT_EQ(common.rowCount(), 2);
    EXPECT_EQ(common.text(0, QStringLiteral("股號")), "1101");
    EXPECT_EQ(common.text(1, QStringLiteral("名稱")), QString::fromUtf8("台積電"));
    const db::ResultSet fresh = c.query(QStringLiteral("SELECT * FROM 新增買賣超明細表"));
    ASSERT_EQ(fresh.rowCount(), 1);
    EXPECT_EQ(fresh.text(0, QStringLiteral("股號")), "5555");
    EXPECT_EQ(fresh.text(0, QStringLiteral("名稱")), "");
}

TEST_F(SchemaTest, OpensInTheStockSqlcipherShell)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlcipher"));
    if (shell.isEmpty())
        GTEST_SKIP() << "sqlcipher shell not installed";
    {
        Connection c(connectionString());
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')"));
    }
    QProcess process;
    process.start(shell, {path()});
    ASSERT_TRUE(process.waitForStarted());
    process.write("PRAGMA key='kvew7315';\nSELECT 股號 || '|' || 名稱 FROM 股號資料;\n.quit\n");
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardOutput()).contains(QString::fromUtf8("2330|台積電")))
        << process.readAllStandardError().toStdString();
}

} // namespace
