#pragma once

#include "core/download/DownloadSettings.h"

#include <QDate>
#include <QStringList>

#include <functional>

class PoliteFetcher;

struct DownloadedDay {
    enum Outcome { Ready, NoData, Failed, Cancelled } outcome = Failed;
    QStringList paths;   // Ready: the day's files, kept in the download folder
    QString message;     // NoData and Failed: why, naming the site
};

// Both exchanges' institutional files of `date`, each fetched unless already
// kept in `downloadFolder` and kept there once it proves to hold that date's
// data. A day is Ready only with both files: one site without data yet makes
// it NoData, so half a market is never stored. `step` hears one line per file.
DownloadedDay DownloadInstitutionalDay(PoliteFetcher& fetcher, const DownloadSettings& settings,
                                       const QString& downloadFolder, const QDate& date,
                                       const std::function<void(const QString&)>& step);
