// SPDX-License-Identifier: MIT
// Reading a file never blocks on a FIFO, never swallows a device whole, and
// says what stood at the path instead of a file.

#include "core/files/safefile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <sys/stat.h>

namespace {

TEST(SafeFile, ReadsOnlyRegularFilesWithinTheLimit)
{
    QTemporaryDir dir;
    const QByteArray big(5 * 1024 * 1024, 'x'); // a settings file of a few MB is still read whole
    struct Row
    {
        const char *name;
        std::function<void(const QString &path)> make;
        core::files::ReadResult result;
        const char *reason; // the end of the error text
        qint64 size;        // bytes read when Ok
    };
    auto link = [](const QString &target) {
        return [target](const QString &path) { ASSERT_TRUE(QFile::link(target, path)); };
    };
    auto file = [](const QByteArray &bytes) {
        return [bytes](const QString &path) {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
    };
    const QString plain = dir.filePath(QStringLiteral("plain"));
    file("[Settings]\n")(plain);
    const Row rows[] = {
        {"a regular file", file("a=1\n"), core::files::ReadResult::Ok, "", 4},
        {"a large file", file(big), core::files::ReadResult::Ok, "", big.size()},
        {"nothing", {}, core::files::ReadResult::Missing, "", 0},
        {"a link to a regular file", link(plain), core::files::ReadResult::Ok, "", 11},
        {"a FIFO", [](const QString &p) { ASSERT_EQ(::mkfifo(QFile::encodeName(p).constData(), 0600), 0); },
         core::files::ReadResult::Failed, ": it is a FIFO (named pipe)", 0},
        {"a link to /dev/zero", link(QStringLiteral("/dev/zero")), core::files::ReadResult::Failed,
         ": it is a character device", 0},
        {"a folder", [](const QString &p) { ASSERT_TRUE(QDir().mkpath(p)); }, core::files::ReadResult::Failed,
         ": it is a folder", 0},
        {"over the limit", file(QByteArray(6 * 1024 * 1024 + 1, 'y')), core::files::ReadResult::Failed,
         ": it is larger than 6291456 bytes", 0},
    };
    int n = 0;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = dir.filePath(QStringLiteral("f%1").arg(++n));
        if (row.make)
            row.make(path);
        QByteArray bytes("stale");
        QString error;
        EXPECT_EQ(core::files::readRegular(path, 6 * 1024 * 1024, &bytes, &error), row.result);
        if (row.result == core::files::ReadResult::Failed) {
            EXPECT_TRUE(error.startsWith(QStringLiteral("cannot read ") + path)) << error.toStdString();
            EXPECT_TRUE(error.endsWith(QLatin1String(row.reason))) << error.toStdString();
        } else {
            EXPECT_EQ(bytes.size(), row.size);
        }
    }
}

TEST(SafeFile, AnAtomicWriteLeavesTheNewFileAndNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("entry"));
    ASSERT_TRUE(core::files::writeAtomically(path, "old", nullptr));
    ASSERT_TRUE(core::files::writeAtomically(path, "new", nullptr));
    QByteArray bytes;
    ASSERT_EQ(core::files::readRegular(path, 100, &bytes, nullptr), core::files::ReadResult::Ok);
    EXPECT_EQ(bytes, "new");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("entry")});
    QString error;
    EXPECT_FALSE(core::files::writeAtomically(dir.filePath(QStringLiteral("gone/entry")), "x", &error));
    EXPECT_TRUE(error.contains(QLatin1String("No such file"))) << error.toStdString();
}

} // namespace
