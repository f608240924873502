#include "DbTestSupport.h"

#include "data/DatabaseCopy.h"
#include "data/Schema.h"

#include <QDir>
#include <QFile>

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

} // namespace
