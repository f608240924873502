#include "core/data/ConnectionString.h"
#include "core/data/PasswordHash.h"
#include "core/support/JetFixtures.h"
#include "core/support/JournalWriteFailure.h"
#include "core/support/TempDatabase.h"
#include "core/system/Conversion.h"

#include <QFile>
#include <QProcess>

#include "core/support/TestPlatform.h"

namespace {

const QString kKey = QStringLiteral("kvew7315");

// The tables every file of ours has; an older file of ours holds at least these.
const QString kDayTables = QStringLiteral("CREATE TABLE 買賣超資料 (買賣日期 TEXT, 買賣星期 TEXT);"
                                          "CREATE TABLE 買超明細資料 (序 TEXT, 股號 TEXT, 買賣日期 TEXT);"
                                          "CREATE TABLE 賣超明細資料 (序 TEXT, 股號 TEXT, 買賣日期 TEXT);");

// An encrypted file with the same key and the given tables.
QString WriteOldFile(const QString& path, const QString& script)
{
    QFile(path).open(QIODevice::WriteOnly);
    db::Connection old(db::BuildConnectionString(path, kKey), db::OpenMode::MustExist);
    old.executeScript(script);
    return path;
}

class ConversionTest : public TempDatabase {
protected:
    QString oldFile(const QString& script) { return WriteOldFile(dir.filePath(QStringLiteral("old.mdb")), script); }
    int convert(const QString& path)
    {
        return ConvertOldDatabase(db::BuildConnectionString(dir.filePath(QStringLiteral("Quorvex.mdb")), kKey), path, kKey,
                                  [this](const ConversionProgress& p) { last = p; });
    }
    QString text(const QString& sql) { return c.query(sql).text(0, 0); }

    ConversionProgress last;
};

TEST_F(ConversionTest, EveryTableTakesTheOldRowsConvertedToItsColumns)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('9999', '舊的')"));
    c.execute(QStringLiteral("INSERT INTO 公司基本資料 VALUES ('公司')"));
    const QString path = oldFile(QString::fromUtf8(
        "CREATE TABLE 股號資料 (股號 TEXT, 名稱 TEXT, 本益比 REAL, 殖利率 REAL, 股價淨值比 REAL, 產業 TEXT);"
        "INSERT INTO 股號資料 VALUES (' 2330 ', '台積電 ', 15.25, 2, NULL, '半導體');"
        "CREATE TABLE 買賣超資料 (買賣日期 TEXT);"
        "INSERT INTO 買賣超資料 VALUES ('1000125');"
        "CREATE TABLE 買超明細資料 (序 TEXT, 股號 TEXT, 買賣日期 TEXT);"
        "INSERT INTO 買超明細資料 VALUES (' 3x', '2330', '1000125');"
        "INSERT INTO 買超明細資料 VALUES (NULL, '1101', '1000125');"
        "CREATE TABLE 賣超明細資料 (序 REAL, 股號 TEXT, 買賣日期 TEXT);"
        "CREATE TABLE 法人買賣超 (買賣日期 TEXT, 股號 TEXT, 外資 INTEGER, 投信 INTEGER, 自營商 INTEGER, 合計 INTEGER);"
        "INSERT INTO 法人買賣超 VALUES ('1000125', '2330', -9000000000, NULL, '12x', 3.0);"));
    c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1000124', '1101', 1, 1, 1, 3)"));
    EXPECT_EQ(convert(path), 0);
    // Amounts come over whole; one the files had no column for stays unknown.
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(quote(買賣日期) || quote(外資) || quote(投信) || quote(自營商) || quote(合計)) "
                                  "FROM 法人買賣超")),
              QString::fromUtf8("'1000125'-9000000000NULL123"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(text(QStringLiteral("SELECT 股號 || '|' || 名稱 || '|' || 本益比 || '|' || 殖利率 || '|' || 股價淨值比 FROM 股號資料")),
              QString::fromUtf8("2330|台積電|15.25|2|"));
    EXPECT_EQ(text(QStringLiteral("SELECT quote(買賣星期) FROM 買賣超資料")), "''");
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(序, ',') FROM (SELECT 序 FROM 買超明細資料 ORDER BY 序)")), "0.0,3.0");
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 公司基本資料")), 0);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
    EXPECT_EQ(text(QStringLiteral("SELECT 使用者 || '|' || quote(密碼) FROM 使用者資料")), "admin|NULL");
    EXPECT_EQ(last.table, last.tables);
    EXPECT_EQ(last.tables, c.tableNames().size());
}

// Nothing may be emptied on the word of a file that is not a database of
// ours, or that is the live file under another name.
TEST_F(ConversionTest, AFileThatIsNotOursOrTheLiveFileIsRefusedBeforeAnythingChanges)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')"));
    const QString garbage = dir.filePath(QStringLiteral("foreign.mdb"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    const QString live = dir.filePath(QStringLiteral("Quorvex.mdb"));
    const QString link = dir.filePath(QStringLiteral("link.mdb"));
    ASSERT_TRUE(MakeHardLink(live, link));
    const QString otherProgram = WriteOldFile(dir.filePath(QStringLiteral("other.mdb")),
                                              QStringLiteral("CREATE TABLE 股號資料 (股號 TEXT); CREATE TABLE 買賣超資料 (x);"));

    for (const QString& path : {garbage, live, link, dir.filePath(QStringLiteral("missing.mdb")), otherProgram})
        EXPECT_THROW(convert(path), db::DbError) << path.toStdString();
    try {
        convert(otherProgram);
    } catch (const db::DbError& error) {
        EXPECT_TRUE(error.text().contains(QStringLiteral("買超明細資料、賣超明細資料"))) << error.what();
    }
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(last.table, 0);
}

// Access files of other programs (none of the old program's tables in them).
TEST_F(ConversionTest, AnAccessFileWithNoneOfOurTablesIsRefusedAndNothingChanges)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')"));
    for (const QString& name : AllJetFixtures()) {
        try {
            convert(JetFixture(name));
            ADD_FAILURE() << name.toStdString() << " was converted";
        } catch (const db::DbError& error) {
#ifdef QUORVEX_HAVE_LIBMDB
            EXPECT_EQ(error.text(), QString::fromUtf8("這不是舊版系統的資料庫檔案：找不到 股號資料 等資料表")) << name.toStdString();
#else
            EXPECT_TRUE(error.text().contains(QStringLiteral("Microsoft Access"))) << error.what();
#endif
        }
    }
    EXPECT_EQ(text(QStringLiteral("SELECT 股號 || 名稱 FROM 股號資料")), QString::fromUtf8("2330台積電"));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
    EXPECT_EQ(last.table, 0);
}

// An old table that shares no column with the current one still brings its rows.
TEST_F(ConversionTest, ATableSharingNoColumnBringsRowsOfEmptyTexts)
{
    convert(oldFile(kDayTables + QStringLiteral("CREATE TABLE 公司基本資料 (地址 TEXT); INSERT INTO 公司基本資料 VALUES ('x');")));
    EXPECT_EQ(text(QStringLiteral("SELECT quote(公司名稱) FROM 公司基本資料")), "''");
}

TEST_F(ConversionTest, UsersComeFromTheOldFile)
{
    const QString path = oldFile(kDayTables + QStringLiteral(
        "CREATE TABLE 使用者資料 (使用者 TEXT, 密碼 TEXT, 備份時間 TEXT, 重整時間 TEXT);"
        "INSERT INTO 使用者資料 VALUES ('admin', 'secret', '', '');"
        "INSERT INTO 使用者資料 VALUES ('guest', '%1', '', '');").arg(db::HashPassword(QStringLiteral("kvew"))));
    convert(path);
    // Passwords as typed and hashes come over as they are.
    EXPECT_EQ(text(QStringLiteral("SELECT 密碼 FROM 使用者資料 WHERE 使用者 = 'admin'")), "secret");
    EXPECT_TRUE(db::StoredPasswordMatches(text(QStringLiteral("SELECT 密碼 FROM 使用者資料 WHERE 使用者 = 'guest'")),
                                          QStringLiteral("kvew")));
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 使用者資料")), 2);
}

// Rows no version of the program could have stored are left out and
// counted; texts are cut to what their column holds.
TEST_F(ConversionTest, RowsTheProgramCouldNeverHaveStoredAreLeftOutAndCounted)
{
    const QString path = oldFile(QStringLiteral(
        "CREATE TABLE 買賣超資料 (買賣日期 TEXT, 買賣星期 TEXT);"
        "CREATE TABLE 買超明細資料 (序 REAL, 股號 TEXT, 買賣日期 TEXT);"
        "CREATE TABLE 賣超明細資料 (序 REAL, 股號 TEXT, 買賣日期 TEXT);"
        "INSERT INTO 買賣超資料 VALUES ('1151209', '三'), ('151209', '三'), ('115/12/9', '二'), (NULL, '一');"
        "INSERT INTO 買超明細資料 VALUES (1, '2330', '1151209'), (9e999, '2317', '1151209'), (2, '  ', '1151209'),"
        "  (3, '2454', '11512091');"
        "CREATE TABLE 股號資料 (股號 TEXT, 名稱 TEXT);"
        "INSERT INTO 股號資料 VALUES ('2330', printf('%.*c', 20000000, 'x')), ('2330', 'again');"));
    EXPECT_EQ(convert(path), 3 + 3 + 1);
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(買賣日期) FROM 買賣超資料")), "1151209");
    EXPECT_EQ(text(QStringLiteral("SELECT group_concat(股號) FROM 買超明細資料")), "2330");
    EXPECT_EQ(text(QStringLiteral("SELECT 名稱 FROM 股號資料")), "xxxxxxxxxx");
}

// Killed at any moment, or failing on a write, a conversion leaves the
// current database with all its own rows or all the old file's, never the
// lists of one with the days of the other.
class ConversionKillTest : public ::testing::Test {
protected:
    QString live() const { return dir.filePath(QStringLiteral("Quorvex.mdb")); }
    QString connectionString() const { return db::BuildConnectionString(live(), kKey); }
    // Two stocks, a company, and `days` days of one buy and one sell each.
    void freshCurrent(int days = 2)
    {
        QFile::remove(live());
        db::Connection current(connectionString());
        current.executeScript(QStringLiteral(
            "INSERT INTO 股號資料 (股號) VALUES ('1101'), ('1102');"
            "INSERT INTO 公司基本資料 VALUES ('公司');"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1)"
            "  INSERT INTO 買賣超資料 SELECT 1000000 + i, '一' FROM n;"
            "INSERT INTO 買超明細資料 SELECT 1, '1101', 買賣日期 FROM 買賣超資料;"
            "INSERT INTO 賣超明細資料 SELECT 1, '1102', 買賣日期 FROM 買賣超資料;").arg(days));
    }
    QString oldFile() const
    {
        return WriteOldFile(dir.filePath(QStringLiteral("old.mdb")), kDayTables + QStringLiteral(
            "CREATE TABLE 股號資料 (股號 TEXT);"
            "CREATE TABLE 使用者資料 (使用者 TEXT, 密碼 TEXT);"
            "INSERT INTO 使用者資料 VALUES ('admin', ''), ('guest', '');"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 12000)"
            "  INSERT INTO 買超明細資料 SELECT i, 'C' || (i % 900), '1151201' FROM n;"
            "INSERT INTO 賣超明細資料 SELECT 序, 股號, 買賣日期 FROM 買超明細資料;"
            "INSERT INTO 股號資料 SELECT DISTINCT 股號 FROM 買超明細資料;"
            "INSERT INTO 買賣超資料 VALUES ('1151201', '一');"));
    }
    // Opening rolls back what a killed conversion left in the journal.
    QString rowCounts() const
    {
        db::Connection current(connectionString());
        QStringList counts;
        for (const char* table : {"股號資料", "買賣超資料", "買超明細資料", "賣超明細資料", "公司基本資料", "使用者資料"})
            counts << current.query(QStringLiteral("SELECT count(*) FROM ") + QString::fromUtf8(table)).text(0, 0);
        return counts.join(QLatin1Char('/'));
    }

    QTemporaryDir dir;
};

TEST_F(ConversionKillTest, AKilledConversionLeavesAllOldOrAllNewRows)
{
    const QString old = oldFile();
    const QString before = QStringLiteral("2/2/2/2/1/1");
    const QString after = QStringLiteral("900/1/12000/12000/0/2");
    int mixed = 0;
    int killedBefore = 0;
    for (int step = 1; step <= 30; step += 3) {
        freshCurrent();
        QProcess converter;
        converter.start(QStringLiteral(QUORVEX_CONCURRENT_WRITER), {live(), "convert", old});
        ASSERT_TRUE(converter.waitForStarted());
        for (int line = 0; line < step && converter.state() == QProcess::Running;) {
            if (converter.canReadLine())
                line += converter.readLine().isEmpty() ? 0 : 1;
            else
                converter.waitForReadyRead(1000);
        }
        converter.kill();
        converter.waitForFinished(30000);
        const QString found = rowCounts();
        mixed += found != before && found != after;
        killedBefore += found == before;
        EXPECT_TRUE(found == before || found == after) << "killed after step " << step << ": " << found.toStdString();
    }
    EXPECT_EQ(mixed, 0);
    EXPECT_GT(killedBefore, 0) << "no kill landed inside a conversion";
}

// One write that fails (a network share's hiccup) lets the engine undo the
// whole transaction; the conversion must stop there, not go on outside it.
TEST_F(ConversionKillTest, AFailedWriteLeavesAllOldRows)
{
    const QString old = oldFile();
    const QString before = QStringLiteral("2/3000/3000/3000/1/1");
    for (const int nth : {3, 40, 150, 400}) {
        freshCurrent(3000);
        ASSERT_EQ(rowCounts(), before);
        {
            const JournalWriteFailure failure(nth);
            EXPECT_THROW(ConvertOldDatabase(connectionString(), old, kKey, [](const ConversionProgress&) {}), db::DbError)
                << "write " << nth << " of " << failure.writes();
        }
        EXPECT_EQ(rowCounts(), before) << "write " << nth << " failed";
    }
}

} // namespace
