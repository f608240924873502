#pragma once

#include <QDate>
#include <QString>

// ROC date texts: 7 digits yyyMMdd, year = Gregorian year - 1911.

QString RocDateText(const QDate& date);
// Invalid when the text is not a 6- or 7-digit real date.
QDate DateFromRoc(const QString& text);

QString TodayRocDate();
QString RocDateDaysAgo(double days);
QString RocDate60DaysAgo();
QString MonthEndRocDate();
QString TodayRocDateShort();

// 0 valid or empty, 9 invalid.
int CheckRocDate(const QString& text);

// The text formatted like the number format "###/##/##": 0971230 -> 97/12/30.
QString RocDateDisplay(const QString& text);

// "日", "一" .. "六" for Sunday .. Saturday.
QString WeekdayText(const QDate& date);
