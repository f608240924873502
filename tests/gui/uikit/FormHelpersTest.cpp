#include "gui/uikit/FormHelpers.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

struct Screen {
    QWidget window;
    QLineEdit* plain = new QLineEdit(QStringLiteral("2330"), &window);
    QLineEdit* marked = new QLineEdit(QStringLiteral("keep"), &window);
    QComboBox* combo = new QComboBox(&window);
    QComboBox* markedCombo = new QComboBox(&window);
    QComboBox* editableCombo = new QComboBox(&window);
    QTableWidget* grid = new QTableWidget(2, 2, &window);

    Screen()
    {
        SetTag(marked, "-1");
        SetTag(markedCombo, "-1");
        combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
        markedCombo->addItems({QStringLiteral("x")});
        editableCombo->setEditable(true);
        editableCombo->addItems({QStringLiteral("p"), QStringLiteral("q")});
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{plain, marked, combo, markedCombo, editableCombo, grid})
            layout->addWidget(w);
    }
};

TEST(ClearControls, EmptiesUnmarkedBoxesAndRemovesComboItems)
{
    Screen s;
    ClearControls(&s.window);
    EXPECT_TRUE(s.plain->text().isEmpty());
    EXPECT_EQ(s.marked->text(), "keep");
    EXPECT_EQ(s.combo->count(), 0);
    EXPECT_EQ(s.markedCombo->count(), 1);
    EXPECT_EQ(s.editableCombo->count(), 0);
    EXPECT_TRUE(s.editableCombo->currentText().isEmpty());
}

TEST(LockControls, LocksEveryBoxMarkedOrNotAndUnlockSparesMarked)
{
    Screen s;
    LockControls(&s.window);
    EXPECT_TRUE(s.plain->isReadOnly());
    EXPECT_TRUE(s.marked->isReadOnly());
    EXPECT_FALSE(s.combo->isEnabled());
    EXPECT_FALSE(s.markedCombo->isEnabled());

    UnlockControls(&s.window);
    EXPECT_FALSE(s.plain->isReadOnly());
    EXPECT_TRUE(s.marked->isReadOnly());
    EXPECT_TRUE(s.combo->isEnabled());
    EXPECT_FALSE(s.markedCombo->isEnabled());
}

TEST(LockKeyField, ReadOnlyOutOfTabOrderAndLightYellow)
{
    Screen s;
    const QColor normal = s.plain->palette().color(QPalette::Base);
    LockKeyField(s.plain);
    EXPECT_TRUE(s.plain->isReadOnly());
    EXPECT_FALSE(s.plain->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(s.plain->palette().color(QPalette::Base), QColor(255, 255, 192));

    UnlockKeyField(s.plain);
    EXPECT_FALSE(s.plain->isReadOnly());
    EXPECT_TRUE(s.plain->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(s.plain->palette().color(QPalette::Base), normal);
}

TEST(LockField, LooksLockedAndLeavesTheTabOrder)
{
    Screen s;
    const QColor normal = s.plain->palette().color(QPalette::Base);
    LockField(s.plain);
    EXPECT_TRUE(s.plain->isReadOnly());
    EXPECT_FALSE(s.plain->focusPolicy() & Qt::TabFocus);
    EXPECT_NE(s.plain->palette().color(QPalette::Base), normal);
    UnlockField(s.plain);
    EXPECT_FALSE(s.plain->isReadOnly());
    EXPECT_TRUE(s.plain->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(s.plain->palette().color(QPalette::Base), normal);
}

TEST(PadDateField, PadsOnlyATextOneShortOfTheWidth)
{
    QLineEdit box;
    box.setText(QStringLiteral("971230"));
    PadDateField(&box, 0);
    EXPECT_EQ(box.text(), "0971230");
    PadDateField(&box, 0);
    EXPECT_EQ(box.text(), "0971230");
    box.setText(QStringLiteral("97123"));
    PadDateField(&box, 7);
    EXPECT_EQ(box.text(), "97123");
    box.setText(QStringLiteral("9712"));
    PadDateField(&box, 5);
    EXPECT_EQ(box.text(), "09712");
}

TEST(SelectAllText, SelectsEverythingWithTheCaretAtTheStart)
{
    QLineEdit box(QStringLiteral("1000125"));
    SelectAllText(&box);
    EXPECT_EQ(box.selectedText(), "1000125");
    EXPECT_EQ(box.cursorPosition(), 0);
}

TEST(CenterForm, SitsAlittleAboveTheMiddle)
{
    QWidget window;
    window.resize(400, 300);
    CenterForm(&window);
    const QRect screen = window.screen()->geometry();
    const QRect frame = window.frameGeometry();
    EXPECT_NEAR(frame.center().x(), screen.center().x(), 2);
    EXPECT_NEAR(frame.center().y(), screen.center().y() - 14, 2);
}

TEST(CenterForm, AWindowThatGrowsAfterwardsIsCentredWhenShown)
{
    QWidget window;
    window.resize(400, 300);
    CenterForm(&window);
    window.resize(900, 500);
    window.show();
    const QRect screen = window.screen()->geometry();
    EXPECT_NEAR(window.frameGeometry().center().x(), screen.center().x(), 2);
    EXPECT_NEAR(window.frameGeometry().center().y(), screen.center().y() - 14, 2);
}

} // namespace
