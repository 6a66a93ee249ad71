// SPDX-License-Identifier: MIT
// The end of the desktop session reaches the program once, through the event
// loop, whichever signal comes and however often.

#include "platform/sessionend.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

void runEventsUntil(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

TEST(SessionEndWatcher, SignalsArriveInTheEventLoopAndEndTheSessionOnce)
{
    platform::SessionEndWatcher watcher;
    ASSERT_TRUE(watcher.watchSignals());
    std::vector<int> seen;
    QObject::connect(
        &watcher, &platform::SessionEndWatcher::ending, [&](platform::SessionEndWatcher::Reason reason, int number) {
            EXPECT_EQ(reason, platform::SessionEndWatcher::Reason::Signal);
            seen.push_back(number);
        });

    ASSERT_EQ(::raise(SIGTERM), 0); // the handler only writes to the pipe
    EXPECT_TRUE(seen.empty()) << "nothing runs inside the signal handler";
    runEventsUntil([&] { return !seen.empty(); });
    ASSERT_EQ(seen, std::vector<int>{SIGTERM});

    ::raise(SIGHUP);
    ::raise(SIGINT);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    EXPECT_EQ(seen, std::vector<int>{SIGTERM}) << "the session ends once";
}

} // namespace
