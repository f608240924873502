#include "gui/uikit/InputBehaviour.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(InstallKeyFilter, TypedCharactersOutsideTheKindAreDropped)
{
    QLineEdit box;
    InstallKeyFilter(&box, 7);
    QTest::keyClicks(&box, "1a-2.+5");
    EXPECT_EQ(box.text(), "1-2.5");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), "1-2.");
}

TEST(InstallKeyFilter, KindTwoTypesUpperCase)
{
    QLineEdit box;
    InstallKeyFilter(&box, 2);
    QTest::keyClicks(&box, "ab1C");
    EXPECT_EQ(box.text(), "ABC");
}

TEST(InstallKeyFilter, PastedTextIsFilteredToo)
{
    QLineEdit box;
    InstallKeyFilter(&box, 1);
    QApplication::clipboard()->setText(QStringLiteral("10a01-25"));
    box.paste();
    EXPECT_EQ(box.text(), "100125");
}

TEST(InstallUpperCase, LettersBecomeUpperOthersStay)
{
    QLineEdit box;
    InstallUpperCase(&box);
    QTest::keyClicks(&box, "2330a-x");
    EXPECT_EQ(box.text(), "2330A-X");
}

TEST(ScreenConventions, EnterMovesToTheNextFieldUnlessTheFieldHandlesIt)
{
    QWidget screen;
    auto* first = new QLineEdit(&screen);
    auto* second = new QLineEdit(&screen);
    auto* third = new QLineEdit(&screen);
    second->setProperty("handlesEnter", true);
    auto* layout = new QVBoxLayout(&screen);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(third);
    InstallScreenConventions(&screen);
    screen.show();
    QApplication::setActiveWindow(&screen);
    first->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return first->hasFocus(); }));

    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_TRUE(second->hasFocus());
}

TEST(ScreenConventions, PastedControlCharactersAreDropped)
{
    QWidget screen;
    auto* name = new QLineEdit(&screen);
    InstallScreenConventions(&screen);
    QApplication::clipboard()->setText(QStringLiteral("台\t積\n電\x01"));
    name->paste();
    EXPECT_EQ(name->text(), QString::fromUtf8("台積電"));
}

TEST(ScreenConventions, GainingTheFocusSelectsTheWholeText)
{
    QWidget screen;
    auto* first = new QLineEdit(&screen);
    auto* second = new QLineEdit(QStringLiteral("1000125"), &screen);
    auto* layout = new QVBoxLayout(&screen);
    layout->addWidget(first);
    layout->addWidget(second);
    InstallScreenConventions(&screen);
    screen.show();
    QApplication::setActiveWindow(&screen);
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    EXPECT_TRUE(QTest::qWaitFor([&] { return second->selectedText() == QLatin1String("1000125"); }));
}

} // namespace
