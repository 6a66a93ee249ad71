// SPDX-License-Identifier: MIT
// The real platform's single-copy lock and its letting pending events run.

#include "platform/qtplatform.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class RealPlatform : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    QTemporaryDir runtime;
};

TEST_F(RealPlatform, OnlyOneHolderOfTheLockAtATime)
{
    platform::QtPlatform first(QStringLiteral("tocka-test"));
    EXPECT_TRUE(first.claimSingleInstance());
    EXPECT_TRUE(first.claimSingleInstance()) << "asking again does not lose it";
    EXPECT_TRUE(platform::QtPlatform::lockFilePath(QStringLiteral("tocka-test")).startsWith(runtime.path()));

    platform::QtPlatform second(QStringLiteral("tocka-test"));
    EXPECT_FALSE(second.claimSingleInstance());

    // A lock held by another live process refuses too.
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        platform::QtPlatform other(QStringLiteral("tocka-test"));
        ::_exit(other.claimSingleInstance() ? 1 : 0);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(RealPlatform, ALockLeftByACrashedCopyDoesNotBlock)
{
    // A process that held the lock and died without a word.
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        platform::QtPlatform crashed(QStringLiteral("tocka-test"));
        ::_exit(crashed.claimSingleInstance() ? 0 : 1); // _exit: the lock file stays
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_TRUE(QFile::exists(platform::QtPlatform::lockFilePath(QStringLiteral("tocka-test"))));

    platform::QtPlatform next(QStringLiteral("tocka-test"));
    EXPECT_TRUE(next.claimSingleInstance());
}

// Whatever a lock file that nobody holds says, it is not a running copy.
TEST_F(RealPlatform, ALockNobodyHoldsNeverBlocksWhateverItHolds)
{
    const QString path = platform::QtPlatform::lockFilePath(QStringLiteral("tocka-test"));
    struct Row
    {
        const char *what;
        std::function<void()> make;
    };
    const auto file = [&](const QByteArray &bytes) {
        return [&, bytes] {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
    };
    const Row rows[] = {
        {"empty (killed while it was made)", file({})},
        {"junk", file("\x01\xff not a pid\n")},
        {"a live process of another host", file(QByteArray::number(::getpid()) + "\ntocka\nsome-other-host\n")},
        {"our own pid", file(QByteArray::number(::getpid()) + "\n")},
        {"a link to nothing", [&] { ASSERT_EQ(::symlink("/nonexistent/tocka.lock", QFile::encodeName(path).constData()), 0); }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(path);
        row.make();
        platform::QtPlatform first(QStringLiteral("tocka-test"));
        EXPECT_TRUE(first.claimSingleInstance()) << first.singleInstanceProblem().toStdString();
        EXPECT_TRUE(first.singleInstanceProblem().isEmpty());
        platform::QtPlatform second(QStringLiteral("tocka-test"));
        EXPECT_FALSE(second.claimSingleInstance()) << "one copy at a time all the same";
        EXPECT_TRUE(second.singleInstanceProblem().isEmpty());
    }
}

TEST_F(RealPlatform, AFifoWhereTheLockGoesIsNamedNotWaitedOn)
{
    const QString path = platform::QtPlatform::lockFilePath(QStringLiteral("tocka-test"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    platform::QtPlatform copy(QStringLiteral("tocka-test"));
    EXPECT_FALSE(copy.claimSingleInstance()); // a hang here is the fault
    EXPECT_TRUE(copy.singleInstanceProblem().contains(QLatin1String("FIFO"))) << copy.singleInstanceProblem().toStdString();
    EXPECT_TRUE(copy.singleInstanceProblem().contains(path));
}

TEST(RealPlatformEvents, LettingPendingEventsRunRunsQueuedWork)
{
    platform::QtPlatform platform(QStringLiteral("tocka-events-test"));
    int ran = 0;
    QTimer::singleShot(0, [&] { ++ran; });
    QMetaObject::invokeMethod(QCoreApplication::instance(), [&] { ++ran; }, Qt::QueuedConnection);
    EXPECT_EQ(ran, 0);
    platform.processPendingEvents();
    EXPECT_EQ(ran, 2);
}

TEST(RealPlatformRandom, SameSeedSameDrawsAllInTheHalfOpenRange)
{
    platform::QtPlatform a(QStringLiteral("x")), b(QStringLiteral("x"));
    a.randomize(43200.5f);
    b.randomize(43200.5f);
    for (int i = 0; i < 1000; ++i) {
        const float r = a.rnd();
        EXPECT_EQ(r, b.rnd());
        EXPECT_GE(r, 0.0f);
        EXPECT_LT(r, 1.0f);
    }
}

} // namespace
