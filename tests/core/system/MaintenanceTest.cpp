#include "core/data/PasswordHash.h"
#include "core/support/TempDatabase.h"
#include "core/system/Maintenance.h"
#include "core/text/Clock.h"

namespace {

class MaintenanceTest : public TempDatabase {};

TEST_F(MaintenanceTest, StampsGoIntoTheFirstRowOrANewOneOfTheirOwn)
{
    c.execute(QStringLiteral("INSERT INTO 使用者資料 (使用者, 密碼) VALUES ('guest', 'x')"));
    SaveMaintTimes(c, QStringLiteral(" 2011/01/25  09:30:00 "), QString());
    SaveMaintTimes(c, QString(), QStringLiteral("2011/01/26  10:00:00"));
    const MaintTimes times = ReadMaintTimes(c);
    EXPECT_EQ(times.backup, "2011/01/25  09:30:00");
    EXPECT_EQ(times.compaction, "2011/01/26  10:00:00");
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 使用者資料 WHERE 使用者 = 'admin' AND 備份時間 <> ''")), 1);

    c.execute(QStringLiteral("DELETE FROM 使用者資料"));
    EXPECT_TRUE(ReadMaintTimes(c).backup.isEmpty());
    SaveMaintTimes(c, QStringLiteral("2011/01/27  08:00:00"), QString());
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 使用者資料 WHERE 使用者 IS NULL AND 密碼 IS NULL")), 1);
    EXPECT_EQ(ReadMaintTimes(c).backup, "2011/01/27  08:00:00");
}

TEST_F(MaintenanceTest, PasswordsChangeOnlyForTheExactOldOneOrANullOne)
{
    EXPECT_EQ(ChangePassword(c, QStringLiteral("admin"), QStringLiteral("x"), QStringLiteral("Secret")), 1);
    EXPECT_EQ(ChangePassword(c, QStringLiteral("admin"), QString(), QStringLiteral("Secret")), 0);
    EXPECT_EQ(ChangePassword(c, QStringLiteral("admin"), QStringLiteral("secret"), QStringLiteral("new")), 1);
    EXPECT_EQ(ChangePassword(c, QStringLiteral("nobody"), QString(), QStringLiteral("new")), 1);
    c.execute(QStringLiteral("UPDATE 使用者資料 SET 密碼 = NULL"));
    EXPECT_EQ(ChangePassword(c, QStringLiteral("admin"), QStringLiteral("anything"), QString()), 0);
    EXPECT_TRUE(db::IsPasswordHash(c.query(QStringLiteral("SELECT 密碼 FROM 使用者資料")).text(0, 0)));
    // One an older version kept as typed is checked as typed, and replaced.
    c.execute(QStringLiteral("UPDATE 使用者資料 SET 密碼 = 'Old'"));
    EXPECT_EQ(ChangePassword(c, QStringLiteral("admin"), QStringLiteral("old"), QStringLiteral("x")), 1);
    EXPECT_EQ(ChangePassword(c, QStringLiteral("admin"), QStringLiteral("Old"), QStringLiteral("New")), 0);
    EXPECT_EQ(ChangePassword(c, QStringLiteral("admin"), QStringLiteral("New"), QStringLiteral("x")), 0);
    EXPECT_TRUE(db::IsPasswordHash(c.query(QStringLiteral("SELECT 密碼 FROM 使用者資料")).text(0, 0)));
}

TEST_F(MaintenanceTest, ClearingEmptiesEveryTableButTheUsers)
{
    c.execute(QStringLiteral("INSERT INTO 股號資料 (股號) VALUES ('2330')"));
    c.execute(QStringLiteral("INSERT INTO 公司基本資料 VALUES ('公司')"));
    c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
    c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', '1000125')"));
    c.execute(QStringLiteral("INSERT INTO 基準日股號_tmp VALUES ('2330')"));
    ClearAllData(c);
    for (const QString& table : c.tableNames())
        EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)), table == "使用者資料" ? 1 : 0)
            << table.toStdString();
}

TEST(MaintenanceTexts, StampAndDefaultBackupPath)
{
    SetFixedNow(QDateTime(QDate(2011, 1, 5), QTime(7, 8, 9)));
    EXPECT_EQ(MaintTimeStamp(Now()), "2011/01/05  07:08:09");
    EXPECT_TRUE(DefaultBackupPath().endsWith("/Quorvex-1000105.mdb"));
    ClearFixedNow();
}

} // namespace
