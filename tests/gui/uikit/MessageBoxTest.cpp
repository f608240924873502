#include "gui/support/ScriptedMessages.h"
#include "gui/uikit/BusyCursor.h"
#include "gui/uikit/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(MessageSeam, RecordsWhatWasShownAndAnswersAsTold)
{
    ScriptedMessages messages;
    messages.answerNext(MsgAnswer::Yes);
    EXPECT_TRUE(AskYesNo(QStringLiteral("確定離開系統嗎？"), QString()));
    EXPECT_FALSE(AskYesNo(QStringLiteral("再問一次"), QStringLiteral("詢問")));
    ShowError(QStringLiteral("disk full"), QStringLiteral("儲存錯誤"));

    ASSERT_EQ(messages.count(), 3);
    EXPECT_EQ(messages.shown()[0].title, "Quorvex");
    EXPECT_EQ(messages.shown()[0].icon, MsgIcon::Question);
    EXPECT_EQ(messages.shown()[1].title, QString::fromUtf8("詢問"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_EQ(messages.last().text, "disk full");
}

TEST(MessageSeam, RealBoxShowsTextTitleAndEscapeMeansNo)
{
    QString seenTitle, seenText;
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seenTitle = box->windowTitle();
        seenText = box->text();
        QTest::keyClick(box, Qt::Key_Escape);
    });
    const MsgAnswer answer = ShowMessage(QStringLiteral("確定要還原此筆資料?"), QStringLiteral("還原詢問"),
                                         MsgIcon::Question, MsgButtons::YesNo);
    EXPECT_EQ(answer, MsgAnswer::No);
    EXPECT_EQ(seenTitle, QString::fromUtf8("還原詢問"));
    EXPECT_EQ(seenText, QString::fromUtf8("確定要還原此筆資料?"));
}

// A question that would throw work away answers 否 to a hasty Enter.
TEST(MessageSeam, EnterOnAQuestionAboutDroppingWorkMeansNo)
{
    QTimer::singleShot(0, [] {
        ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() != nullptr; }));
        QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return);
    });
    EXPECT_FALSE(AskToDiscardUnsavedWork());
}

TEST(BusyCursor, RestoresThePointerOnEveryWayOut)
{
    ASSERT_EQ(QApplication::overrideCursor(), nullptr);
    try {
        BusyCursor busy;
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    {
        BusyCursor busy;
        busy.release();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace
