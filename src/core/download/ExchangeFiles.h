#pragma once

#include "core/download/DownloadSettings.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QUrl>

// The exchanges' daily files the program downloads.
enum class ExchangeFile {
    TwseInstitutional,   // 三大法人買賣超日報 (T86), warrants left out
    TpexInstitutional,   // 三大法人買賣明細
    TwseRatios,          // 個股日本益比、殖利率及股價淨值比 (BWIBBU_d)
    TpexRatios,          // 本益比、殖利率及股價淨值比 (peQryDate)
};

QUrl ExchangeFileUrl(const DownloadSettings& settings, ExchangeFile file, const QDate& date);

// 下載/YYYYMMDD/<name>.csv: the file as it came, kept for re-reading offline.
QString CachedFilePath(const QString& downloadFolder, ExchangeFile file, const QDate& date);

// The site's name as the user reads it: 證交所, 櫃買中心.
QString SiteName(ExchangeFile file);

// What a site's reply holds.
struct ReplyCheck {
    enum Verdict { Data, NoData, Refused } verdict = Refused;
    QString message;   // NoData and Refused: what the site said, in a sentence
    bool stated = false;   // NoData in the site's own words, not merely an empty reply
};

// A file of `date`: data of that date, whole (TPEx's closing "共N筆" counts
// its rows, TWSE's notes follow its table, a ratio file's last line is
// complete); no data (a holiday, or not published yet: the files appear
// around 16:00), only in the sites' own empty answers (nothing, an empty
// table, "共0筆", JSON of zero rows, "沒有符合條件的資料"); or refused (an
// HTTP error, an error or block page, another date's data, a file of another
// layout, cut short or damaged), with what the site said or what is wrong.
ReplyCheck CheckReply(ExchangeFile file, int httpStatus, const QByteArray& body, const QDate& date);
