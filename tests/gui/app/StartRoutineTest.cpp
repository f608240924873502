#include "core/data/Schema.h"
#include "core/data/Settings.h"
#include "gui/app/StartUp.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/ScriptedProgramEnd.h"
#include "gui/support/WidgetTestSupport.h"
#include "gui/uikit/MessageBox.h"

#include <QDir>
#include <QAction>
#include <QLineEdit>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The start routine, run in this process against a temporary application
// folder and a temporary lock folder.
class StartRoutineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedTmp = qgetenv("TMPDIR");
        qputenv("TMPDIR", lockDir.path().toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("TMPDIR", savedTmp);
        CloseAllWindows();
    }
    int run() { return StartRoutine(*qApp, appDir.path()); }

    QTemporaryDir appDir;
    QTemporaryDir lockDir;
    QByteArray savedTmp;
    ScriptedMessages messages;
};

TEST_F(StartRoutineTest, CancelledLoginEndsWithoutTheMainMenu)
{
    ScriptedProgramEnd programEnd;
    bool menuSeen = true;
    WhenModalOpens([&](QWidget* login) {
        EXPECT_EQ(login->objectName(), QString::fromUtf8("frm登入畫面"));
        QTest::keyClick(login, Qt::Key_Escape);
    });
    EXPECT_EQ(run(), 0);
    menuSeen = FindWindow(QStringLiteral("frm主畫面")) != nullptr;
    EXPECT_FALSE(menuSeen);
    EXPECT_FALSE(gLoginOk);
    EXPECT_TRUE(programEnd.ended());
}

TEST_F(StartRoutineTest, LoginOpensTheMainMenuAndLeavingEndsTheProgram)
{
    ScriptedProgramEnd programEnd([] { QCoreApplication::exit(0); });
    db::TakeCreatedDatabaseFile();
    bool menuShown = false;
    WhenModalOpens([&](QWidget* login) {
        auto* password = login->findChild<QLineEdit*>(QStringLiteral("txt密碼"));
        ASSERT_NE(password, nullptr);
        QTest::keyClick(password, Qt::Key_Return);
        QTimer::singleShot(0, [&] {
            QWidget* menu = FindWindow(QStringLiteral("frm主畫面"));
            menuShown = menu != nullptr;
            ASSERT_TRUE(menuShown);
            messages.answerNext(MsgAnswer::Yes);
            menu->findChild<QAction*>(QStringLiteral("m離開"))->trigger();
        });
    });
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(menuShown);
    EXPECT_TRUE(gLoginOk);
    EXPECT_EQ(gUserName, "admin");
    EXPECT_EQ(programEnd.count(), 1);
    const QString file = appDir.filePath(QStringLiteral("Quorvex.mdb"));
    EXPECT_TRUE(QFile::exists(file));
    // The new, empty database is announced once, with its place.
    ASSERT_FALSE(messages.shown().isEmpty());
    EXPECT_EQ(messages.shown().first().text, QString::fromUtf8("已建立新的資料庫檔案: ") + QDir::toNativeSeparators(file));
    EXPECT_EQ(messages.texts().filter(QString::fromUtf8("已建立")).size(), 1);
}

} // namespace
