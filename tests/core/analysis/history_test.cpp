// SPDX-License-Identifier: MIT
// The history of a log by day, week and month over one table: which records
// are sessions, the seconds each adds (the rise of the rounded running
// total), the periods' bounds and the empty ones between, dates that go
// back, and the choice of days. Without a choice the rows must add up to the
// report's total, and days regrouped must give what a direct pass gives.
// Then a long log against sums kept plainly per period, read in order and
// in parts, across every place where the history's storage changes hands.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"
#include "core/session/awayline.h"
#include "core/session/record.h"
#include "support/memoryparts.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <ostream>
#include <vector>

using core::analysis::Period;

namespace {

struct Rec
{
    QDate date;
    std::optional<double> secs;
};

QByteArray logOf(const std::vector<Rec> &records)
{
    QByteArray out;
    for (const Rec &r : records)
        out += core::session::dataForm({r.date, QTime(9, 0), QTime(10, 0), r.secs, QString()});
    return out;
}

QDate d(const char *iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

// Rows as "yyyy-mm-dd sessions seconds", one per period, joined by " | ".
std::string shown(const core::analysis::History &h)
{
    std::string out;
    h.forEachRow([&out](const core::analysis::HistoryRow &r) {
        if (!out.empty())
            out += " | ";
        out += r.period.toString(Qt::ISODate).toStdString() + ' ' + std::to_string(r.sessions) + ' '
            + std::to_string(r.seconds);
    });
    return out;
}

struct Case
{
    const char *name;
    QByteArray log;
    Period by;
    const char *since; // nullptr: open
    const char *until;
    const char *rows;
};

void PrintTo(const Case &c, std::ostream *os)
{
    *os << c.name;
}

class HistoryOf : public testing::TestWithParam<Case>
{
};

TEST_P(HistoryOf, Rows)
{
    const Case &c = GetParam();
    core::analysis::History history(c.by, c.since ? d(c.since) : QDate(), c.until ? d(c.until) : QDate());
    core::analysis::History days(Period::Day);
    QByteArray bytes = c.log;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const core::analysis::Analysis a = core::analysis::analyse(buffer, 4096, &history);
    ASSERT_TRUE(a.complete());
    EXPECT_EQ(shown(history), c.rows);

    std::int64_t rows = 0, sessions = 0, seconds = 0;
    history.forEachRow([&](const core::analysis::HistoryRow &r) {
        ++rows;
        sessions += r.sessions;
        seconds += r.seconds;
    });
    EXPECT_EQ(rows, history.rowCount());
    if (!c.since && !c.until) {
        EXPECT_EQ(seconds, a.totals->totalSeconds) << "the rows do not add up to the report's total";
        EXPECT_EQ(sessions, a.totals->sessionCount);
        // The window groups one pass by day into weeks and months.
        buffer.seek(0);
        core::analysis::analyse(buffer, 4096, &days);
        const std::optional<core::analysis::History> regrouped = days.regrouped(c.by);
        ASSERT_TRUE(regrouped);
        EXPECT_EQ(shown(*regrouped), c.rows);
    }
}

// 16 November 1999 was a Tuesday.
const QByteArray kWorkedExample = logOf({{d("1999-11-16"), 3600}, {d("1999-11-18"), 5430}});

std::vector<Rec> alternating(int count)
{
    std::vector<Rec> out;
    for (int i = 0; i < count; ++i)
        out.push_back({i % 2 ? d("1999-11-16") : d("1999-11-18"), 10});
    return out;
}

INSTANTIATE_TEST_SUITE_P(
    Analysis, HistoryOf,
    testing::Values(
        Case {"ByDayEmptyDaysBetween", kWorkedExample, Period::Day, nullptr, nullptr,
              "1999-11-16 1 3600 | 1999-11-17 0 0 | 1999-11-18 1 5430"},
        Case {"ByWeekFromMonday", kWorkedExample, Period::Week, nullptr, nullptr, "1999-11-15 2 9030"},
        Case {"ByMonthFromTheFirst", kWorkedExample, Period::Month, nullptr, nullptr, "1999-11-01 2 9030"},
        Case {"SundayAndMondayInTwoWeeks",
              logOf({{d("2026-12-06"), 60}, {d("2026-12-07"), 120}, {d("2026-12-27"), 180}}), Period::Week, nullptr,
              nullptr, "2026-11-30 1 60 | 2026-12-07 1 120 | 2026-12-14 0 0 | 2026-12-21 1 180"},
        Case {"MonthsAcrossAYearAndALeapDay",
              logOf({{d("2023-12-31"), 60}, {d("2024-02-29"), 120}, {d("2024-03-01"), 180}}), Period::Month, nullptr,
              nullptr, "2023-12-01 1 60 | 2024-01-01 0 0 | 2024-02-01 1 120 | 2024-03-01 1 180"},
        // Seconds are what each session added to the rounded running total:
        // 1800.5 makes 1800, then 3600.5 makes 3600; 1801.5 makes 1802, then
        // 3603.5 makes 3604.
        Case {"RisesOfTheRoundedTotal", logOf({{d("1999-11-16"), 1800.5}, {d("1999-11-17"), 1800.5}}), Period::Day,
              nullptr, nullptr, "1999-11-16 1 1800 | 1999-11-17 1 1800"},
        Case {"RisesRoundHalvesToEven", logOf({{d("1999-11-16"), 1801.5}, {d("1999-11-17"), 1801.5}}), Period::Day,
              nullptr, nullptr, "1999-11-16 1 1802 | 1999-11-17 1 1802"},
        Case {"FirstRecordCountsWhateverItsLength",
              logOf({{d("1999-11-16"), std::nullopt}, {d("1999-11-17"), -30}, {d("1999-11-18"), 0},
                     {d("1999-11-18"), 100}}),
              Period::Day, nullptr, nullptr, "1999-11-16 1 0 | 1999-11-17 0 0 | 1999-11-18 1 100"},
        Case {"FirstRecordNegative", logOf({{d("1999-11-16"), -100}, {d("1999-11-17"), 300}}), Period::Day, nullptr,
              nullptr, "1999-11-16 1 -100 | 1999-11-17 1 300"},
        // A record that is not counted is no session: it does not stretch the rows.
        Case {"LaterUncountedRecordsAddNoPeriod",
              logOf({{d("1999-11-16"), 60}, {d("1999-11-20"), 0}, {d("1999-12-25"), std::nullopt}}), Period::Day,
              nullptr, nullptr, "1999-11-16 1 60"},
        Case {"DatesThatGoBack",
              logOf({{d("1999-11-20"), 10}, {d("1999-11-16"), 20}, {d("1999-11-18"), 30}, {d("1999-11-20"), 40}}),
              Period::Day, nullptr, nullptr,
              "1999-11-16 1 20 | 1999-11-17 0 0 | 1999-11-18 1 30 | 1999-11-19 0 0 | 1999-11-20 2 50"},
        // Enough back and forth to make the slots merge on the way.
        Case {"ManyDatesBackAndForth", logOf(alternating(20001)), Period::Day, nullptr, nullptr,
              "1999-11-16 10000 100000 | 1999-11-17 0 0 | 1999-11-18 10001 100010"},
        Case {"SinceAndUntilInclusive",
              logOf({{d("1999-11-15"), 10}, {d("1999-11-16"), 20}, {d("1999-11-18"), 30}, {d("1999-11-19"), 40}}),
              Period::Day, "1999-11-16", "1999-11-18", "1999-11-16 1 20 | 1999-11-17 0 0 | 1999-11-18 1 30"},
        // The total before the chosen days still decides the rounding: after
        // 1.25 makes 1, 0.5 takes it to 1.5, which rounds to 2; alone it would add 0.
        Case {"ChosenDaysKeepTheWholeFilesTotal", logOf({{d("1999-11-16"), 1.25}, {d("1999-11-17"), 0.5}}),
              Period::Day, "1999-11-17", nullptr, "1999-11-17 1 1"},
        Case {"NothingChosen", kWorkedExample, Period::Week, "2000-01-01", nullptr, ""}),
    [](const testing::TestParamInfo<Case> &p) { return std::string(p.param.name); });

// Time away: LogAway.log paired with the log's sessions by their date, start
// and end. Each row a log, its LogAway.log (null: none) and the window the
// merge looks ahead in; the rows as "day sessions seconds away". Whatever
// LogAway.log holds, the sessions and their seconds stay those of the log.
struct AwayCase
{
    const char *name;
    QByteArray log;
    QByteArray away;
    int window;
    const char *rows;
};

void PrintTo(const AwayCase &c, std::ostream *os)
{
    *os << c.name;
}

class AwayOf : public testing::TestWithParam<AwayCase>
{
};

// A session ending on `day` of December 1999, from `start` to `end`.
QByteArray session(int day, const char *start, const char *end, std::optional<double> secs)
{
    return core::session::dataForm({QDate(1999, 12, day), QTime::fromString(QString::fromLatin1(start)),
                                    QTime::fromString(QString::fromLatin1(end)), secs, QString()});
}

QByteArray line(int day, const char *start, const char *end, qint64 asleep, qint64 locked, qint64 idle)
{
    return core::session::awayLine({QDate(1999, 12, day), QTime::fromString(QString::fromLatin1(start)),
                                    QTime::fromString(QString::fromLatin1(end)), {asleep, locked, idle}});
}

std::string shownWithAway(const core::analysis::History &h)
{
    std::string out;
    h.forEachRow([&out](const core::analysis::HistoryRow &r) {
        if (!out.empty())
            out += " | ";
        out += std::to_string(r.period.day()) + ' ' + std::to_string(r.sessions) + ' ' + std::to_string(r.seconds)
            + ' ' + std::to_string(r.away);
    });
    return out;
}

TEST_P(AwayOf, Rows)
{
    const AwayCase &c = GetParam();
    const QByteArray away = c.away;
    core::analysis::AwaySource source = awaySourceOf(away);
    source.window = c.window;
    source.blockSize = 7; // lines cut everywhere

    QByteArray bytes = c.log;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    core::analysis::History history(Period::Day);
    const core::analysis::Analysis a
        = core::analysis::analyse(buffer, 4096, &history, core::session::LogReader::ReadAhead::No,
                                  c.away.isNull() ? nullptr : &source);
    ASSERT_TRUE(a.complete());
    EXPECT_EQ(a.awayFault.kind, core::analysis::AwayFault::Kind::None);
    EXPECT_EQ(shownWithAway(history), c.rows);

    buffer.seek(0);
    core::analysis::History without(Period::Day);
    core::analysis::analyse(buffer, 4096, &without);
    std::vector<core::analysis::HistoryRow> rows = history.rows();
    for (core::analysis::HistoryRow &r : rows)
        r.away = 0;
    EXPECT_EQ(rows, without.rows()) << "LogAway.log changed more than the time away";
}

const QByteArray kThree = session(1, "09:00:00", "10:00:00", 3600) + session(1, "11:00:00", "11:30:00", 1800)
    + session(3, "08:00:00", "09:00:00", 3600);
const QByteArray kThreeLines = line(1, "09:00:00", "10:00:00", 3600, 600, 300)
    + line(1, "11:00:00", "11:30:00", 0, 0, 60) + line(3, "08:00:00", "09:00:00", 7, 0, 0);
const QByteArray kOrphan = line(2, "12:00:00", "13:00:00", 0, 999, 999);

INSTANTIATE_TEST_SUITE_P(
    Analysis, AwayOf,
    testing::Values(
        // Away is the locked and idle time: asleep is not part of a session's length.
        AwayCase {"EachSessionItsLine", kThree, kThreeLines, 4096, "1 2 5400 960 | 2 0 0 0 | 3 1 3600 0"},
        AwayCase {"NoLogAway", kThree, QByteArray(), 4096, "1 2 5400 0 | 2 0 0 0 | 3 1 3600 0"},
        AwayCase {"EmptyLogAway", kThree, QByteArray(""), 4096, "1 2 5400 0 | 2 0 0 0 | 3 1 3600 0"},
        AwayCase {"SessionsFromBeforeLogAway", kThree, line(3, "08:00:00", "09:00:00", 0, 100, 20), 4096,
                  "1 2 5400 0 | 2 0 0 0 | 3 1 3600 120"},
        AwayCase {"OrphansBeforeBetweenAndAfter", kThree,
                  kOrphan + kThreeLines.left(kThreeLines.indexOf("1999-12-03")) + kOrphan + kOrphan
                      + line(3, "08:00:00", "09:00:00", 0, 5, 5) + kOrphan,
                  4096, "1 2 5400 960 | 2 0 0 0 | 3 1 3600 10"},
        // A line that is not one is passed over as an orphan is, even when it
        // names the session.
        AwayCase {"DamagedLines", kThree,
                  "1999-12-01,09:00:00,10:00:00,0,600\r\n1999-12-01,09:00:00,10:00:00,0,-1,2\r\n\r\n"
                  "1999-12-01,09:00:00,10:00:00,0,6e2,0\r\n#1999-12-01#,09:00:00,10:00:00,0,600,0\r\n"
                      + QByteArray(10000, 'x') + "\r\n" + kThreeLines.mid(kThreeLines.indexOf("1999-12-01,11")),
                  4096, "1 2 5400 60 | 2 0 0 0 | 3 1 3600 0"},
        // The second of two same lines is an orphan once the next session
        // takes its own line beyond it.
        AwayCase {"ALineTwice", kThree, kThreeLines.left(kThreeLines.indexOf("1999-12-01,11")) + kThreeLines, 4096,
                  "1 2 5400 960 | 2 0 0 0 | 3 1 3600 0"},
        // Two sessions with the same start and end (two copies started in
        // the same second) take their lines in order.
        AwayCase {"TwoSessionsOneKey", kThree + session(3, "08:00:00", "09:00:00", 3600),
                  kThreeLines + line(3, "08:00:00", "09:00:00", 0, 40, 0), 4096,
                  "1 2 5400 960 | 2 0 0 0 | 3 2 7200 40"},
        // A session that is not counted still takes its line, so that it is
        // no orphan to the sessions after it.
        AwayCase {"UncountedSessionTakesItsLine",
                  session(1, "09:00:00", "10:00:00", 3600) + session(1, "09:00:00", "10:00:00", 0)
                      + session(1, "09:00:00", "10:00:00", 60),
                  line(1, "09:00:00", "10:00:00", 0, 1, 0) + line(1, "09:00:00", "10:00:00", 0, 10, 0)
                      + line(1, "09:00:00", "10:00:00", 0, 100, 0),
                  4096, "1 2 3660 101"},
        // A session's line is looked for only so far ahead.
        AwayCase {"ALineBeyondTheWindow", kThree, kOrphan + kOrphan + kThreeLines, 2,
                  "1 2 5400 0 | 2 0 0 0 | 3 1 3600 0"},
        AwayCase {"ALineAtTheWindowsEdge", kThree, kOrphan + kThreeLines, 2, "1 2 5400 960 | 2 0 0 0 | 3 1 3600 0"},
        // A session whose line comes after the next one's: that one is
        // dropped on the way.
        AwayCase {"LinesOutOfOrder", kThree,
                  line(1, "11:00:00", "11:30:00", 0, 0, 60) + line(1, "09:00:00", "10:00:00", 0, 1, 0), 4096,
                  "1 2 5400 1 | 2 0 0 0 | 3 1 3600 0"},
        // A record whose start is no time pairs with nothing and takes nothing.
        AwayCase {"RecordWithoutATime",
                  kThree.left(kThree.indexOf("#11:00:00#")) + "#11:00#" + kThree.mid(kThree.indexOf("#11:00:00#") + 10),
                  kThreeLines, 4096, "1 2 5400 900 | 2 0 0 0 | 3 1 3600 0"},
        // Blanks around a record's time are read past: its line is found by
        // the session's key, not by the text.
        AwayCase {"RecordTimesWithBlanks", QByteArray(kThree).replace("#11:00:00#", " #11:00:00#\t"), kThreeLines,
                  4096, "1 2 5400 960 | 2 0 0 0 | 3 1 3600 0"},
        AwayCase {"LineEndsOfOtherSystems", kThree, QByteArray(kThreeLines).replace("\r\n", "\n").replace("\n1999-12-03", "\r1999-12-03"), 4096,
                  "1 2 5400 960 | 2 0 0 0 | 3 1 3600 0"},
        // The last line may be one still being written.
        AwayCase {"LastLineWithoutItsEnd", kThree, kThreeLines.left(kThreeLines.indexOf("1999-12-03"))
                      + "1999-12-03,08:00:00,09:00:00,0,5,5", 4096, "1 2 5400 960 | 2 0 0 0 | 3 1 3600 0"},
        // More than a period's cell holds, and more than any session lasts.
        AwayCase {"AwayBeyondTheCells", kThree,
                  line(1, "09:00:00", "10:00:00", 0, 70000, 0) + line(3, "08:00:00", "09:00:00", 0, 999999999999, 1),
                  4096, "1 2 5400 70000 | 2 0 0 0 | 3 1 3600 4294967296"}),
    [](const testing::TestParamInfo<AwayCase> &p) { return std::string(p.param.name); });

// Twenty years of sessions, the dates mostly rising but going back now and
// then; days with more sessions or seconds than most, and a first record
// below zero. Whole lengths, so each session adds exactly its length.
TEST(HistoryOf, ALongLogAsSumsPerPeriodShowThem)
{
    std::vector<Rec> records {{d("2040-03-05"), -500}};
    std::uint32_t seed = 7;
    auto random = [&seed](std::uint32_t below) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % below;
    };
    QDate day = d("2040-03-05");
    while (day < d("2060-01-01")) {
        const std::uint32_t pick = random(100);
        day = pick == 0 ? day.addDays(-static_cast<qint64>(random(150))) : day.addDays(random(4));
        records.push_back({day, double(1 + random(7200))});
        if (pick == 1)
            records.push_back({day, 70000});
        if (pick == 2) {
            for (int i = 0; i < 300; ++i)
                records.push_back({day, 1});
        }
    }
    // Late records of long ago.
    for (const char *date : {"2041-02-03", "2047-12-31", "2048-01-01", "2040-03-05"})
        records.push_back({d(date), 65535});
    const QByteArray log = logOf(records);

    for (const Period by : {Period::Day, Period::Week, Period::Month}) {
        const auto startOf = [by](const QDate &date) {
            return by == Period::Day ? date
                : by == Period::Week ? date.addDays(1 - date.dayOfWeek())
                                     : QDate(date.year(), date.month(), 1);
        };
        std::map<QDate, core::analysis::HistoryRow> sums;
        for (const Rec &r : records) {
            core::analysis::HistoryRow &row = sums[startOf(r.date)];
            ++row.sessions;
            row.seconds += static_cast<std::int64_t>(*r.secs);
        }
        std::vector<core::analysis::HistoryRow> expected;
        const auto next = [by](const QDate &start) {
            return by == Period::Day ? start.addDays(1) : by == Period::Week ? start.addDays(7) : start.addMonths(1);
        };
        for (QDate start = sums.begin()->first; start <= sums.rbegin()->first; start = next(start)) {
            core::analysis::HistoryRow row = sums.count(start) ? sums[start] : core::analysis::HistoryRow();
            row.period = start;
            expected.push_back(row);
        }
        const std::string name = by == Period::Day ? "by day" : by == Period::Week ? "by week" : "by month";

        core::analysis::History history(by);
        QByteArray bytes = log;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        ASSERT_TRUE(core::analysis::analyse(buffer, 4096, &history).complete()) << name;
        EXPECT_EQ(history.rows(), expected) << name;
        EXPECT_EQ(history.rowCount(), static_cast<std::int64_t>(expected.size())) << name;

        for (int tenth = 1; tenth < 10; ++tenth) {
            core::analysis::History inParts(by);
            const core::analysis::Analysis a
                = core::analysis::analyseInParts(partsOf(log), log.size() * tenth / 10, &inParts);
            ASSERT_TRUE(a.complete()) << name;
            EXPECT_EQ(inParts.rows(), expected) << name << ", split at " << tenth << " tenths";
        }

        if (by != Period::Day) {
            core::analysis::History days(Period::Day);
            buffer.seek(0);
            core::analysis::analyse(buffer, 4096, &days);
            EXPECT_EQ(days.regrouped(by)->rows(), expected) << name << ", regrouped";
        }
    }
}

} // namespace
