#include "core/data/Settings.h"
#include "core/support/TempAppFolder.h"
#include "gui/app/AboutBox.h"
#include "gui/app/MainMenu.h"
#include "gui/recordscreen/RecordScreen.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/ScriptedProgramEnd.h"
#include "gui/support/WidgetTestSupport.h"

#include <QDir>
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSpontaneKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString kLeave = QString::fromUtf8("確定離開系統嗎？");

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        menu = new frm主畫面;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->show();
        QApplication::setActiveWindow(menu);
        ASSERT_TRUE(QTest::qWaitForWindowActive(menu));
    }
    void TearDown() override { CloseAllWindows(); }

    void click(const char* name)
    {
        auto* button = Child<QToolButton>(menu, QString::fromUtf8(name));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void trigger(const char* name)
    {
        auto* action = menu->findChild<QAction*>(QString::fromUtf8(name));
        ASSERT_NE(action, nullptr) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        action->trigger();
    }

    // The close the window system sends when the user presses the close box.
    void closeBox()
    {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(menu, &event);   // sendEvent would clear the spontaneous mark
    }

    TempAppFolder folder;
    ScriptedMessages messages;
    ScriptedProgramEnd programEnd;
    QPointer<frm主畫面> menu;
};

TEST_F(MainMenuTest, TitleVersionAndTheEightCommands)
{
    EXPECT_EQ(menu->windowTitle(), "Quorvex");
    EXPECT_EQ(Child<QLabel>(menu, QStringLiteral("lblVER"))->text(), QStringLiteral("v") + VersionNumber());
    const std::pair<const char*, const char*> commands[] = {
        {"cmd輸入作業", "輸入作業"},         {"cmd股號資料", "股號資料"},
        {"cmd買超統計表", "買超統計表"},     {"cmd賣超統計表", "賣超統計表"},
        {"cmd新增買超明細", "新增買超明細"}, {"cmd新增賣超明細", "新增賣超明細"},
        {"cmd買超轉賣超", "買超轉賣超"},     {"cmd賣超轉買超", "賣超轉買超"}};
    for (const auto& [name, caption] : commands) {
        auto* button = Child<QToolButton>(menu, QString::fromUtf8(name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(caption));
        EXPECT_FALSE(button->icon().isNull());
    }
    QStringList menus;
    for (QAction* a : menu->menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, (QStringList{"離開", "維護", "統計", "說明"}));
}

TEST_F(MainMenuTest, EachCommandOpensItsScreenOnce)
{
    const std::pair<const char*, ScreenId> commands[] = {
        {"cmd輸入作業", ScreenId::Entry},         {"cmd股號資料", ScreenId::Stock},
        {"cmd新增買超明細", ScreenId::NewBuy},    {"cmd新增賣超明細", ScreenId::NewSell},
        {"cmd買超轉賣超", ScreenId::BuyToSell},   {"cmd賣超轉買超", ScreenId::SellToBuy}};
    for (const auto& [name, id] : commands) {
        click(name);
        click(name);
        ASSERT_NE(menu->openScreen(id), nullptr) << name;
        EXPECT_EQ(CountWindows(menu->openScreen(id)->objectName()), 1) << name;
    }
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainMenuTest, BothCountCommandsShareOneScreenAndSetTheKindFirst)
{
    click("cmd買超統計表");
    EXPECT_EQ(gStatKind, QString::fromUtf8("買超統計表"));
    QWidget* screen = menu->openScreen(ScreenId::CountStats);
    ASSERT_NE(screen, nullptr);
    click("cmd買超統計表");
    click("cmd賣超統計表");
    EXPECT_EQ(gStatKind, QString::fromUtf8("賣超統計表"));
    EXPECT_EQ(menu->openScreen(ScreenId::CountStats), screen);
    EXPECT_EQ(CountWindows(QStringLiteral("frm買賣超統計表")), 1);
}

TEST_F(MainMenuTest, AScreenChosenAgainComesToTheFront)
{
    click("cmd股號資料");
    QWidget* first = menu->openScreen(ScreenId::Stock);
    ASSERT_NE(first, nullptr);
    first->showMinimized();
    click("cmd股號資料");
    EXPECT_EQ(CountWindows(QStringLiteral("frm股號資料")), 1);
    EXPECT_EQ(menu->openScreen(ScreenId::Stock), first);
    EXPECT_FALSE(first->isMinimized());
}

TEST_F(MainMenuTest, MaintenanceOpensOnce)
{
    trigger("m維護");
    trigger("m維護");
    EXPECT_EQ(CountWindows(QStringLiteral("frm系統維護作業")), 1);
}

TEST_F(MainMenuTest, TheStreakStatisticsOpenFromTheirMenuKeys)
{
    QTest::keyClick(menu->windowHandle(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->openScreen(ScreenId::BuyStreak) != nullptr; }));
    QApplication::setActiveWindow(menu);
    QTest::keyClick(menu->windowHandle(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->openScreen(ScreenId::SellStreak) != nullptr; }));
    EXPECT_EQ(CountWindows(QStringLiteral("frm連續買超統計表")), 1);
    EXPECT_EQ(menu->openScreen(ScreenId::SellStreak)->windowTitle(), QString::fromUtf8("連續賣超統計表"));
}

TEST_F(MainMenuTest, AClosedScreenOpensAfreshNextTime)
{
    click("cmd股號資料");
    QPointer<QWidget> first = menu->openScreen(ScreenId::Stock);
    ASSERT_TRUE(first);
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(first);
    click("cmd股號資料");
    EXPECT_EQ(CountWindows(QStringLiteral("frm股號資料")), 1);
}

TEST_F(MainMenuTest, NumberKeysOpenTheCommands)
{
    // Through the window system, where shortcuts are resolved.
    // A button's shortcut shows the press briefly before it clicks.
    QTest::keyClick(menu->windowHandle(), Qt::Key_4);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->openScreen(ScreenId::CountStats) != nullptr; }));
    EXPECT_EQ(gStatKind, QString::fromUtf8("賣超統計表"));
    QApplication::setActiveWindow(menu);
    QTest::keyClick(menu->windowHandle(), Qt::Key_1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu->openScreen(ScreenId::Entry) != nullptr; }));
}

TEST_F(MainMenuTest, ArrowKeysAndEnterReachEveryCommand)
{
    auto* first = Child<QToolButton>(menu, QStringLiteral("cmd輸入作業"));
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), QString::fromUtf8("cmd新增賣超明細"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_NE(menu->openScreen(ScreenId::NewSell), nullptr);
}

TEST_F(MainMenuTest, NoToTheCloseBoxQuestionKeepsEveryWindow)
{
    click("cmd輸入作業");
    click("cmd股號資料");
    QCoreApplication::processEvents();   // the screens' first activation
    messages.clear();
    messages.answerNext(MsgAnswer::No);
    closeBox();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, kLeave);
    EXPECT_EQ(messages.last().title, "Quorvex");
    EXPECT_EQ(messages.last().icon, MsgIcon::Question);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_NE(FindWindow(QStringLiteral("frm買賣超輸入作業")), nullptr);
    EXPECT_NE(FindWindow(QStringLiteral("frm股號資料")), nullptr);
    EXPECT_FALSE(programEnd.ended());
}

TEST_F(MainMenuTest, YesToTheCloseBoxQuestionEndsTheProgram)
{
    click("cmd輸入作業");
    QCoreApplication::processEvents();
    messages.clear();
    messages.answerNext(MsgAnswer::Yes);
    closeBox();
    EXPECT_EQ(messages.texts(), QStringList{kLeave});
    EXPECT_TRUE(programEnd.ended());
    EXPECT_EQ(FindWindow(QStringLiteral("frm買賣超輸入作業")), nullptr);
}

TEST_F(MainMenuTest, YesToLeavingClosesEveryWindowWithoutAskingThem)
{
    click("cmd輸入作業");
    click("cmd股號資料");
    QCoreApplication::processEvents();
    messages.clear();
    messages.answerNext(MsgAnswer::Yes);
    trigger("m離開");
    EXPECT_EQ(messages.texts(), QStringList{kLeave});
    EXPECT_TRUE(programEnd.ended());
    EXPECT_EQ(FindWindow(QStringLiteral("frm主畫面")), nullptr);
    EXPECT_EQ(FindWindow(QStringLiteral("frm買賣超輸入作業")), nullptr);
    EXPECT_EQ(FindWindow(QStringLiteral("frm股號資料")), nullptr);
}

// Ending the program closes the screens without asking them: typed work in
// one of them is asked about first.
TEST_F(MainMenuTest, LeavingWithTypedWorkAsksWhetherToDropIt)
{
    click("cmd股號資料");
    QCoreApplication::processEvents();
    auto* stocks = qobject_cast<RecordScreen*>(FindWindow(QStringLiteral("frm股號資料")));
    ASSERT_NE(stocks, nullptr);
    stocks->keyAction(QStringLiteral("add"))->trigger();
    auto* name = stocks->findChild<QLineEdit*>(QStringLiteral("txt名稱"));
    ASSERT_NE(name, nullptr);
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("x"));
    messages.clear();
    trigger("m離開");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("資料尚未儲存，確定放棄修改嗎？")});
    EXPECT_FALSE(programEnd.ended());
    EXPECT_NE(FindWindow(QStringLiteral("frm股號資料")), nullptr);
}

// A code typed into a list of the entry screen, its cell editor still open,
// is typed work as well.
TEST_F(MainMenuTest, LeavingWithACodeStillInItsCellEditorAsksWhetherToDropIt)
{
    click("cmd輸入作業");
    QCoreApplication::processEvents();
    auto* entry = qobject_cast<RecordScreen*>(FindWindow(QStringLiteral("frm買賣超輸入作業")));
    ASSERT_NE(entry, nullptr);
    entry->keyAction(QStringLiteral("add"))->trigger();
    auto* list = entry->findChild<QTableWidget*>(QStringLiteral("fml買超"));
    ASSERT_NE(list, nullptr);
    list->setFocus();
    list->setCurrentCell(0, 1);
    QTest::keyClick(list, Qt::Key_2);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("330"));
    ASSERT_NE(qobject_cast<QLineEdit*>(QApplication::focusWidget()), nullptr);
    messages.clear();
    trigger("m離開");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("資料尚未儲存，確定放棄修改嗎？")});
    EXPECT_FALSE(programEnd.ended());
    EXPECT_EQ(list->item(0, 1) ? list->item(0, 1)->text() : QString(), "2330");
}

TEST_F(MainMenuTest, NoToLeavingDoesNothing)
{
    click("cmd輸入作業");
    messages.answerNext(MsgAnswer::No);
    trigger("m離開");
    EXPECT_TRUE(menu->isVisible());
    EXPECT_NE(FindWindow(QStringLiteral("frm買賣超輸入作業")), nullptr);
    EXPECT_FALSE(programEnd.ended());
}

TEST_F(MainMenuTest, CloseByTheProgramAsksNothing)
{
    menu->close();
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(programEnd.ended());
}

TEST_F(MainMenuTest, AboutBoxIsModalAndShowsVersionFolderAndNotice)
{
    QString title, version, notice, folder;
    bool menuOpenedSomething = true;
    WhenModalOpens([&](QWidget* modal) {
        title = modal->windowTitle();
        version = Child<QLabel>(modal, QStringLiteral("lbl版本號碼"))->text();
        folder = Child<QLabel>(modal, QStringLiteral("lbl資料夾"))->text();
        notice = Child<QLabel>(modal, QStringLiteral("lbl警告內容"))->text();
        // A click on the menu through the window system is blocked while the box is open.
        auto* entry = Child<QToolButton>(menu, QStringLiteral("cmd輸入作業"));
        const QPoint at = entry->mapTo(menu, entry->rect().center());
        QTest::mouseClick(menu->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
        menuOpenedSomething = menu->openScreen(ScreenId::Entry) != nullptr;
        QTest::mouseClick(Child<QPushButton>(modal, QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    trigger("m關於系統");
    EXPECT_EQ(title, QString::fromUtf8("關於本系統"));
    EXPECT_EQ(version, VersionNumber());
    EXPECT_EQ(folder, QDir::toNativeSeparators(gAppFolder));   // the data folder in use, as the system writes it
    const QStringList lines = notice.split('\n');
    ASSERT_EQ(lines.size(), 4);
    for (int i = 1; i < 4; ++i) {
        EXPECT_TRUE(lines[i].startsWith(QString(7, ' '))) << i;
        EXPECT_NE(lines[i].at(7), ' ') << i;
    }
    EXPECT_FALSE(menuOpenedSomething);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
