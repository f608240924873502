#include "DbTestSupport.h"

#include <QProcess>

namespace {

using db::Connection;

class TwoProcessTest : public DbFolder {
protected:
    // Starts the writer process; the caller's own writes run meanwhile.
    void startWriter(const QStringList& args)
    {
        writer.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), QStringList{path()} + args);
        ASSERT_TRUE(writer.waitForStarted());
    }
    void expectWriterDone()
    {
        ASSERT_TRUE(writer.waitForFinished(120000));
        EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer.exitCode(), 0) << writer.readAllStandardError().toStdString();
    }

    QProcess writer;
};

// Both processes write the same file, each operation in its own connection and
// transaction, interleaving as the scheduler likes; none may be lost or refused.
TEST_F(TwoProcessTest, TwoProcessesWritingInTurnLoseNothing)
{
    { Connection create(connectionString()); }
    startWriter({"500", "60"});
    for (int d = 0; d < 60; ++d) {
        Connection c(connectionString());
        db::Transaction t(c);
        const QString date = QString::number(1000000 + d);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {date});
        for (int i = 1; i <= 5; ++i)
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"), {i, QString::number(i), date});
        t.commit();
    }
    expectWriterDone();

    Connection c(connectionString());
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 120);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 600);
    EXPECT_EQ(c.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0), "ok");
}

TEST_F(TwoProcessTest, TwoProcessesCreatingTheFileAtOnceShareOneFile)
{
    startWriter({"create"});
    {
        Connection c(connectionString());
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('PARENT')"));
    }
    expectWriterDone();
    Connection c(connectionString());
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料")), 2);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
}

} // namespace
