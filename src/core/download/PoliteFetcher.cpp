#include "core/download/PoliteFetcher.h"

#include "core/data/Settings.h"
#include "core/download/SiteTurns.h"

#include <QEventLoop>
#include <QNetworkProxyFactory>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

QString SiteKey(const QUrl& url)
{
    return url.scheme() + QStringLiteral("://") + url.host() + QLatin1Char(':') + QString::number(url.port(-1));
}

} // namespace

PoliteFetcher::PoliteFetcher(int intervalMs, int deadlineMs, QObject* parent)
    : QObject(parent), m_intervalMs(intervalMs), m_deadlineMs(deadlineMs)
{
    QNetworkProxyFactory::setUseSystemConfiguration(true);
}

PoliteFetcher::~PoliteFetcher() = default;

void PoliteFetcher::shareTurnsThrough(const QString& downloadFolder)
{
    m_sharedTurns = std::make_unique<SiteTurns>(downloadFolder);
}

void PoliteFetcher::cancel()
{
    m_cancelled = true;
    if (m_loop)
        m_loop->quit();
}

bool PoliteFetcher::waitTurn(const QUrl& url)
{
    const QString site = SiteKey(url);
    // Checked again after each wait: a timer may end early, and another
    // process may have taken the turn meanwhile.
    for (;;) {
        const auto last = m_lastStart.constFind(site);
        qint64 left = last == m_lastStart.constEnd() ? 0 : m_intervalMs - last->elapsed();
        if (left <= 0 && m_sharedTurns) {
            QString error;
            left = m_sharedTurns->take(site, m_intervalMs, &error);
            // Times that cannot be shared leave this process's own.
            if (left < 0)
                qWarning("%s", qPrintable(error));
        }
        if (left <= 0)
            return true;
        emit waiting(url, static_cast<int>((left + 999) / 1000));
        if (m_cancelled)
            return false;
        QEventLoop loop;
        m_loop = &loop;
        QTimer::singleShot(static_cast<int>(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
        loop.exec();
        if (m_cancelled)
            return false;
    }
}

FetchReply PoliteFetcher::get(const QUrl& url)
{
    m_cancelled = false;
    FetchReply result;
    if (!waitTurn(url)) {
        result.cancelled = true;
        return result;
    }
    m_lastStart[SiteKey(url)].start();

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("Quorvex/%1 (daily institutional lists; one request at a time)").arg(VersionNumber()));
    // A redirect is a request too: a couple are followed, never a loop.
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(2);
    QNetworkReply* reply = m_network.get(request);
    QEventLoop loop;
    m_loop = &loop;
    bool timedOut = false;
    bool tooLarge = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, reply, [&](qint64 received, qint64) {
        if (received > kLargestReply && !tooLarge) {
            tooLarge = true;
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    deadline.start(m_deadlineMs);
    if (!reply->isFinished())
        loop.exec();
    if (!reply->isFinished()) {   // cancelled
        reply->abort();
        result.cancelled = true;
    } else if (timedOut) {
        result.failure = QStringLiteral("網站在 %1 秒內沒有傳完檔案。").arg(m_deadlineMs / 1000.0);
    } else if (tooLarge) {
        result.failure = QStringLiteral("網站傳來的檔案超過 %1 MB，不是一天的資料。").arg(kLargestReply >> 20);
    } else {
        result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        result.body = reply->readAll();
        // An error beside a status that is no HTTP error: the transfer itself
        // failed (closed before the announced length, decompression refused).
        if (result.status == 0 || (reply->error() != QNetworkReply::NoError && result.status < 400))
            result.failure = reply->errorString();
    }
    reply->deleteLater();
    return result;
}
