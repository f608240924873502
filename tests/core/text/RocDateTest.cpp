#include "core/text/Clock.h"
#include "core/text/RocDate.h"

#include <gtest/gtest.h>

namespace {

class FixedToday : public ::testing::Test {
protected:
    void at(int y, int m, int d) { SetFixedNow(QDateTime(QDate(y, m, d), QTime(10, 0))); }
    void TearDown() override { ClearFixedNow(); }
};

TEST(RocDateText, PadsTheYearToThreeDigits)
{
    EXPECT_EQ(RocDateText(QDate(2008, 12, 30)), "0971230");
    EXPECT_EQ(RocDateText(QDate(2011, 1, 25)), "1000125");
    EXPECT_EQ(RocDateText(QDate(1912, 1, 1)), "0010101");
}

TEST(CheckRocDate, AcceptsEmptyAndRealDatesOnly)
{
    EXPECT_EQ(CheckRocDate(""), 0);
    EXPECT_EQ(CheckRocDate("0970229"), 0);   // 2008 is a leap year
    EXPECT_EQ(CheckRocDate("0960229"), 9);   // 2007 is not
    EXPECT_EQ(CheckRocDate("1001301"), 9);   // month 13
    EXPECT_EQ(CheckRocDate("1000100"), 9);   // day 0
    EXPECT_EQ(CheckRocDate("1000431"), 9);   // April has 30 days
    EXPECT_EQ(CheckRocDate("97123"), 9);     // five characters
    EXPECT_EQ(CheckRocDate("971231"), 0);    // six digits
    EXPECT_EQ(CheckRocDate("09712301"), 9);  // eight digits
}

TEST(CheckRocDate, TextThatIsNoNumberIsInvalidNotACrash)
{
    EXPECT_EQ(CheckRocDate("ab12301"), 9);
    EXPECT_EQ(CheckRocDate("097-230"), 9);
    EXPECT_EQ(CheckRocDate(" 971230"), 9);
    EXPECT_EQ(CheckRocDate(QString::fromUtf8("九七一二三〇一")), 9);
    EXPECT_FALSE(DateFromRoc("+971230").isValid());
}

TEST(RocDateDisplay, DropsLeadingYearZerosKeepsInnerOnes)
{
    EXPECT_EQ(RocDateDisplay("0971230"), "97/12/30");
    EXPECT_EQ(RocDateDisplay("1000125"), "100/01/25");
    EXPECT_EQ(RocDateDisplay("0010101"), "1/01/01");
    EXPECT_EQ(RocDateDisplay(""), "");
}

TEST(WeekdayText, SundayIsRiThenOneToSix)
{
    EXPECT_EQ(WeekdayText(QDate(2011, 1, 23)), QString::fromUtf8("日"));
    EXPECT_EQ(WeekdayText(QDate(2011, 1, 24)), QString::fromUtf8("一"));
    EXPECT_EQ(WeekdayText(QDate(2011, 1, 29)), QString::fromUtf8("六"));
}

TEST_F(FixedToday, TodayTextsFollowTheClock)
{
    at(2011, 1, 25);
    EXPECT_EQ(TodayRocDate(), "1000125");
    EXPECT_EQ(TodayRocDateShort(), "100/1/25");
    EXPECT_EQ(RocDateDaysAgo(1), "1000124");
    EXPECT_EQ(RocDateDaysAgo(25), "0991231");
    EXPECT_EQ(RocDate60DaysAgo(), "0991126");
}

TEST_F(FixedToday, FractionalDaysAgoLandOnTheEarlierDay)
{
    at(2011, 1, 25);
    EXPECT_EQ(RocDateDaysAgo(1.5), "1000123");
    EXPECT_EQ(RocDateDaysAgo(0), "1000125");
}

TEST_F(FixedToday, MonthEndKnowsLeapFebruaryAndShortMonths)
{
    for (int day : {1, 15, 28, 29}) {
        at(2012, 2, day);
        EXPECT_EQ(MonthEndRocDate(), "1010229") << day;
    }
    at(2011, 2, 3);
    EXPECT_EQ(MonthEndRocDate(), "1000228");
    for (int day : {1, 30}) {
        at(2011, 4, day);
        EXPECT_EQ(MonthEndRocDate(), "1000430");
    }
    at(2010, 12, 31);
    EXPECT_EQ(MonthEndRocDate(), "0991231");
}

} // namespace
