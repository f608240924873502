#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/download/DownloadSettings.h"
#include "core/entry/InstitutionalFixtures.h"
#include "core/support/LocalHttpServer.h"
#include "core/support/StoredDays.h"
#include "core/support/TempAppFolder.h"
#include "gui/download/HistoryDownloadDialog.h"
#include "gui/support/ScriptedMessages.h"
#include "gui/support/WidgetTestSupport.h"
#include "core/support/TestPlatform.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QByteArray DayFile(const char* fixture, const QString& from, const QString& to, bool big5)
{
    const QString text = QString::fromUtf8(fixture).replace(from, to);
    return big5 ? ToBig5(text) : text.toUtf8();
}

class HistoryDownloadDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int day : {8, 9}) {
            const QString d = QString::number(day).rightJustified(2, QLatin1Char('0'));
            twse.answer(QStringLiteral("/rwd/zh/fund/T86?date=202612") + d,
                        {200, DayFile(kTwse19, QStringLiteral("12月08日"), QStringLiteral("12月%1日").arg(d), true)});
            tpex.answer(QStringLiteral("/www/zh-tw/insti/dailyTrade?type=Daily&sect=EW&date=2026/12/") + d,
                        {200, DayFile(kTpex, QStringLiteral("115/12/08"), QStringLiteral("115/12/") + d, false)});
        }
        QFile ini(folder.filePath(kIniFileName));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        ini.write("[download]\ntwse=" + twse.base().toString().toUtf8() + "\ntpex=" + tpex.base().toString().toUtf8()
                  + "\ninterval=3\n");
    }
    void TearDown() override { CloseAllWindows(); }

    TempAppFolder folder{QDate(2026, 12, 10)};
    LocalHttpServer twse;
    LocalHttpServer tpex;
    ScriptedMessages messages;
};

// A range cancelled at once is remembered for the next opening, and then
// runs to its end: every missing weekday stored, the range forgotten.
TEST_F(HistoryDownloadDialogTest, ACancelledRangeComesBackAndThenRunsToTheEnd)
{
    {
        HistoryDownloadDialog dialog;
        dialog.show();
        Child<QLineEdit>(&dialog, QStringLiteral("txt起日"))->setText(QStringLiteral("1151208"));
        Child<QLineEdit>(&dialog, QStringLiteral("txt訖日"))->setText(QStringLiteral("1151209"));
        QTimer::singleShot(0, Child<QPushButton>(&dialog, QStringLiteral("cmd取消")), &QPushButton::click);
        messages.answerNext(MsgAnswer::Yes);
        Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->click();
        EXPECT_TRUE(Child<QPlainTextEdit>(&dialog, QStringLiteral("txt紀錄"))->toPlainText().contains(QStringLiteral("已取消")));
        EXPECT_TRUE(Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->isEnabled());
    }
    EXPECT_TRUE(StoredTradingDates().isEmpty());

    HistoryDownloadDialog dialog;
    dialog.show();
    EXPECT_EQ(Child<QLineEdit>(&dialog, QStringLiteral("txt起日"))->text(), "1151208");
    EXPECT_EQ(Child<QLineEdit>(&dialog, QStringLiteral("txt訖日"))->text(), "1151209");
    messages.answerNext(MsgAnswer::Yes);
    Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->click();
    const QString log = Child<QPlainTextEdit>(&dialog, QStringLiteral("txt紀錄"))->toPlainText();
    EXPECT_TRUE(log.endsWith(QStringLiteral("完成。"))) << log.toStdString();
    EXPECT_EQ(StoredTradingDates(), QStringList({"1151208", "1151209"}));
    EXPECT_EQ(Child<QProgressBar>(&dialog, QStringLiteral("prg進度"))->value(), 2);
    EXPECT_EQ(messages.count(), 2) << messages.texts().join('|').toStdString();

    // The last 60 weekdays not stored, not merely the days after the last stored.
    HistoryDownloadDialog again;
    EXPECT_EQ(Child<QLineEdit>(&again, QStringLiteral("txt起日"))->text(), "1150916");
    EXPECT_EQ(Child<QLineEdit>(&again, QStringLiteral("txt訖日"))->text(), "1151210");
}

// Before a request goes out the user hears what the range costs, the
// exchanges' holidays left out, and may say no; a line of the holiday file
// that is no date is said.
TEST_F(HistoryDownloadDialogTest, SaysWhatTheRangeCostsLeavesOutHolidaysAndAsksFirst)
{
    ASSERT_TRUE(QDir(folder.path()).mkpath(QString::fromUtf8("下載")));
    QFile holidays(folder.filePath(QString::fromUtf8("下載/休市日115.txt")));
    ASSERT_TRUE(holidays.open(QIODevice::WriteOnly));
    holidays.write("# 115 年休市日\n1151204 補假\n115/12/03\nDec 5\n");
    holidays.close();

    HistoryDownloadDialog dialog;
    dialog.show();
    EXPECT_EQ(Child<QLineEdit>(&dialog, QStringLiteral("txt起日"))->text(), "1150916");
    Child<QLineEdit>(&dialog, QStringLiteral("txt起日"))->setText(QStringLiteral("1151201"));
    Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->click();
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text,
              QString::fromUtf8("下載 115/12/01～115/12/10 尚無資料的週間日：約 6 天、12 次下載、約 1 分鐘（同一網站每次間隔 3 秒）。\n\n確定開始下載嗎？"));
    EXPECT_EQ(messages.last().icon, MsgIcon::Question);
    EXPECT_TRUE(twse.requests().isEmpty());
    EXPECT_TRUE(tpex.requests().isEmpty());
    EXPECT_TRUE(StoredTradingDates().isEmpty());
    const QString log = Child<QPlainTextEdit>(&dialog, QStringLiteral("txt紀錄"))->toPlainText();
    EXPECT_TRUE(log.contains(QString::fromUtf8("休市日115.txt 第 4 行「Dec 5」不是日期，已略過。"))) << log.toStdString();
    EXPECT_TRUE(Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->isEnabled());
}

} // namespace
