#include "data/ConnectionString.h"
#include "support/TempDatabase.h"
#include "system/Conversion.h"

#include <QFile>

namespace {

class ConversionTest : public TempDatabase {
protected:
    // An older file of ours: same key, another shape.
    QString oldFile(const QString& script)
    {
        const QString path = dir.filePath(QStringLiteral("old.mdb"));
        QFile(path).open(QIODevice::WriteOnly);
        db::Connection old(db::BuildConnectionString(path, QStringLiteral("kvew7315")), db::OpenMode::MustExist);
        old.executeScript(script);
        return path;
    }
    void convert(const QString& path)
    {
        ConvertOldDatabase(db::BuildConnectionString(dir.filePath(QStringLiteral("Quorvex.mdb")), QStringLiteral("kvew7315")),
                           path, QStringLiteral("kvew7315"), [this](const ConversionProgress& p) { last = p; });
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
        "INSERT INTO 買超明細資料 VALUES (NULL, '1101', '1000125');"));
    convert(path);
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

TEST_F(ConversionTest, AFileThatIsNotOursOrTheLiveFileIsRefusedBeforeAnythingChanges)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')"));
    const QString foreign = dir.filePath(QStringLiteral("foreign.mdb"));
    QFile file(foreign);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(8192, 'x'));
    file.close();
    EXPECT_THROW(convert(foreign), db::DbError);
    EXPECT_THROW(convert(dir.filePath(QStringLiteral("Quorvex.mdb"))), db::DbError);
    EXPECT_THROW(convert(dir.filePath(QStringLiteral("missing.mdb"))), db::DbError);
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(last.table, 0);
}

TEST_F(ConversionTest, UsersComeFromTheOldFile)
{
    const QString path = oldFile(QStringLiteral(
        "CREATE TABLE 使用者資料 (使用者 TEXT, 密碼 TEXT, 備份時間 TEXT, 重整時間 TEXT);"
        "INSERT INTO 使用者資料 VALUES ('admin', 'secret', '', '');"));
    convert(path);
    EXPECT_EQ(text(QStringLiteral("SELECT 密碼 FROM 使用者資料")), "secret");
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 使用者資料")), 1);
}

} // namespace
