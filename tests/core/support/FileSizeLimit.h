#pragma once

#include <QtGlobal>

#ifndef Q_OS_WIN
#include <csignal>
#include <sys/resource.h>
#endif

// While it lives, writes beyond `bytes` fail as on a full disk (POSIX
// systems only; available() says whether it can).
class FileSizeLimit {
public:
#ifdef Q_OS_WIN
    explicit FileSizeLimit(qint64) {}
    static bool available() { return false; }
#else
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    static bool available() { return true; }
#endif
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

#ifndef Q_OS_WIN
private:
    rlimit m_saved{};
    void (*m_handler)(int) = nullptr;
#endif
};
