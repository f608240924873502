#include "core/data/Settings.h"
#include "core/support/TempAppFolder.h"
#include "gui/stats/AmountRankingScreen.h"
#include "gui/stats/BaseDateScreen.h"
#include "gui/stats/CountStatsScreen.h"
#include "gui/stats/StreakScreen.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QPushButton>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {

// Tab through every statistics screen from its first box: the buttons come
// in the order they stand on the screen, left to right.
TEST(StatScreenTabOrder, TheButtonsAreReachedLeftToRight)
{
    const TempAppFolder folder;
    ScriptedMessages messages;
    gStatKind = QString::fromUtf8("買超統計表");
    const std::function<StatScreenFrame*()> screens[] = {
        [] { return new frm買賣超統計表; },       [] { return new frm賣超轉買超統計表; },
        [] { return new frm新增買超明細; },       [] { return new frm連續買超統計表; },
        [] { return new frm法人累計買賣超排行; }};
    for (const auto& make : screens) {
        std::unique_ptr<StatScreenFrame> screen(make());
        screen->setAttribute(Qt::WA_DeleteOnClose, false);
        screen->show();
        QApplication::setActiveWindow(screen.get());
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }));
        QVector<QPushButton*> reached;
        for (int i = 0; i < 12 && reached.size() < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget()); button && !reached.contains(button))
                reached << button;
        }
        ASSERT_EQ(reached.size(), 3) << screen->windowTitle().toStdString();
        for (int i = 1; i < reached.size(); ++i)
            EXPECT_LT(reached.at(i - 1)->mapTo(screen.get(), QPoint()).x(), reached.at(i)->mapTo(screen.get(), QPoint()).x())
                << screen->windowTitle().toStdString() << ": " << reached.at(i - 1)->text().toStdString() << " before "
                << reached.at(i)->text().toStdString();
        screen->close();
    }
}

} // namespace
