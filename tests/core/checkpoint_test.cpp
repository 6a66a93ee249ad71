// A session that could not be logged the normal way is kept on disk and
// written into its logs at the next start, exactly once.

#include "checkpoint.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using namespace sessionlog;

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

Checkpoint sample(const QString &folder)
{
    return {{QDate(2026, 12, 8), QTime(23, 59, 30), QTime(0, 10, 30), 660.25, QStringLiteral("0:11:00")},
            folder,
            {QStringLiteral("Log.log"), QStringLiteral("LogData.log")}};
}

TEST(Checkpoint, SavesAndLoadsEveryValue)
{
    QTemporaryDir dir;
    const CheckpointStore store(dir.filePath(QStringLiteral("state/session.checkpoint")));
    EXPECT_FALSE(store.load().has_value());
    const QString folder = dir.filePath(QStringLiteral("odd = folder, with\nnewline"));
    Checkpoint c = sample(folder);
    c.record.elapsedSecs.reset();
    c.record.clockText.clear();
    ASSERT_TRUE(store.save(c));
    const auto back = store.load();
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->folder, folder);
    EXPECT_EQ(back->record.endDate, c.record.endDate);
    EXPECT_EQ(back->record.startTime, c.record.startTime);
    EXPECT_EQ(back->record.endTime, c.record.endTime);
    EXPECT_FALSE(back->record.elapsedSecs.has_value());
    EXPECT_TRUE(back->record.clockText.isEmpty());
    EXPECT_EQ(back->pending, c.pending);
}

TEST(Checkpoint, LeftoverBecomesOneOrdinaryRecordInBothLogs)
{
    QTemporaryDir dir;
    const CheckpointStore store(dir.filePath(QStringLiteral("session.checkpoint")));
    ASSERT_TRUE(store.save(sample(dir.path())));

    const Recovery r = recoverLeftover(store, QLocale::c());
    EXPECT_TRUE(r.found);
    EXPECT_TRUE(r.complete);
    EXPECT_TRUE(r.message.contains(QLatin1String("0:11:00"))) << r.message.toStdString();
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("LogData.log"))),
              QByteArray("\"----------\"\r\n#2026-12-08#\r\n#23:59:30#\r\n#00:10:30#\r\n660.25\r\n\"0:11:00\"\r\n"));
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("Log.log"))),
              QByteArray("----------\r\n8 Dec 2026\r\n23:59:30\r\n00:10:30\r\n660.25\r\n0:11:00\r\n"));
    EXPECT_FALSE(QFile::exists(store.path()));

    // Nothing left: a second start writes nothing more.
    EXPECT_FALSE(recoverLeftover(store, QLocale::c()).found);
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("LogData.log"))).count("----------"), 1);
}

TEST(Checkpoint, ALogThatRefusesStaysPendingForTheNextStart)
{
    QTemporaryDir dir;
    const CheckpointStore store(dir.filePath(QStringLiteral("session.checkpoint")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("Log.log")))); // a folder in the way
    ASSERT_TRUE(store.save(sample(dir.path())));

    Recovery r = recoverLeftover(store, QLocale::c());
    EXPECT_TRUE(r.found);
    EXPECT_FALSE(r.complete);
    EXPECT_TRUE(r.message.contains(QLatin1String("Log.log"))) << r.message.toStdString();
    EXPECT_EQ(store.load()->pending, QStringList{QStringLiteral("Log.log")});

    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("Log.log"))).removeRecursively());
    r = recoverLeftover(store, QLocale::c());
    EXPECT_TRUE(r.complete);
    // Each log got the record exactly once.
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("LogData.log"))).count("----------"), 1);
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("Log.log"))).count("----------"), 1);
}

TEST(Checkpoint, ADamagedOrForeignCheckpointIsReportedAndWritesNowhereElse)
{
    QTemporaryDir dir;
    const CheckpointStore store(dir.filePath(QStringLiteral("session.checkpoint")));
    struct Row
    {
        const char *name;
        QByteArray bytes;
        bool readable;
    };
    const QByteArray folder = "folder=" + QFile::encodeName(dir.path()) + "\n";
    const Row rows[] = {
        {"garbage", "\x01\x02not a checkpoint", false},
        {"no date", folder + "startTime=#01:00:00#\nendTime=#02:00:00#\n", false},
        {"bad date", folder + "endDate=#2026-13-01#\nstartTime=#01:00:00#\nendTime=#02:00:00#\n", false},
        {"foreign log names",
         folder + "endDate=#2026-12-01#\nstartTime=#01:00:00#\nendTime=#02:00:00#\npending=../../etc/passwd,x\n", true},
    };
    for (const Row &row : rows) {
        QFile f(store.path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(row.bytes);
        f.close();
        const Recovery r = recoverLeftover(store, QLocale::c());
        EXPECT_TRUE(r.found) << row.name;
        EXPECT_EQ(r.message.isEmpty(), false) << row.name;
        const QStringList files = QDir(dir.path()).entryList(QDir::Files, QDir::Name);
        if (row.readable) {
            // Only our own two logs, in the checkpoint's folder, ever receive it.
            EXPECT_EQ(files, (QStringList{QStringLiteral("Log.log"), QStringLiteral("LogData.log")})) << row.name;
        } else {
            EXPECT_EQ(files, QStringList{QStringLiteral("session.checkpoint")})
                << row.name << ": kept for the user to look at";
        }
        store.remove();
    }
}

} // namespace
