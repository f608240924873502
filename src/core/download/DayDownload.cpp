#include "core/download/DayDownload.h"

#include "core/data/FileMove.h"
#include "core/download/ExchangeFiles.h"
#include "core/download/PoliteFetcher.h"
#include "core/download/SharedFolder.h"
#include "core/text/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Beside a file's place: the site said it has no data for that past day.
QString NoDataMarkPath(const QString& path)
{
    return path.chopped(4) + QStringLiteral(".無資料.txt");
}

// The download folder and the day's folder in it, for the file at `path`.
bool MakeDayFolder(const QString& path)
{
    const QString day = QFileInfo(path).absolutePath();
    return MakeFolderSharedLikeItsParent(QFileInfo(day).absolutePath()) && MakeFolderSharedLikeItsParent(day);
}

// Beside a file's place: a kept file found incomplete, kept for a look but
// never read as the day's file.
QString AsidePath(const QString& path)
{
    QString aside = path.chopped(4) + QStringLiteral(".不完整.csv");
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside = path.chopped(4) + QStringLiteral(".不完整-%1.csv").arg(n);
    return aside;
}

} // namespace

DownloadedDay DownloadExchangeFiles(PoliteFetcher& fetcher, const DownloadSettings& settings,
                                    const QString& downloadFolder, const QDate& date,
                                    const QVector<ExchangeFile>& files, bool trustNoData,
                                    const std::function<void(const QString&)>& step)
{
    DownloadedDay day;
    for (const ExchangeFile file : files) {
        const QString site = SiteName(file);
        const QString path = CachedFilePath(downloadFolder, file, date);
        QFile kept(path);
        if (kept.open(QIODevice::ReadOnly | QIODevice::ExistingOnly)) {
            // Checked again as a reply: a file cut short, damaged or replaced
            // since is put aside, never trusted again, and fetched anew.
            const bool whole = kept.size() <= PoliteFetcher::kLargestReply
                               && CheckReply(file, 200, kept.read(PoliteFetcher::kLargestReply), date).verdict == ReplyCheck::Data;
            kept.close();
            if (whole) {
                step(QStringLiteral("%1：已有下載的檔案 %2").arg(site, QDir::toNativeSeparators(path)));
                day.paths << path;
                continue;
            }
            const QString aside = AsidePath(path);
            if (!kept.rename(aside))
                return {DownloadedDay::Failed, {},
                        QStringLiteral("%1：已有的檔案 %2 不是這一天的完整資料，也無法改名移開：%3")
                            .arg(site, QDir::toNativeSeparators(path), kept.errorString())};
            step(QStringLiteral("%1：已有的檔案不是這一天的完整資料，已改名為 %2，重新下載").arg(site, QDir::toNativeSeparators(aside)));
        }
        const QString noData = NoDataMarkPath(path);
        QFile mark(noData);
        if (trustNoData && mark.open(QIODevice::ReadOnly))
            return {DownloadedDay::NoData, {}, QStringLiteral("%1：%2").arg(site, QString::fromUtf8(mark.readAll()))};
        const QUrl url = ExchangeFileUrl(settings, file, date);
        step(QStringLiteral("%1：下載 %2").arg(site, url.toString()));
        const FetchReply reply = fetcher.get(url);
        if (reply.cancelled)
            return {DownloadedDay::Cancelled, {}, QStringLiteral("已取消下載。")};
        if (!reply.failure.isEmpty())
            return {DownloadedDay::Failed, {}, QStringLiteral("%1：%2").arg(site, reply.failure)};
        const ReplyCheck check = CheckReply(file, reply.status, reply.body, date);
        if (check.verdict == ReplyCheck::Refused)
            return {DownloadedDay::Failed, {}, QStringLiteral("%1：%2").arg(site, check.message)};
        if (check.verdict == ReplyCheck::NoData) {
            // A day one site has no data for is not stored: the other is not
            // asked. A past day the first site says in words it has no data
            // for stays so, and a resumed range does not ask again; an empty
            // reply, or a site silent where the other had data, may be a fault.
            QString ignored;
            if (check.stated && day.paths.isEmpty() && date < Now().date() && MakeDayFolder(path))
                SaveWholeFile(noData, check.message.toUtf8(), &ignored);
            return {DownloadedDay::NoData, {}, QStringLiteral("%1：%2").arg(site, check.message)};
        }
        QString error;
        if (!MakeDayFolder(path) || !SaveWholeFile(path, reply.body, &error))
            return {DownloadedDay::Failed, {},
                    QStringLiteral("無法保存下載的檔案 %1：%2").arg(QDir::toNativeSeparators(path), error.isEmpty() ? QStringLiteral("無法建立資料夾") : error)};
        step(QStringLiteral("%1：已保存 %2（%3 KB）").arg(site, QDir::toNativeSeparators(path)).arg((reply.body.size() + 1023) / 1024));
        day.paths << path;
    }
    day.outcome = DownloadedDay::Ready;
    return day;
}

DownloadedDay DownloadInstitutionalDay(PoliteFetcher& fetcher, const DownloadSettings& settings,
                                       const QString& downloadFolder, const QDate& date, bool trustNoData,
                                       const std::function<void(const QString&)>& step)
{
    return DownloadExchangeFiles(fetcher, settings, downloadFolder, date,
                                 {ExchangeFile::TwseInstitutional, ExchangeFile::TpexInstitutional}, trustNoData, step);
}

void ForgetKeptFiles(const QString& downloadFolder, const QDate& date, const QVector<ExchangeFile>& files)
{
    for (const ExchangeFile file : files) {
        const QString path = CachedFilePath(downloadFolder, file, date);
        QFile::remove(path);
        QFile::remove(NoDataMarkPath(path));
    }
}
