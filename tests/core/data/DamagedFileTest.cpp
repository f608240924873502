#include "DbTestSupport.h"

#include <QCryptographicHash>
#include <QFile>

namespace {

using db::Connection;

class DamagedFileTest : public DbFolder {
protected:
    void writeFile(const QByteArray& bytes)
    {
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileHash()
    {
        QFile f(path());
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }
    db::ErrorKind openKind(const QString& cs)
    {
        return ErrorKindOf([&] { Connection c(cs); });
    }
};

TEST_F(DamagedFileTest, WrongPasswordIsAClearErrorAndChangesNothing)
{
    { Connection c(connectionString()); }
    const QByteArray before = fileHash();
    EXPECT_EQ(openKind(connectionString(QStringLiteral("Quorvex.mdb"), QStringLiteral("wrong"))),
              db::ErrorKind::NotADatabase);
    EXPECT_EQ(fileHash(), before);
    Connection right(connectionString());
    EXPECT_EQ(count(right, QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
}

TEST_F(DamagedFileTest, ForeignFileIsRefusedNotReplaced)
{
    writeFile(QByteArray("股號,名稱\n2330,台積電\n").repeated(200));
    const QByteArray before = fileHash();
    EXPECT_EQ(openKind(connectionString()), db::ErrorKind::NotADatabase);
    EXPECT_EQ(fileHash(), before);
}

TEST_F(DamagedFileTest, PlainUnencryptedSqliteFileIsRefused)
{
    { Connection plain(connectionString(QStringLiteral("Quorvex.mdb"), QString())); }
    EXPECT_EQ(openKind(connectionString()), db::ErrorKind::NotADatabase);
}

TEST_F(DamagedFileTest, CorruptPagesAreReportedWhenRead)
{
    {
        Connection c(connectionString());
        for (int i = 0; i < 500; ++i)
            c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES (?, '名稱名稱名稱')"), {i});
    }
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    ASSERT_GT(size, 8 * 1024);
    f.seek(0);
    f.write(QByteArray(64, '\x5a'));   // the salt and the first page
    f.seek(size / 2);
    f.write(QByteArray(2048, '\0'));
    f.close();
    EXPECT_EQ(openKind(connectionString()), db::ErrorKind::NotADatabase);
}

TEST_F(DamagedFileTest, DamageDeepInsideSurfacesAtTheQuery)
{
    {
        Connection c(connectionString());
        for (int i = 0; i < 500; ++i)
            c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES (?, '名稱名稱名稱')"), {i});
    }
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    f.seek(f.size() - 3000);
    f.write(QByteArray(1500, '\x33'));
    f.close();
    EXPECT_EQ(ErrorKindOf([&] {
                  Connection c(connectionString());
                  c.query(QStringLiteral("SELECT * FROM 股號資料 ORDER BY 名稱"));
                  c.query(QStringLiteral("SELECT * FROM 股號資料 ORDER BY 股號"));
              }),
              db::ErrorKind::NotADatabase);
}

TEST_F(DamagedFileTest, MissingFileOfAnotherDatabaseIsNotCreated)
{
    EXPECT_EQ(ErrorKindOf([&] { Connection c(connectionString(QStringLiteral("old.mdb")), db::OpenMode::MustExist); }),
              db::ErrorKind::CannotOpen);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("old.mdb"))));
}

TEST_F(DamagedFileTest, ReadOnlyFolderGivesAClearError)
{
    SKIP_WITHOUT_POSIX_FILES();
    if (RunningAsRoot())
        GTEST_SKIP() << "root ignores folder permissions";
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(openKind(connectionString()), db::ErrorKind::CannotOpen);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
