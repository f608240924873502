#include "core/text/RocDate.h"

#include "core/text/Clock.h"

#include <cmath>

namespace {
constexpr int kRocOffset = 1911;

bool AllDigits(const QString& text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}
}

QString RocDateText(const QDate& date)
{
    const int value = (date.year() - kRocOffset) * 10000 + date.month() * 100 + date.day();
    return QStringLiteral("%1").arg(value, 7, 10, QLatin1Char('0'));
}

QDate DateFromRoc(const QString& text)
{
    if ((text.size() != 6 && text.size() != 7) || !AllDigits(text))
        return {};
    const int yearDigits = text.size() - 4;
    const int year = text.left(yearDigits).toInt() + kRocOffset;
    const int month = text.mid(yearDigits, 2).toInt();
    const int day = text.right(2).toInt();
    return QDate(year, month, day);
}

QString TodayRocDate()
{
    return RocDateText(Today());
}

QString RocDateDaysAgo(double days)
{
    // Midnight today minus a fractional number of days lands on the day the
    // rounded-up count names.
    return RocDateText(Today().addDays(-static_cast<qint64>(std::ceil(days))));
}

QString RocDate60DaysAgo()
{
    return RocDateDaysAgo(60);
}

QString MonthEndRocDate()
{
    const QDate today = Today();
    return RocDateText(QDate(today.year(), today.month(), today.daysInMonth()));
}

QString TodayRocDateShort()
{
    const QDate today = Today();
    return QStringLiteral("%1/%2/%3").arg(today.year() - kRocOffset).arg(today.month()).arg(today.day());
}

int CheckRocDate(const QString& text)
{
    if (text.isEmpty())
        return 0;
    return DateFromRoc(text).isValid() ? 0 : 9;
}

QString RocDateDisplay(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || !AllDigits(trimmed))
        return text;
    const qlonglong value = trimmed.toLongLong();
    const qlonglong year = value / 10000;
    const QString monthDay = QStringLiteral("%1/%2")
                                 .arg((value / 100) % 100, 2, 10, QLatin1Char('0'))
                                 .arg(value % 100, 2, 10, QLatin1Char('0'));
    return year > 0 ? QString::number(year) + QLatin1Char('/') + monthDay : QLatin1Char('/') + monthDay;
}

QString WeekdayText(const QDate& date)
{
    static const char16_t* const kNames[] = {u"日", u"一", u"二", u"三", u"四", u"五", u"六"};
    if (!date.isValid())
        return {};
    return QString::fromUtf16(kNames[date.dayOfWeek() % 7]);
}
