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

#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStringEncoder>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QByteArray DayFile(const char* fixture, const QString& from, const QString& to, bool big5)
{
    const QString text = QString::fromUtf8(fixture).replace(from, to);
    return big5 ? QStringEncoder("Big5")(text) : text.toUtf8();
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
        Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->click();
        EXPECT_TRUE(Child<QPlainTextEdit>(&dialog, QStringLiteral("txt紀錄"))->toPlainText().contains(QStringLiteral("已取消")));
        EXPECT_TRUE(Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->isEnabled());
    }
    EXPECT_TRUE(StoredTradingDates().isEmpty());

    HistoryDownloadDialog dialog;
    dialog.show();
    EXPECT_EQ(Child<QLineEdit>(&dialog, QStringLiteral("txt起日"))->text(), "1151208");
    EXPECT_EQ(Child<QLineEdit>(&dialog, QStringLiteral("txt訖日"))->text(), "1151209");
    Child<QPushButton>(&dialog, QStringLiteral("cmd開始"))->click();
    const QString log = Child<QPlainTextEdit>(&dialog, QStringLiteral("txt紀錄"))->toPlainText();
    EXPECT_TRUE(log.endsWith(QStringLiteral("完成。"))) << log.toStdString();
    EXPECT_EQ(StoredTradingDates(), QStringList({"1151208", "1151209"}));
    EXPECT_EQ(Child<QProgressBar>(&dialog, QStringLiteral("prg進度"))->value(), 2);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();

    HistoryDownloadDialog again;
    EXPECT_EQ(Child<QLineEdit>(&again, QStringLiteral("txt起日"))->text(), "1151210");   // the day after the last stored
}

} // namespace
