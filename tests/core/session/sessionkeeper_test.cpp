// SPDX-License-Identifier: MIT
// A session owed to the logs reaches each of them exactly once, wherever the
// program is stopped on the way, and is never taken from a copy that runs.
// Each test runs sessions as the clock window does (the fake platform's
// clock, the session clock, a keeper), with no window.

#include "core/clock/sessionclock.h"
#include "core/session/journal.h"
#include "core/session/sessionkeeper.h"
#include "support/fakeplatform.h"

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

// One running copy's session.
class Session
{
public:
    Session(FakePlatform &clock, const QString &journalFolder, const QString &logFolder)
        : clock_(clock)
        , keeper(journalFolder, logFolder, [this] { return record(); }, QLocale::c())
    {
        sessionClock_.start(clock.secondsSinceMidnight(), clock.timeOfDay(), clock.today());
    }

    SessionRecord record() const
    {
        return {clock_.today(), sessionClock_.StartTime, clock_.timeOfDay(), sessionClock_.ElapsedSecs,
                sessionClock_.ClockText};
    }
    QString tick(int times = 1, double seconds = 1)
    {
        QString problems;
        for (int i = 0; i < times; ++i) {
            clock_.advance(seconds);
            sessionClock_.Timer1_Timer(clock_.secondsSinceMidnight(), clock_.today(), 1000);
            problems += keeper.tick(sessionClock_.ElapsedSecs);
        }
        return problems;
    }

private:
    FakePlatform &clock_;
    core::clock::SessionClock sessionClock_;

public:
    SessionKeeper keeper;
};

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

class SessionKeeperTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir().mkpath(logs()));
        ASSERT_TRUE(QDir().mkpath(elsewhere()));
        clock.set(QDate(2026, 12, 7), QTime(9, 0, 0));
    }
    QString logs() const { return dir.filePath(QStringLiteral("logs")); }
    QString log(const char *name) const { return QDir(logs()).filePath(QString::fromLatin1(name)); }
    QString journalFolder() const { return dir.filePath(QStringLiteral("journal")); }
    QString elsewhere() const { return dir.filePath(QStringLiteral("elsewhere")); }
    QStringList entries() const { return Journal(journalFolder()).entryIds(); }

    QTemporaryDir dir;
    FakePlatform clock;
};

QByteArray display(const SessionRecord &r)
{
    return displayForm(r, QLocale::c());
}

// Every pair of stopping points, one at the exit and one in the start that
// recovers it, then a clean start and exit: each log ends with every
// session once, in the order they started.
TEST_F(SessionKeeperTest, EachLogGetsEverySessionOnceWhereverItIsStopped)
{
    // An earlier record, and a Log.log whose last line was cut off by some
    // old crash, so offsets and the mended line end are both exercised.
    const QByteArray earlierData = dataForm({QDate(2026, 12, 6), QTime(8, 0), QTime(8, 1), 60.0, QStringLiteral("0:01:00")});
    const QByteArray earlierLog = display({QDate(2026, 12, 6), QTime(8, 0), QTime(8, 1), 60.0, QStringLiteral("0:01:00")}).chopped(3);
    for (const Fault &atExit : kFaults) {
        for (const Fault &atRecovery : kFaults) {
            SCOPED_TRACE(std::string("exit: ") + atExit.name + "; recovery: " + atRecovery.name);
            QDir(journalFolder()).removeRecursively();
            write(log(kDataLogFileName), earlierData);
            write(log(kLogFileName), earlierLog);
            SessionRecord first, second, third;
            {
                Session a(clock, journalFolder(), logs());
                a.keeper.setFaultHook(killAt(atExit));
                a.keeper.start();
                a.tick(7);
                try {
                    a.keeper.finish();
                } catch (const Killed &) {
                }
                first = a.record();
            } // the process is gone: its locks with it
            clock.advance(60);
            {
                Session b(clock, journalFolder(), logs());
                b.keeper.setFaultHook(killAt(atRecovery));
                try {
                    b.keeper.start();
                } catch (const Killed &) {
                }
                second = b.record(); // killed before its first tick: owed with no length
            }
            clock.advance(60);
            Session c(clock, journalFolder(), logs());
            for (const SessionFate &fate : c.keeper.start().owed)
                EXPECT_EQ(fate.kind, SessionFate::Kind::Logged) << fate.errors.join(QString()).toStdString();
            c.tick(3);
            EXPECT_EQ(c.keeper.finish().session.kind, SessionFate::Kind::Logged);
            third = c.record();

            EXPECT_EQ(contents(log(kDataLogFileName)), earlierData + dataForm(first) + dataForm(second) + dataForm(third));
            EXPECT_EQ(contents(log(kLogFileName)),
                      earlierLog + "\r\n" + display(first) + display(second) + display(third));
            EXPECT_TRUE(entries().isEmpty());
            EXPECT_TRUE(QDir(journalFolder()).entryList(QDir::Files).isEmpty()) << "no lock file left";
        }
    }
}

// Other writers between the stop and the recovery: the offset noted tells
// whether the record got there, not the size of the log.
TEST_F(SessionKeeperTest, AnotherRecordAfterTheStopNeitherHidesNorDoublesOurs)
{
    const QByteArray other = dataForm({QDate(2026, 12, 7), QTime(9, 30), QTime(10, 30), 3600.0, QStringLiteral("1:00:00")});
    struct Row
    {
        Fault fault;
        bool ourFirst;
    };
    const Row rows[] = {
        {{"before the append", Step::EntrySaved, kDataLogFileName}, false},
        {{"after the append", Step::Appended, kDataLogFileName}, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.fault.name);
        QDir(journalFolder()).removeRecursively();
        QFile::remove(log(kDataLogFileName));
        SessionRecord ours;
        {
            Session a(clock, journalFolder(), logs());
            a.keeper.setFaultHook(killAt(row.fault));
            a.keeper.start();
            a.tick(5);
            try {
                a.keeper.finish();
            } catch (const Killed &) {
            }
            ours = a.record();
        }
        QFile f(log(kDataLogFileName));
        ASSERT_TRUE(f.open(QIODevice::Append));
        f.write(other);
        f.close();
        Session(clock, journalFolder(), elsewhere()).keeper.start();
        EXPECT_EQ(contents(log(kDataLogFileName)), row.ourFirst ? dataForm(ours) + other : other + dataForm(ours));
    }
}

TEST_F(SessionKeeperTest, ARunningCopysEntryIsNeverTakenNorOneBeingDelivered)
{
    auto owner = std::make_unique<Session>(clock, journalFolder(), logs());
    owner->keeper.start();
    owner->tick(); // the first tick saves it; recovery finds it as it was then

    // Another copy sharing the home starts: it leaves the live entry alone.
    Session other(clock, journalFolder(), elsewhere());
    EXPECT_TRUE(other.keeper.start().owed.isEmpty());
    EXPECT_FALSE(QFile::exists(log(kDataLogFileName)));

    // The owner is killed; while one copy delivers its entry, a third that
    // starts at the same moment keeps off it.
    const SessionRecord killed = owner->record();
    owner.reset();
    Session first(clock, journalFolder(), elsewhere());
    int thirdTook = -1;
    std::unique_ptr<Session> third;
    first.keeper.setFaultHook([&](Step step, const QString &) {
        if (step == Step::EntrySaved && !third) {
            third = std::make_unique<Session>(clock, journalFolder(), elsewhere());
            thirdTook = static_cast<int>(third->keeper.start().owed.size());
        }
    });
    EXPECT_EQ(first.keeper.start().owed.size(), 1);
    EXPECT_EQ(thirdTook, 0);
    EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(killed));
    EXPECT_TRUE(Session(clock, journalFolder(), elsewhere()).keeper.start().owed.isEmpty());
}

// A folder that is gone (a removed stick) or a log that refuses keeps the
// sessions, however many; when it is back they arrive oldest first.
TEST_F(SessionKeeperTest, OwedSessionsPileUpAndArriveOldestFirst)
{
    const QString gone = dir.filePath(QStringLiteral("stick"));
    QMap<int, SessionRecord> sessions;
    for (int minute : {3, 1, 2}) { // started at 09:03, 09:01, 09:02
        clock.set(QDate(2026, 12, 7), QTime(9, minute, 0));
        Session s(clock, journalFolder(), gone);
        s.keeper.start();
        s.tick(minute * 10);
        const SessionFate fate = s.keeper.finish().session;
        EXPECT_EQ(fate.kind, SessionFate::Kind::Kept);
        // The first finds the folder gone; the later ones wait behind it.
        const QLatin1String why(sessions.isEmpty() ? "No such file" : "waits for an older session");
        EXPECT_TRUE(fate.errors.join(QString()).contains(why)) << fate.errors.join(QString()).toStdString();
        sessions[minute] = s.record();
    }
    clock.set(QDate(2026, 12, 7), QTime(10, 0, 0));
    const auto startOnce = [&] {
        const QList<SessionFate> owed = Session(clock, journalFolder(), elsewhere()).keeper.start().owed;
        // The copy that just started and ended is owed too: it is the last.
        return owed.mid(0, 3);
    };
    QList<SessionFate> owed = startOnce();
    ASSERT_EQ(owed.size(), 3);
    for (const SessionFate &fate : owed)
        EXPECT_EQ(fate.kind, SessionFate::Kind::Kept);

    ASSERT_TRUE(QDir().mkpath(gone));
    // LogData.log refuses for now: Log.log takes all three, LogData.log none,
    // and no later session slips in ahead of an older one.
    ASSERT_TRUE(QDir().mkpath(QDir(gone).filePath(QStringLiteral("LogData.log"))));
    owed = startOnce();
    for (const SessionFate &fate : owed)
        EXPECT_EQ(fate.kind, SessionFate::Kind::Kept);
    EXPECT_EQ(contents(QDir(gone).filePath(QStringLiteral("Log.log"))),
              display(sessions[1]) + display(sessions[2]) + display(sessions[3]));
    ASSERT_TRUE(QDir(QDir(gone).filePath(QStringLiteral("LogData.log"))).removeRecursively());
    owed = startOnce();
    for (const SessionFate &fate : owed)
        EXPECT_EQ(fate.kind, SessionFate::Kind::Logged);
    EXPECT_EQ(contents(QDir(gone).filePath(QStringLiteral("LogData.log"))),
              dataForm(sessions[1]) + dataForm(sessions[2]) + dataForm(sessions[3]));
    EXPECT_EQ(contents(QDir(gone).filePath(QStringLiteral("Log.log"))).count("----------"), 3);
}

TEST_F(SessionKeeperTest, AnEntryThatCannotBeTrustedIsReportedAndWritesNowhere)
{
    ASSERT_TRUE(QDir().mkpath(journalFolder()));
    EntryData good;
    good.folder = logs();
    good.record = {QDate(2026, 12, 7), QTime(9, 4), QTime(10, 4), 240.25, QStringLiteral("0:04:00")};
    good.logs = owedLogs();
    QByteArray foreign = serializeEntry(good);
    foreign.replace("log=Log.log;", "log=..%2F..%2Fetc%2Fpasswd;");
    QByteArray relative = serializeEntry(good);
    relative.replace(QFile::encodeName(logs()).toPercentEncoding(), "logs");
    struct Row
    {
        const char *name;
        QByteArray bytes;
        bool fifo;
    };
    const Row rows[] = {
        {"garbage", "\x01\x02not an entry", false},
        {"no end date", serializeEntry(good).replace("endDate=", "x="), false},
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
        Session s(clock, journalFolder(), elsewhere());
        const QList<SessionFate> owed = s.keeper.start().owed;
        ASSERT_EQ(owed.size(), 1);
        EXPECT_EQ(owed[0].kind, SessionFate::Kind::Unreadable);
        if (row.fifo) {
            EXPECT_TRUE(owed[0].errors.join(QString()).contains(QLatin1String("FIFO")))
                << owed[0].errors.join(QString()).toStdString();
        }
        EXPECT_TRUE(QFileInfo::exists(path)) << "kept for the user to look at";
        EXPECT_TRUE(QDir(logs()).entryList(QDir::Files).isEmpty());
        s.keeper.finish();
    }
}

// The journal's copy of the running session: from its first moment, again
// at the first tick, then once a minute, and whenever the time went back.
TEST_F(SessionKeeperTest, TheRunningSessionIsRewrittenAtTheFirstTickAndEveryMinute)
{
    clock.set(QDate(2026, 12, 7), QTime(23, 59, 58));
    Session s(clock, journalFolder(), logs());
    const auto saved = [&] {
        const QStringList ids = entries();
        EXPECT_EQ(ids.size(), 1);
        QFile f(Journal(journalFolder()).entryPath(ids.value(0)));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return parseEntry(f.readAll()).value_or(EntryData{});
    };
    EXPECT_TRUE(s.keeper.start().journalProblem.isEmpty());
    EXPECT_TRUE(saved().record.clockText.isEmpty()) << "kept before the first tick";
    s.tick();
    EXPECT_EQ(saved().record.clockText, QStringLiteral("0:00:01"));
    s.tick(58);
    EXPECT_EQ(saved().record.clockText, QStringLiteral("0:00:01"));
    s.tick(2); // across midnight
    EXPECT_EQ(saved().record.clockText, QStringLiteral("0:01:01"));
    EXPECT_EQ(saved().record.endDate, QDate(2026, 12, 8));
    EXPECT_EQ(saved().folder, logs());
    EXPECT_EQ(saved().record.startTime, QTime(23, 59, 58));
}

// Without a journal to keep it in, the session still reaches the logs at
// the end, and the problem is said once, not at every tick.
TEST_F(SessionKeeperTest, WithoutAJournalTheRecordGoesStraightToTheLogs)
{
    write(journalFolder(), "a file where the journal goes");
    struct Row
    {
        const char *name;
        bool logRefuses;
        SessionFate::Kind kind;
    };
    for (const Row &row : {Row{"logs writable", false, SessionFate::Kind::Logged},
                           Row{"Log.log refuses", true, SessionFate::Kind::Lost}}) {
        SCOPED_TRACE(row.name);
        QDir(logs()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(logs()));
        if (row.logRefuses) {
            ASSERT_TRUE(QDir().mkpath(log(kLogFileName)));
        }
        Session s(clock, journalFolder(), logs());
        const QString problem = s.keeper.start().journalProblem;
        EXPECT_TRUE(problem.contains(QLatin1String("it is a file"))) << problem.toStdString();
        EXPECT_EQ(s.tick(120), QString());
        const SessionFate fate = s.keeper.finish().session;
        EXPECT_EQ(fate.kind, row.kind);
        EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(s.record()));
        if (row.logRefuses) {
            EXPECT_TRUE(fate.errors.join(QString()).contains(log(kLogFileName))) << fate.errors.join(QString()).toStdString();
        } else {
            EXPECT_EQ(contents(log(kLogFileName)), display(s.record()));
        }
    }
}

} // namespace
