#include "DbTestSupport.h"

#include "core/data/Schema.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using db::Connection;

class SharedFileTest : public DbFolder {
protected:
    mode_t fileMode() const
    {
        struct stat info {};
        EXPECT_EQ(::stat(QFile::encodeName(path()).constData(), &info), 0);
        return info.st_mode & 0777;
    }
    static int openFileHandles() { return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).count()); }
    QString shell(const QByteArray& script) const
    {
        QProcess process;
        process.start(QStandardPaths::findExecutable(QStringLiteral("sqlcipher")), {path()});
        process.write("PRAGMA key='kvew7315';\n" + script + "\n.quit\n");
        process.closeWriteChannel();
        process.waitForFinished(30000);
        return QString::fromUtf8(process.readAllStandardOutput());
    }
};

// Another account on the same shared folder must be able to open the file:
// it gets the permissions of any new file there, not a temporary file's 0600.
TEST_F(SharedFileTest, ANewFileGetsTheFolderPermissionsOfAnyNewFile)
{
    for (const mode_t mask : {mode_t(002), mode_t(022)}) {
        QFile::remove(path());
        const mode_t saved = ::umask(mask);
        { Connection c(connectionString()); }
        ::umask(saved);
        EXPECT_EQ(fileMode(), 0666 & ~mask) << "umask " << mask;
        EXPECT_EQ(db::TakeCreatedDatabaseFile(), path());
    }
    { Connection existing(connectionString()); }
    EXPECT_TRUE(db::TakeCreatedDatabaseFile().isEmpty());
}

TEST_F(SharedFileTest, ASecondAccountWritesTheFileTheFirstCreated)
{
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));   // a folder everyone shares
    const mode_t saved = ::umask(0);
    { Connection c(connectionString()); }
    ::umask(saved);

    const auto writer = runWriterAs(65534, 65534, {"0", "3"});
    SKIP_WITHOUT_SECOND_ACCOUNT(writer);
    EXPECT_EQ(writer->first, 0) << writer->second;
    Connection c(connectionString());
    EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 3);
}

// POSIX locks belong to the process: a second connection of this process
// that opens and closes the file must leave the first one's lock in place,
// or another PC writes straight through it.
TEST_F(SharedFileTest, ASecondConnectionOfTheProcessKeepsTheFirstOnesWriteLock)
{
    Connection holder(connectionString());
    db::Transaction lock(holder);
    holder.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('HOLDER')"));
    {
        Connection second(connectionString());
        EXPECT_EQ(count(second, QStringLiteral("SELECT count(*) FROM 股號資料")), 0);
    }
    QProcess other;
    other.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {path(), "try", "300"});
    ASSERT_TRUE(other.waitForFinished(30000));
    EXPECT_EQ(other.exitCode(), 3) << other.readAllStandardError().toStdString();
    lock.commit();
    EXPECT_EQ(count(holder, QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 股號 = 'HOLDER'")), 1);
    EXPECT_EQ(holder.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0), "ok");
}

TEST_F(SharedFileTest, FailedOpensLeaveNoHandleOpen)
{
    { Connection c(connectionString()); }
    { Connection plain(connectionString(QStringLiteral("plain.mdb"), QString())); }
    const int before = openFileHandles();
    for (int i = 0; i < 100; ++i) {
        ErrorKindOf([&] { Connection c(connectionString(QStringLiteral("Quorvex.mdb"), QStringLiteral("wrong"))); });
        ErrorKindOf([&] { Connection c(connectionString(QStringLiteral("plain.mdb"))); });
    }
    EXPECT_EQ(openFileHandles(), before);
}

TEST_F(SharedFileTest, AFileSwitchedToWalIsSwitchedBackOnOpen)
{
    if (QStandardPaths::findExecutable(QStringLiteral("sqlcipher")).isEmpty())
        GTEST_SKIP() << "sqlcipher shell not installed";
    { Connection c(connectionString()); }
    ASSERT_TRUE(shell("PRAGMA journal_mode = WAL;").contains("wal"));
    ASSERT_TRUE(shell("PRAGMA journal_mode;").contains("wal"));

    {
        Connection c(connectionString());
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('2330')"));
    }
    EXPECT_TRUE(shell("PRAGMA journal_mode;").contains("delete"));
    EXPECT_FALSE(QFile::exists(path() + QStringLiteral("-wal")));
    EXPECT_TRUE(shell("SELECT count(*) FROM 股號資料;").contains('1'));
}

} // namespace
