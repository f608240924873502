#pragma once

#include "core/download/DayDownload.h"

class PoliteFetcher;
class QWidget;

// One fetcher for the program's life, at the interval the settings name: the
// polite interval holds across downloads, however quickly they are asked for.
PoliteFetcher& SharedFetcher(const DownloadSettings& settings);
// What a download says while another one (another screen's) is under way.
extern const QString kAnotherDownload;

// Downloads `files` of `date` (settings from the data folder's Quorvex.ini)
// under a progress window titled `what` and the date, whose 取消 stops at once.
DownloadedDay DownloadWithProgress(QWidget* parent, const QString& what, const QDate& date,
                                   const QVector<ExchangeFile>& files);
