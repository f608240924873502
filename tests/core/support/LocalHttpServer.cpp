#include "core/support/LocalHttpServer.h"

#include <QTcpSocket>
#include <QTimer>

LocalHttpServer::LocalHttpServer()
{
    m_server.listen(QHostAddress::LocalHost);
    m_clock.start();
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { serve(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

QUrl LocalHttpServer::base() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_server.serverPort()));
}

void LocalHttpServer::answer(const QString& target, const Answer& answer)
{
    m_answers.push_back({target, answer});
}

void LocalHttpServer::serve(QTcpSocket* socket)
{
    // A GET has no body: the request is whole at its blank line.
    if (!socket->peek(64 * 1024).contains("\r\n\r\n"))
        return;
    const QList<QByteArray> lines = socket->readAll().split('\n');
    Request request;
    request.target = QUrl::fromPercentEncoding(lines.value(0).split(' ').value(1));
    request.atMs = m_clock.elapsed();
    for (const QByteArray& line : lines)
        if (line.toLower().startsWith("user-agent:"))
            request.userAgent = line.mid(11).trimmed();
    m_requests.push_back(request);

    Answer answer{404, "<html><head><title>404 Not Found</title></head></html>"};
    for (const auto& [target, scripted] : m_answers)
        if (request.target.startsWith(target))
            answer = scripted;
    if (answer.manner == Answer::Silent)
        return;
    QByteArray head = "HTTP/1.1 " + QByteArray::number(answer.status) + " Scripted\r\n"
                      "Content-Type: text/csv\r\nConnection: close\r\n";
    if (answer.manner != Answer::Unsized)
        head += "Content-Length: " + QByteArray::number(answer.body.size() + (answer.manner == Answer::Cut ? 4096 : 0)) + "\r\n";
    head += "\r\n";
    if (answer.manner == Answer::Whole || answer.manner == Answer::Cut || answer.manner == Answer::Unsized) {
        socket->write(head + answer.body);
        socket->disconnectFromHost();
        return;
    }
    socket->write(head);
    auto* trickle = new QTimer(socket);
    connect(trickle, &QTimer::timeout, socket, [socket, body = answer.body, sent = 0]() mutable {
        if (sent < body.size())
            socket->write(body.mid(sent++, 1));
        else
            socket->disconnectFromHost();
    });
    trickle->start(200);
}
