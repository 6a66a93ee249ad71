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
#include "core/session/record.h"

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
            const core::analysis::Analysis a = core::analysis::analyseInParts(
                [&log](qint64 from, qint64 to) {
                    auto part = std::make_unique<QBuffer>();
                    part->setData(log.mid(from, to < 0 ? -1 : to - from));
                    part->open(QIODevice::ReadOnly);
                    return part;
                },
                log.size() * tenth / 10, &inParts);
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
