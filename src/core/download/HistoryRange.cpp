#include "core/download/HistoryRange.h"

#include "core/data/Connection.h"
#include "core/download/DownloadSettings.h"
#include "core/text/RocDate.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace {

// Each exchange's file of a day is one request.
constexpr int kRequestsPerDay = 2;

QDate HolidayDate(const QString& word)
{
    static const QRegularExpression roc(QStringLiteral("^(\\d{2,3})/(\\d{1,2})/(\\d{1,2})$"));
    static const QRegularExpression western(QStringLiteral("^(\\d{4})[-/](\\d{1,2})[-/](\\d{1,2})$"));
    if (const QRegularExpressionMatch m = western.match(word); m.hasMatch())
        return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (const QRegularExpressionMatch m = roc.match(word); m.hasMatch())
        return QDate(m.captured(1).toInt() + 1911, m.captured(2).toInt(), m.captured(3).toInt());
    if (word.size() == 7 && std::all_of(word.begin(), word.end(), [](QChar c) { return c.isDigit(); }))
        return DateFromRoc(word);
    return {};
}

QString Grouped(qint64 number)
{
    return QLocale(QLocale::Chinese, QLocale::Taiwan).toString(number);
}

} // namespace

MarketHolidays ReadMarketHolidays(const QString& dataFolder)
{
    MarketHolidays holidays;
    const QDir folder(DownloadFolder(dataFolder));
    const QStringList names =
        folder.entryList({QStringLiteral("休市日*.txt")}, QDir::Files | QDir::Readable, QDir::Name);
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            holidays.warnings << QStringLiteral("無法讀取 %1：%2").arg(name, file.errorString());
            continue;
        }
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            QString line = lines.at(i).trimmed();
            if (i == 0 && line.startsWith(QChar(0xFEFF)))
                line = line.mid(1).trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
                continue;
            const QString word = line.section(QRegularExpression(QStringLiteral("\\s+")), 0, 0);
            const QDate date = HolidayDate(word);
            if (date.isValid())
                holidays.dates.insert(date);
            else
                holidays.warnings << QStringLiteral("%1 第 %2 行「%3」不是日期，已略過。").arg(name).arg(i + 1).arg(line.left(40));
        }
    }
    return holidays;
}

QDate ProposedRangeStart(db::Connection& connection, const QDate& to, const QSet<QDate>& holidays, int count)
{
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT 買賣日期 FROM 買賣超資料 WHERE 買賣日期 <= ?"), {RocDateText(to)});
    QSet<QString> stored;
    for (int r = 0; r < rows.rowCount(); ++r)
        stored.insert(rows.text(r, 0).trimmed());
    if (count < 1)
        return to;
    // Before the first stored day every weekday counts: the walk ends there at the latest.
    QDate day = to;
    for (int found = 0;; day = day.addDays(-1)) {
        if (day.dayOfWeek() <= 5 && !holidays.contains(day) && !stored.contains(RocDateText(day)) && ++found == count)
            return day;
    }
}

QString RangeCostText(int days, int intervalSeconds)
{
    const qint64 requests = qint64(days) * kRequestsPerDay;
    const qint64 seconds = requests * intervalSeconds;
    const QString time = seconds >= 3600 ? QStringLiteral("約 %1 小時").arg(Grouped(std::llround(seconds / 3600.0)))
                                         : QStringLiteral("約 %1 分鐘").arg(std::max<qint64>(1, (seconds + 59) / 60));
    return QStringLiteral("約 %1 天、%2 次下載、%3").arg(Grouped(days), Grouped(requests), time);
}
