#include "gui/app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, SecondHolderIsRefusedUntilTheFirstEnds)
{
    QTemporaryDir dir;
    const QString lock = dir.filePath(QStringLiteral("q.lock"));
    auto first = std::make_unique<SingleInstance>(lock);
    ASSERT_TRUE(first->acquire());
    SingleInstance second(lock);
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstance, ProgramStartedTwiceEndsSilently)
{
    QTemporaryDir tmp;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), tmp.path());   // the temporary folder on POSIX systems
    env.insert(QStringLiteral("TMP"), QDir::toNativeSeparators(tmp.path()));   // and on Windows
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

    // This test holds the lock the way a running program would.
    SingleInstance running(tmp.filePath(QFileInfo(SingleInstance::defaultLockPath()).fileName()));
    ASSERT_TRUE(running.acquire());

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(QUORVEX_PROGRAM), {});
    ASSERT_TRUE(second.waitForStarted());
    const bool ended = second.waitForFinished(20000);
    if (!ended)
        second.kill();
    ASSERT_TRUE(ended) << "the second start kept running";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
}

} // namespace
