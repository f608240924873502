#include "DbTestSupport.h"

#include "core/data/DatabaseCopy.h"
#include "core/support/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSet>

#include <functional>
#include <vector>
#include <tuple>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace {

using db::Connection;

class CompactionTest : public DbFolder {
public:
    using DbFolder::connectionString;
    using DbFolder::path;

protected:
    void SetUp() override
    {
        Connection c(connectionString());
        for (int i = 1; i <= 300; ++i)
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (?, ?, '1000125')"), {i, QString::number(i)});
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('2330')"));
    }
    void compact() { db::CompactDatabase(connectionString(), QStringLiteral("Tmp.mdb")); }
    qlonglong rows(const QString& sql)
    {
        Connection c(connectionString());
        return count(c, sql);
    }
    QStringList files() const
    {
        QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        names.sort();
        return names;
    }
    void startWriter(QProcess& writer, const QStringList& args)
    {
        writer.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), QStringList{path()} + args);
        ASSERT_TRUE(writer.waitForStarted());
        ASSERT_TRUE(writer.waitForReadyRead(30000));
        writer.readLine();
    }
};

TEST_F(CompactionTest, TheCompactedFileTakesThePlaceOfTheLiveOneAndAStaleTmp)
{
    QFile stale(path(QStringLiteral("Tmp.mdb")));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("left over from a crash");
    stale.close();
    compact();
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 買超明細資料")), 300);
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
    EXPECT_EQ(files(), QStringList{"Quorvex.mdb"});
}

TEST_F(CompactionTest, ACopyThatCannotBeWrittenLeavesTheLiveFileAndAnOldBackupAsTheyWere)
{
    {
        Connection source(connectionString());
        db::CopyDatabase(source, path(QStringLiteral("backup.mdb")), QStringLiteral("kvew7315"));
    }
    const qint64 backupSize = QFileInfo(path(QStringLiteral("backup.mdb"))).size();
    {
        Connection c(connectionString());
        for (int i = 0; i < 200; ++i)
            c.execute(QStringLiteral("INSERT INTO 股號資料 VALUES (?, '名稱名稱名稱名稱', '1', '2', '3')"), {i});
    }
    const qint64 liveSize = QFileInfo(path()).size();
    {
        const FileSizeLimit full(backupSize);
        Connection source(connectionString());
        EXPECT_THROW(db::CopyDatabase(source, path(QStringLiteral("backup.mdb")), QStringLiteral("kvew7315")),
                     db::DbError);
        EXPECT_THROW(compact(), db::DbError);
    }
    EXPECT_EQ(QFileInfo(path(QStringLiteral("backup.mdb"))).size(), backupSize);
    EXPECT_EQ(QFileInfo(path()).size(), liveSize);
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 股號資料")), 201);
    EXPECT_EQ(files(), (QStringList{"Quorvex.mdb", "backup.mdb"}));
}

// Another PC in the middle of a save: the compaction waits, then gives up
// and changes nothing.
TEST_F(CompactionTest, AFileInUseIsNotCompacted)
{
    QProcess writer;
    startWriter(writer, {"hold", "1500"});
    db::SetBusyTimeout(200);
    EXPECT_EQ(ErrorKindOf([&] { compact(); }), db::ErrorKind::Busy);
    db::SetBusyTimeout(10000);
    ASSERT_TRUE(writer.waitForFinished(30000));
    EXPECT_EQ(writer.exitCode(), 0);
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 股號 = 'HOLD'")), 1);
    EXPECT_EQ(files(), QStringList{"Quorvex.mdb"});
}

// A PC that opened the file before the compaction and writes after it must
// be told, not write into the file that was replaced.
TEST_F(CompactionTest, AWriteToTheReplacedFileFailsThere)
{
    QProcess writer;
    startWriter(writer, {"late"});
    compact();
    writer.write("go\n");
    ASSERT_TRUE(writer.waitForFinished(30000));
    EXPECT_NE(writer.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(writer.readAllStandardError()).contains(QString::fromUtf8("重整")));
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 股號資料 WHERE 股號 = 'LATE'")), 0);
}

// Nor may it lock the replaced file to read: finding the journal of a save
// another PC is committing into the new file, it would take it for one left
// by a crash of its own file, roll it back there and delete it, and that
// commit would go on without the journal that protects it.
TEST_F(CompactionTest, AConnectionToTheReplacedFileLeavesTheNewFilesJournalAlone)
{
    Connection stale(connectionString());
    EXPECT_EQ(count(stale, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    // A read begun before takes its lock as it begins, on the file then live.
    Connection early(connectionString());
    const db::ReadTransaction begun(early);
    compact();
    QFile journal(path(QStringLiteral("Quorvex.mdb-journal")));
    const std::vector<std::function<void()>> uses = {
        [&] { count(stale, QStringLiteral("SELECT count(*) FROM 股號資料")); },
        [&] { db::ReadTransaction read(stale); count(stale, QStringLiteral("SELECT count(*) FROM 股號資料")); },
        [&] { db::Transaction write(stale); },
        [&] { stale.appendRows(QStringLiteral("股號資料"), {QStringLiteral("股號")}, {{QStringLiteral("1101")}}); },
    };
    for (size_t use = 0; use < uses.size(); ++use) {
        ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
        journal.write(QByteArray(4096, '\x5a'));
        journal.close();
        EXPECT_THROW(uses[use](), db::DbError) << "use " << use;
        EXPECT_EQ(journal.size(), 4096) << "use " << use;
    }
    ASSERT_TRUE(journal.open(QIODevice::WriteOnly));
    journal.write(QByteArray(4096, '\x5a'));
    journal.close();
    EXPECT_EQ(count(early, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(journal.size(), 4096) << "read begun before";
}

// Another PC saves day after day while this one runs `maintenance` again
// and again: every save it was told succeeded is in the file afterwards,
// and the file is whole.
void ExpectNoSaveLost(CompactionTest& test, const std::function<void()>& maintenance)
{
    QProcess writer;
    writer.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {test.path(), "saves", "100"});
    ASSERT_TRUE(writer.waitForStarted());
    int runs = 0;
    while (writer.state() != QProcess::NotRunning || runs < 5) {
        try {
            maintenance();
            ++runs;
        } catch (const db::DbError& error) {
            ADD_FAILURE() << error.what();
            break;
        }
        // Let a save through before the next run.
        writer.waitForReadyRead(500);
    }
    ASSERT_EQ(writer.exitCode(), 0);
    QSet<QString> told;
    const QByteArray refused = writer.readAllStandardError();
    for (const QByteArray& line : writer.readAllStandardOutput().split('\n')) {
        if (!line.isEmpty())
            told.insert(QString::number(1000000 + line.toInt()));
    }
    EXPECT_GT(told.size(), 0) << refused.toStdString();

    Connection c(test.connectionString());
    EXPECT_EQ(c.query(QStringLiteral("PRAGMA integrity_check")).text(0, 0), "ok");
    QSet<QString> stored;
    const db::ResultSet days = c.query(QStringLiteral("SELECT 買賣日期 FROM 買賣超資料"));
    for (int r = 0; r < days.rowCount(); ++r)
        stored.insert(days.text(r, 0));
    EXPECT_TRUE(stored.contains(told)) << told.size() << " told saved, " << (told - stored).size() << " missing after "
                                       << runs << " runs";
    EXPECT_EQ(c.query(QStringLiteral("SELECT count(*) FROM 買超明細資料")).value(0, 0).toLongLong(), 300 + 5 * stored.size());
}

TEST_F(CompactionTest, SavesMadeDuringCompactionsAreNeverLost)
{
    ExpectNoSaveLost(*this, [this] { compact(); });
}

// Each backup taken meanwhile holds one state of the file, checked whole.
TEST_F(CompactionTest, SavesMadeDuringBackupsAreNeverLost)
{
    ExpectNoSaveLost(*this, [this] {
        Connection source(connectionString());
        db::CopyDatabase(source, path(QStringLiteral("backup.mdb")), QStringLiteral("kvew7315"));
    });
}

// An office that keeps the file elsewhere and links it into the program's
// folder keeps its link; the file it leads to is the one compacted.
TEST_F(CompactionTest, ALinkedLiveFileStaysLinked)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("shared")));
    const QString real = path(QStringLiteral("shared/Quorvex.mdb"));
    ASSERT_TRUE(QFile::rename(path(), real));
    ASSERT_TRUE(QFile::link(real, path()));
    compact();
    EXPECT_TRUE(QFileInfo(path()).isSymLink());
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 買超明細資料")), 300);
    {
        Connection c(db::BuildConnectionString(real, QStringLiteral("kvew7315")), db::OpenMode::MustExist);
        EXPECT_EQ(count(c, QStringLiteral("SELECT count(*) FROM 買超明細資料")), 300);
    }
    // A file it leads to that bears the scratch copy's name is never taken for one.
    const QString named = path(QStringLiteral("shared/Tmp.mdb"));
    ASSERT_TRUE(QFile::rename(real, named));
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QFile::link(named, path()));
    EXPECT_THROW(compact(), db::DbError);
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 買超明細資料")), 300);
}

// A file an office shares through its group stays shared, and one kept from
// other accounts stays kept from them.
TEST_F(CompactionTest, TheCompactedFileKeepsTheModeOwnerAndGroupOfTheLiveOne)
{
    const QByteArray live = QFile::encodeName(path());
    const bool root = ::geteuid() == 0;
    for (const mode_t mode : {mode_t(0640), mode_t(0660)}) {
        ASSERT_EQ(::chmod(live.constData(), mode), 0);
        if (root) {
            ASSERT_EQ(::chown(live.constData(), 0, 65534), 0);
        }
        compact();
        struct stat info {};
        ASSERT_EQ(::stat(live.constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode);
        if (root) {
            EXPECT_EQ(info.st_gid, 65534u);
        }
    }
    const auto member = runWriterAs(65533, 65534, {"0", "3"});
    SKIP_WITHOUT_SECOND_ACCOUNT(member);
    EXPECT_EQ(member->first, 0) << member->second;
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 買賣超資料")), 3);
}


// An office that lets a second account in through the file's access list
// (setfacl) still lets it in after a compaction.
TEST_F(CompactionTest, TheCompactedFileKeepsTheAccessListOfTheLiveOne)
{
    const QByteArray live = QFile::encodeName(path());
    ASSERT_EQ(::chmod(live.constData(), 0600), 0);
    // user::rw-, user:65533:rw-, group::---, mask::rw-, other::---
    QByteArray list("\x02\0\0\0", 4);
    for (const auto& [tag, permissions, id] : {std::tuple{0x01, 6, ~0u}, {0x02, 6, 65533u}, {0x04, 0, ~0u},
                                               {0x10, 6, ~0u}, {0x20, 0, ~0u}}) {
        const quint16 head[2] = {quint16(tag), quint16(permissions)};
        list.append(reinterpret_cast<const char*>(head), sizeof head).append(reinterpret_cast<const char*>(&id), sizeof id);
    }
    if (::setxattr(live.constData(), "system.posix_acl_access", list.constData(), size_t(list.size()), 0) != 0)
        GTEST_SKIP() << "no access lists on this file system";
    compact();
    const auto listed = runWriterAs(65533, 65533, {"0", "3"});
    SKIP_WITHOUT_SECOND_ACCOUNT(listed);
    EXPECT_EQ(listed->first, 0) << listed->second;
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 買賣超資料")), 3);
}

// Another account of the office compacts the file it shares through the
// group: the engine rebuilds it in place, so it stays its owner's, whom the
// group does not include, and the owner still writes it.
TEST_F(CompactionTest, AnotherAccountsCompactionLeavesTheFileToItsOwner)
{
    {
        Connection c(connectionString());
        c.executeScript(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
                                       "  INSERT INTO 股號資料 (股號, 名稱) SELECT 'X' || i, printf('%.200c', 'x') FROM n;"
                                       "DELETE FROM 股號資料 WHERE 股號 LIKE 'X%'"));
        ASSERT_GT(count(c, QStringLiteral("PRAGMA freelist_count")), 0);
    }
    const QByteArray live = QFile::encodeName(path());
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(live.constData(), 65532, 65534), 0);
    }
    ASSERT_EQ(::chmod(live.constData(), 0660), 0);
    const auto compacted = runWriterAs(65533, 65534, {"compact"});
    SKIP_WITHOUT_SECOND_ACCOUNT(compacted);
    EXPECT_EQ(compacted->first, 0) << compacted->second;
    struct stat info {};
    ASSERT_EQ(::stat(live.constData(), &info), 0);
    EXPECT_EQ(info.st_uid, 65532u);
    EXPECT_EQ(info.st_gid, 65534u);
    EXPECT_EQ(info.st_mode & 07777, 0660u);
    EXPECT_EQ(rows(QStringLiteral("PRAGMA freelist_count")), 0);
    EXPECT_EQ(files(), (QStringList{"Quorvex.mdb", "concurrent_writer"}));

    const auto owner = runWriterAs(65532, 65532, {"0", "3"});
    EXPECT_EQ(owner->first, 0) << owner->second;
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM 買超明細資料")), 300 + 15);
}

// The rebuild in place under saves another PC makes meanwhile.
TEST_F(CompactionTest, SavesMadeDuringAnotherAccountsCompactionsAreNeverLost)
{
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(QFile::encodeName(path()).constData(), 65532, 65534), 0);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0660), 0);
    SKIP_WITHOUT_SECOND_ACCOUNT(runWriterAs(65533, 65534, {"count"}));
    ExpectNoSaveLost(*this, [this] {
        const auto compacted = runWriterAs(65533, 65534, {"compact"});
        if (compacted->first != 0)
            throw db::DbError(db::ErrorKind::Other, QString::fromStdString(compacted->second));
    });
}

} // namespace
