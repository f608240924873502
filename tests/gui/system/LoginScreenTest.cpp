#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/support/TempAppFolder.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/ScriptedProgramEnd.h"
#include "gui/support/WidgetTestSupport.h"
#include "gui/system/LoginScreen.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

const QString kWrong = QString::fromUtf8("密碼錯誤, 請再試一次!");
const QString kThird = QString::fromUtf8("密碼己錯誤三次, 跳離!");

class LoginScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        screen = std::make_unique<frm登入畫面>();
        screen->show();
        QApplication::setActiveWindow(screen.get());
        password = Child<QLineEdit>(screen.get(), QStringLiteral("txt密碼"));
        password->setFocus();
    }
    void TearDown() override { screen.reset(); }

    void setStoredUser(const QVariant& name, const QVariant& pass)
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("UPDATE 使用者資料 SET 使用者 = ?, 密碼 = ?"), {name, pass});
    }

    void typeAndEnter(const QString& text)
    {
        password->selectAll();
        QTest::keyClicks(password, text);
        QTest::keyClick(password, Qt::Key_Return);
    }

    TempAppFolder folder;
    ScriptedMessages messages;
    ScriptedProgramEnd programEnd;
    std::unique_ptr<frm登入畫面> screen;
    QLineEdit* password = nullptr;
};

TEST_F(LoginScreenTest, OnlyThePasswordBoxIsShownAndTheNameIsAdmin)
{
    auto* name = Child<QLineEdit>(screen.get(), QStringLiteral("txt名稱"));
    EXPECT_FALSE(name->isVisible());
    EXPECT_FALSE(Child<QLabel>(screen.get(), QStringLiteral("Label4"))->isVisible());
    EXPECT_TRUE(password->isVisible());
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(password->maxLength(), 20);
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("登入畫面"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return name->text() == QLatin1String("admin"); }));
    EXPECT_EQ(Child<QLabel>(screen.get(), QStringLiteral("lblVER"))->text(), VersionText());
}

TEST_F(LoginScreenTest, EmptyPasswordLogsInWhenTheStoredOneIsEmpty)
{
    typeAndEnter(QString());
    EXPECT_EQ(messages.count(), 0) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(gLoginOk);
    EXPECT_EQ(gUserName, "admin");
    EXPECT_EQ(screen->result(), QDialog::Accepted);
    EXPECT_FALSE(programEnd.ended());
}

TEST_F(LoginScreenTest, EmptyPasswordLogsInWhenTheStoredOneIsNull)
{
    setStoredUser(QStringLiteral("admin"), QVariant());
    typeAndEnter(QString());
    EXPECT_TRUE(gLoginOk);
}

TEST_F(LoginScreenTest, NameIsFoundInAnyCaseButThePasswordMustMatchExactly)
{
    setStoredUser(QStringLiteral("ADMIN"), QStringLiteral("Secret"));
    typeAndEnter(QStringLiteral("secret"));
    EXPECT_FALSE(gLoginOk);
    EXPECT_EQ(messages.texts(), QStringList{kWrong});
    typeAndEnter(QStringLiteral("Secret"));
    EXPECT_TRUE(gLoginOk);
    EXPECT_EQ(gUserName, "admin");
}

TEST_F(LoginScreenTest, OneEnterIsOneAttemptAndTheFocusStays)
{
    setStoredUser(QStringLiteral("admin"), QStringLiteral("kvew"));
    typeAndEnter(QStringLiteral("nope"));
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, kWrong);
    EXPECT_EQ(messages.last().title, QString::fromUtf8("登入錯誤"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
    EXPECT_EQ(screen->attempts(), 1);
    EXPECT_TRUE(password->hasFocus());
    EXPECT_EQ(password->selectedText(), "nope");
    EXPECT_TRUE(screen->isVisible());
}

TEST_F(LoginScreenTest, EnterOnAFocusedButtonPressesIt)
{
    setStoredUser(QStringLiteral("admin"), QStringLiteral("kvew"));
    password->setText(QStringLiteral("kvew"));
    auto* ok = Child<QPushButton>(screen.get(), QStringLiteral("Picture1"));
    ok->setFocus();
    QTest::keyClick(ok, Qt::Key_Return);
    EXPECT_TRUE(gLoginOk);
}

TEST_F(LoginScreenTest, EnterOnAFocusedCancelEndsTheProgram)
{
    auto* cancel = Child<QPushButton>(screen.get(), QStringLiteral("Picture2"));
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(programEnd.ended());
    EXPECT_FALSE(gLoginOk);
}

TEST_F(LoginScreenTest, ThreeWrongTriesEndTheProgram)
{
    setStoredUser(QStringLiteral("admin"), QStringLiteral("kvew"));
    typeAndEnter(QStringLiteral("a"));
    typeAndEnter(QStringLiteral("b"));
    EXPECT_FALSE(programEnd.ended());
    typeAndEnter(QStringLiteral("c"));
    EXPECT_EQ(messages.texts(), (QStringList{kWrong, kWrong, kThird}));
    EXPECT_TRUE(programEnd.ended());
    EXPECT_FALSE(screen->isVisible());
    EXPECT_FALSE(gLoginOk);
}

TEST_F(LoginScreenTest, TwoWrongThenRightLogsIn)
{
    setStoredUser(QStringLiteral("admin"), QStringLiteral("kvew"));
    typeAndEnter(QStringLiteral("a"));
    typeAndEnter(QStringLiteral("b"));
    typeAndEnter(QStringLiteral("kvew"));
    EXPECT_TRUE(gLoginOk);
    EXPECT_FALSE(programEnd.ended());
}

TEST_F(LoginScreenTest, WithoutAnAdminRowNoLoginIsPossible)
{
    setStoredUser(QStringLiteral("someone"), QString());
    QTest::mouseClick(Child<QPushButton>(screen.get(), QStringLiteral("Picture1")), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{kWrong});
    EXPECT_FALSE(gLoginOk);
}

// A file that cannot be opened never checked the password: it is not
// called wrong, but the try counts.
TEST_F(LoginScreenTest, DatabaseFailureIsShownAloneAndCountsAsATry)
{
    setStoredUser(QStringLiteral("admin"), QStringLiteral("kvew"));
    typeAndEnter(QStringLiteral("a"));
    QFile foreign(folder.databasePath());
    ASSERT_TRUE(foreign.open(QIODevice::WriteOnly));
    foreign.write(QByteArray(4096, 'x'));
    foreign.close();
    typeAndEnter(QString());
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.shown()[1].title, QString::fromUtf8("檢查使用者密碼錯誤"));
    EXPECT_EQ(messages.shown()[1].icon, MsgIcon::Critical);
    EXPECT_TRUE(messages.shown()[1].text.contains(QStringLiteral("not a database")));
    EXPECT_EQ(screen->attempts(), 2);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(programEnd.ended());
    typeAndEnter(QString());
    EXPECT_EQ(messages.count(), 3);
    EXPECT_FALSE(messages.texts().contains(kThird));
    EXPECT_TRUE(programEnd.ended());
}

TEST_F(LoginScreenTest, EscapeOrCancelEndsTheProgram)
{
    QTest::keyClick(password, Qt::Key_Escape);
    EXPECT_TRUE(programEnd.ended());
    EXPECT_FALSE(screen->isVisible());
    EXPECT_FALSE(gLoginOk);
    EXPECT_EQ(messages.count(), 0);
}

TEST_F(LoginScreenTest, CancelButtonEndsTheProgram)
{
    QTest::mouseClick(Child<QPushButton>(screen.get(), QStringLiteral("Picture2")), Qt::LeftButton);
    EXPECT_TRUE(programEnd.ended());
    EXPECT_FALSE(gLoginOk);
}

} // namespace
