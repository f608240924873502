#pragma once

#include "core/download/DownloadSettings.h"
#include "core/download/ExchangeFiles.h"

#include <QDate>
#include <QStringList>
#include <QVector>

#include <functional>

class PoliteFetcher;

struct DownloadedDay {
    enum Outcome { Ready, NoData, Failed, Cancelled } outcome = Failed;
    QStringList paths;   // Ready: the day's files, kept in the download folder
    QString message;     // NoData and Failed: why, naming the site
};

// Files of `date`, each fetched unless already kept in `downloadFolder` and
// kept there once it proves to hold that date's data. Ready only with every
// file: a site without data makes it NoData and the rest are not asked, so
// half a market is never stored. A past day a site had no data for is noted
// beside the files; with `trustNoData` (a range) the note answers instead of
// the site. `step` hears one line per file.
DownloadedDay DownloadExchangeFiles(PoliteFetcher& fetcher, const DownloadSettings& settings,
                                    const QString& downloadFolder, const QDate& date,
                                    const QVector<ExchangeFile>& files, bool trustNoData,
                                    const std::function<void(const QString&)>& step);

// Both exchanges' institutional files of `date`.
DownloadedDay DownloadInstitutionalDay(PoliteFetcher& fetcher, const DownloadSettings& settings,
                                       const QString& downloadFolder, const QDate& date, bool trustNoData,
                                       const std::function<void(const QString&)>& step);

// Drops the kept files (and notes) of `date`, so the next download asks the
// sites again: a day the exchanges corrected.
void ForgetKeptFiles(const QString& downloadFolder, const QDate& date, const QVector<ExchangeFile>& files);
