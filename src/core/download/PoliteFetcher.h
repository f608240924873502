#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QNetworkAccessManager>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <memory>

class QEventLoop;
class SiteTurns;

struct FetchReply {
    int status = 0;         // the HTTP status; 0 when no answer came
    QByteArray body;
    QString failure;        // no answer: the network's reason (refused, timed out, TLS...)
    bool cancelled = false;
};

// Fetches one file at a time, as the exchanges ask of programs: at least the
// interval between two requests to one site (between processes too, with
// shared turns), a User-Agent naming the
// program, the system's proxy, certificates always checked. Each get()
// returns when its reply is complete, with events running meanwhile.
class PoliteFetcher : public QObject {
    Q_OBJECT
public:
    explicit PoliteFetcher(int intervalMs, int deadlineMs = 60000, QObject* parent = nullptr);
    ~PoliteFetcher() override;

    // The interval holds also against every other fetcher sharing turns
    // through the same download folder, in this or another process.
    void shareTurnsThrough(const QString& downloadFolder);

    FetchReply get(const QUrl& url);
    void setInterval(int intervalMs) { m_intervalMs = intervalMs; }
    // Ends the wait or the transfer under way; its get() returns cancelled.
    void cancel();

    // A get() is under way (its wait or its transfer): another must not start.
    bool busy() const { return !m_loop.isNull(); }

    // As large as the readers take a file.
    static constexpr qint64 kLargestReply = 16 * 1024 * 1024;

signals:
    // Before a polite wait of `seconds` for the site of `url`.
    void waiting(const QUrl& url, int seconds);

private:
    bool waitTurn(const QUrl& url);

    QNetworkAccessManager m_network;
    QHash<QString, QElapsedTimer> m_lastStart;   // by scheme, host and port
    std::unique_ptr<SiteTurns> m_sharedTurns;
    int m_intervalMs;
    int m_deadlineMs;
    QPointer<QEventLoop> m_loop;
    bool m_cancelled = false;
};
