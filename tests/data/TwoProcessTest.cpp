#include "DbTestSupport.h"

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using db::Connection;

class TwoProcessTest : public DbFolder {};

// Both processes write the same file, each operation in its own connection and
// transaction, interleaving as the scheduler likes; none may be lost or refused.
void WriteDays(const QString& cs, int first, int days)
{
    for (int d = first; d < first + days; ++d) {
        Connection c(cs);
        db::Transaction t(c);
        const QString date = QString::number(1000000 + d);
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '一')"), {date});
        for (int i = 1; i <= 5; ++i)
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, ?)"), {i, QString::number(i), date});
        t.commit();
        c.query(QStringLiteral("SELECT count(*) FROM 買超明細資料"));
    }
}

TEST_F(TwoProcessTest, TwoProcessesWritingInTurnLoseNothing)
{
    { Connection create(connectionString()); }
    const QString cs = connectionString();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 0;
        try {
            WriteDays(cs, 500, 60);
        } catch (const db::DbError&) {
            status = 1;
        }
        _exit(status);
    }
    WriteDays(cs, 0, 60);
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    Connection c(cs);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 120);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 600);
    EXPECT_EQ(c.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0), "ok");
}

TEST_F(TwoProcessTest, TwoProcessesCreatingTheFileAtOnceShareOneFile)
{
    const QString cs = connectionString();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int status = 0;
        try {
            Connection c(cs);
            c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('CHILD')"));
        } catch (const db::DbError& e) {
            fprintf(stderr, "child: %s\n", e.what());
            status = 1;
        }
        _exit(status);
    }
    {
        Connection c(cs);
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('PARENT')"));
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    Connection c(cs);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 股號資料")), 2);
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
}

} // namespace
