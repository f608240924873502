#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/support/TempAppFolder.h"
#include "gui/stats/ReportOutput.h"
#include "gui/stats/StreakScreen.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class StreakScreenTest : public ::testing::Test {
protected:
    StreakScreenTest() : folder(QDate(2011, 1, 24))
    {
        SetReportOutputHandler([this](const PaginatedReport& r, ReportDestination) {
            reports << r;
            return QString();
        });
        db::Connection c(gConnectionString);
        for (const char* d : {"1000118", "1000119", "1000120"}) {
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '')"), {QString::fromLatin1(d)});
            c.execute(QStringLiteral("INSERT INTO 買超明細資料 VALUES (1, '2330', ?)"), {QString::fromLatin1(d)});
        }
    }
    ~StreakScreenTest() override { SetReportOutputHandler(nullptr); }
    void TearDown() override { CloseAllWindows(); }

    QLineEdit* box(const char* name) { return Child<QLineEdit>(screen, QString::fromUtf8(name)); }
    void preview() { QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("ssc預覽列印")), Qt::LeftButton); }

    TempAppFolder folder;
    ScriptedMessages messages;
    QVector<PaginatedReport> reports;
    QPointer<QWidget> screen;
};

TEST_F(StreakScreenTest, ProposesTheLastTradingDateAndRefusesRunsShorterThanTwo)
{
    screen = new frm連續買超統計表;
    screen->show();
    QApplication::setActiveWindow(screen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box("txt基準日期")->text().isEmpty(); }));
    EXPECT_EQ(box("txt基準日期")->text(), "1000120");
    EXPECT_EQ(box("txt天數")->text(), "3");
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("連續買超統計表"));

    box("txt天數")->setText(QStringLiteral("1"));
    preview();
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("「連續天數」至少為 2 天!")});
    EXPECT_TRUE(reports.isEmpty());

    box("txt天數")->setText(QStringLiteral("3"));
    preview();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports.first().caption(), QString::fromUtf8("連續買超統計表"));

    box("txt天數")->setText(QStringLiteral("4"));
    preview();
    EXPECT_EQ(messages.texts().last(), QString::fromUtf8("查無任何資料!"));
}

} // namespace
