#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/support/TempAppFolder.h"
#include "gui/stats/AmountRankingScreen.h"
#include "gui/stats/ReportOutput.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

class AmountRankingScreenTest : public ::testing::Test {
protected:
    AmountRankingScreenTest() : folder(QDate(2026, 12, 9))
    {
        SetReportOutputHandler([this](const PaginatedReport& r, ReportDestination) {
            reports << r;
            return QString();
        });
        db::Connection c(gConnectionString);
        for (const char* d : {"1151207", "1151208", "1151209"})
            c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '')"), {QString::fromLatin1(d)});
        c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1151207', '2330', 3000, -1000, 0, 2000)"));
        c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1151208', '2330', 3000, -1000, 0, 2000)"));
        c.execute(QStringLiteral("INSERT INTO 法人買賣超 VALUES ('1151208', '1101', -9000, 0, 0, -9000)"));
    }
    ~AmountRankingScreenTest() override { SetReportOutputHandler(nullptr); }
    void TearDown() override { CloseAllWindows(); }

    QLineEdit* box(const char* name) { return Child<QLineEdit>(screen, QString::fromUtf8(name)); }
    void preview() { QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("ssc預覽列印")), Qt::LeftButton); }
    QStringList texts() const
    {
        QStringList out;
        for (const PlacedText& t : reports.last().pages.first().texts)
            out << t.text;
        return out;
    }

    TempAppFolder folder;
    ScriptedMessages messages;
    QVector<PaginatedReport> reports;
    QPointer<QWidget> screen;
};

TEST_F(AmountRankingScreenTest, ProposesTheLastDateWithAmountsAndRanksByTheChosenBasis)
{
    screen = new frm法人累計買賣超排行;
    screen->show();
    QApplication::setActiveWindow(screen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box("txt基準日期")->text().isEmpty(); }));
    EXPECT_EQ(box("txt基準日期")->text(), "1151208");   // not the last list date
    EXPECT_EQ(box("txt累計天數")->text(), "5");
    EXPECT_EQ(box("txt排行筆數")->text(), "30");

    box("txt累計天數")->setText(QStringLiteral("0"));
    preview();
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("「累計天數」至少為 1!")});
    EXPECT_TRUE(reports.isEmpty());

    box("txt累計天數")->setText(QStringLiteral("5"));
    Child<QComboBox>(screen, QStringLiteral("cbo法人"))->setCurrentIndex(2);   // 投信
    preview();
    ASSERT_EQ(reports.size(), 1);
    EXPECT_EQ(reports.first().caption(), QString::fromUtf8("法人累計買賣超排行"));
    const QStringList shown = texts();
    for (const char* expected : {"投信", "115/12/07～115/12/08（2 個交易日）", "賣超排行（前 1 名）", "-2", "買超 0 檔、賣超 1 檔"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(expected))) << expected << "\n" << shown.join('|').toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("1101")));   // no 投信 net

    box("txt基準日期")->setText(QStringLiteral("1151206"));
    preview();
    EXPECT_EQ(messages.texts().last(), QString::fromUtf8("查無任何資料!"));
}

// 1151209 holds lists typed by hand, no amounts; 1151210 is no trading date.
TEST_F(AmountRankingScreenTest, TheReportSaysWhichDatesLackAmountsAndWhenTheBaseDateWasMoved)
{
    screen = new frm法人累計買賣超排行;
    screen->show();
    QApplication::setActiveWindow(screen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !box("txt基準日期")->text().isEmpty(); }));
    box("txt基準日期")->setText(QStringLiteral("1151210"));
    preview();
    ASSERT_EQ(reports.size(), 1) << messages.texts().join('|').toStdString();
    const QStringList shown = texts();
    for (const char* expected : {"115/12/07～115/12/09（3 個交易日）", "基準日期 115/12/10 非交易日，改以 115/12/09 計算",
                                 "其中 1 日無法人買賣資料", "115/12/10"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(expected))) << expected << "\n" << shown.join('|').toStdString();
}

} // namespace
