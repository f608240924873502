#include "core/platform/IsolatedRun.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

IsolatedOutcome RunIsolated(const std::function<bool()>& work, int timeoutMilliseconds,
                            const std::function<void()>& waiting)
{
    const pid_t child = fork();
    if (child == 0) {
        // The library's warnings about the damage are of no use to anyone.
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, STDERR_FILENO);
        bool succeeded = false;
        try {
            succeeded = work();
        } catch (...) {
        }
        _exit(succeeded ? 0 : 1);
    }
    if (child < 0)
        return work() ? IsolatedOutcome::Succeeded : IsolatedOutcome::Failed;
    QElapsedTimer clock;
    clock.start();
    int status = 0;
    pid_t done = 0;
    qint64 toldAt = -1000;
    for (;;) {
        done = waitpid(child, &status, WNOHANG);
        if (done < 0 && errno == EINTR)
            continue;
        if (done != 0 || clock.elapsed() >= timeoutMilliseconds)
            break;
        if (waiting && clock.elapsed() - toldAt >= 50) {
            toldAt = clock.elapsed();
            waiting();
        }
        usleep(2000);
    }
    if (done == 0) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return IsolatedOutcome::TimedOut;
    }
    return done == child && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? IsolatedOutcome::Succeeded
                                                                          : IsolatedOutcome::Failed;
}
