// A record reaches a log whole or not at all, and a log that cannot take it
// says why instead of failing quietly.

#include "logappender.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kRecord = "\"----------\"\r\n#2026-12-07#\r\n#09:00:00#\r\n#10:00:00#\r\n3600\r\n\"1:00:00\"\r\n";

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

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

    ASSERT_TRUE(sessionlog::appendRecord(path, kRecord).ok);
    ASSERT_TRUE(sessionlog::appendRecord(path, kRecord).ok);
    EXPECT_EQ(contents(path), kRecord + kRecord);

    // An earlier crash left a line without its end: the new record starts on
    // a line of its own.
    write(path, kRecord + "\"----------\"\r\n#2026-12");
    ASSERT_TRUE(sessionlog::appendRecord(path, kRecord).ok);
    EXPECT_EQ(contents(path), kRecord + "\"----------\"\r\n#2026-12\r\n" + kRecord);
}

TEST(AppendRecord, ReportsAPathThatIsAFolderOrCannotBeMade)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("LogData.log"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto result = sessionlog::appendRecord(folder, kRecord);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(folder)) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains(QLatin1String("directory"))) << result.error.toStdString();

    const auto missing = sessionlog::appendRecord(dir.filePath(QStringLiteral("no/such/LogData.log")), kRecord);
    EXPECT_FALSE(missing.ok);
    EXPECT_TRUE(missing.error.contains(QLatin1String("No such file"))) << missing.error.toStdString();
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
        const auto r = sessionlog::appendRecord(path, kRecord);
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
    const auto result = sessionlog::appendRecord(path, QByteArray(6000, 'z') + "\r\n");
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
        const auto r = sessionlog::appendRecord(path, kRecord);
        return r.ok ? 1 : (r.error.contains(QLatin1String("Permission denied")) && r.error.contains(path) ? 0 : 2);
    });
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(QFile::exists(path));
}

} // namespace
