#include "gui/download/DownloadProgress.h"

#include "core/data/Settings.h"
#include "core/download/PoliteFetcher.h"
#include "core/text/RocDate.h"

#include <QApplication>
#include <QProgressDialog>

const QString kAnotherDownload = QStringLiteral("另一個下載正在進行中，請等它結束再下載。");

PoliteFetcher& SharedFetcher(const DownloadSettings& settings)
{
    static PoliteFetcher* shared = new PoliteFetcher(settings.intervalSeconds * 1000, 60000, qApp);
    shared->setInterval(settings.intervalSeconds * 1000);
    shared->shareTurnsThrough(DownloadFolder(gAppFolder));
    return *shared;
}

DownloadedDay DownloadWithProgress(QWidget* parent, const QString& what, const QDate& date,
                                   const QVector<ExchangeFile>& files)
{
    const DownloadSettings settings = ReadDownloadSettings(gAppFolder);
    PoliteFetcher& fetcher = SharedFetcher(settings);
    if (fetcher.busy())
        return {DownloadedDay::Failed, {}, kAnotherDownload};
    QProgressDialog progress(parent);
    progress.setObjectName(QStringLiteral("frm下載"));
    progress.setWindowTitle(QStringLiteral("下載 %1 的%2").arg(RocDateDisplay(RocDateText(date)), what));
    progress.setCancelButtonText(QStringLiteral("取消"));
    progress.setRange(0, 0);
    progress.setMinimumDuration(0);
    progress.setMinimumWidth(520);
    progress.setWindowModality(Qt::WindowModal);
    QObject::connect(&progress, &QProgressDialog::canceled, &fetcher, &PoliteFetcher::cancel);
    QObject::connect(&fetcher, &PoliteFetcher::waiting, &progress, [&progress](const QUrl& url, int seconds) {
        progress.setLabelText(QStringLiteral("對 %1 的兩次下載之間稍候 %2 秒…").arg(url.host()).arg(seconds));
    });
    progress.show();
    return DownloadExchangeFiles(fetcher, settings, DownloadFolder(gAppFolder), date, files, false,
                                 [&progress](const QString& step) { progress.setLabelText(step); });
}
