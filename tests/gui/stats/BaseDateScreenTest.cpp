#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/stats/ReportParameters.h"
#include "core/support/TempAppFolder.h"
#include "core/support/TestServer.h"
#include "gui/stats/BaseDateScreen.h"
#include "gui/stats/ReportOutput.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {

// Today is Monday 24 January 2011.
class BaseDateScreenTest : public ::testing::Test {
protected:
    BaseDateScreenTest() : folder(QDate(2011, 1, 24))
    {
        SetReportOutputHandler([this](const PaginatedReport& r, ReportDestination) {
            reports << r;
            return QString();
        });
    }
    ~BaseDateScreenTest() override { SetReportOutputHandler(nullptr); }
    void TearDown() override { CloseAllWindows(); }

    template <typename Screen>
    void open()
    {
        screen = new Screen;
        screen->show();
        QApplication::setActiveWindow(screen);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !box("txt基準日期")->text().isEmpty(); }));
    }
    QLineEdit* box(const char* name) { return Child<QLineEdit>(screen, QString::fromUtf8(name)); }
    void set(const QString& base, const QString& from, const QString& to)
    {
        box("txt基準日期")->setText(base);
        box("txt日期_起")->setText(from);
        box("txt日期_末")->setText(to);
    }
    void preview() { QTest::mouseClick(Child<QPushButton>(screen, QStringLiteral("ssc預覽列印")), Qt::LeftButton); }
    void execute(const QString& sql)
    {
        db::Connection c(gConnectionString);
        c.execute(sql);
    }
    QStringList printed(int left)
    {
        QStringList texts;
        for (const ReportPage& page : reports.last().pages)
            for (const PlacedText& t : page.texts)
                if (qRound(t.box.left()) == 1000 + left)
                    texts << t.text;
        return texts;
    }

    TempAppFolder folder;
    ScriptedMessages messages;
    QVector<PaginatedReport> reports;
    QPointer<QWidget> screen;
};

TEST_F(BaseDateScreenTest, ProposesFridayAndTheSixDaysBeforeIt)
{
    open<frm賣超轉買超統計表>();
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("賣超轉買超統計表"));
    EXPECT_EQ(box("txt基準日期")->text(), "1000121");
    EXPECT_EQ(box("txt日期_起")->text(), "1000115");
    EXPECT_EQ(box("txt日期_末")->text(), "1000120");
    EXPECT_TRUE(box("txt基準日期")->hasFocus());
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl基準日期"))->text(), QString::fromUtf8("買超日期:"));
    EXPECT_EQ(screen->findChild<QCheckBox*>(), nullptr);
}

TEST_F(BaseDateScreenTest, ABlankBaseDateIsRefusedBeforeAnythingIsPadded)
{
    open<frm買超轉賣超統計表>();
    set("", "991231", "1001301");
    preview();
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("「賣超日期」不可為空白!")});
    EXPECT_EQ(messages.last().title, QString::fromUtf8("錯誤"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Warning);
    EXPECT_EQ(box("txt日期_起")->text(), "991231");
    EXPECT_TRUE(box("txt基準日期")->hasFocus());
}

TEST_F(BaseDateScreenTest, InvalidDatesNameTheirBox)
{
    open<frm買超轉賣超統計表>();
    set("1000230", "", "");
    preview();
    EXPECT_EQ(messages.last().text, QString::fromUtf8("「賣超日期」輸入錯誤!"));
    set("1000125", "991231", "1001301");
    preview();
    EXPECT_EQ(box("txt日期_起")->text(), "0991231");
    EXPECT_EQ(messages.last().text, QString::fromUtf8("「買超日期」輸入錯誤!"));
    EXPECT_TRUE(box("txt日期_末")->hasFocus());
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(BaseDateScreenTest, SellToBuyPreviewPrintsTheTurnedStocks)
{
    execute("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')");
    execute("INSERT INTO 買超明細資料 VALUES (1, '2330', '1000121')");
    execute("INSERT INTO 賣超明細資料 VALUES (1, '2330', '1000117')");
    execute("INSERT INTO 賣超明細資料 VALUES (2, '2330', '1000118')");
    open<frm賣超轉買超統計表>();
    preview();
    ASSERT_EQ(reports.size(), 1) << messages.texts().join('|').toStdString();
    EXPECT_EQ(reports[0].name, QString::fromUtf8("rpt賣超轉買超統計表"));
    EXPECT_EQ(printed(1559).mid(1), QStringList{"2330"});
    EXPECT_EQ(printed(5740).mid(1), QStringList{"2"});   // 賣超次數 within the range
    EXPECT_EQ(printed(7937).mid(1), QStringList{"1"});   // 買超次數 on the base date
    EXPECT_EQ(printed(2055), (QStringList{"100/01/21", "100/01/15"}));
    EXPECT_EQ(gRptBaseDate, "1000121");
}

TEST_F(BaseDateScreenTest, NothingOnTheBaseDateSaysSo)
{
    open<frm賣超轉買超統計表>();
    preview();
    EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8("查無任何資料!")});
    EXPECT_TRUE(reports.isEmpty());
}

TEST_F(BaseDateScreenTest, AFailedPreparationStopsTheRun)
{
    execute("INSERT INTO 買超明細資料 VALUES (1, '2330', '1000121')");
    execute("INSERT INTO 賣超明細資料 VALUES (1, '2330', '1000117')");
    open<frm賣超轉買超統計表>();
    preview();
    ASSERT_EQ(reports.size(), 1);
    execute(UseTestServer() ? "DROP TABLE 比較日股號_tmp CASCADE" : "DROP TABLE 比較日股號_tmp");
    preview();
    EXPECT_EQ(messages.last().title, QString::fromUtf8("處理資料錯誤"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Critical);
    EXPECT_EQ(reports.size(), 1);   // the previous result is not printed again
}

TEST_F(BaseDateScreenTest, NewDetailsBlanksZeroOtherCountsAndStartsUnticked)
{
    execute("INSERT INTO 股號資料 VALUES ('2330', '台積電', '15', '2', '4')");
    execute("INSERT INTO 賣超明細資料 VALUES (1, '2330', '1000121')");
    execute("INSERT INTO 賣超明細資料 VALUES (2, '1101', '1000121')");
    execute("INSERT INTO 買超明細資料 VALUES (1, '1101', '1000117')");
    open<frm新增賣超明細>();
    auto* skip = Child<QCheckBox>(screen, QStringLiteral("chk僅一次不印"));
    EXPECT_FALSE(skip->isChecked());
    EXPECT_EQ(skip->text(), QString::fromUtf8("只有一次賣超不印"));
    EXPECT_EQ(Child<QLabel>(screen, QStringLiteral("lbl基準日期"))->text(), QString::fromUtf8("賣超日:"));
    preview();
    ASSERT_EQ(reports.size(), 1) << messages.texts().join('|').toStdString();
    EXPECT_EQ(reports[0].name, QString::fromUtf8("rpt新增賣超明細表"));
    EXPECT_EQ(printed(496).mid(3, 2), (QStringList{"1101", "2330"}));
    EXPECT_EQ(printed(5669).mid(1), QStringList{"1"});   // only 1101 was bought in the range
    EXPECT_EQ(printed(4465).mid(1), QStringList());      // nobody was bought on the base date
    skip->setChecked(true);
    preview();
    EXPECT_EQ(messages.last().text, QString::fromUtf8("查無任何資料!"));
    EXPECT_EQ(gRptSkipSingle, 1);
    // The user goes on typing dates at once.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == box("txt基準日期"); }));
}

TEST_F(BaseDateScreenTest, NewBuyUsesItsOwnWords)
{
    open<frm新增買超明細>();
    EXPECT_EQ(screen->windowTitle(), QString::fromUtf8("新增買超明細"));
    set("", "", "");
    preview();
    EXPECT_EQ(messages.last().text, QString::fromUtf8("「買超日」不可為空白!"));
    set("1000121", "1000132", "");
    preview();
    EXPECT_EQ(messages.last().text, QString::fromUtf8("「比較日」輸入錯誤!"));
}

} // namespace
