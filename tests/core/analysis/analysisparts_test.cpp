// SPDX-License-Identifier: MIT
// Reading a log in two parts at once must give what one reading in order
// gives, to the bit: the totals, the fault and where it is, and every history
// row with its time away, wherever the split falls. Each log of the table is
// split at every byte; where it has a LogAway.log, the later part also starts
// reading that at every byte, for each place the log can split.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"
#include "core/session/awayline.h"
#include "core/session/record.h"
#include "support/memoryparts.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <ostream>

namespace {

using core::analysis::Analysis;
using core::analysis::History;
using core::analysis::Period;

// Records with the given date and length texts, every line ended by `end`.
QByteArray logOf(std::initializer_list<std::pair<const char *, const char *>> records, const char *end = "\r\n")
{
    QByteArray out;
    for (const auto &[date, length] : records)
        for (const char *line : {"\"----------\"", date, "#09:00:00#", "#10:00:00#", length, "\"1:00:00\""})
            out += QByteArray(line) + end;
    return out;
}

// Ten sessions on days and at times of their own; the lines of those of
// them that `with` names, in order.
QByteArray timedLog()
{
    QByteArray out;
    for (int i = 0; i < 10; ++i)
        out += core::session::dataForm({QDate(2026, 12, 1 + i / 3), QTime(8 + i, 0), QTime(8 + i, 30 + i),
                                        1800.5 + i, QString()});
    return out;
}

QByteArray linesOf(std::initializer_list<int> with)
{
    QByteArray out;
    for (const int i : with)
        out += core::session::awayLine({QDate(2026, 12, 1 + i / 3), QTime(8 + i, 0), QTime(8 + i, 30 + i),
                                        {i, 60 * i, 7}});
    return out;
}

const QByteArray kOrphan = "2026-11-30,08:00:00,08:30:00,0,999,999\r\n";

struct Row
{
    const char *name;
    QByteArray log;
    QByteArray away = QByteArray(); // LogAway.log; null: there is none
    int window = core::analysis::kAwayWindow;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class InParts : public testing::TestWithParam<Row>
{
};

TEST_P(InParts, ReadLikeOneReadingInOrder)
{
    const QByteArray &log = GetParam().log;
    const QByteArray &awayLog = GetParam().away;
    core::analysis::AwaySource source = awaySourceOf(awayLog);
    source.window = GetParam().window;
    core::analysis::AwaySource *const away = awayLog.isNull() ? nullptr : &source;
    QByteArray copy = log;
    QBuffer whole(&copy);
    whole.open(QIODevice::ReadOnly);
    History inOrderDays(Period::Day);
    const Analysis inOrder
        = core::analysis::analyse(whole, 5, &inOrderDays, core::session::LogReader::ReadAhead::No, away);
    if (away) {
        // Tiny blocks cut the lines of LogAway.log everywhere.
        source.blockSize = 1;
        whole.seek(0);
        History tiny(Period::Day);
        core::analysis::analyse(whole, 5, &tiny, core::session::LogReader::ReadAhead::No, away);
        ASSERT_EQ(tiny.rows(), inOrderDays.rows()) << "LogAway.log read in tiny blocks";
        source.blockSize = 64;
    }

    // Where the later part may begin: every byte, then (with LogAway.log)
    // every record's start, each with every place to start LogAway.log.
    std::vector<std::pair<qint64, std::optional<qint64>>> splits;
    for (qint64 near = 0; near <= log.size(); ++near)
        splits.push_back({near, std::nullopt});
    if (away) {
        for (qint64 near = log.indexOf("\"-"); near >= 0; near = log.indexOf("\"-", near + 1)) {
            for (qint64 from = 0; from <= awayLog.size(); ++from)
                splits.push_back({near, from});
        }
    }
    for (const auto &[near, laterFrom] : splits) {
        source.laterFrom = laterFrom;
        History days(Period::Day);
        const Analysis a = core::analysis::analyseInParts(
            [&log](qint64 from, qint64 to) { return partOf(log, from, to); }, near, &days, away);
        const std::string at = "split near byte " + std::to_string(near)
            + (laterFrom ? ", LogAway.log from byte " + std::to_string(*laterFrom) : std::string());
        ASSERT_EQ(a.fault.kind, inOrder.fault.kind) << at;
        EXPECT_EQ(a.fault.line, inOrder.fault.line) << at;
        EXPECT_EQ(a.fault.recordLine, inOrder.fault.recordLine) << at;
        EXPECT_EQ(a.fault.value, inOrder.fault.value) << at;
        EXPECT_EQ(a.fault.valuesPresent, inOrder.fault.valuesPresent) << at;
        ASSERT_EQ(a.records, inOrder.records) << at;
        ASSERT_EQ(a.totals.has_value(), inOrder.totals.has_value()) << at;
        if (a.totals) {
            EXPECT_EQ(a.totals->totalSeconds, inOrder.totals->totalSeconds) << at;
            EXPECT_EQ(a.totals->sessionCount, inOrder.totals->sessionCount) << at;
            EXPECT_EQ(a.totals->firstDate, inOrder.totals->firstDate) << at;
            EXPECT_EQ(a.totals->lastDate, inOrder.totals->lastDate) << at;
        }
        ASSERT_EQ(days.rows(), inOrderDays.rows()) << at;
    }
}

// Halves go to the even second, so the total before a half decides its
// rounding; the first record may be negative or huge, which shifts every
// total after it.
const QByteArray kHalves = logOf({{"#1999-11-16#", "1.5"},
                                  {"#1999-11-16#", "2.5"},
                                  {"#1999-11-17#", "0.25"},
                                  {"#1999-11-17#", "7.5"},
                                  {"#1999-11-18#", ""},
                                  {"#1999-11-18#", "-3"},
                                  {"#1999-11-19#", "10.75"},
                                  {"#1999-11-19#", "0.5"},
                                  {"#1999-11-20#", "3.5"}});

INSTANTIATE_TEST_SUITE_P(
    Analysis, InParts,
    testing::Values(
        Row {"Halves", kHalves},
        Row {"HalvesAfterAnOddStart", logOf({{"#1999-11-15#", "3"}}) + kHalves},
        Row {"HalvesAfterANegativeStart", logOf({{"#1999-11-15#", "-7.5"}}) + kHalves},
        Row {"LineEndsOfOtherSystems", logOf({{"#1999-11-16#", "1.5"}, {"#1999-11-17#", "2.5"}, {"#1999-11-18#", "3.5"}}, "\n")
                                            + logOf({{"#1999-11-19#", "1.5"}, {"#1999-11-20#", "4.5"}}, "\r")},
        // Close to a half, but not one: how it rounds depends on the total's size.
        Row {"NearlyAHalf", logOf({{"#1999-11-16#", "2000000000"}, {"#1999-11-17#", "1"}, {"#1999-11-18#", "2.49999999"},
                                   {"#1999-11-18#", "0.50000001"}, {"#1999-11-19#", "2.5"}})},
        Row {"LongerThanTheRangeAfterANegativeStart",
             logOf({{"#1999-11-16#", "-2000000000"}, {"#1999-11-17#", "3000000000.5"}, {"#1999-11-18#", "1.5"}})},
        Row {"RunsOutOfRange", logOf({{"#1999-11-16#", "2147483000"}, {"#1999-11-17#", "300"}, {"#1999-11-18#", "300.5"},
                                      {"#1999-11-19#", "47"}, {"#1999-11-20#", "1"}})},
        Row {"EndsAtTheEdgeOfTheRange", logOf({{"#1999-11-16#", "2147483000"}, {"#1999-11-17#", "300"},
                                               {"#1999-11-18#", "346.5"}, {"#1999-11-19#", "0.5"}})},
        Row {"NotADateLater", kHalves + logOf({{"#1999-13-01#", "1"}, {"#1999-11-21#", "1"}})},
        Row {"NotANumberLater", kHalves + logOf({{"#1999-11-21#", "1x"}, {"#1999-11-21#", "1"}})},
        Row {"TornAtTheEnd", kHalves + "\"----------\"\r\n#1999-11-21#\r\n"},
        Row {"BlankLinesAtTheEnd", kHalves + "\r\n\r\n"},
        Row {"ManyBlankLinesAtTheEnd", kHalves + QByteArray("\r\n").repeated(14)},
        // Blank lines end a log only when nothing follows them: before a
        // record they are records of their own, and not one is a date.
        Row {"BlankRecordsBeforeARecord",
             kHalves + QByteArray("\r\n").repeated(12) + logOf({{"#1999-11-21#", "1"}})},
        Row {"ALineMissing", kHalves.left(kHalves.indexOf("#1999-11-19#")) + kHalves.mid(kHalves.indexOf("#10:00:00#", kHalves.indexOf("#1999-11-19#")))},
        Row {"ALineTooMany", kHalves.left(100) + "\"----------\"\r\n" + kHalves.mid(100)},
        Row {"AwayEachSession", timedLog(), linesOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9})},
        Row {"AwayMissing", timedLog(), QByteArray()},
        Row {"AwayEmpty", timedLog(), QByteArray("")},
        Row {"AwayFromTheSixthSession", timedLog(), linesOf({5, 6, 7, 8, 9})},
        Row {"AwayUntilTheFifthSession", timedLog(), linesOf({0, 1, 2, 3, 4})},
        Row {"AwayWithSessionsWithoutLines", timedLog(), linesOf({0, 1, 2, 7, 8})},
        Row {"AwayOrphans", timedLog(),
             kOrphan + linesOf({0, 1, 2, 3}) + kOrphan + kOrphan + linesOf({4, 5, 6, 7, 8, 9}) + kOrphan},
        Row {"AwayDamagedLines", timedLog(),
             linesOf({0, 1, 2}) + "2026-12-02,11:00:00,11:33:00,3,x,7\r\n\r\n" + QByteArray(300, 'x') + "\n"
                 + linesOf({3, 4, 5}) + "\r\r" + linesOf({6, 7, 8, 9}).replace("\r\n", "\n")},
        Row {"AwayDuplicates", timedLog() + timedLog().left(144), linesOf({0, 1, 2, 2, 3, 4, 5, 6, 7, 8, 9, 0, 1})},
        Row {"AwaySameSessionsOneKey", kHalves,
             QByteArray("1999-11-16,09:00:00,10:00:00,0,1,0\r\n1999-11-16,09:00:00,10:00:00,0,2,0\r\n"
                        "1999-11-17,09:00:00,10:00:00,0,3,0\r\n1999-11-19,09:00:00,10:00:00,0,4,0\r\n"
                        "1999-11-19,09:00:00,10:00:00,0,5,0\r\n1999-11-20,09:00:00,10:00:00,0,6,0\r\n")},
        Row {"AwayWindowOfTwo", timedLog(), kOrphan + linesOf({0, 1, 2}) + kOrphan + linesOf({4, 5, 6, 7, 8, 9}), 2},
        Row {"AwayOnATornLog", timedLog() + "\"----------\"\r\n#2026-12-09#\r\n",
             linesOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) + linesOf({9})}));

} // namespace
