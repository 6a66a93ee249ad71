// SPDX-License-Identifier: MIT
// A record reaches a log whole or not at all, and a log that cannot take it
// says why instead of failing quietly.

#include "core/session/logappender.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kRecord = "\"----------\"\r\n#2026-12-07#\r\n#09:00:00#\r\n#10:00:00#\r\n3600\r\n\"1:00:00\"\r\n";

// Runs `body` in a child process and returns its exit code; for tests that
// change the process's limits or identity.
template<class F>
int inChild(F body)
{
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(AppendRecord, CreatesAppendsAndNeverMergesWithATornLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LogData.log"));

    ASSERT_TRUE(core::session::appendRecord(path, kRecord).ok);
    ASSERT_TRUE(core::session::appendRecord(path, kRecord).ok);
    EXPECT_EQ(contents(path), kRecord + kRecord);

    // An earlier crash left a line without its end: the new record starts on
    // a line of its own.
    write(path, kRecord + "\"----------\"\r\n#2026-12");
    ASSERT_TRUE(core::session::appendRecord(path, kRecord).ok);
    EXPECT_EQ(contents(path), kRecord + "\"----------\"\r\n#2026-12\r\n" + kRecord);
}

// Whatever stands at the log's path, the append neither blocks, nor writes
// through a link into a file that is not the user's, and the reason it gives
// is the true one.
TEST(AppendRecord, NamesWhatStandsInTheWayAndFollowsOnlyLinksToOwnFiles)
{
    QTemporaryDir dir;
    const QString own = dir.filePath(QStringLiteral("own.log"));
    write(own, kRecord);
    const QString foreign = dir.filePath(QStringLiteral("foreign.log"));
    write(foreign, kRecord);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(QFile::encodeName(foreign).constData(), 65534, 65534), 0);
    }
    struct Row
    {
        const char *name;
        std::function<void(const QString &path)> make;
        const char *reason; // nullptr: the append goes through
    };
    auto link = [](const QString &target) {
        return [target](const QString &path) { ASSERT_TRUE(QFile::link(target, path)); };
    };
    const Row rows[] = {
        {"a folder", [](const QString &p) { ASSERT_TRUE(QDir().mkpath(p)); }, "it is a folder"},
        {"a FIFO", [](const QString &p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         "it is a FIFO (named pipe)"},
        {"a link to /dev/null", link(QStringLiteral("/dev/null")), "it is a link to a character device"},
        {"a link to /dev/full", link(QStringLiteral("/dev/full")), "it is a link to a character device"},
        {"a link to nothing", link(dir.filePath(QStringLiteral("nothing.log"))),
         "it is a link to a file that does not exist"},
        {"a link to a folder", link(dir.path()), "it is a link, and it is a folder"},
        {"a link to another user's file", link(foreign), root ? "it is a link to a file of another user" : nullptr},
        {"a hard link to another user's file",
         [&](const QString &p) {
             ASSERT_EQ(::link(QFile::encodeName(foreign).constData(), QFile::encodeName(p).constData()), 0);
         },
         root ? "it is a hard link to a file of another user" : nullptr},
        {"a link to the user's own file", link(own), nullptr},
        {"in a folder that is not there", {}, "No such file or directory"},
    };
    int n = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = row.make ? dir.filePath(QStringLiteral("log%1").arg(++n))
                                      : dir.filePath(QStringLiteral("gone/LogData.log"));
        if (row.make)
            row.make(path);
        const auto result = core::session::appendRecord(path, kRecord);
        if (!row.reason) {
            EXPECT_TRUE(result.ok) << result.error.toStdString();
            continue;
        }
        EXPECT_FALSE(result.ok);
        EXPECT_TRUE(result.error.contains(path)) << result.error.toStdString();
        EXPECT_TRUE(result.error.endsWith(QLatin1String(row.reason))) << result.error.toStdString();
    }
    EXPECT_EQ(contents(own), kRecord + kRecord) << "the link to the user's own log is followed";
    EXPECT_EQ(contents(foreign), root ? kRecord : kRecord + kRecord + kRecord);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("nothing.log")))) << "no file made where a link points";
}

TEST(AppendRecord, AShortWriteIsTakenBackWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("LogData.log"));
    write(path, kRecord);
    // A file size limit lets part of the record through and then refuses the
    // rest, exactly like a disk that fills up in the middle of the write.
    const int code = inChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlim_t limit = static_cast<rlim_t>(kRecord.size() + 20);
        const rlimit rl{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &rl);
        const auto r = core::session::appendRecord(path, kRecord);
        return r.ok ? 1 : (r.error.contains(QLatin1String("too large")) ? 0 : 2);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(contents(path), kRecord) << "no torn record left behind";
}

TEST(AppendRecord, AFullDiskLeavesTheLogAsItWas)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=8k") != 0)
        GTEST_SKIP() << "cannot mount tmpfs here";
    const QString path = dir.filePath(QStringLiteral("LogData.log"));
    write(path, kRecord);
    {
        // Take every page that is left.
        QFile filler(dir.filePath(QStringLiteral("filler")));
        if (filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(64 * 1024, 'y'));
    }
    // More than the log's last page can hold: part of it lands, then the disk
    // is full.
    const auto result = core::session::appendRecord(path, QByteArray(6000, 'z') + "\r\n");
    const QByteArray after = contents(path);
    ::umount2(mountPoint.constData(), MNT_DETACH);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(QLatin1String("No space"))) << result.error.toStdString();
    EXPECT_EQ(after, kRecord);
}

TEST(AppendRecord, AReadOnlyFolderIsReportedToAnOrdinaryUser)
{
    QTemporaryDir dir;
    ::chmod(QFile::encodeName(dir.path()).constData(), 0555);
    const QString path = dir.filePath(QStringLiteral("Log.log"));
    const int code = inChild([&] {
        // Root ignores the folder's mode; test as the user "nobody".
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 3;
        const auto r = core::session::appendRecord(path, kRecord);
        return r.ok ? 1 : (r.error.contains(QLatin1String("Permission denied")) && r.error.contains(path) ? 0 : 2);
    });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
