#include "EntryScreenFixture.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include <gtest/gtest.h>

namespace {

TEST_F(EntryScreenTest, OpensOnTheLatestDateWithItsListsAndCounts)
{
    seedDay("1000124", "一", {"1101", "2330"}, {"2317"});
    seedDay("1000125", "二", {"2454", "2603", "3008"}, {"1216", "2002"});
    open();
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("買賣超輸入作業"));
    EXPECT_EQ(date()->text(), "1000125");
    EXPECT_EQ(weekday()->text(), QString::fromUtf8("二"));
    EXPECT_TRUE(date()->isReadOnly());
    EXPECT_TRUE(weekday()->isReadOnly());
    EXPECT_EQ(buys()->cellText(3, EntrySheet::kCodeColumn), "3008");
    EXPECT_EQ(buys()->cellText(3, EntrySheet::kSequenceColumn), "3");
    EXPECT_EQ(buys()->usedRowCount(), 3);
    EXPECT_EQ(sells()->usedRowCount(), 2);
    EXPECT_EQ(statusPanel(1), QString::fromUtf8("買超筆數"));
    EXPECT_EQ(statusPanel(2), "3");
    EXPECT_EQ(statusPanel(3), QString::fromUtf8("賣超筆數"));
    EXPECT_EQ(statusPanel(4), "2");
    EXPECT_TRUE(buys()->hasFocus());

    press("previous");
    EXPECT_EQ(date()->text(), "1000124");
    EXPECT_EQ(buys()->cellText(2, EntrySheet::kCodeColumn), "2330");
    EXPECT_TRUE(buys()->cellText(3, EntrySheet::kCodeColumn).isEmpty());
    press("previous");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("目前的資料錄位置在第一筆!")});
    EXPECT_EQ(date()->text(), "1000124");
    EXPECT_EQ(buys()->usedRowCount(), 2);
}

TEST_F(EntryScreenTest, AddFillsTodayAndItsWeekdayAndEmptiesTheSheets)
{
    seedDay("1000124", "一", {"1101"}, {"2317"});
    open();
    press("add");
    EXPECT_EQ(date()->text(), "1000125");
    EXPECT_EQ(weekday()->text(), QString::fromUtf8("二"));
    EXPECT_FALSE(date()->isReadOnly());
    EXPECT_EQ(buys()->lastUsedRow(), 0);
    EXPECT_EQ(sells()->lastUsedRow(), 0);
    EXPECT_EQ(buys()->usedRowCount(), 0);
    EXPECT_TRUE(buys()->hasFocus());
    EXPECT_TRUE(screen->currentKey().isEmpty());
    EXPECT_FALSE(screen->keyAction("del")->isEnabled());
    EXPECT_TRUE(screen->keyAction("save")->isEnabled());
}

TEST_F(EntryScreenTest, EnterInTheDateSetsTheWeekdayOnlyForARealDate)
{
    open();
    messages.clear();
    press("add");
    date()->setFocus();
    date()->selectAll();
    QTest::keyClicks(date(), "1000130");
    QTest::keyClick(date(), Qt::Key_Return);
    EXPECT_EQ(weekday()->text(), QString::fromUtf8("日"));
    EXPECT_FALSE(date()->hasFocus());
    date()->setFocus();
    date()->selectAll();
    QTest::keyClicks(date(), "10a01332");
    EXPECT_EQ(date()->text(), "1001332");
    QTest::keyClick(date(), Qt::Key_Return);
    EXPECT_EQ(weekday()->text(), QString::fromUtf8("日"));
    press("save");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("「買賣日期」輸入錯誤!")});
    EXPECT_EQ(messages.last().icon, MsgIcon::Warning);
    EXPECT_EQ(messages.last().title, QString::fromUtf8("錯誤"));
    EXPECT_EQ(count("SELECT count(*) FROM 買賣超資料"), 0);
}

TEST_F(EntryScreenTest, SixDigitsArePaddedOnLeavingWithoutTouchingTheWeekday)
{
    open();
    press("add");
    date()->setFocus();
    date()->selectAll();
    QTest::keyClicks(date(), "991231");
    weekday()->setFocus();
    EXPECT_EQ(date()->text(), "0991231");
    EXPECT_EQ(weekday()->text(), QString::fromUtf8("二"));
}

TEST_F(EntryScreenTest, BlankDateIsRefusedBeforeAnyQuestion)
{
    open();
    messages.clear();
    press("add");
    date()->clear();
    press("save");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("「買賣日期」欄位不可為空白!")});
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_TRUE(date()->hasFocus());
}

TEST_F(EntryScreenTest, SavingANewDayStoresBothListsAndShowsItAgain)
{
    open();
    messages.clear();
    press("add");
    typeCodes(buys(), {"2330", "2317", "1101"});
    typeCodes(sells(), {"2454"});
    sells()->setCurrentCell(1, EntrySheet::kCodeColumn);
    TypeText(sells(), "2603");   // still being edited when save is pressed
    ASSERT_TRUE(sells()->isEditing());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);

    EXPECT_EQ(messages.texts(), QStringList{kSaved});
    EXPECT_EQ(messages.last().title, QString::fromUtf8("資料儲存"));
    EXPECT_EQ(stored("買超明細資料", "1000125"), (QStringList{"1:2330", "2:2317", "3:1101"}));
    EXPECT_EQ(stored("賣超明細資料", "1000125"), (QStringList{"1:2454", "2:2603"}));
    EXPECT_EQ(count("SELECT count(*) FROM 買賣超資料 WHERE 買賣日期 = '1000125' AND 買賣星期 = '二'"), 1);
    EXPECT_EQ(screen->mode(), QString::fromUtf8("修改"));
    EXPECT_EQ(screen->currentKey(), "1000125");
    EXPECT_TRUE(date()->isReadOnly());
    EXPECT_EQ(buys()->usedRowCount(), 3);
    EXPECT_EQ(sells()->cellText(2, EntrySheet::kCodeColumn), "2603");
    EXPECT_TRUE(screen->keyAction("del")->isEnabled());
}

TEST_F(EntryScreenTest, RowsWithoutACodeAreNotStoredAndABlankSequenceIsZero)
{
    open();
    press("add");
    buys()->setFocus();
    buys()->setCurrentCell(0, EntrySheet::kSequenceColumn);
    TypeText(buys(), "7");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    ASSERT_EQ(buys()->usedRowCount(), 1);
    // A filled sequence with no code, then a code whose sequence was cleared.
    buys()->setCellText(2, EntrySheet::kCodeColumn, QStringLiteral("2330"));
    buys()->setUsedRowCount(2);
    press("save");
    EXPECT_EQ(stored("買超明細資料", "1000125"), QStringList{"0:2330"});
}

TEST_F(EntryScreenTest, ADuplicateDateRollsBackEverything)
{
    seedDay("1000125", "二", {"1101"}, {});
    open();
    messages.clear();
    press("add");
    typeCodes(buys(), {"2330", "2317"});
    press("save");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("買賣日期重複!")});
    EXPECT_EQ(messages.last().title, QString::fromUtf8("儲存錯誤"));
    EXPECT_EQ(stored("買超明細資料", "1000125"), QStringList{"1:1101"});
    EXPECT_EQ(buys()->cellText(2, EntrySheet::kCodeColumn), "2317");
    EXPECT_EQ(screen->mode(), QString::fromUtf8("新增"));
}

TEST_F(EntryScreenTest, EditingReplacesTheListsWholesale)
{
    seedDay("1000125", "二", {"1101", "1102"}, {"2001", "2002", "2003", "2004"});
    open();
    sells()->setFocus();
    for (int i = 0; i < 2; ++i) {
        sells()->setCurrentCell(1, EntrySheet::kCodeColumn);
        QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("scmd刪除_1")), Qt::LeftButton);
    }
    EXPECT_EQ(sells()->usedRowCount(), 2);
    messages.answerNext(MsgAnswer::Yes);
    press("save");
    EXPECT_EQ(messages.texts(), (QStringList{QString::fromUtf8("確定更新此筆資料?"), kUpdated}));
    EXPECT_EQ(stored("賣超明細資料", "1000125"), (QStringList{"1:2001", "4:2004"}));
    EXPECT_EQ(stored("買超明細資料", "1000125"), (QStringList{"1:1101", "2:1102"}));
}

// Two PCs edit one day: the later save (or delete) would drop the earlier
// one's lists without a word. It is refused once; done again, it goes through
// knowingly. Saving twice from one screen is no conflict.
TEST_F(EntryScreenTest, AnUpdateOrDeleteOfADayAnotherPcChangedIsRefusedOnce)
{
    seedDay("1000125", "二", {"1101"}, {"2001"});
    open();
    const auto save = [&] {
        messages.answerNext(MsgAnswer::Yes);
        press("save");
        return messages.last();
    };
    typeCodes(buys(), {"1102"});
    EXPECT_EQ(save().text, kUpdated);
    typeCodes(buys(), {"1103"});
    EXPECT_EQ(save().text, kUpdated);
    {
        db::Connection other(gConnectionString);
        other.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (2, '2002', '1000125')"));
    }
    typeCodes(buys(), {"1104"});
    const auto refused = save();
    EXPECT_EQ(refused.title, QString::fromUtf8("更新錯誤"));
    EXPECT_TRUE(refused.text.contains(QString::fromUtf8("其他電腦修改"))) << refused.text.toStdString();
    EXPECT_EQ(stored("賣超明細資料", "1000125"), (QStringList{"1:2001", "2:2002"}));
    EXPECT_EQ(stored("買超明細資料", "1000125").size(), 3);
    EXPECT_EQ(save().text, kUpdated);
    EXPECT_EQ(stored("賣超明細資料", "1000125"), (QStringList{"1:2001"}));
    EXPECT_EQ(stored("買超明細資料", "1000125").size(), 4);
    // So is a delete.
    {
        db::Connection other(gConnectionString);
        other.execute(QStringLiteral("INSERT INTO 賣超明細資料 VALUES (3, '2003', '1000125')"));
    }
    messages.answerNext(MsgAnswer::Yes);
    press("del");
    EXPECT_EQ(messages.last().title, QString::fromUtf8("刪除錯誤"));
    EXPECT_EQ(stored("賣超明細資料", "1000125"), (QStringList{"1:2001", "3:2003"}));
    messages.answerNext(MsgAnswer::Yes);
    press("del");
    EXPECT_EQ(count(QStringLiteral("SELECT count(*) FROM 買賣超資料")), 0);
}

TEST_F(EntryScreenTest, AConfirmedDateChangeMovesTheHeaderAndBothLists)
{
    seedDay("1000125", "二", {"1101"}, {"2001"});
    open();
    messages.answerNext(MsgAnswer::Yes);
    QTest::mouseClick(date(), Qt::LeftButton);
    EXPECT_EQ(messages.last().text, QString::fromUtf8("確定修改買賣日期?"));
    EXPECT_FALSE(date()->isReadOnly());
    EXPECT_FALSE(weekday()->isReadOnly());
    // The whole date is selected, so typing replaces it.
    QTest::keyClicks(date(), "1000126");
    QTest::keyClick(date(), Qt::Key_Return);
    messages.answerNext(MsgAnswer::Yes);
    press("save");
    EXPECT_EQ(messages.last().text, kUpdated);
    EXPECT_EQ(count("SELECT count(*) FROM 買賣超資料 WHERE 買賣日期 = '1000125'"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM 買賣超資料 WHERE 買賣日期 = '1000126' AND 買賣星期 = '三'"), 1);
    EXPECT_EQ(stored("買超明細資料", "1000126"), QStringList{"1:1101"});
    EXPECT_EQ(stored("賣超明細資料", "1000126"), QStringList{"1:2001"});
    EXPECT_TRUE(stored("買超明細資料", "1000125").isEmpty());
    EXPECT_EQ(date()->text(), "1000126");
}

TEST_F(EntryScreenTest, OnlyThePressOnTheDateAsksAboutChangingIt)
{
    seedDay("1000125", "二", {"1101"}, {});
    open();
    messages.clear();
    QTest::mouseClick(weekday(), Qt::LeftButton);
    EXPECT_EQ(messages.count(), 0);
    EXPECT_TRUE(weekday()->isReadOnly());
    QTest::mouseClick(date(), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("確定修改買賣日期?")});
    EXPECT_TRUE(date()->isReadOnly());   // answered No
}

TEST_F(EntryScreenTest, MovingOntoAStoredDateIsADuplicateAndChangesNothing)
{
    seedDay("1000124", "一", {"1101"}, {});
    seedDay("1000125", "二", {"2330"}, {"2002"});
    open();
    messages.answerNext(MsgAnswer::Yes);
    QTest::mouseClick(date(), Qt::LeftButton);
    date()->selectAll();
    QTest::keyClicks(date(), "1000124");
    messages.answerNext(MsgAnswer::Yes);
    press("save");
    EXPECT_EQ(messages.last().text, QString::fromUtf8("買賣日期重複!"));
    EXPECT_EQ(messages.last().title, QString::fromUtf8("更新錯誤"));
    EXPECT_EQ(stored("買超明細資料", "1000125"), QStringList{"1:2330"});
    EXPECT_EQ(stored("賣超明細資料", "1000125"), QStringList{"1:2002"});
    EXPECT_EQ(stored("買超明細資料", "1000124"), QStringList{"1:1101"});
}

TEST_F(EntryScreenTest, DeletingTheOnlyDateRemovesItsListsToo)
{
    seedDay("1000125", "二", {"1101", "2330"}, {"2002"});
    open();
    messages.answerNext(MsgAnswer::Yes);
    press("del");
    EXPECT_EQ(messages.texts(), (QStringList{QString::fromUtf8("確定要刪除此筆資料?"), QString::fromUtf8("資料刪除完畢!"),
                                             QString::fromUtf8("資料庫無任何資料, 請先新增資料!")}));
    EXPECT_EQ(count("SELECT count(*) FROM 買超明細資料"), 0);
    EXPECT_EQ(count("SELECT count(*) FROM 賣超明細資料"), 0);
    EXPECT_EQ(buys()->lastUsedRow(), 0);
}

// Sequences that once stored fewer codes than the screen showed.
TEST_F(EntryScreenTest, EveryTypedCodeIsStoredWhateverTheDeleteButtonsWereClickedOn)
{
    open();
    messages.clear();
    press("add");
    typeCodes(buys(), {"1101"});
    key(Qt::Key_F8);
    ASSERT_EQ(messages.texts(), QStringList{kSaved});

    // 新增 right after a save: nothing to delete on the empty sheets.
    key(Qt::Key_F1);
    EXPECT_FALSE(deleteButton(0)->isEnabled());
    EXPECT_FALSE(deleteButton(1)->isEnabled());
    QTest::mouseClick(deleteButton(0), Qt::LeftButton);
    date()->setText(QStringLiteral("1000126"));
    typeCodes(buys(), {"1216", "1301"});
    key(Qt::Key_F8);
    EXPECT_EQ(stored("買超明細資料", "1000126"), (QStringList{"1:1216", "2:1301"}));

    // Four rows, then a click far below them and on 明細刪除.
    key(Qt::Key_F1);
    date()->setText(QStringLiteral("1000127"));
    typeCodes(sells(), {"2001", "2002", "2003", "2004"});
    clickCell(sells(), 7, EntrySheet::kCodeColumn);
    EXPECT_FALSE(deleteButton(1)->isEnabled());
    QTest::mouseClick(deleteButton(1), Qt::LeftButton);
    EXPECT_EQ(sells()->usedRowCount(), 4);
    key(Qt::Key_F8);
    EXPECT_EQ(stored("賣超明細資料", "1000127"), (QStringList{"1:2001", "2:2002", "3:2003", "4:2004"}));

    // Row 2, then row 7, then 明細刪除.
    key(Qt::Key_F1);
    date()->setText(QStringLiteral("1000128"));
    typeCodes(buys(), {"1101", "1102", "1103"});
    clickCell(buys(), 2, EntrySheet::kCodeColumn);
    EXPECT_TRUE(deleteButton(0)->isEnabled());
    clickCell(buys(), 7, EntrySheet::kCodeColumn);
    EXPECT_FALSE(deleteButton(0)->isEnabled());
    QTest::mouseClick(deleteButton(0), Qt::LeftButton);
    key(Qt::Key_F8);
    EXPECT_EQ(stored("買超明細資料", "1000128"), (QStringList{"1:1101", "2:1102", "3:1103"}));
}

TEST_F(EntryScreenTest, TheStoredWeekdayFollowsTheDateHoweverTheDateWasLeft)
{
    open();
    press("add");
    date()->setFocus();
    date()->selectAll();
    QTest::keyClicks(date(), "1000126");
    key(Qt::Key_Tab);   // left without Enter: the box still says 二
    EXPECT_EQ(weekday()->text(), QString::fromUtf8("二"));
    typeCodes(buys(), {"2330"});
    press("save");
    EXPECT_EQ(count("SELECT count(*) FROM 買賣超資料 WHERE 買賣日期 = '1000126' AND 買賣星期 = '三'"), 1);
    EXPECT_EQ(weekday()->text(), QString::fromUtf8("三"));
}

TEST_F(EntryScreenTest, TheQueryListsTheDefaultRangeAndEnterOpensTheDate)
{
    seedDay("0991031", "日", {"1101"}, {});   // before the first day of the default range
    seedDay("0991101", "一", {"2330"}, {"2317"});
    seedDay("1000125", "二", {"2454"}, {});
    open();
    key(Qt::Key_F2);
    const auto box = [this](int i) { return Child<QLineEdit>(screen, QStringLiteral("txt查詢內容_%1").arg(i)); };
    EXPECT_EQ(box(1)->text(), "0991101");
    EXPECT_EQ(box(2)->text(), "1000131");
    auto* grid = Child<QTableView>(screen, QStringLiteral("MSHFlexGrid1"));
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->index(0, 0).data().toString(), "1000125");
    EXPECT_EQ(grid->model()->index(2, 2).data().toString(), QString::fromUtf8("賣超"));
    EXPECT_EQ(statusPanel(2), "3");

    // A six-digit date is padded when its box is left.
    QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("scmd查詢條件")), Qt::LeftButton);
    box(1)->setFocus();
    box(1)->selectAll();
    QTest::keyClicks(box(1), "991101");
    key(Qt::Key_Tab);
    EXPECT_EQ(box(1)->text(), "0991101");
    QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("scmd確定")), Qt::LeftButton);

    grid->setCurrentIndex(grid->model()->index(1, 0));
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(screen->mode(), QString::fromUtf8("修改"));
    EXPECT_EQ(date()->text(), "0991101");
    EXPECT_EQ(buys()->cellText(1, EntrySheet::kCodeColumn), "2330");
    EXPECT_EQ(sells()->cellText(1, EntrySheet::kCodeColumn), "2317");
}

TEST_F(EntryScreenTest, PrintingADateThatHasNoListsSaysSo)
{
    seedDay("1000125", "二", {}, {});
    open();
    key(Qt::Key_F4);
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl列印單筆"))->text(), "1000125");
    EXPECT_EQ(Child<QLineEdit>(screen, QStringLiteral("txt列印範圍_1"))->text(), "zzzzzzz");
    messages.clear();
    QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("ssc預覽列印")), Qt::LeftButton);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("資料庫中沒有符合條件的資料!")});
    EXPECT_EQ(messages.last().icon, MsgIcon::Information);
}

TEST_F(EntryScreenTest, ExitAsksLikeEscape)
{
    open();
    messages.clear();
    press("exit");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("確定離開買賣超輸入作業嗎？")});
    EXPECT_TRUE(screen->isVisible());
    messages.answerNext(MsgAnswer::Yes);
    press("exit");
    EXPECT_FALSE(screen->isVisible());
}

} // namespace

namespace {

// Esc in a cell cancels the cell's edit, once the user agreed to give up
// what was typed there; a second Esc asks to close.
TEST_F(EntryScreenTest, EscapeInACellEditCancelsItAndASecondEscapeAsksToClose)
{
    seedDay(QStringLiteral("1000124"), QStringLiteral("一"), {"1101", "2330"}, {});
    open();
    messages.clear();
    clickCell(buys(), 1, EntrySheet::kCodeColumn);
    TypeText(buys(), QStringLiteral("99"));
    ASSERT_TRUE(buys()->isEditing());
    messages.answerNext(MsgAnswer::Yes);
    key(Qt::Key_Escape);
    EXPECT_FALSE(buys()->isEditing());
    EXPECT_EQ(buys()->cellText(1, EntrySheet::kCodeColumn), "1101");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("資料尚未儲存，確定放棄修改嗎？")});
    EXPECT_TRUE(buys()->hasFocus());
    messages.clear();

    key(Qt::Key_Escape);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("確定離開買賣超輸入作業嗎？")});
    EXPECT_TRUE(screen->isVisible());
}

} // namespace

namespace {

QString NameShown(EntrySheet* sheet, int row)
{
    return sheet->cellText(row, EntrySheet::kNameColumn);
}

TEST_F(EntryScreenTest, NamesStandBesideTheCodesWithUnknownAndRepeatedCodesMarked)
{
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('2330', '台積電'), ('00632R', '元大台灣50反1')"));
    }
    seedDay(QStringLiteral("1000124"), QStringLiteral("一"), {"2330", "99999"}, {"00632r"});
    open();
    EXPECT_EQ(NameShown(buys(), 1), QString::fromUtf8("台積電"));
    EXPECT_EQ(NameShown(buys(), 2), EntrySheet::kUnknownCode);
    EXPECT_EQ(NameShown(sells(), 1), QString::fromUtf8("元大台灣50反1"));

    typeCodes(buys(), {"2330"});
    EXPECT_EQ(NameShown(buys(), 1), QString::fromUtf8("台積電") + EntrySheet::kRepeatedCode);
    EXPECT_EQ(NameShown(buys(), 3), QString::fromUtf8("台積電") + EntrySheet::kRepeatedCode);
    // The same code on the other list is no repeat.
    typeCodes(sells(), {"2330"});
    EXPECT_EQ(NameShown(sells(), 2), QString::fromUtf8("台積電"));

    clickCell(buys(), 3, EntrySheet::kCodeColumn);
    QTest::mouseClick(deleteButton(0), Qt::LeftButton);
    EXPECT_EQ(NameShown(buys(), 1), QString::fromUtf8("台積電"));
    EXPECT_TRUE(NameShown(buys(), 3).isEmpty());

    // Names are not stored, and the name column takes no typing.
    key(Qt::Key_F8);
    EXPECT_EQ(stored("買超明細資料", "1000124"), (QStringList{"1:2330", "2:99999"}));
    clickCell(buys(), 1, EntrySheet::kNameColumn);
    TypeText(buys(), QStringLiteral("7"));
    EXPECT_FALSE(buys()->isEditing());
    EXPECT_EQ(NameShown(buys(), 1), QString::fromUtf8("台積電"));
}

TEST_F(EntryScreenTest, AStockAddedElsewhereIsNamedOnTheNextActivation)
{
    seedDay(QStringLiteral("1000124"), QStringLiteral("一"), {"1101"}, {});
    open();
    EXPECT_EQ(NameShown(buys(), 1), EntrySheet::kUnknownCode);
    {
        db::Connection c(gConnectionString);
        c.execute(QStringLiteral("INSERT INTO 股號資料 (股號, 名稱) VALUES ('1101', '台泥')"));
    }
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QApplication::setActiveWindow(screen);
    EXPECT_TRUE(QTest::qWaitFor([&] { return NameShown(buys(), 1) == QString::fromUtf8("台泥"); }));
}

TEST_F(EntryScreenTest, TheListWithTheKeyboardIsMarked)
{
    open();
    QWidget* buyFrame = Child<QWidget>(screen, QStringLiteral("SSFrame1"));
    QWidget* sellFrame = Child<QWidget>(screen, QStringLiteral("SSFrame3"));
    buys()->setFocus();
    EXPECT_TRUE(buyFrame->property("listFocus").toBool());
    EXPECT_FALSE(sellFrame->property("listFocus").toBool());
    clickCell(sells(), 1, EntrySheet::kCodeColumn);
    EXPECT_FALSE(buyFrame->property("listFocus").toBool());
    EXPECT_TRUE(sellFrame->property("listFocus").toBool());
    EXPECT_NE(buys()->palette().color(QPalette::Highlight), sells()->palette().color(QPalette::Highlight));
}

} // namespace
