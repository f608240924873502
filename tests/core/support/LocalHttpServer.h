#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QVector>

// A stand-in for an exchange's web site on 127.0.0.1, served from the test's
// own event loop: each path and query answers as scripted.
class LocalHttpServer : public QObject {
    Q_OBJECT
public:
    struct Answer {
        int status = 200;
        QByteArray body;
        // Trickle: a byte every 200 ms; Cut: the connection closed before the
        // announced length; Unsized: no length announced, the connection
        // closed after the body.
        enum Manner { Whole, Silent, Trickle, Cut, Unsized } manner = Whole;
    };
    struct Request {
        QString target;      // path and query as sent
        QByteArray userAgent;
        qint64 atMs = 0;     // since the server started
    };

    LocalHttpServer();
    QUrl base() const;   // http://127.0.0.1:<port>
    // The answer to a request whose path and query start with `target`; an
    // unscripted request gets 404.
    void answer(const QString& target, const Answer& answer);
    const QVector<Request>& requests() const { return m_requests; }

private:
    void serve(QTcpSocket* socket);

    QTcpServer m_server;
    QElapsedTimer m_clock;
    QVector<std::pair<QString, Answer>> m_answers;
    QVector<Request> m_requests;
};
