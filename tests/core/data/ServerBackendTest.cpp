#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/DatabaseCopy.h"
#include "core/data/PasswordHash.h"
#include "core/data/Schema.h"
#include "core/download/DayStore.h"
#include "core/support/CommitCuttingProxy.h"
#include "core/support/JetFixtures.h"
#include "core/support/TestServer.h"
#include "core/system/Conversion.h"
#include "core/system/Maintenance.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class ServerBackendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!UseTestServer())
            GTEST_SKIP() << "no test server (QUORVEX_TEST_SERVER)";
        server = FreshTestServer();
    }
    QString server;
};

TEST_F(ServerBackendTest, KeysCodesAndValBehaveAsInTheFile)
{
    db::Connection c(server);
    c.execute("INSERT INTO 股號資料 (股號, 名稱, 本益比) VALUES (?, ?, ?)", {"1101a", "台泥", " 12.5x"});
    try {
        c.execute("INSERT INTO 股號資料 (股號) VALUES (?)", {"1101A"});
        ADD_FAILURE() << "a code differing only in case was stored twice";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.kind(), db::ErrorKind::DuplicateKey);
    }
    EXPECT_EQ(c.query("SELECT 名稱 FROM 股號資料 WHERE 股號 = ?", {"1101A"}).text(0, 0), "台泥");
    EXPECT_EQ(c.query("SELECT count(*) FROM 股號資料 WHERE 股號 LIKE ?", {"1101%"}).value(0, 0).toLongLong(), 1);
    const db::ResultSet values = c.query("SELECT val(本益比), val(名稱), val('-.5e1z'), val(NULL) FROM 股號資料");
    EXPECT_DOUBLE_EQ(values.value(0, 0).toDouble(), 12.5);
    EXPECT_DOUBLE_EQ(values.value(0, 1).toDouble(), 0);
    EXPECT_DOUBLE_EQ(values.value(0, 2).toDouble(), -5);
    EXPECT_DOUBLE_EQ(values.value(0, 3).toDouble(), 0);
    EXPECT_TRUE(c.tableNames().contains("股號資料"));
    EXPECT_FALSE(c.tableNames().contains("quorvex_schema"));
}

TEST_F(ServerBackendTest, AServerOfTheFirstVersionIsBroughtUpWhenTheProgramConnects)
{
    {
        db::Connection c(server);
        c.executeScript("DROP TABLE 法人買賣超; DELETE FROM quorvex_schema; INSERT INTO quorvex_schema VALUES (1)");
        c.execute("INSERT INTO 買賣超資料 VALUES ('1150105', '一')");
    }
    db::CloseIdleServerConnections();
    db::Connection c(server);
    EXPECT_EQ(c.schemaVersion(), db::kSchemaVersion);
    EXPECT_EQ(c.query("SELECT count(*) FROM 買賣超資料").value(0, 0).toLongLong(), 1);
    c.execute("INSERT INTO 法人買賣超 VALUES ('1150105', '2330a', -9000000000, NULL, 3, 6)");
    EXPECT_EQ(c.query("SELECT 外資 FROM 法人買賣超 WHERE 股號 = '2330A'").value(0, 0).toLongLong(), -9000000000LL);
}

TEST_F(ServerBackendTest, ScratchRowsBelongToTheirConnectionAndRollBackWithIt)
{
    db::Connection first(server);
    db::Connection second(server);
    first.execute("INSERT INTO 基準日股號_tmp (股號) VALUES ('2330')");
    EXPECT_EQ(second.query("SELECT count(*) FROM 基準日股號_tmp").value(0, 0).toLongLong(), 0);
    {
        db::Transaction transaction(first);
        first.execute("INSERT INTO 買賣超資料 (買賣日期, 買賣星期) VALUES ('1151209', '三')");
        EXPECT_EQ(first.query("SELECT count(*) FROM 買賣超資料").value(0, 0).toLongLong(), 1);
    }
    EXPECT_EQ(first.query("SELECT count(*) FROM 買賣超資料").value(0, 0).toLongLong(), 0);
    EXPECT_EQ(second.query("SELECT count(*) FROM 買賣超資料").value(0, 0).toLongLong(), 0);
}

TEST_F(ServerBackendTest, ABackupCarriesTheServerHomeAndAConversionBringsAFileBack)
{
    QTemporaryDir dir;
    const QString home = dir.filePath("Quorvex.mdb");
    {
        db::Connection c(server);
        c.execute("INSERT INTO 股號資料 (股號, 名稱, 本益比) VALUES ('2330', '台積電', '15.5')");
        c.execute("INSERT INTO 買賣超資料 (買賣日期, 買賣星期) VALUES ('1151209', '三')");
        c.execute("INSERT INTO 買超明細資料 (序, 股號, 買賣日期) VALUES (1, '2330', '1151209'), (NULL, '1101', '1151209')");
        SaveMaintTimes(c, "2026/12/09  10:00:00", "");
        SaveMaintTimes(c, "", "2026/12/09  11:00:00");
        EXPECT_EQ(ChangePassword(c, "ADMIN", "", "secret"), 0);
        db::CopyDatabase(c, home, "kvew7315");
        db::CompactDatabase(server, "unused");
    }
    {
        db::Connection file(db::BuildConnectionString(home, "kvew7315"), db::OpenMode::MustExist);
        EXPECT_EQ(file.query("SELECT 名稱 FROM 股號資料 WHERE 股號 = '2330'").text(0, 0), "台積電");
        EXPECT_EQ(file.query("SELECT count(*) FROM 買超明細資料 WHERE 序 IS NULL").value(0, 0).toLongLong(), 1);
        const MaintTimes times = ReadMaintTimes(file);
        EXPECT_EQ(times.backup, "2026/12/09  10:00:00");
        EXPECT_EQ(times.compaction, "2026/12/09  11:00:00");
        EXPECT_TRUE(db::StoredPasswordMatches(file.query("SELECT 密碼 FROM 使用者資料").value(0, 0), "secret"));
        file.execute("INSERT INTO 股號資料 (股號, 名稱) VALUES ('1101', '台泥')");
    }
    ConvertOldDatabase(server, home, "kvew7315", [](const ConversionProgress&) {});
    db::Connection c(server);
    EXPECT_EQ(c.query("SELECT count(*) FROM 股號資料").value(0, 0).toLongLong(), 2);
    EXPECT_EQ(c.query("SELECT 名稱 FROM 股號資料 WHERE 股號 = '1101'").text(0, 0), "台泥");
    EXPECT_EQ(c.query("SELECT count(*) FROM 買超明細資料").value(0, 0).toLongLong(), 2);
}

// Many rows go to the server as one statement; a repeated key in one of
// them is refused alone, the rest of its statement kept.
TEST_F(ServerBackendTest, AConversionInManyRowStatementsRefusesARepeatedKeyAlone)
{
    QTemporaryDir dir;
    const QString old = dir.filePath("old.mdb");
    {
        db::Connection file(db::BuildConnectionString(old, "kvew7315"));
        file.executeScript("DROP INDEX 股號資料_股號;"
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1500)"
                           "  INSERT INTO 股號資料 (股號, 名稱) SELECT 1000 + i, 'S' || i FROM n;"
                           "INSERT INTO 股號資料 (股號, 名稱) VALUES ('1500', 'again');");
    }
    db::Connection c(server);   // the first connection builds the tables
    EXPECT_EQ(ConvertOldDatabase(server, old, "kvew7315", [](const ConversionProgress&) {}), 1);
    EXPECT_EQ(c.query("SELECT count(*) FROM 股號資料").value(0, 0).toLongLong(), 1500);
    EXPECT_EQ(c.query("SELECT 名稱 FROM 股號資料 WHERE 股號 = '1500'").text(0, 0), "S500");
}

// An Access file of another program is refused before the server's rows go.
TEST_F(ServerBackendTest, AConversionFromAnAccessFileWithoutOurTablesKeepsTheServerRows)
{
    db::Connection c(server);
    c.execute("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')");
    EXPECT_THROW(ConvertOldDatabase(server, JetFixture("testV1997.mdb"), "kvew7315", [](const ConversionProgress&) {}),
                 db::DbError);
    EXPECT_EQ(c.query("SELECT 名稱 FROM 股號資料").text(0, 0), QString::fromUtf8("台積電"));
}

// Appended rows keep every character and null as given; a batch with a
// repeated key leaves nothing of itself and the transaction goes on.
TEST_F(ServerBackendTest, AppendedRowsArriveAsGivenOrNotAtAll)
{
    db::Connection c(server);
    db::Transaction transaction(c);
    const QStringList columns = {"股號", "名稱", "本益比"};
    const QString odd = "a\\tb\tc\nd\r\\.e";
    EXPECT_EQ(c.appendRows("股號資料", columns, {{"2330a", odd, QVariant()}, {"1101", "台泥", "\\N"}}), 2);
    EXPECT_EQ(c.appendRows("法人買賣超", {"買賣日期", "股號", "外資", "合計"},
                           {{"1151209", "2330", qlonglong(-9000000000LL), QVariant()}}),
              1);
    try {
        c.appendRows("股號資料", columns, {{"2317", "鴻海", QVariant()}, {"2330A", "again", QVariant()}});
        ADD_FAILURE() << "a repeated key was taken";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.kind(), db::ErrorKind::DuplicateKey);
    }
    c.execute("INSERT INTO 股號資料 (股號) VALUES ('2454')");
    transaction.commit();
    EXPECT_EQ(c.query("SELECT 名稱 FROM 股號資料 WHERE 股號 = '2330A'").text(0, 0), odd);
    EXPECT_TRUE(c.query("SELECT 本益比 FROM 股號資料 WHERE 股號 = '2330'").value(0, 0).isNull());
    EXPECT_EQ(c.query("SELECT 本益比 FROM 股號資料 WHERE 股號 = '1101'").text(0, 0), "\\N");
    EXPECT_EQ(c.query("SELECT count(*) FROM 股號資料").value(0, 0).toLongLong(), 3);
    const db::ResultSet amounts = c.query("SELECT 外資, 投信, 合計 FROM 法人買賣超");
    EXPECT_EQ(amounts.value(0, 0).toLongLong(), -9000000000LL);
    EXPECT_TRUE(amounts.value(0, 1).isNull());
    EXPECT_TRUE(amounts.value(0, 2).isNull());
}

// An old file of one day's header and 60,000 amount and net-buy rows.
QString WriteOldFile(const QString& path)
{
    db::Connection file(db::BuildConnectionString(path, "kvew7315"));
    file.executeScript("INSERT INTO 買賣超資料 VALUES ('1151201', '一');"
                       "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60000)"
                       "  INSERT INTO 法人買賣超 SELECT 1000000 + i / 1000, 'C' || (i % 1000), i, NULL, -i, 0 FROM n;"
                       "INSERT INTO 買超明細資料 SELECT 1, 股號, 買賣日期 FROM 法人買賣超;");
    return path;
}

// A conversion killed while its rows stream in leaves the server with all of
// its own rows or all of the old file's; another PC reads the old ones
// throughout.
TEST_F(ServerBackendTest, AConversionKilledMidCopyLeavesTheServerAsItWas)
{
    QTemporaryDir dir;
    const QString old = WriteOldFile(dir.filePath("old.mdb"));
    const auto counts = [this] {
        db::Connection c(server);
        return c.query("SELECT count(*) FROM 買賣超資料").text(0, 0) + "/"
               + c.query("SELECT count(*) FROM 買超明細資料").text(0, 0) + "/"
               + c.query("SELECT count(*) FROM 法人買賣超").text(0, 0);
    };
    const QString after = "1/60000/60000";
    int killedBefore = 0;
    for (const int step : {5, 40, 90}) {
        server = FreshTestServer();
        {
            db::Connection c(server);
            c.execute("INSERT INTO 買賣超資料 VALUES ('1151209', '三'), ('1151210', '四')");
            c.execute("INSERT INTO 法人買賣超 VALUES ('1151209', '2330', 1, 2, 3, 6)");
        }
        const QString before = counts();
        QProcess converter;
        converter.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {server, "convert", old});
        ASSERT_TRUE(converter.waitForStarted());
        for (int line = 0; line < step && converter.state() == QProcess::Running;) {
            if (converter.canReadLine())
                line += converter.readLine().isEmpty() ? 0 : 1;
            else
                converter.waitForReadyRead(1000);
            if (converter.state() == QProcess::Running) {
                EXPECT_EQ(counts(), before) << "read during the conversion";
            }
        }
        converter.kill();
        converter.waitForFinished(30000);
        const QString found = counts();
        killedBefore += found == before;
        EXPECT_TRUE(found == before || found == after) << "killed after step " << step << ": " << found.toStdString();
    }
    EXPECT_GT(killedBefore, 0) << "no kill landed inside a conversion";
}

// A day another PC stores while a conversion runs waits for it or is told it
// was not stored: never kept in the tables already copied and lost from the
// ones still to come.
TEST_F(ServerBackendTest, ADayStoredDuringAConversionIsWhollyThereOrNotStored)
{
    QTemporaryDir dir;
    const QString old = WriteOldFile(dir.filePath("old.mdb"));
    InstitutionalDay day;
    day.date = "1151211";
    day.rows = {{"2330", "台積電", {5000, 1000, 2000, 8000}}, {"2317", "鴻海", {-3000, 0, -1000, -4000}}};
    db::SetBusyTimeout(300);
    db::Connection pc(server);
    QProcess converter;
    converter.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {server, "convert", old});
    ASSERT_TRUE(converter.waitForStarted());
    // Into the amounts, the third table: the first two are already copied.
    bool inAmounts = false;
    while (!inAmounts && (converter.canReadLine() || converter.waitForReadyRead(10000)))
        inAmounts = converter.readLine().startsWith("3 20");
    ASSERT_TRUE(inAmounts) << converter.readAllStandardError().toStdString();
    bool stored = false;
    try {
        stored = StoreInstitutionalDay(pc, day, TradeBasis::AllThree, 10, false, false).stored;
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.kind(), db::ErrorKind::Busy) << e.text().toStdString();
    }
    db::SetBusyTimeout(10000);
    ASSERT_TRUE(converter.waitForFinished(60000));
    ASSERT_EQ(converter.exitCode(), 0) << converter.readAllStandardError().toStdString();
    const auto rows = [&pc](const char* table) {
        return pc.query(QStringLiteral("SELECT count(*) FROM %1 WHERE 買賣日期 = '1151211'").arg(table)).value(0, 0).toInt();
    };
    const QString found = QStringLiteral("%1/%2/%3/%4")
                              .arg(rows("買賣超資料"))
                              .arg(rows("買超明細資料"))
                              .arg(rows("賣超明細資料"))
                              .arg(rows("法人買賣超"));
    EXPECT_EQ(found, QString::fromLatin1(stored ? "1/1/1/2" : "0/0/0/0"));
    EXPECT_EQ(pc.query("SELECT count(*) FROM 法人買賣超 WHERE 買賣日期 = '1000001'").value(0, 0).toInt(), 1000);
}

// A statistic that fails halfway rolls back the scratch tables its
// transaction made; the connection, kept for the next operation, makes them
// again instead of failing every statistic after.
TEST_F(ServerBackendTest, ScratchTablesOfARolledBackTransactionAreMadeAgain)
{
    {
        db::Connection c(server);
        db::Transaction transaction(c);
        c.execute("INSERT INTO 基準日股號_tmp (股號) VALUES ('2330')");
    }
    db::Connection c(server);
    c.execute("INSERT INTO 基準日股號_tmp (股號) VALUES ('2317')");
    EXPECT_EQ(c.query("SELECT string_agg(股號, ',') FROM 基準日股號_tmp").text(0, 0), "2317");
}

TEST_F(ServerBackendTest, AConnectionLostMidSaveLeavesNothingWritten)
{
    db::Connection admin(server);
    db::Connection clerk(server);
    const qlonglong pid = clerk.query("SELECT pg_backend_pid()").value(0, 0).toLongLong();
    {
        db::Transaction transaction(clerk);
        clerk.execute("INSERT INTO 買賣超資料 (買賣日期, 買賣星期) VALUES ('1151209', '三')");
        EXPECT_TRUE(admin.query("SELECT pg_terminate_backend(?::integer)", {pid}).value(0, 0).toBool());
        try {
            clerk.execute("INSERT INTO 買超明細資料 (序, 股號, 買賣日期) VALUES (1, '2330', '1151209')");
            ADD_FAILURE() << "saved through a dead connection";
        } catch (const db::DbError& e) {
            EXPECT_TRUE(e.text().contains("terminat")) << e.text().toStdString();
        }
    }
    EXPECT_EQ(admin.query("SELECT count(*) FROM 買賣超資料").value(0, 0).toLongLong(), 0);
    EXPECT_THROW(clerk.query("SELECT 1"), db::DbError);
}

// After a server restart or an administrator ending idle sessions, the
// connections kept between operations are dead; the next operation must not
// fail for it, since nothing of it had been sent.
TEST_F(ServerBackendTest, KeptConnectionsEndedByTheServerAreReplacedUnnoticed)
{
    {
        db::Connection first(server);
        db::Connection second(server);
        first.execute("INSERT INTO 股號資料 (股號) VALUES ('2330')");
    }
    {
        db::Connection admin(server);
        admin.query("SELECT pg_terminate_backend(pid, 10000) FROM pg_stat_activity "
                    "WHERE pid <> pg_backend_pid() AND datname = current_database() AND backend_type = 'client backend'");
    }
    db::Connection c(server);
    EXPECT_EQ(c.query("SELECT count(*) FROM 股號資料").value(0, 0).toLongLong(), 1);
}

// The line goes while the server commits: the user is told what the server
// did, never "not saved" about a save that is there.
TEST_F(ServerBackendTest, ALineLostAtCommitIsReportedAsTheServerDecided)
{
    CommitCuttingProxy proxy(qEnvironmentVariableIntValue("PGPORT") ? qEnvironmentVariableIntValue("PGPORT") : 5432);
    const QString viaProxy =
        db::BuildServerConnectionString(QStringLiteral("host=127.0.0.1 port=%1 sslmode=disable").arg(proxy.port()));
    const auto save = [&](const QString& date, CommitCuttingProxy::Cut cut) {
        db::Connection c(viaProxy);
        db::Transaction transaction(c);
        c.execute("INSERT INTO 買賣超資料 (買賣日期, 買賣星期) VALUES (?, '三')", {date});
        proxy.cutNextCommit(cut);
        transaction.commit();
    };
    EXPECT_NO_THROW(save("1151209", CommitCuttingProxy::Cut::AfterServerAnswered));
    try {
        save("1151210", CommitCuttingProxy::Cut::BeforeServerSaw);
        ADD_FAILURE() << "a save the server never committed was reported saved";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("未儲存"))) << e.text().toStdString();
    }
    // The server's side of the line stays open: its session would hold the
    // write lock for hours. It is ended, and the next save goes through.
    try {
        save("1151211", CommitCuttingProxy::Cut::LeavingServerWaiting);
        ADD_FAILURE() << "a save the server never committed was reported saved";
    } catch (const db::DbError& e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("未儲存"))) << e.text().toStdString();
    }
    db::SetBusyTimeout(2000);
    EXPECT_NO_THROW(save("1151212", CommitCuttingProxy::Cut::None));
    db::SetBusyTimeout(10000);
    db::Connection c(server);
    EXPECT_EQ(c.query("SELECT string_agg(買賣日期, ',' ORDER BY 買賣日期) FROM 買賣超資料").text(0, 0), "1151209,1151212");
}

TEST_F(ServerBackendTest, AnUnreachableServerReportsLibpqsText)
{
    try {
        db::Connection c(db::BuildServerConnectionString("host=127.0.0.1 port=1 connect_timeout=2"));
        ADD_FAILURE() << "connected to nothing";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.kind(), db::ErrorKind::CannotOpen);
        EXPECT_TRUE(e.text().contains("127.0.0.1")) << e.text().toStdString();
    }
}

} // namespace
