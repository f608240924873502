#include "DbTestSupport.h"

#include "core/data/DatabaseCopy.h"
#include "core/data/Schema.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <cerrno>
#include <cstring>

namespace {

using db::Connection;

class DatabaseCopyTest : public DbFolder {
protected:
    void fill()
    {
        Connection c(connectionString());
        c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '3', '4')"));
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
        for (int i = 1; i <= 30; ++i)
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, '1000125')"), {i, QString::number(i)});
    }
};

TEST_F(DatabaseCopyTest, CopyOpensWithTheSamePasswordAndHoldsTheSameRows)
{
    fill();
    {
        Connection source(connectionString());
        db::CopyDatabase(source, path(QStringLiteral("copy.mdb")), QStringLiteral("kvew7315"));
    }
    Connection copy(connectionString(QStringLiteral("copy.mdb")), db::OpenMode::MustExist);
    EXPECT_EQ(count(copy, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 30);
    EXPECT_EQ(copy.query(QStringLiteral("SELECT 名稱 FROM 股號資料")).text(0, 0), QString::fromUtf8("台積電"));
    EXPECT_EQ(count(copy, QStringLiteral("PRAGMA user_version")), db::kSchemaVersion);
    EXPECT_EQ(count(copy, QStringLiteral("SELECT count(*) FROM 買賣超明細查詢")), 30);
    // Keys survive the copy.
    EXPECT_EQ(ErrorKindOf([&] { copy.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('2330')")); }),
              db::ErrorKind::DuplicateKey);
    // The copy is encrypted like the original.
    EXPECT_EQ(ErrorKindOf([&] {
                  Connection wrong(connectionString(QStringLiteral("copy.mdb"), QStringLiteral("other")),
                                   db::OpenMode::MustExist);
              }),
              db::ErrorKind::NotADatabase);
}

TEST_F(DatabaseCopyTest, CopyReplacesAnOlderTargetWholesale)
{
    fill();
    QFile old(path(QStringLiteral("copy.mdb")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older backup");
    old.close();
    {
        Connection source(connectionString());
        db::CopyDatabase(source, path(QStringLiteral("copy.mdb")), QStringLiteral("kvew7315"));
    }
    Connection copy(connectionString(QStringLiteral("copy.mdb")), db::OpenMode::MustExist);
    EXPECT_EQ(count(copy, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// A backup name that links to a share keeps linking there: the share's copy
// is the one renewed, and a share that is not there fails the backup.
TEST_F(DatabaseCopyTest, ABackupThroughALinkGoesWhereTheLinkLeads)
{
    SKIP_WITHOUT_POSIX_FILES();
    fill();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("share")));
    QFile old(path(QStringLiteral("share/copy.mdb")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an older backup");
    old.close();
    ASSERT_TRUE(QFile::link(path(QStringLiteral("share/copy.mdb")), path(QStringLiteral("copy.mdb"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("unmounted/copy.mdb")), path(QStringLiteral("lost.mdb"))));
    Connection source(connectionString());
    db::CopyDatabase(source, path(QStringLiteral("copy.mdb")), QStringLiteral("kvew7315"));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("copy.mdb"))).isSymLink());
    Connection copy(connectionString(QStringLiteral("share/copy.mdb")), db::OpenMode::MustExist);
    EXPECT_EQ(count(copy, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 30);
    EXPECT_EQ(ErrorKindOf([&] { db::CopyDatabase(source, path(QStringLiteral("lost.mdb")), QStringLiteral("kvew7315")); }),
              db::ErrorKind::CannotOpen);
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("lost.mdb"))).isSymLink());
}

// A first backup, the file not made yet, through a chain of links or a
// relative link in a linked folder: the copy goes where the system would
// put it, and every link on the way stays a link.
TEST_F(DatabaseCopyTest, AFirstBackupThroughLinksGoesWhereTheSystemWould)
{
    SKIP_WITHOUT_POSIX_FILES();
    fill();
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("nas/backups")));
    // copy.mdb -> nas/current.mdb -> nas/copy.mdb
    ASSERT_TRUE(QFile::link(path(QStringLiteral("nas/copy.mdb")), path(QStringLiteral("nas/current.mdb"))));
    ASSERT_TRUE(QFile::link(path(QStringLiteral("nas/current.mdb")), path(QStringLiteral("copy.mdb"))));
    // backups -> nas/backups, where week.mdb -> ../week.mdb, that is nas/week.mdb
    ASSERT_TRUE(QFile::link(path(QStringLiteral("nas/backups")), path(QStringLiteral("backups"))));
    ASSERT_TRUE(MakeSymbolicLink(QStringLiteral("../week.mdb"), path(QStringLiteral("nas/backups/week.mdb"))));
    Connection source(connectionString());
    db::CopyDatabase(source, path(QStringLiteral("copy.mdb")), QStringLiteral("kvew7315"));
    db::CopyDatabase(source, path(QStringLiteral("backups/week.mdb")), QStringLiteral("kvew7315"));
    for (const char* link : {"copy.mdb", "nas/current.mdb", "nas/backups/week.mdb"}) {
        EXPECT_TRUE(QFileInfo(path(QString::fromLatin1(link))).isSymLink()) << link;
    }
    for (const char* copy : {"nas/copy.mdb", "nas/week.mdb"}) {
        Connection c(connectionString(QString::fromLatin1(copy)), db::OpenMode::MustExist);
        EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 30) << copy;
    }
}

TEST_F(DatabaseCopyTest, FailedCopyLeavesNothingBehind)
{
    fill();
    Connection source(connectionString());
    EXPECT_EQ(ErrorKindOf([&] {
                  db::CopyDatabase(source, path(QStringLiteral("missing/folder/copy.mdb")), QStringLiteral("kvew7315"));
              }),
              db::ErrorKind::CannotOpen);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Quorvex.mdb"});
    // The source connection still works.
    EXPECT_EQ(count(source, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
}

// A backup killed half-way leaves its scratch file; the next backup into
// that folder removes it, but not a copy another PC is writing right now,
// nor a file of the user's.
TEST_F(DatabaseCopyTest, ABackupRemovesWhatAKilledBackupLeftBehind)
{
    fill();
    const auto leave = [this](const QString& name, int ageSeconds) {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(4096, 'x'));
        ASSERT_TRUE(file.flush());
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds), QFileDevice::FileModificationTime));
    };
    leave(QStringLiteral(".Quorvex-1151208.mdb.quorvex-a1B2c3"), 2 * 3600);
    leave(QStringLiteral(".Quorvex-1151209.mdb.quorvex-Zz9Yy8"), 60);
    leave(QStringLiteral(".Quorvex.mdb.backup"), 2 * 3600);
    leave(QStringLiteral("Quorvex-1151201.mdb"), 2 * 3600);
    {
        Connection source(connectionString());
        db::CopyDatabase(source, path(QStringLiteral("Quorvex-1151209.mdb")), QStringLiteral("kvew7315"));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
              (QStringList{".Quorvex-1151209.mdb.quorvex-Zz9Yy8", ".Quorvex.mdb.backup", "Quorvex-1151201.mdb",
                           "Quorvex-1151209.mdb", "Quorvex.mdb"}));
}

// A disk that fails to record the folder entry after the rename must not
// be reported as a backup made.
TEST_F(DatabaseCopyTest, AFolderThatCannotBeSyncedIsReported)
{
    SKIP_WITHOUT_POSIX_FILES();
    fill();
    const auto backup = [this](bool failSync) {
        QProcess copier;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (failSync)
            environment.insert(QStringLiteral("QUORVEX_FAIL_FOLDER_SYNC"), QStringLiteral("1"));
        copier.setProcessEnvironment(environment);
        copier.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {path(), "backup", path(QStringLiteral("copy.mdb"))});
        EXPECT_TRUE(copier.waitForFinished(60000));
        return std::make_pair(copier.exitCode(), QString::fromUtf8(copier.readAllStandardError()));
    };
    EXPECT_EQ(backup(false).first, 0);
    const auto [code, message] = backup(true);
    EXPECT_NE(code, 0);
    EXPECT_TRUE(message.contains(QString::fromLocal8Bit(std::strerror(EIO)))) << message.toStdString();
}

// A drop folder another account may write but not list: nothing to sync
// there, and the backup is made.
TEST_F(DatabaseCopyTest, ABackupIntoAFolderThatCannotBeReadIsMade)
{
    fill();
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("drop")));
    QFile::setPermissions(path(QStringLiteral("drop")), QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::WriteGroup
                                                           | QFileDevice::ExeGroup | QFileDevice::WriteOther | QFileDevice::ExeOther);
    const auto copier = runWriterAs(65534, 65534, {"backup", path(QStringLiteral("drop/copy.mdb"))});
    SKIP_WITHOUT_SECOND_ACCOUNT(copier);
    EXPECT_EQ(copier->first, 0) << copier->second;
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("drop/copy.mdb"))));
}

} // namespace
