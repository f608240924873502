#include "core/platform/IsolatedRun.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

// A crash or an endless loop in the copy comes back as an outcome; what the
// copy changes stays in the copy; the caller is told now and then while it waits.
TEST(IsolatedRunTest, TheCopyEndsHoweverItsWorkEnds)
{
    int touched = 0;
    EXPECT_EQ(RunIsolated([&] { touched = 1; return true; }, 5000), IsolatedOutcome::Succeeded);
    EXPECT_EQ(touched, 0);
    EXPECT_EQ(RunIsolated([] { return false; }, 5000), IsolatedOutcome::Failed);
    EXPECT_EQ(RunIsolated([]() -> bool { throw 1; }, 5000), IsolatedOutcome::Failed);
    EXPECT_EQ(RunIsolated([] { std::raise(SIGKILL); return true; }, 5000), IsolatedOutcome::Failed);
    const auto endless = [] {
        volatile bool running = true;
        while (running) {
        }
        return true;
    };
    int waits = 0;
    EXPECT_EQ(RunIsolated(endless, 300, [&] { ++waits; }), IsolatedOutcome::TimedOut);
    EXPECT_GE(waits, 3);
}

} // namespace
