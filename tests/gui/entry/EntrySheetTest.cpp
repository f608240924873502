#include "core/entry/SequenceRules.h"
#include "gui/entry/EntrySheet.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

TEST(NextSequenceNumber, OneMoreThanTheLargestWithHalvesToEven)
{
    EXPECT_EQ(NextSequenceNumber({}), 1);
    EXPECT_EQ(NextSequenceNumber({"1", "2", "4.5"}), 6);
    EXPECT_EQ(NextSequenceNumber({"1", "1.5"}), 2);
    EXPECT_EQ(NextSequenceNumber({"3", "", "abc"}), 4);
    EXPECT_EQ(NextSequenceNumber({"0.4"}), 1);
    EXPECT_DOUBLE_EQ(SequenceValue("2.5x"), 2.5);
    EXPECT_DOUBLE_EQ(SequenceValue(""), 0.0);
}

class EntrySheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&window);
        sheet = new EntrySheet(&window);
        button = new QPushButton(QStringLiteral("明細刪除"), &window);
        layout->addWidget(sheet);
        layout->addWidget(button);
        sheet->attachDeleteButton(button);
        QObject::connect(sheet, &EntrySheet::usedRowCountChanged, [this](int n) { shownCount = n; });
        window.resize(400, 600);
        window.show();
        QApplication::setActiveWindow(&window);
        sheet->setFocus();
    }

    void at(int row, int column) { sheet->setCurrentCell(row - 1, column); }
    // Types into the active cell and presses Enter, as a user does.
    void typeEnter(const QString& text)
    {
        TypeText(focusTarget(), text);
        QTest::keyClick(focusTarget(), Qt::Key_Return);
    }
    // A press, then the double click, as the mouse delivers them.
    void doubleClick(QPoint at)
    {
        QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(sheet->viewport(), Qt::LeftButton, {}, at);
    }
    QWidget* focusTarget() { return QApplication::focusWidget() ? QApplication::focusWidget() : sheet; }
    QString seq(int row) { return sheet->cellText(row, EntrySheet::kSequenceColumn); }
    QString code(int row) { return sheet->cellText(row, EntrySheet::kCodeColumn); }

    ScriptedMessages messages;
    QWidget window;
    EntrySheet* sheet = nullptr;
    QPushButton* button = nullptr;
    int shownCount = -1;
};

TEST_F(EntrySheetTest, CodesTypedWithEnterFillRowsAndNumberThem)
{
    at(1, EntrySheet::kCodeColumn);
    typeEnter("2330");
    typeEnter("2317");
    EXPECT_EQ(messages.count(), 0) << messages.texts().join('|').toStdString();
    EXPECT_EQ(code(1), "2330");
    EXPECT_EQ(code(2), "2317");
    EXPECT_EQ(sheet->activeRow(), 3);
    EXPECT_EQ(sheet->currentColumn(), EntrySheet::kCodeColumn);
    EXPECT_EQ(sheet->usedRowCount(), 2);
    EXPECT_EQ(shownCount, 2);
    EXPECT_EQ(seq(1), "1");
    EXPECT_EQ(seq(2), "2");
    EXPECT_FALSE(sheet->isEditing());
}

TEST_F(EntrySheetTest, ARowCannotBeTypedBeforeTheRowAbove)
{
    at(3, EntrySheet::kCodeColumn);
    QTest::keyClick(sheet, Qt::Key_5);
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("前一列資料尚未輸入!")});
    EXPECT_EQ(messages.last().title, QString::fromUtf8("警告"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Warning);
    EXPECT_TRUE(code(3).isEmpty());
    EXPECT_FALSE(sheet->isEditing());
    QTest::keyClick(sheet, Qt::Key_Up);
    EXPECT_EQ(sheet->activeRow(), 3);
    EXPECT_EQ(messages.count(), 1);
}

TEST_F(EntrySheetTest, EachColumnTakesOnlyItsCharacters)
{
    at(1, EntrySheet::kCodeColumn);
    typeEnter("2881a.-");
    EXPECT_EQ(code(1), "2881A");
    typeEnter("00632r");
    EXPECT_EQ(code(2), "00632R");
    at(3, EntrySheet::kSequenceColumn);
    typeEnter("2x.5-");
    EXPECT_EQ(seq(3), "2.5");
}

// Pasted text obeys the rules typed text does.
TEST_F(EntrySheetTest, PastedTextIsFilteredLikeTypedText)
{
    const auto paste = [this](int row, int column, const QString& text) {
        const QRect cell = sheet->visualRect(sheet->model()->index(row - 1, column));
        doubleClick(cell.center());
        ASSERT_TRUE(sheet->isEditing());
        QLineEdit* editor = nullptr;
        for (QLineEdit* open : sheet->viewport()->findChildren<QLineEdit*>())
            editor = open->isVisible() ? open : editor;
        ASSERT_NE(editor, nullptr);
        QApplication::clipboard()->setText(text);
        editor->selectAll();
        QTest::keySequence(editor, QKeySequence::Paste);
        QTest::keyClick(editor, Qt::Key_Return);
    };
    at(1, EntrySheet::kCodeColumn);
    typeEnter("1101");
    paste(1, EntrySheet::kCodeColumn, QStringLiteral("A'%_\\x\x01"));
    EXPECT_EQ(code(1), "AX");
    paste(1, EntrySheet::kCodeColumn, QStringLiteral("23\t30\n11 \U0001F600"));
    EXPECT_EQ(code(1), "233011");
    paste(1, EntrySheet::kSequenceColumn, QStringLiteral("1e5"));
    EXPECT_EQ(seq(1), "15");
    paste(1, EntrySheet::kSequenceColumn, QStringLiteral("-7"));
    EXPECT_EQ(seq(1), "7");
}

TEST_F(EntrySheetTest, TooLongTextsAreCutToTheirByteLimits)
{
    at(1, EntrySheet::kSequenceColumn);
    typeEnter("123456");
    EXPECT_EQ(seq(1), "12345");
    EXPECT_EQ(messages.last().text, QString::fromUtf8("最多只可輸入5個字元!"));
    EXPECT_EQ(messages.last().title, QString::fromUtf8("訊息"));
    at(1, EntrySheet::kCodeColumn);
    typeEnter("12345678901");
    EXPECT_EQ(code(1), "1234567890");
    EXPECT_EQ(messages.last().text, QString::fromUtf8("最多只可輸入10個字!"));
    EXPECT_EQ(sheet->activeRow(), 1);   // the cursor stays
}

TEST_F(EntrySheetTest, ARepeatedSequenceIsRefusedAFractionalOneAccepted)
{
    at(1, EntrySheet::kCodeColumn);
    typeEnter("1101");
    typeEnter("1102");
    typeEnter("1103");
    ASSERT_EQ(seq(3), "3");
    at(3, EntrySheet::kSequenceColumn);
    typeEnter("2");
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("序號重複, 請重新輸入!")});
    EXPECT_EQ(seq(3), "3");
    typeEnter("3");   // its own unchanged number counts as a repeat
    EXPECT_EQ(messages.count(), 2);
    // The cursor stayed in the sequence cell: the retry lands there, not on the code.
    typeEnter("2.5");
    EXPECT_EQ(seq(3), "2.5");
    EXPECT_EQ(code(3), "1103");
    EXPECT_EQ(messages.count(), 2);
}

TEST_F(EntrySheetTest, SequenceThenCodeCountsTheNextRowToo)
{
    at(1, EntrySheet::kSequenceColumn);
    typeEnter("1");
    EXPECT_EQ(sheet->currentColumn(), EntrySheet::kCodeColumn);
    typeEnter("2330");
    EXPECT_EQ(sheet->usedRowCount(), 2);
    EXPECT_EQ(seq(2), "2");
    EXPECT_TRUE(code(2).isEmpty());
}

TEST_F(EntrySheetTest, DeleteKeyIsDroppedInTheSequenceColumnOnly)
{
    at(1, EntrySheet::kCodeColumn);
    typeEnter("2330");
    at(1, EntrySheet::kSequenceColumn);
    QTest::keyClick(sheet, Qt::Key_Delete);
    EXPECT_EQ(seq(1), "1");
    at(1, EntrySheet::kCodeColumn);
    QTest::keyClick(sheet, Qt::Key_Delete);
    EXPECT_TRUE(code(1).isEmpty());
}

TEST_F(EntrySheetTest, RowDeleteMovesTheRowsUpWithoutRenumbering)
{
    at(1, EntrySheet::kCodeColumn);
    typeEnter("1101");
    typeEnter("1102");
    typeEnter("1103");
    at(2, EntrySheet::kCodeColumn);
    ASSERT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(code(2), "1103");
    EXPECT_EQ(seq(2), "3");
    EXPECT_TRUE(code(3).isEmpty());
    EXPECT_EQ(sheet->usedRowCount(), 2);
    EXPECT_EQ(shownCount, 2);
    EXPECT_TRUE(sheet->hasFocus());
}

TEST_F(EntrySheetTest, DeleteButtonFollowsTheCursor)
{
    at(1, EntrySheet::kCodeColumn);
    typeEnter("1101");
    typeEnter("1102");
    // Cursor on row 3, below the two used rows.
    EXPECT_FALSE(button->isEnabled());
    QTest::keyClick(sheet, Qt::Key_Up);
    EXPECT_TRUE(button->isEnabled());
    QTest::keyClick(sheet, Qt::Key_Down);
    EXPECT_FALSE(button->isEnabled());
    QTest::keyClick(sheet, Qt::Key_Up);
    at(6, EntrySheet::kCodeColumn);   // far below the list: nothing there to delete
    EXPECT_FALSE(button->isEnabled());
    sheet->ClearSheet();
    EXPECT_FALSE(button->isEnabled());
}

// A delete below the list never lowers the count under the rows typed.
TEST_F(EntrySheetTest, DeleteActsOnlyOnARowThatHoldsSomething)
{
    at(1, EntrySheet::kCodeColumn);
    typeEnter("1101");
    typeEnter("1102");
    at(7, EntrySheet::kCodeColumn);
    button->click();
    EXPECT_EQ(sheet->usedRowCount(), 2);
    EXPECT_EQ(code(2), "1102");
    sheet->setUsedRowCount(-1);
    EXPECT_EQ(sheet->usedRowCount(), 2);
    // A double click below an empty row opens no cell either.
    const QRect cell = sheet->visualRect(sheet->model()->index(5, EntrySheet::kCodeColumn));
    doubleClick(cell.center());
    EXPECT_FALSE(sheet->isEditing());
    doubleClick(sheet->visualRect(sheet->model()->index(2, EntrySheet::kCodeColumn)).center());
    EXPECT_TRUE(sheet->isEditing());
}

TEST_F(EntrySheetTest, EndEditCommitsTheOpenCellThroughTheRules)
{
    at(1, EntrySheet::kCodeColumn);
    TypeText(sheet, "2454");
    ASSERT_TRUE(sheet->isEditing());
    sheet->endEdit();
    EXPECT_EQ(code(1), "2454");
    EXPECT_EQ(sheet->usedRowCount(), 1);
    EXPECT_EQ(seq(1), "1");
}

TEST_F(EntrySheetTest, RowsInAndOutAndClear)
{
    sheet->freeze(true);
    sheet->RowsToSheet({{1.0, QStringLiteral("2330")}, {2.5, QStringLiteral("2317")}, {3.0, QVariant()}});
    sheet->freeze(false);
    EXPECT_EQ(seq(2), "2.5");
    EXPECT_EQ(sheet->lastUsedRow(), 3);
    const QVector<QStringList> rows = sheet->SheetToRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[1], (QStringList{"2.5", "2317"}));
    EXPECT_EQ(rows[2], (QStringList{"3", ""}));
    sheet->ClearSheet();
    EXPECT_EQ(sheet->lastUsedRow(), 0);
    EXPECT_TRUE(sheet->SheetToRows().isEmpty());
    EXPECT_EQ(sheet->activeRow(), 1);
}

} // namespace
