#include "core/download/DayFetch.h"

#include "core/data/Connection.h"
#include "core/data/ErrorWords.h"
#include "core/data/Settings.h"
#include "core/download/DayDownload.h"
#include "core/entry/InstitutionalAmounts.h"
#include "core/text/RocDate.h"

#include <QSet>

#include <stdexcept>

DayFetchResult FetchAndStoreDay(PoliteFetcher& fetcher, const DownloadSettings& settings, const QString& dataFolder,
                                const QDate& date, const DayFetchOptions& options,
                                const std::function<void(const QString&)>& step)
{
    const QString shown = RocDateDisplay(RocDateText(date));
    // A stored day costs the sites no request unless it is to be replaced or
    // lacks the amounts (kept files then serve it).
    if (!options.replace) {
        try {
            db::Connection connection(gConnectionString);
            if (IsDayStored(connection, RocDateText(date)) && HasInstitutionalAmounts(connection, RocDateText(date)))
                return {DayFetchResult::AlreadyThere, QStringLiteral("%1 已有資料，未變更。").arg(shown)};
        } catch (const db::DbError& failure) {
            return {DayFetchResult::Failed, db::ErrorMessage(failure)};
        }
    }
    if (options.replace)
        ForgetKeptFiles(DownloadFolder(dataFolder), date, {ExchangeFile::TwseInstitutional, ExchangeFile::TpexInstitutional});
    const DownloadedDay files = DownloadInstitutionalDay(fetcher, settings, DownloadFolder(dataFolder), date, options.inRange, step);
    switch (files.outcome) {
    case DownloadedDay::NoData:
        return {DayFetchResult::NoData, files.message};
    case DownloadedDay::Failed:
        return {DayFetchResult::Failed, files.message};
    case DownloadedDay::Cancelled:
        return {DayFetchResult::Cancelled, files.message};
    case DownloadedDay::Ready:
        break;
    }
    QString error;
    const InstitutionalDay day = ReadInstitutionalFiles(files.paths, &error);
    if (!error.isEmpty())
        return {DayFetchResult::Failed, error};
    if (day.date != RocDateText(date))
        return {DayFetchResult::Failed, QStringLiteral("下載的檔案是 %1 的資料，不是 %2 的。").arg(RocDateDisplay(day.date), shown)};
    try {
        db::Connection connection(gConnectionString);
        const StoredDay stored = StoreInstitutionalDay(connection, day, options.basis, options.top, true, options.replace);
        if (!stored.stored)
            return {DayFetchResult::AlreadyThere,
                    stored.amountsAdded ? QStringLiteral("%1 已有資料，清單未變更；已補存各股法人買賣超。").arg(shown)
                                        : QStringLiteral("%1 已有資料，未變更。").arg(shown)};
        return {DayFetchResult::Stored, QStringLiteral("已儲存 %1：買超 %2 筆、賣超 %3 筆（依%4排行）。")
                                            .arg(shown)
                                            .arg(stored.buys)
                                            .arg(stored.sells)
                                            .arg(BasisName(options.basis))};
    } catch (const db::DbError& failure) {
        return {DayFetchResult::Failed, db::ErrorMessage(failure)};
    } catch (const std::invalid_argument& lacking) {
        return {DayFetchResult::Failed, QString::fromStdString(lacking.what())};
    }
}

QVector<QDate> MissingWeekdays(db::Connection& connection, const QDate& from, const QDate& to,
                               const QSet<QDate>& holidays)
{
    const db::ResultSet rows = connection.query(
        QStringLiteral("SELECT 買賣日期 FROM 買賣超資料 WHERE 買賣日期 BETWEEN ? AND ?"), {RocDateText(from), RocDateText(to)});
    QSet<QString> stored;
    for (int r = 0; r < rows.rowCount(); ++r)
        stored.insert(rows.text(r, 0));
    QVector<QDate> missing;
    for (QDate d = from; d <= to; d = d.addDays(1))
        if (d.dayOfWeek() <= 5 && !holidays.contains(d) && !stored.contains(RocDateText(d)))
            missing.push_back(d);
    return missing;
}

bool AnyDayStored(db::Connection& connection, const QDate& from, const QDate& to)
{
    return !connection
                .query(QStringLiteral("SELECT 1 FROM 買賣超資料 WHERE 買賣日期 BETWEEN ? AND ? LIMIT 1"),
                       {RocDateText(from), RocDateText(to)})
                .isEmpty();
}

QDate LastStoredTradingDate(db::Connection& connection)
{
    return DateFromRoc(connection.query(QStringLiteral("SELECT max(買賣日期) FROM 買賣超資料")).text(0, 0));
}
