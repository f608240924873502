#include "EntryScreenFixture.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QSpontaneKeyEvent>

#include <functional>

#include <gtest/gtest.h>

// A code typed over a list row and left without Enter is typed work like any
// other: whatever would move the screen away or close it asks first, and the
// code is then in its cell.
namespace {

const QString kDiscard = QString::fromUtf8("資料尚未儲存，確定放棄修改嗎？");

class EntryOpenEditTest : public EntryScreenTest {
protected:
    void seedTwoDays()
    {
        seedDay("1000124", "一", {"1101", "2330"}, {"2317"});
        seedDay("1000125", "二", {"2454", "2603", "3008"}, {"1216", "2002"});
    }
    void openOnTwoDays(bool seed = true)
    {
        if (seed)
            seedTwoDays();
        open();
        ASSERT_EQ(date()->text(), "1000125");
        messages.clear();
    }
    // Types over the code of `row` and leaves the cell editor open.
    void typeOver(EntrySheet* sheet, int row, const QString& text)
    {
        clickCell(sheet, row, EntrySheet::kCodeColumn);
        TypeText(sheet, text);
        ASSERT_TRUE(sheet->isEditing());
    }
    // The close the window system sends when the user presses the close box.
    bool closeBox()
    {
        QCloseEvent event;
        QSpontaneKeyEvent::setSpontaneous(&event);
        qApp->notify(screen, &event);
        return event.isAccepted();
    }
};

struct WayAway {
    const char* name;
    std::function<void()> take;
};

TEST_F(EntryOpenEditTest, AnOpenCellEditIsAskedAboutByEveryWayAwayAndThenStandsInItsCell)
{
    const auto keys = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [k, m] { QTest::keyClick(QApplication::focusWidget(), k, m); };
    };
    const auto tool = [this](const char* name) {
        return [this, name] { screen->keyAction(QString::fromLatin1(name))->trigger(); };
    };
    const WayAway ways[] = {
        {"PgUp", keys(Qt::Key_PageUp)},
        {"PgDn", keys(Qt::Key_PageDown)},
        {"Ctrl+Home", keys(Qt::Key_Home, Qt::ControlModifier)},
        {"Ctrl+End", keys(Qt::Key_End, Qt::ControlModifier)},
        {"F1", keys(Qt::Key_F1)},
        {"first", tool("first")},
        {"last", tool("last")},
        {"previous", tool("previous")},
        {"edit", tool("edit")},
        {"add", tool("add")},
        {"exit", tool("exit")},
        {"close box", [this] { EXPECT_FALSE(closeBox()); }},
    };
    seedTwoDays();
    for (const WayAway& way : ways) {
        SCOPED_TRACE(way.name);
        openOnTwoDays(false);
        typeOver(buys(), 1, QStringLiteral("2317"));
        way.take();
        EXPECT_EQ(messages.texts(), QStringList{kDiscard});
        ASSERT_TRUE(screen);
        EXPECT_TRUE(screen->isVisible());
        EXPECT_EQ(screen->mode(), QString::fromUtf8("修改"));
        EXPECT_EQ(date()->text(), "1000125");
        EXPECT_FALSE(buys()->isEditing());
        EXPECT_EQ(buys()->cellText(1, EntrySheet::kCodeColumn), "2317");
        EXPECT_EQ(buys()->cellText(2, EntrySheet::kCodeColumn), "2603");
        CloseAllWindows();
    }
}

// 是 gives the typed code up: the screen moves, and nothing of it was stored.
TEST_F(EntryOpenEditTest, YesGivesTheTypedCodeUpAndStoresNothing)
{
    openOnTwoDays();
    typeOver(sells(), 3, QStringLiteral("9999"));
    messages.answerNext(MsgAnswer::Yes);
    key(Qt::Key_PageUp);
    EXPECT_EQ(messages.texts(), QStringList{kDiscard});
    EXPECT_EQ(date()->text(), "1000124");
    EXPECT_EQ(count("SELECT count(*) FROM 賣超明細資料 WHERE 股號 = '9999'"), 0);
    messages.clear();
    key(Qt::Key_PageDown);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(sells()->usedRowCount(), 2);
}

// An editor opened on a cell and left as it was holds nothing typed.
TEST_F(EntryOpenEditTest, AnEditorLeftAsItWasAsksNothing)
{
    openOnTwoDays();
    const QRect cell = buys()->visualRect(buys()->model()->index(0, EntrySheet::kCodeColumn));
    QTest::mouseClick(buys()->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(buys()->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_TRUE(buys()->isEditing());
    key(Qt::Key_PageUp);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(date()->text(), "1000124");
}

// Save takes the code still in its editor, by F8 and by the toolbar key.
TEST_F(EntryOpenEditTest, SaveTakesTheCodeStillInItsEditor)
{
    openOnTwoDays();
    typeOver(buys(), 4, QStringLiteral("1301"));
    messages.answerNext(MsgAnswer::Yes);
    key(Qt::Key_F8);
    EXPECT_EQ(stored("買超明細資料", "1000125"), (QStringList{"1:2454", "2:2603", "3:3008", "4:1301"}));
    typeOver(sells(), 1, QStringLiteral("1326"));
    messages.answerNext(MsgAnswer::Yes);
    press("save");
    EXPECT_EQ(stored("賣超明細資料", "1000125"), (QStringList{"1:1326", "2:2002"}));
    EXPECT_FALSE(screen->hasUnsavedWork());
}

// A sequence number the sheet refuses stops the save: the user sees why and
// types it again, instead of a save that quietly leaves it out.
TEST_F(EntryOpenEditTest, ARefusedSequenceStopsTheSaveAndTheMove)
{
    openOnTwoDays();
    clickCell(buys(), 3, EntrySheet::kSequenceColumn);
    TypeText(buys(), QStringLiteral("1"));
    ASSERT_TRUE(buys()->isEditing());
    key(Qt::Key_F8);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("序號重複, 請重新輸入!")});
    messages.clear();
    clickCell(buys(), 3, EntrySheet::kSequenceColumn);
    TypeText(buys(), QStringLiteral("2"));
    key(Qt::Key_PageUp);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("序號重複, 請重新輸入!")});
    EXPECT_EQ(date()->text(), "1000125");
}

// Esc in a cell still cancels the cell's edit, but not what was typed there
// without a word: 否 keeps the editor and its text, 是 restores the cell.
TEST_F(EntryOpenEditTest, EscapeAsksBeforeCancellingATypedCell)
{
    openOnTwoDays();
    typeOver(buys(), 2, QStringLiteral("88"));
    key(Qt::Key_Escape);
    EXPECT_EQ(messages.texts(), QStringList{kDiscard});
    ASSERT_TRUE(buys()->isEditing());
    EXPECT_EQ(qobject_cast<QLineEdit*>(QApplication::focusWidget())->text(), "88");
    EXPECT_TRUE(screen->isVisible());

    messages.clear();
    messages.answerNext(MsgAnswer::Yes);
    key(Qt::Key_Escape);
    EXPECT_EQ(messages.texts(), QStringList{kDiscard});
    EXPECT_FALSE(buys()->isEditing());
    EXPECT_EQ(buys()->cellText(2, EntrySheet::kCodeColumn), "2603");
    EXPECT_TRUE(screen->isVisible());
    EXPECT_FALSE(screen->hasUnsavedWork());
}

// The real question box takes the focus from the cell editor; the editor
// must neither commit nor close behind it.
TEST_F(EntryOpenEditTest, TheRealQuestionLeavesTheEditorAsItWas)
{
    openOnTwoDays();
    typeOver(buys(), 2, QStringLiteral("77"));
    SetMessageHandler(nullptr);
    QString asked;
    WhenModalOpens([&asked](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        asked = box->text();
        QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
    });
    key(Qt::Key_Escape);
    EXPECT_EQ(asked, kDiscard);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_TRUE(buys()->isEditing());
    EXPECT_EQ(buys()->cellText(2, EntrySheet::kCodeColumn), "2603");
    EXPECT_FALSE(screen->hasUnsavedWork());

    WhenModalOpens([](QWidget* modal) {
        QTest::mouseClick(qobject_cast<QMessageBox*>(modal)->button(QMessageBox::No), Qt::LeftButton);
    });
    press("next");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_EQ(date()->text(), "1000125");
    EXPECT_EQ(buys()->cellText(2, EntrySheet::kCodeColumn), "77");
}

} // namespace
