#include "DbTestSupport.h"
#include "core/support/TestServer.h"

#include "core/entry/TradingDays.h"

#include <QProcess>

namespace {

using db::Connection;

// The file in a temporary folder, or a server's emptied database.
class TwoProcessTest : public DbFolder {
protected:
    void SetUp() override { database = UseTestServer() ? FreshTestServer() : connectionString(); }
    void start(QProcess& writer, const QStringList& args)
    {
        writer.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), QStringList{database} + args);
        ASSERT_TRUE(writer.waitForStarted());
    }
    static void expectDone(QProcess& writer)
    {
        ASSERT_TRUE(writer.waitForFinished(120000));
        EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    }

    QString database;
};

// Two processes write the same file at once, each operation in its own
// connection and transaction, interleaving as the scheduler likes; none may
// be lost or refused.
TEST_F(TwoProcessTest, TwoProcessesWritingInTurnLoseNothing)
{
    { Connection create(database); }
    QProcess first, second;
    start(first, {"0", "60"});
    start(second, {"500", "60"});
    expectDone(first);
    expectDone(second);

    Connection c(database);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 120);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 600);
    if (!c.isServer()) {
        EXPECT_EQ(c.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0), "ok");
    }
}

TEST_F(TwoProcessTest, TwoProcessesCreatingTheFileAtOnceShareOneFile)
{
    QProcess writer;
    start(writer, {"create"});
    {
        Connection c(database);
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('PARENT')"));
    }
    expectDone(writer);
    Connection c(database);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料")), 2);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
}

// A day loaded while another process saves it again shows one save, never
// the net-buy list of one save with the net-sell list of another.
TEST_F(TwoProcessTest, ADayIsReadWhole)
{
    {
        Connection c(database);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
    }
    QProcess writer;
    start(writer, {"rewrite", "300"});
    int loads = 0;
    int torn = 0;
    while (writer.state() != QProcess::NotRunning || loads == 0) {
        Connection c(database);
        const std::optional<TradingDay> day = LoadTradingDay(c, QStringLiteral("1000125"));
        ASSERT_TRUE(day.has_value());
        QSet<QString> versions;
        for (const QVector<ListRow>* list : {&day->buys, &day->sells})
            for (const ListRow& row : *list)
                versions.insert(row.code);
        torn += versions.size() > 1 || day->buys.size() != day->sells.size();
        ++loads;
        writer.waitForFinished(0);
    }
    EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    EXPECT_EQ(torn, 0) << "of " << loads << " loads";
}

} // namespace
