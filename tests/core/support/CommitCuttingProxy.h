#pragma once

#include <atomic>
#include <thread>
#include <vector>

// A TCP relay on 127.0.0.1 in front of a database server that can cut a
// client's line at its next COMMIT: after the server has answered it (the
// save is in, the client never hears so), before the server sees it, or
// before it and leaving the server's side open (a half-open line the server
// does not notice).
class CommitCuttingProxy {
public:
    enum class Cut { None, AfterServerAnswered, BeforeServerSaw, LeavingServerWaiting };

    explicit CommitCuttingProxy(int serverPort);
    ~CommitCuttingProxy();
    CommitCuttingProxy(const CommitCuttingProxy&) = delete;
    CommitCuttingProxy& operator=(const CommitCuttingProxy&) = delete;

    int port() const { return m_port; }
    void cutNextCommit(Cut how) { m_cut = how; }

private:
    void acceptClients();
    void relay(int client);

    int m_serverPort;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<Cut> m_cut{Cut::None};
    std::atomic<bool> m_stopping{false};
    std::thread m_acceptor;
    std::vector<std::thread> m_relays;
    std::vector<int> m_waiting;   // server sides kept open, closed at the end
};
