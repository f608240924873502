#pragma once

#include "core/download/DayStore.h"
#include "core/download/DownloadSettings.h"

#include <QDate>
#include <QSet>
#include <QVector>

#include <functional>

class PoliteFetcher;

namespace db {
class Connection;
}

struct DayFetchOptions {
    TradeBasis basis = TradeBasis::AllThree;
    int top = 30;
    bool replace = false;   // also fetches the day's files again
    bool inRange = false;   // a day of a range: a noted day without data is not asked again
};

struct DayFetchResult {
    enum Outcome { Stored, AlreadyThere, NoData, Failed, Cancelled } outcome = Failed;
    QString message;   // one line: what was stored, or why nothing was
};

// Downloads a day's two files (or takes them from the download folder) and
// stores the day with its lists ranked, shares and ETFs only, as the
// scheduled run and the range download do. `step` hears each step.
DayFetchResult FetchAndStoreDay(PoliteFetcher& fetcher, const DownloadSettings& settings, const QString& dataFolder,
                                const QDate& date, const DayFetchOptions& options,
                                const std::function<void(const QString&)>& step);

// The weekdays from `from` to `to` with no day stored, the exchanges' known
// holidays left out: what a range download still has to fetch, so a stopped
// one resumes where it was.
QVector<QDate> MissingWeekdays(db::Connection& connection, const QDate& from, const QDate& to,
                               const QSet<QDate>& holidays = {});

// A day from `from` to `to` is stored.
bool AnyDayStored(db::Connection& connection, const QDate& from, const QDate& to);

// The latest trading date stored; invalid when none is.
QDate LastStoredTradingDate(db::Connection& connection);
