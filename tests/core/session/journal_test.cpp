// SPDX-License-Identifier: MIT
// A session owed to the logs reaches each of them exactly once, wherever the
// program is stopped on the way, and is never taken from a copy that runs.

#include "core/session/journal.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace core::session;

struct Killed
{
};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

SessionRecord session(int minutes)
{
    return {QDate(2026, 12, 7), QTime(9, minutes, 0), QTime(10, minutes, 0), minutes * 60.0 + 0.25,
            QStringLiteral("0:%1:00").arg(minutes, 2, 10, QLatin1Char('0'))};
}

QByteArray render(const SessionRecord &r, const QString &name)
{
    return name == QLatin1String(kDataLogFileName) ? dataForm(r) : displayForm(r, QLocale::c());
}

struct Fault
{
    const char *name;
    std::optional<Step> step; // nullopt: runs to the end
    const char *log;          // the log the step concerns ("" for any)
};

const Fault kFaults[] = {
    {"no fault", std::nullopt, ""},
    {"entry noted for Log.log", Step::EntrySaved, kLogFileName},
    {"half of Log.log written", Step::HalfAppended, kLogFileName},
    {"Log.log written, entry not updated", Step::Appended, kLogFileName},
    {"entry noted for LogData.log", Step::EntrySaved, kDataLogFileName},
    {"half of LogData.log written", Step::HalfAppended, kDataLogFileName},
    {"LogData.log written, entry not updated", Step::Appended, kDataLogFileName},
    {"entry removed, lock file not", Step::EntryRemoved, ""},
};

FaultHook killAt(const Fault &fault)
{
    if (!fault.step)
        return {};
    return [fault](Step step, const QString &log) {
        if (step == *fault.step && (!*fault.log || log == QLatin1String(fault.log)))
            throw Killed{};
    };
}

class JournalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(logs()));
    }
    QString logs() const { return dir.filePath(QStringLiteral("logs")); }
    QString log(const char *name) const { return QDir(logs()).filePath(QString::fromLatin1(name)); }
    QString journalFolder() const { return dir.filePath(QStringLiteral("journal")); }

    QTemporaryDir dir;
};

// Every pair of stopping points, one at the exit and one in the start that
// recovers it, then a clean start: each log ends with the session once.
TEST_F(JournalTest, EachLogGetsTheSessionOnceWhereverItIsStopped)
{
    const SessionRecord r = session(7);
    // An earlier record, and a Log.log whose last line was cut off by some
    // old crash, so offsets and the mended line end are both exercised.
    const QByteArray earlierData = dataForm(session(1));
    const QByteArray earlierLog = displayForm(session(1), QLocale::c()).chopped(3);
    for (const Fault &atExit : kFaults) {
        for (const Fault &atRecovery : kFaults) {
            SCOPED_TRACE(std::string("exit: ") + atExit.name + "; recovery: " + atRecovery.name);
            QDir(journalFolder()).removeRecursively();
            write(log(kDataLogFileName), earlierData);
            write(log(kLogFileName), earlierLog);
            {
                Journal journal(journalFolder());
                journal.setFaultHook(killAt(atExit));
                auto entry = journal.begin(r, logs(), nullptr);
                ASSERT_TRUE(entry);
                try {
                    entry->deliver([&](const QString &name) { return render(r, name); });
                } catch (const Killed &) {
                }
            } // the process is gone: its lock with it
            {
                Journal journal(journalFolder());
                journal.setFaultHook(killAt(atRecovery));
                try {
                    journal.deliverOwed(QLocale::c());
                } catch (const Killed &) {
                }
            }
            Journal journal(journalFolder());
            journal.deliverOwed(QLocale::c());
            EXPECT_EQ(contents(log(kDataLogFileName)), earlierData + dataForm(r));
            EXPECT_EQ(contents(log(kLogFileName)), earlierLog + "\r\n" + displayForm(r, QLocale::c()));
            EXPECT_TRUE(journal.entryIds().isEmpty());
            EXPECT_TRUE(QDir(journalFolder()).entryList(QDir::Files).isEmpty()) << "no lock file left";
        }
    }
}

// Other writers between the stop and the recovery: the offset noted tells
// whether the record got there, not the size of the log.
TEST_F(JournalTest, AnotherRecordAfterTheStopNeitherHidesNorDoublesOurs)
{
    const SessionRecord r = session(7);
    const QByteArray other = dataForm(session(30));
    struct Row
    {
        Fault fault;
        QByteArray expected;
    };
    const Row rows[] = {
        {{"before the append", Step::EntrySaved, kDataLogFileName}, other + dataForm(r)},
        {{"after the append", Step::Appended, kDataLogFileName}, dataForm(r) + other},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.fault.name);
        QDir(journalFolder()).removeRecursively();
        QFile::remove(log(kDataLogFileName));
        {
            Journal journal(journalFolder());
            journal.setFaultHook(killAt(row.fault));
            auto entry = journal.begin(r, logs(), nullptr);
            try {
                entry->deliver([&](const QString &name) { return render(r, name); });
            } catch (const Killed &) {
            }
        }
        QFile f(log(kDataLogFileName));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(other);
        f.close();
        Journal(journalFolder()).deliverOwed(QLocale::c());
        EXPECT_EQ(contents(log(kDataLogFileName)), row.expected);
    }
}

TEST_F(JournalTest, ARunningCopysEntryIsNeverTakenNorOneBeingDelivered)
{
    const SessionRecord r = session(5);
    Journal owner(journalFolder());
    auto live = owner.begin(r, logs(), nullptr);
    ASSERT_TRUE(live);

    // Another copy sharing the home starts: it leaves the live entry alone.
    Journal other(journalFolder());
    Journal::Delivery d = other.deliverOwed(QLocale::c());
    EXPECT_EQ(d.delivered + d.kept + d.unreadable, 0);
    EXPECT_FALSE(QFile::exists(log(kDataLogFileName)));

    // The owner is killed; while one copy delivers its entry, a third that
    // starts at the same moment keeps off it.
    live.reset();
    Journal first(journalFolder());
    int thirdTook = -1;
    first.setFaultHook([&](Step step, const QString &) {
        if (step == Step::EntrySaved && thirdTook < 0) {
            const Journal::Delivery t = Journal(journalFolder()).deliverOwed(QLocale::c());
            thirdTook = t.delivered + t.kept + t.unreadable;
        }
    });
    d = first.deliverOwed(QLocale::c());
    EXPECT_EQ(d.delivered, 1);
    EXPECT_EQ(thirdTook, 0);
    EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(r));
    EXPECT_EQ(Journal(journalFolder()).deliverOwed(QLocale::c()).delivered, 0);
}

// A folder that is gone (a removed stick) or a log that refuses keeps the
// sessions, however many; when it is back they arrive oldest first.
TEST_F(JournalTest, OwedSessionsPileUpAndArriveOldestFirst)
{
    const QString gone = dir.filePath(QStringLiteral("stick"));
    Journal journal(journalFolder());
    for (int minutes : {3, 1, 2}) { // started at 09:03, 09:01, 09:02
        auto entry = journal.begin(session(minutes), gone, nullptr);
        ASSERT_TRUE(entry);
        EXPECT_FALSE(entry->deliver([&](const QString &name) { return render(session(minutes), name); }));
        EXPECT_TRUE(entry->errors().join(QString()).contains(QLatin1String("No such file"))) << entry->errors().join(QString()).toStdString();
    }
    Journal::Delivery d = journal.deliverOwed(QLocale::c());
    EXPECT_EQ(d.kept, 3);
    EXPECT_EQ(journal.entryIds().size(), 3);

    ASSERT_TRUE(QDir().mkpath(gone));
    // LogData.log refuses for now: Log.log takes all three, LogData.log none,
    // and no later session slips in ahead of an older one.
    ASSERT_TRUE(QDir().mkpath(QDir(gone).filePath(QStringLiteral("LogData.log"))));
    d = journal.deliverOwed(QLocale::c());
    EXPECT_EQ(d.kept, 3);
    EXPECT_EQ(contents(QDir(gone).filePath(QStringLiteral("Log.log"))),
              displayForm(session(1), QLocale::c()) + displayForm(session(2), QLocale::c())
                  + displayForm(session(3), QLocale::c()));
    ASSERT_TRUE(QDir(QDir(gone).filePath(QStringLiteral("LogData.log"))).removeRecursively());
    d = journal.deliverOwed(QLocale::c());
    EXPECT_EQ(d.delivered, 3);
    EXPECT_EQ(contents(QDir(gone).filePath(QStringLiteral("LogData.log"))),
              dataForm(session(1)) + dataForm(session(2)) + dataForm(session(3)));
    EXPECT_EQ(contents(QDir(gone).filePath(QStringLiteral("Log.log"))).count("----------"), 3);
    EXPECT_TRUE(journal.entryIds().isEmpty());
}

TEST_F(JournalTest, AnEntryThatCannotBeTrustedIsReportedAndWritesNowhere)
{
    ASSERT_TRUE(QDir().mkpath(journalFolder()));
    EntryData good;
    good.folder = logs();
    good.record = session(4);
    good.logs.resize(2);
    good.logs[0].name = QString::fromLatin1(kLogFileName);
    good.logs[1].name = QString::fromLatin1(kDataLogFileName);
    QByteArray foreign = Journal::serialize(good);
    foreign.replace("log=Log.log;", "log=..%2F..%2Fetc%2Fpasswd;");
    QByteArray relative = Journal::serialize(good);
    relative.replace(QFile::encodeName(logs()).toPercentEncoding(), "logs");
    struct Row
    {
        const char *name;
        QByteArray bytes;
        bool fifo;
    };
    const Row rows[] = {
        {"garbage", "\x01\x02not an entry", false},
        {"no end date", Journal::serialize(good).replace("endDate=", "x="), false},
        {"a log of another name", foreign, false},
        {"a folder that is not absolute", relative, false},
        {"a FIFO", {}, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QString path = journalFolder() + QStringLiteral("/20261207T090000-1-0.session");
        QFile::remove(path);
        if (row.fifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            write(path, row.bytes);
        }
        const Journal::Delivery d = Journal(journalFolder()).deliverOwed(QLocale::c());
        EXPECT_EQ(d.unreadable, 1);
        ASSERT_EQ(d.messages.size(), 1);
        if (row.fifo) {
            EXPECT_TRUE(d.messages[0].contains(QLatin1String("FIFO"))) << d.messages[0].toStdString();
        }
        EXPECT_TRUE(QFileInfo::exists(path)) << "kept for the user to look at";
        EXPECT_TRUE(QDir(logs()).entryList(QDir::Files).isEmpty());
    }
}

} // namespace
