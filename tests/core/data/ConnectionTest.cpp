#include "DbTestSupport.h"
#include "core/support/TempDatabase.h"

#include "core/data/ResultSet.h"

namespace {

using db::Connection;
using db::Transaction;

class ConnectionTest : public DbFolder {};

TEST_F(ConnectionTest, ValuesAreBoundSoQuotesAreJustCharacters)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES (?, ?)"),
              {QStringLiteral("O'NE"), QStringLiteral("它's \"名\"")});
    const db::ResultSet rows = c.query(QStringLiteral("SELECT * FROM 股號資料 WHERE 股號 = ?"),
                                       {QStringLiteral("o'ne")});
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.text(0, QStringLiteral("名稱")), QString::fromUtf8("它's \"名\""));
    EXPECT_EQ(c.execute(QStringLiteral("DELETE FROM 股號資料 WHERE 股號 = ?"), {QStringLiteral("O'NE")}), 1);
}

TEST_F(ConnectionTest, ResultSetKnowsItsRowsAndReadsByNameAndPosition)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱, 本益比) VALUES ('2330', '台積電', NULL)"));
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱, 本益比) VALUES ('2317', '鴻海', '12.5')"));
    const db::ResultSet rows = c.query(QStringLiteral("SELECT * FROM 股號資料 ORDER BY 股號"));
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.columnCount(), 5);
    EXPECT_EQ(rows.text(0, 0), "2317");
    EXPECT_EQ(rows.text(1, QStringLiteral("名稱")), QString::fromUtf8("台積電"));
    EXPECT_TRUE(rows.value(1, QStringLiteral("本益比")).isNull());
    EXPECT_EQ(rows.text(1, QStringLiteral("本益比")), "");
    EXPECT_EQ(rows.text(0, 2), "12.5");
    EXPECT_TRUE(rows.value(5, 0).isNull());
    EXPECT_EQ(rows.columnIndex(QStringLiteral("nosuch")), -1);
}

TEST_F(ConnectionTest, NumbersComeBackAsNumbers)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("INSERT INTO 買超明細資料 (序, 股號, 買賣日期) VALUES (?, ?, ?)"),
              {2.5, QStringLiteral("2330"), QStringLiteral("1000125")});
    const db::ResultSet rows = c.query(QStringLiteral("SELECT 序, count(*) AS n FROM 買超明細資料"));
    EXPECT_DOUBLE_EQ(rows.value(0, 0).toDouble(), 2.5);
    EXPECT_EQ(rows.value(0, QStringLiteral("n")).toLongLong(), 1);
}

TEST_F(ConnectionTest, TransactionRollsBackWhenTheOperationFails)
{
    {
        Connection c(connectionString());
        try {
            Transaction t(c);
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', '1000125')"));
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));   // duplicate date
            t.commit();
            FAIL() << "the duplicate date was accepted";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.kind(), db::ErrorKind::DuplicateKey);
        }
    }
    Connection c(connectionString());
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 0);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 0);
}

TEST_F(ConnectionTest, CommittedTransactionStays)
{
    {
        Connection c(connectionString());
        Transaction t(c);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
        t.commit();
    }
    Connection c(connectionString());
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 1);
}

// A read whose lock another writer's commit keeps past the busy timeout is
// refused, and leaves the connection ready for the next one.
TEST_F(ConnectionTest, AReadRefusedAsBusyLeavesNoTransactionBehind)
{
    Connection writer(connectionString());
    db::SetBusyTimeout(100);
    Connection reader(connectionString());
    db::SetBusyTimeout(10000);
    writer.executeScript(QStringLiteral("BEGIN EXCLUSIVE"));
    EXPECT_EQ(ErrorKindOf([&] { db::ReadTransaction read(reader); }), db::ErrorKind::Busy);
    writer.executeScript(QStringLiteral("COMMIT"));
    db::ReadTransaction read(reader);
    EXPECT_EQ(count(reader, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 0);
}

TEST_F(ConnectionTest, PreparedStatementRunsManyTimes)
{
    Connection c(connectionString());
    db::Statement insert(c, QStringLiteral("INSERT INTO 賣超明細資料 VALUES (?, ?, '1000125')"));
    for (int i = 1; i <= 50; ++i)
        insert.execute({i, QString::number(1000 + i)});
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 賣超明細資料")), 50);
    EXPECT_EQ(count(c, QStringLiteral("SELECT max(序) FROM 賣超明細資料")), 50);
}

TEST_F(ConnectionTest, SqlErrorsCarryTheEngineText)
{
    Connection c(connectionString());
    try {
        c.query(QStringLiteral("SELECT * FROM 不存在的表"));
        FAIL();
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.kind(), db::ErrorKind::Other);
        EXPECT_TRUE(e.text().contains(QStringLiteral("no such table"))) << e.text().toStdString();
    }
    // The connection is still usable after a failed statement.
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
}

TEST_F(ConnectionTest, TableListingLeavesOutViewsAndInternalTables)
{
    Connection c(connectionString());
    c.execute(QStringLiteral("CREATE TABLE 自動 (id INTEGER PRIMARY KEY AUTOINCREMENT)"));
    c.execute(QStringLiteral("INSERT INTO 自動 DEFAULT VALUES"));
    const QStringList tables = c.tableNames();
    EXPECT_TRUE(tables.contains(QStringLiteral("自動")));
    EXPECT_FALSE(tables.contains(QStringLiteral("sqlite_sequence")));
    EXPECT_FALSE(tables.contains(QStringLiteral("買賣超明細查詢")));
    EXPECT_EQ(tables.size(), 13);
}

TEST(ConnectionString, OneSeparatorAndThePasswordLast)
{
    const QString cs = db::BuildConnectionString(QStringLiteral("/srv/apps/"), QStringLiteral("Quorvex.mdb"),
                                                 QStringLiteral("kvew7315"));
    EXPECT_TRUE(cs.contains(QStringLiteral("Data Source=/srv/apps/Quorvex.mdb;")));
    EXPECT_TRUE(cs.endsWith(QStringLiteral("=kvew7315")));
    EXPECT_FALSE(cs.contains(QStringLiteral("Jet")));
    const db::DataSource source = db::ParseConnectionString(
        db::BuildConnectionString(QStringLiteral("/srv/a;b=c/Quorvex.mdb"), QStringLiteral("p;w")));
    EXPECT_EQ(source.path, "/srv/a;b=c/Quorvex.mdb");
    EXPECT_EQ(source.password, "p;w");
    EXPECT_EQ(db::ParseConnectionString(db::BuildConnectionString(QStringLiteral("/"), QStringLiteral("Q.mdb"),
                                                                  QStringLiteral("x")))
                  .path,
              "/Q.mdb");
}

} // namespace

namespace {

class ConnectionBatch : public TempDatabase {};

// A batch stands or falls whole, inside a transaction that then goes on.
TEST_F(ConnectionBatch, AFailingRowUndoesItsWholeBatchOnly)
{
    db::Transaction transaction(c);
    c.execute("INSERT INTO 股號資料 (股號, 名稱) VALUES ('1101', '台泥')");
    db::Statement insert(c, "INSERT INTO 股號資料 (股號, 名稱) VALUES (?, ?)");
    EXPECT_EQ(insert.executeBatch({{"2330", "台積電"}, {"2317", "鴻海"}}), 2);
    EXPECT_THROW(insert.executeBatch({{"2454", "聯發科"}, {"1101", "重複"}, {"2412", "中華電"}}), db::DbError);
    transaction.commit();
    EXPECT_EQ(count("SELECT count(*) FROM 股號資料"), 3);
    EXPECT_EQ(count("SELECT count(*) FROM 股號資料 WHERE 股號 IN ('2454', '2412')"), 0);
}

} // namespace
