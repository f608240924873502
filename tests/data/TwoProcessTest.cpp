#include "DbTestSupport.h"

#include <QProcess>

namespace {

using db::Connection;

class TwoProcessTest : public DbFolder {
protected:
    void start(QProcess& writer, const QStringList& args)
    {
        writer.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), QStringList{path()} + args);
        ASSERT_TRUE(writer.waitForStarted());
    }
    static void expectDone(QProcess& writer)
    {
        ASSERT_TRUE(writer.waitForFinished(120000));
        EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    }
};

// Two processes write the same file at once, each operation in its own
// connection and transaction, interleaving as the scheduler likes; none may
// be lost or refused.
TEST_F(TwoProcessTest, TwoProcessesWritingInTurnLoseNothing)
{
    { Connection create(connectionString()); }
    QProcess first, second;
    start(first, {"0", "60"});
    start(second, {"500", "60"});
    expectDone(first);
    expectDone(second);

    Connection c(connectionString());
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 120);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 600);
    EXPECT_EQ(c.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0), "ok");
}

TEST_F(TwoProcessTest, TwoProcessesCreatingTheFileAtOnceShareOneFile)
{
    QProcess writer;
    start(writer, {"create"});
    {
        Connection c(connectionString());
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('PARENT')"));
    }
    expectDone(writer);
    Connection c(connectionString());
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料")), 2);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
}

} // namespace
