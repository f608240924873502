#include "core/support/CommitCuttingProxy.h"

#include <QByteArray>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

sockaddr_in Loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

bool SendAll(int fd, const char* data, ssize_t size)
{
    while (size > 0) {
        const ssize_t sent = ::send(fd, data, static_cast<size_t>(size), MSG_NOSIGNAL);
        if (sent <= 0)
            return false;
        data += sent;
        size -= sent;
    }
    return true;
}

} // namespace

CommitCuttingProxy::CommitCuttingProxy(int serverPort) : m_serverPort(serverPort)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = Loopback(0);
    ::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(m_listener, 16);
    socklen_t length = sizeof address;
    ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_acceptor = std::thread([this] { acceptClients(); });
}

CommitCuttingProxy::~CommitCuttingProxy()
{
    m_stopping = true;
    ::shutdown(m_listener, SHUT_RDWR);
    m_acceptor.join();
    ::close(m_listener);
    for (std::thread& relay : m_relays)
        relay.join();
    for (const int server : m_waiting)
        ::close(server);
}

void CommitCuttingProxy::acceptClients()
{
    while (!m_stopping) {
        const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0)
            return;
        m_relays.emplace_back([this, client] { relay(client); });
    }
}

void CommitCuttingProxy::relay(int client)
{
    const int server = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in address = Loopback(m_serverPort);
    if (::connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(server);
        ::close(client);
        return;
    }
    pollfd ends[2] = {{client, POLLIN, 0}, {server, POLLIN, 0}};
    char buffer[65536];
    bool open = true;
    while (open && !m_stopping) {
        if (::poll(ends, 2, 200) <= 0)
            continue;
        for (int side = 0; side < 2 && open; ++side) {
            if (!(ends[side].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t got = ::recv(ends[side].fd, buffer, sizeof buffer, 0);
            if (got <= 0) {
                open = false;
                break;
            }
            const bool commit = side == 0 && QByteArray::fromRawData(buffer, got).contains(QByteArray("COMMIT", 7));
            const Cut cut = commit ? m_cut.exchange(Cut::None) : Cut::None;
            if (cut == Cut::BeforeServerSaw || cut == Cut::LeavingServerWaiting) {
                if (cut == Cut::LeavingServerWaiting) {
                    m_waiting.push_back(server);
                    ::close(client);
                    return;
                }
                open = false;
                break;
            }
            open = SendAll(ends[1 - side].fd, buffer, got);
            if (open && cut == Cut::AfterServerAnswered) {
                ::recv(server, buffer, sizeof buffer, 0);   // the answer the client never gets
                open = false;
            }
        }
    }
    ::close(server);
    ::close(client);
}
