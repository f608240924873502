#include "core/data/Connection.h"
#include "core/data/ConnectionString.h"
#include "core/data/DatabaseCopy.h"
#include "core/data/Settings.h"
#include "core/support/JetFixtures.h"
#include "core/support/TempAppFolder.h"
#include "core/system/UserCheck.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"
#include "gui/system/MaintenanceScreen.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString kStamp = QStringLiteral("2011/01/25  09:30:00");

class MaintenanceScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        gUserName = QStringLiteral("admin");
        {
            db::Connection c(gConnectionString);
            c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電')"));
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES ('1000125', '二')"));
        }
        screen = new frm系統維護作業;
        screen->show();
        QApplication::setActiveWindow(screen);
    }
    void TearDown() override { CloseAllWindows(); }

    QLineEdit* box(const char* name) { return Child<QLineEdit>(screen, QString::fromUtf8(name)); }
    QString label(const char* name) { return Child<QLabel>(screen, QString::fromUtf8(name))->text(); }
    void click(const char* name) { QTest::mouseClick(Child<QPushButton>(screen, QString::fromUtf8(name)), Qt::LeftButton); }
    qlonglong rows(const QString& connectionString, const QString& sql)
    {
        db::Connection c(connectionString, db::OpenMode::MustExist);
        return c.query(sql).value(0, 0).toLongLong();
    }
    QString backupPath(const QString& name) { return folder.filePath(name); }
    QString storedBackupTime()
    {
        db::Connection c(gConnectionString);
        return c.query(QStringLiteral("SELECT 備份時間 FROM 使用者資料")).text(0, 0);
    }
    void changePassword(const QString& old, const QString& fresh, const QString& confirm)
    {
        box("txt舊的密碼")->setText(old);
        box("txt新的密碼")->setText(fresh);
        box("txt確認新的密碼")->setText(confirm);
        click("cmd變更密碼");
    }

    TempAppFolder folder;
    ScriptedMessages messages;
    ScriptedFileDialogs dialogs;
    QPointer<frm系統維護作業> screen;
};

TEST_F(MaintenanceScreenTest, OpensWithTheStampsAndABackupPathInTheHomeFolder)
{
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("系統維護作業"));
    EXPECT_EQ(box("txt資料備份目錄名稱")->text(), QDir::home().filePath(QStringLiteral("Quorvex-1000125.mdb")));
    EXPECT_TRUE(label("lbl備份時間").isEmpty());

    dialogs.chooseNext(QString());   // cancelled
    click("cmd瀏覽");
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().first().filter, QString::fromUtf8("Microsoft Access 資料庫(*.mdb)"));
    EXPECT_EQ(box("txt資料備份目錄名稱")->text(), QDir::home().filePath(QStringLiteral("Quorvex-1000125.mdb")));
    dialogs.chooseNext(backupPath(QStringLiteral("picked.mdb")));
    click("cmd瀏覽");
    EXPECT_EQ(box("txt資料備份目錄名稱")->text(), backupPath(QStringLiteral("picked.mdb")));
    // A name typed without the suffix gets it; a file of that name is asked
    // about by 備份, when it would be overwritten, not here.
    QFile existing(backupPath(QStringLiteral("typed.mdb")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    messages.clear();
    dialogs.chooseNext(backupPath(QStringLiteral("typed")));
    click("cmd瀏覽");
    EXPECT_EQ(box("txt資料備份目錄名稱")->text(), backupPath(QStringLiteral("typed.mdb")));
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
}

TEST_F(MaintenanceScreenTest, ABackupOverAnExistingFileAsksAndATrimmedPathIsUsed)
{
    QFile existing(backupPath(QStringLiteral("old backup.mdb")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("an earlier backup");
    existing.close();
    box("txt資料備份目錄名稱")->setText(QStringLiteral("  ") + existing.fileName() + QStringLiteral("  "));
    click("cmd資料備份");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("這個檔案已經存在, 您確定要覆蓋?")});
    EXPECT_EQ(existing.size(), 17);
    EXPECT_TRUE(storedBackupTime().isEmpty());

    messages.answerNext(MsgAnswer::Yes);
    click("cmd資料備份");
    EXPECT_EQ(messages.last().text, QString::fromUtf8("資料庫已備份成功!"));
    const QString copy = db::BuildConnectionString(existing.fileName(), gDbPassword);
    EXPECT_EQ(rows(copy, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(label("lbl備份時間"), kStamp);
    EXPECT_EQ(storedBackupTime(), kStamp);
}

TEST_F(MaintenanceScreenTest, TheLiveFileIsNeverABackupTarget)
{
    // Nor is a link to it: a backup goes where its link leads. (A Windows
    // shortcut is a file of its own, not a link.)
    QStringList targets{folder.databasePath()};
#ifndef Q_OS_WIN
    QTemporaryDir links;
    const QString link = links.filePath(QStringLiteral("live.mdb"));
    ASSERT_TRUE(QFile::link(folder.databasePath(), link));
    targets << link;
#endif
    for (const QString& target : targets) {
        box("txt資料備份目錄名稱")->setText(target);
        messages.answerNext(MsgAnswer::Yes);
        click("cmd資料備份");
        EXPECT_EQ(messages.last().text, QString::fromUtf8("不可備份到目前使用中的資料庫檔案!"));
    }
    EXPECT_EQ(messages.texts().size(), targets.size());
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
}

TEST_F(MaintenanceScreenTest, CompactionKeepsTheDataAndStampsTheTime)
{
    click("cmd資料重整");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("資料庫已重整成功!")});
    EXPECT_EQ(label("lbl重整時間"), kStamp);
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 1);
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 使用者資料 WHERE 重整時間 <> ''")), 1);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("Tmp.mdb"))));
}

TEST_F(MaintenanceScreenTest, PasswordChangeAsksForTheSameNewPasswordTwice)
{
    changePassword(QString(), QStringLiteral("Secret"), QStringLiteral("secret"));
    EXPECT_EQ(messages.last().text, QString::fromUtf8("新的密碼與確認新的密碼不一樣!請重新輸入!"));
    EXPECT_TRUE(box("txt新的密碼")->text().isEmpty());
    EXPECT_TRUE(box("txt新的密碼")->hasFocus());

    changePassword(QString(), QStringLiteral("Secret"), QStringLiteral("Secret"));
    EXPECT_EQ(messages.last().text, QString::fromUtf8("密碼變更成功!"));
    EXPECT_TRUE(PasswordMatches(gConnectionString, QStringLiteral("admin"), QStringLiteral("Secret")));
    changePassword(QStringLiteral("wrong"), QStringLiteral("x"), QStringLiteral("x"));
    EXPECT_EQ(messages.last().text, QString::fromUtf8("密碼輸入錯誤!"));
    EXPECT_TRUE(box("txt舊的密碼")->text().isEmpty());
    EXPECT_TRUE(box("txt舊的密碼")->hasFocus());
}

TEST_F(MaintenanceScreenTest, ClearingAsksThenEmptiesAllButTheUsers)
{
    click("scmd清除資料");
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    messages.answerNext(MsgAnswer::Yes);
    click("scmd清除資料");
    EXPECT_EQ(messages.last().text, QString::fromUtf8("資料清除完畢！"));
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 股號資料")), 0);
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 0);
    EXPECT_TRUE(PasswordMatches(gConnectionString, QStringLiteral("admin"), QString()));
}

TEST_F(MaintenanceScreenTest, TheConversionAsksForAPathThenRunsAndCloses)
{
    const QString old = folder.filePath(QStringLiteral("old copy.mdb"));
    {
        db::Connection source(gConnectionString);
        db::CopyDatabase(source, old, gDbPassword);
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("DELETE FROM 股號資料"));
    }
    bool closed = false;
    WhenModalOpens([&](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), QString::fromUtf8("資料轉檔"));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scmd開始")), Qt::LeftButton);
        EXPECT_EQ(messages.last().text, QString::fromUtf8("請選擇來源檔路徑!"));
        window->findChild<QLineEdit*>(QStringLiteral("txt舊資料庫路徑"))->setText(QStringLiteral(" ") + old);
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scmd開始")), Qt::LeftButton);
        closed = !window->isVisible();
        EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lbl總進度"))->text(), "100 %");
    });
    click("scmd資料轉檔");
    EXPECT_TRUE(closed);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == screen; }));
    EXPECT_EQ(messages.last().text, QString::fromUtf8("資料轉檔完畢！"));
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
}

// An Access file of another program: read, refused for what it holds, and
// nothing of the current data lost.
TEST_F(MaintenanceScreenTest, TheConversionRefusesAnAccessFileOfAnotherProgram)
{
    WhenModalOpens([&](QWidget* window) {
        dialogs.chooseNext(JetFixture(QStringLiteral("testV2000.mdb")));
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("cmd開啟舊資料庫檔案")), Qt::LeftButton);
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("scmd開始")), Qt::LeftButton);
    });
    click("scmd資料轉檔");
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_TRUE(dialogs.shown().first().filter.startsWith(QString::fromUtf8("Microsoft Access 資料庫(*.mdb);;")));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().title, QString::fromUtf8("資料庫轉檔錯誤"));
#ifdef QUORVEX_HAVE_LIBMDB
    EXPECT_EQ(messages.last().text, QString::fromUtf8("這不是舊版系統的資料庫檔案：找不到 股號資料 等資料表"));
#endif
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 股號資料")), 1);
    EXPECT_EQ(rows(gConnectionString, QStringLiteral("SELECT count(*) FROM 買賣超資料")), 1);
}

} // namespace
