// SPDX-License-Identifier: MIT
// A session owed to the logs reaches each of them exactly once, wherever the
// program is stopped on the way, and is never taken from a copy that runs.
// Each test runs sessions as the clock window does (the fake platform's
// clock, the session clock, a keeper), with no window.

#include "core/clock/sessionclock.h"
#include "core/session/journal.h"
#include "core/session/sessionkeeper.h"
#include "support/fakeplatform.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace {

using namespace core::session;

struct Killed
{
};

// One running copy's session.
class Session
{
public:
    Session(FakePlatform &clock, const QString &journalFolder, const QString &logFolder,
            const QString &spareJournalFolder = {})
        : clock_(clock)
        , keeper(spareJournalFolder.isEmpty() ? QStringList{journalFolder} : QStringList{journalFolder, spareJournalFolder},
                 logFolder, [this] { return record(); }, QLocale::c())
    {
        sessionClock_.start(clock.secondsSinceMidnight(), clock.timeOfDay(), clock.today());
    }

    SessionKeeper::Started start()
    {
        return keeper.start({clock_.currentUtc().toMSecsSinceEpoch(), monotonicMs_, monotonicMs_, false});
    }
    // The screen lock, as the desktop reports it.
    void lock(bool locked) { keeper.setLocked(locked, monotonicMs_); }

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
            monotonicMs_ += static_cast<qint64>(seconds * 1000);
            sessionClock_.Timer1_Timer(clock_.secondsSinceMidnight(), clock_.today(), 1000);
            problems += keeper.tick(sessionClock_.ElapsedSecs, AwayTally::Reading{monotonicMs_, monotonicMs_, false, {}, {}});
        }
        return problems;
    }

private:
    FakePlatform &clock_;
    core::clock::SessionClock sessionClock_;
    qint64 monotonicMs_ = 1000000;

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
    {"entry noted for LogAway.log", Step::EntrySaved, kAwayLogFileName},
    {"half of LogAway.log written", Step::HalfAppended, kAwayLogFileName},
    {"LogAway.log written, entry not updated", Step::Appended, kAwayLogFileName},
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

QByteArray awayOf(const SessionRecord &r, AwaySeconds away = {})
{
    return awayLine({r.endDate, r.startTime, r.endTime, away});
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
            QFile::remove(log(kAwayLogFileName));
            SessionRecord first, second, third;
            {
                Session a(clock, journalFolder(), logs());
                a.keeper.setFaultHook(killAt(atExit));
                a.start();
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
                    b.start();
                } catch (const Killed &) {
                }
                second = b.record(); // killed before its first tick: owed with no length
            }
            clock.advance(60);
            Session c(clock, journalFolder(), logs());
            for (const SessionFate &fate : c.start().owed)
                EXPECT_EQ(fate.kind, SessionFate::Kind::Logged) << fate.errors.join(QString()).toStdString();
            c.tick(3);
            EXPECT_EQ(c.keeper.finish().session.kind, SessionFate::Kind::Logged);
            third = c.record();

            EXPECT_EQ(contents(log(kDataLogFileName)), earlierData + dataForm(first) + dataForm(second) + dataForm(third));
            EXPECT_EQ(contents(log(kLogFileName)),
                      earlierLog + "\r\n" + display(first) + display(second) + display(third));
            EXPECT_EQ(contents(log(kAwayLogFileName)), awayOf(first) + awayOf(second) + awayOf(third));
            EXPECT_TRUE(entries().isEmpty());
            EXPECT_TRUE(QDir(journalFolder()).entryList(QDir::Files).isEmpty()) << "no lock file left";
        }
    }
}

// The journal stops taking saves (its disk is full, or it is gone) at each
// step of the exit, and the copy is killed at the next step or not: a
// session is never written twice because the journal could not note that
// it was written, nor lost where the logs take it.
TEST_F(SessionKeeperTest, AJournalThatStopsTakingSavesNeitherDoublesNorLoses)
{
    struct Row
    {
        Fault savesFailFrom;
        Fault killAt;
    };
    const Fault none{"", std::nullopt, ""};
    const Row rows[] = {
        {{"Log.log noted", Step::EntrySaved, kLogFileName}, none},
        {{"Log.log noted", Step::EntrySaved, kLogFileName}, {"Log.log written", Step::Appended, kLogFileName}},
        {{"Log.log written", Step::Appended, kLogFileName}, none},
        {{"Log.log written", Step::Appended, kLogFileName}, {"LogData.log written", Step::Appended, kDataLogFileName}},
        {{"LogData.log noted", Step::EntrySaved, kDataLogFileName}, {"LogData.log written", Step::Appended, kDataLogFileName}},
        {{"LogData.log written", Step::Appended, kDataLogFileName}, {"entry removed", Step::EntryRemoved, ""}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("saves fail from: ") + row.savesFailFrom.name + "; killed at: "
                     + (row.killAt.step ? row.killAt.name : "nowhere"));
        QDir(journalFolder()).removeRecursively();
        QFile::remove(log(kLogFileName));
        QFile::remove(log(kDataLogFileName));
        SessionRecord first;
        {
            Session a(clock, journalFolder(), logs());
            bool failing = false;
            a.keeper.setSaveHook([&] { return !failing; });
            const FaultHook kill = killAt(row.killAt);
            a.keeper.setFaultHook([&](Step step, const QString &name) {
                if (step == *row.savesFailFrom.step && name == QLatin1String(row.savesFailFrom.log))
                    failing = true;
                else if (kill)
                    kill(step, name);
            });
            a.start();
            a.tick(5);
            try {
                a.keeper.finish();
            } catch (const Killed &) {
            }
            first = a.record();
        }
        Session b(clock, journalFolder(), elsewhere());
        b.start();
        EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(first));
        EXPECT_EQ(contents(log(kLogFileName)), display(first));
    }
}

// The same on a real full disk: the journal on a small tmpfs that fills up
// at each step of the exit. The entry, which takes the same room in every
// version, is then rewritten in place; the logs, elsewhere, take the record.
TEST_F(SessionKeeperTest, AJournalDiskThatFillsUpNeitherDoublesNorLoses)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    const QByteArray mountPoint = QFile::encodeName(journalFolder());
    ASSERT_TRUE(QDir().mkpath(journalFolder()));
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=64k,mode=0700") != 0)
        GTEST_SKIP() << "cannot mount tmpfs here";
    const auto fill = [&] {
        QFile filler(journalFolder() + QStringLiteral("/filler"));
        if (filler.open(QIODevice::WriteOnly))
            filler.write(QByteArray(128 * 1024, 'y'));
    };
    const Fault none{"", std::nullopt, ""};
    struct Row
    {
        Fault fullFrom;
        Fault killAt;
    };
    const Row rows[] = {
        {{"at the first tick", std::nullopt, ""}, none},
        {{"at the first tick", std::nullopt, ""}, {"Log.log written", Step::Appended, kLogFileName}},
        {{"Log.log noted", Step::EntrySaved, kLogFileName}, {"LogData.log noted", Step::EntrySaved, kDataLogFileName}},
        {{"Log.log written", Step::Appended, kLogFileName}, {"LogData.log written", Step::Appended, kDataLogFileName}},
        {{"LogData.log noted", Step::EntrySaved, kDataLogFileName}, {"half of LogData.log", Step::HalfAppended, kDataLogFileName}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string("full from: ") + row.fullFrom.name + "; killed at: " + (row.killAt.step ? row.killAt.name : "nowhere"));
        for (const QString &name : QDir(journalFolder()).entryList(QDir::Files | QDir::Hidden))
            QFile::remove(QDir(journalFolder()).filePath(name));
        QFile::remove(log(kLogFileName));
        QFile::remove(log(kDataLogFileName));
        SessionRecord first;
        {
            Session a(clock, journalFolder(), logs());
            const FaultHook kill = killAt(row.killAt);
            a.keeper.setFaultHook([&](Step step, const QString &name) {
                if (row.fullFrom.step && step == *row.fullFrom.step && name == QLatin1String(row.fullFrom.log))
                    fill();
                if (kill)
                    kill(step, name);
            });
            a.start();
            if (!row.fullFrom.step)
                fill();
            a.tick(61); // and a rewrite a minute in, on the full disk
            try {
                EXPECT_EQ(a.keeper.finish().session.kind, SessionFate::Kind::Logged);
            } catch (const Killed &) {
            }
            first = a.record();
        }
        Session b(clock, journalFolder(), elsewhere());
        b.start();
        EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(first));
        EXPECT_EQ(contents(log(kLogFileName)), display(first));
    }
    ::umount2(mountPoint.constData(), MNT_DETACH);
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
            a.start();
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
        Session(clock, journalFolder(), elsewhere()).start();
        EXPECT_EQ(contents(log(kDataLogFileName)), row.ourFirst ? dataForm(ours) + other : other + dataForm(ours));
    }
}

TEST_F(SessionKeeperTest, ARunningCopysEntryIsNeverTakenNorOneBeingDelivered)
{
    auto owner = std::make_unique<Session>(clock, journalFolder(), logs());
    // Each copy here runs in this one process: one waiting for another's
    // delivery would wait for itself. Only the entries' own locks keep them
    // apart here (the test below has two processes wait for each other).
    owner->start();
    owner->tick(); // the first tick saves it; recovery finds it as it was then

    // Another copy sharing the home starts: it leaves the live entry alone.
    Session other(clock, journalFolder(), elsewhere());
    EXPECT_TRUE(other.start().owed.isEmpty());
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
            third->keeper.setDeliveryWaitMs(0);
            thirdTook = static_cast<int>(third->start().owed.size());
        }
    });
    EXPECT_EQ(first.start().owed.size(), 1);
    EXPECT_EQ(thirdTook, 0);
    EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(killed));
    EXPECT_TRUE(Session(clock, journalFolder(), elsewhere()).start().owed.isEmpty());
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
        s.start();
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
        const QList<SessionFate> owed = Session(clock, journalFolder(), elsewhere()).start().owed;
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

// Two sessions owed, the first started at 10:00 three hours east of UTC,
// the second at 08:30 in UTC (after a flight, say): the first is first.
TEST_F(SessionKeeperTest, OwedSessionsArriveInTheOrderTheyStartedWhateverTheZone)
{
    const QString gone = dir.filePath(QStringLiteral("stick"));
    QList<SessionRecord> started;
    for (const auto &[time, offset] : {std::pair{QTime(10, 0), 3 * 3600}, std::pair{QTime(8, 30), 0}}) {
        clock.set(QDate(2026, 12, 7), time);
        clock.utcOffsetSecs = offset;
        Session s(clock, journalFolder(), gone);
        s.start();
        s.tick();
        started << s.record();
    } // both killed: owed to a folder that is not there yet
    ASSERT_TRUE(QDir().mkpath(gone));
    Session(clock, journalFolder(), elsewhere()).start();
    EXPECT_EQ(contents(QDir(gone).filePath(QStringLiteral("LogData.log"))), dataForm(started[0]) + dataForm(started[1]));
}

// Two copies that share a home start at the same moment while sessions are
// owed: one delivers them all, in order, while the other waits for it.
TEST_F(SessionKeeperTest, ConcurrentStartsDeliverOwedSessionsOnceAndInOrder)
{
    QList<SessionRecord> owed;
    for (int minute : {1, 2, 3}) {
        clock.set(QDate(2026, 12, 7), QTime(9, minute, 0));
        Session s(clock, journalFolder(), logs());
        s.start();
        s.tick();
        owed << s.record();
    }
    clock.set(QDate(2026, 12, 7), QTime(10, 0, 0));
    Session first(clock, journalFolder(), elsewhere());
    pid_t other = -1;
    bool otherDone = false;
    first.keeper.setFaultHook([&](Step step, const QString &) {
        if (step != Step::EntrySaved || other >= 0)
            return;
        // In the middle of the first delivery, another copy starts.
        std::fflush(nullptr);
        other = ::fork();
        if (other == 0) {
            // A copy of its own: none of the first copy's locks.
            ::close_range(3, ~0U, 0);
            Session second(clock, journalFolder(), elsewhere());
            second.start();
            ::_exit(0);
        }
        // Give it the time to overtake, were it free to.
        for (int i = 0; i < 50 && !otherDone; ++i) {
            otherDone = ::waitpid(other, nullptr, WNOHANG) == other;
            ::usleep(10000);
        }
    });
    first.start();
    if (!otherDone)
        ::waitpid(other, nullptr, 0);
    EXPECT_FALSE(otherDone) << "the other copy did not wait for the delivery";
    EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(owed[0]) + dataForm(owed[1]) + dataForm(owed[2]));
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
    EntryData notARecord = good;
    notARecord.logs[1].record = "\"----------\"\r\n#2026-12-07#\r\nnot a time\r\n#10:04:00#\r\n240\r\n\r\n";
    struct Row
    {
        const char *name;
        QByteArray bytes;
        enum { File, Fifo, LockIsAFolder } kind;
        SessionFate::Kind fate;
        const char *why;
    };
    const Row rows[] = {
        {"garbage", "\x01\x02not an entry", Row::File, SessionFate::Kind::Unreadable, "damaged"},
        {"no end date", serializeEntry(good).replace("endDate=", "x="), Row::File, SessionFate::Kind::Unreadable, "damaged"},
        {"a log of another name", foreign, Row::File, SessionFate::Kind::Unreadable, "damaged"},
        {"a folder that is not absolute", relative, Row::File, SessionFate::Kind::Unreadable, "damaged"},
        {"bytes for a log that are not a record", serializeEntry(notARecord), Row::File, SessionFate::Kind::Unreadable,
         "damaged"},
        {"a FIFO", {}, Row::Fifo, SessionFate::Kind::Unreadable, "FIFO"},
        {"its lock file a folder", serializeEntry(good), Row::LockIsAFolder, SessionFate::Kind::Waiting,
         "20261207T090000-1-0.lock is a folder"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        QDir(journalFolder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(journalFolder()));
        const QString path = journalFolder() + QStringLiteral("/20261207T090000-1-0.session");
        if (row.kind == Row::Fifo) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else {
            write(path, row.bytes);
        }
        if (row.kind == Row::LockIsAFolder) {
            ASSERT_TRUE(QDir().mkpath(journalFolder() + QStringLiteral("/20261207T090000-1-0.lock")));
        }
        Session s(clock, journalFolder(), elsewhere());
        const QList<SessionFate> owed = s.start().owed;
        ASSERT_EQ(owed.size(), 1);
        EXPECT_EQ(owed[0].kind, row.fate);
        EXPECT_TRUE(owed[0].errors.join(QString()).contains(QLatin1String(row.why)))
            << owed[0].errors.join(QString()).toStdString();
        EXPECT_TRUE(QFileInfo::exists(path)) << "kept for the user to look at";
        EXPECT_TRUE(QDir(logs()).entryList(QDir::Files).isEmpty());
        s.keeper.finish();
    }
}

// Time away reaches LogAway.log beside the session, whole when the session
// ends normally, and as of the last rewrite when the copy was killed; with
// counting off, the line records zeros.
TEST_F(SessionKeeperTest, TimeAwayIsLoggedBesideTheSession)
{
    struct Row
    {
        const char *what;
        bool killed;
        bool counting;
        AwaySeconds expected;
    };
    const Row rows[] = {
        {"ended normally", false, true, {0, 90, 0}},
        {"killed: as of the last rewrite", true, true, {0, 31, 0}},
        {"not counted", false, false, {0, 0, 0}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(log(kDataLogFileName));
        QFile::remove(log(kAwayLogFileName));
        {
            Session s(clock, journalFolder(), logs());
            s.keeper.setCountingAway(row.counting);
            s.start();
            s.tick(30);
            s.lock(true);
            s.tick(31); // the rewrite a minute after the first tick: 31 s locked so far
            s.tick(59);
            s.lock(false);
            if (!row.killed)
                s.keeper.finish();
        }
        if (row.killed)
            Session(clock, journalFolder(), elsewhere()).start();
        const QByteArray data = contents(log(kDataLogFileName));
        const std::optional<AwayLine> session = sessionOfDataRecord(data);
        ASSERT_TRUE(session) << data.toStdString();
        EXPECT_EQ(contents(log(kAwayLogFileName)),
                  awayLine({session->endDate, session->startTime, session->endTime, row.expected}));
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
    EXPECT_TRUE(s.start().journalProblem.isEmpty());
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

// The journal's folder is taken away while the session runs (removed by
// hand, or a file put in its place): the next rewrite keeps the session in a
// new entry, in the journal made again or in the spare, so a kill after it
// still leaves the session to be logged, once.
TEST_F(SessionKeeperTest, AJournalFolderTakenAwayWhileRunningStillKeepsTheSession)
{
    const QString spare = dir.filePath(QStringLiteral("spare"));
    struct Row
    {
        const char *what;
        bool fileInItsPlace;
    };
    const Row rows[] = {
        {"the folder removed", false},
        {"a file in its place", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(journalFolder());
        QDir(journalFolder()).removeRecursively();
        QDir(spare).removeRecursively();
        QFile::remove(log(kDataLogFileName));
        SessionRecord killed;
        {
            Session s(clock, journalFolder(), logs(), spare);
            s.start();
            s.tick();
            ASSERT_TRUE(QDir(journalFolder()).removeRecursively());
            if (row.fileInItsPlace)
                write(journalFolder(), "a file");
            s.tick(60); // the rewrite a minute in
            killed = s.record();
        }
        Session(clock, journalFolder(), elsewhere(), spare).start();
        EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(killed));
    }
}

// Without a journal to keep it in, the session is kept in the spare one;
// without either, it still reaches the logs at the end. The problem is
// said once, with its reason, not at every tick.
TEST_F(SessionKeeperTest, WithoutAJournalTheSpareKeepsTheSessionOrTheLogsGetItStraight)
{
    const QString spare = dir.filePath(QStringLiteral("spare"));
    const auto inTheWay = [&](const std::function<void()> &make) {
        QFile::remove(journalFolder());
        QDir(journalFolder()).removeRecursively();
        make();
    };
    struct Blocker
    {
        const char *what;
        std::function<void()> make;
        const char *why;
    };
    const Blocker blockers[] = {
        {"a file", [&] { write(journalFolder(), "a file"); }, "it is a file"},
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(QFile::encodeName(journalFolder()).constData(), 0600), 0); },
         "it is a FIFO (named pipe)"},
        {"a link to nothing", [&] { ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nothing")), journalFolder())); },
         "it is a link to nothing"},
    };
    struct Row
    {
        const char *name;
        bool spare;
        bool logRefuses;
        SessionFate::Kind kind;
    };
    const Row rows[] = {
        {"no spare, logs writable", false, false, SessionFate::Kind::Logged},
        {"no spare, Log.log refuses", false, true, SessionFate::Kind::Lost},
        {"the spare, logs writable", true, false, SessionFate::Kind::Logged},
        {"the spare, Log.log refuses", true, true, SessionFate::Kind::Kept},
    };
    for (const Blocker &blocker : blockers) {
        for (const Row &row : rows) {
            SCOPED_TRACE(std::string(blocker.what) + " for a journal; " + row.name);
            inTheWay(blocker.make);
            QDir(spare).removeRecursively();
            QDir(logs()).removeRecursively();
            ASSERT_TRUE(QDir().mkpath(logs()));
            if (row.logRefuses) {
                ASSERT_TRUE(QDir().mkpath(log(kLogFileName)));
            }
            SessionRecord record;
            {
                Session s(clock, journalFolder(), logs(), row.spare ? spare : QString());
                const QString problem = s.start().journalProblem;
                EXPECT_TRUE(problem.contains(QLatin1String(blocker.why))) << problem.toStdString();
                EXPECT_EQ(problem.contains(spare), row.spare) << problem.toStdString();
                EXPECT_EQ(s.tick(120), QString());
                const SessionFate fate = s.keeper.finish().session;
                EXPECT_EQ(fate.kind, row.kind);
                EXPECT_EQ(contents(log(kDataLogFileName)), dataForm(s.record()));
                if (row.logRefuses) {
                    EXPECT_TRUE(fate.errors.join(QString()).contains(log(kLogFileName)))
                        << fate.errors.join(QString()).toStdString();
                }
                record = s.record();
            }
            if (row.logRefuses) {
                // Mended: what the spare kept arrives; what nothing kept does not.
                ASSERT_TRUE(QDir(log(kLogFileName)).removeRecursively());
                Session(clock, journalFolder(), elsewhere(), spare).start();
                EXPECT_EQ(contents(log(kLogFileName)), row.spare ? display(record) : QByteArray("<missing>"));
            } else {
                EXPECT_EQ(contents(log(kLogFileName)), display(record));
            }
        }
    }
}

} // namespace
