#include "core/data/Connection.h"
#include "core/data/Settings.h"
#include "core/download/DayFetch.h"
#include "core/download/DownloadSettings.h"
#include "core/download/HistoryRange.h"
#include "core/support/TempAppFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

void WriteHolidays(const QString& dataFolder, const char* name, const QByteArray& text)
{
    ASSERT_TRUE(QDir().mkpath(DownloadFolder(dataFolder)));
    QFile file(QDir(DownloadFolder(dataFolder)).filePath(QString::fromUtf8(name)));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Every way of writing a date the file allows, a byte order mark, remarks,
// a year per file; what is no date is said with its file and line.
TEST(HistoryRangeTest, HolidayFilesGiveTheirDatesAndSayWhatIsNoDate)
{
    const TempAppFolder folder;
    WriteHolidays(folder.path(), "休市日115.txt",
                  "\xEF\xBB\xBF" "1150101 元旦\r\n\r\n# 春節\r\n115/2/16\r\n2026-02-17\t除夕\r\n2026/02/18\r\n1150230\r\n");
    WriteHolidays(folder.path(), "休市日116.txt", "1160101");
    WriteHolidays(folder.path(), "其他.txt", "1150105\n");
    const MarketHolidays holidays = ReadMarketHolidays(folder.path());
    EXPECT_EQ(holidays.dates, (QSet<QDate>{QDate(2026, 1, 1), QDate(2026, 2, 16), QDate(2026, 2, 17), QDate(2026, 2, 18),
                                          QDate(2027, 1, 1)}));
    EXPECT_EQ(holidays.warnings, QStringList{QString::fromUtf8("休市日115.txt 第 7 行「1150230」不是日期，已略過。")});
    EXPECT_TRUE(ReadMarketHolidays(folder.filePath("none")).dates.isEmpty());
}

TEST(HistoryRangeTest, TheProposedRangeHoldsTheLastWeekdaysNotStoredAndHolidaysAreLeftOut)
{
    const TempAppFolder folder;
    db::Connection c(gConnectionString);
    for (const char* d : {"1151207", "1151208", "1151209"})
        c.execute(QStringLiteral("INSERT INTO 買賣超資料 VALUES (?, '')"), {QString::fromLatin1(d)});
    const QSet<QDate> holidays{QDate(2026, 12, 4)};
    // From Thursday 12/10: 12/10, 12/03, 12/02, then 12/01.
    EXPECT_EQ(ProposedRangeStart(c, QDate(2026, 12, 10), holidays, 4), QDate(2026, 12, 1));
    EXPECT_EQ(ProposedRangeStart(c, QDate(2026, 12, 10), {}, 2), QDate(2026, 12, 4));
    EXPECT_EQ(MissingWeekdays(c, QDate(2026, 12, 1), QDate(2026, 12, 10), holidays),
              (QVector<QDate>{QDate(2026, 12, 1), QDate(2026, 12, 2), QDate(2026, 12, 3), QDate(2026, 12, 10)}));
}

TEST(HistoryRangeTest, TheCostCountsTwoRequestsADayAtTheInterval)
{
    EXPECT_EQ(RangeCostText(4269, 5), QString::fromUtf8("約 4,269 天、8,538 次下載、約 12 小時"));
    EXPECT_EQ(RangeCostText(1, 3), QString::fromUtf8("約 1 天、2 次下載、約 1 分鐘"));
    EXPECT_EQ(RangeCostText(60, 5), QString::fromUtf8("約 60 天、120 次下載、約 10 分鐘"));
}

} // namespace
