// SPDX-License-Identifier: MIT
// Reading a log in two parts at once must give what one reading in order
// gives, to the bit: the totals, the fault and where it is, and every history
// row, wherever the split falls. Each log of the table is split at every byte.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"

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

struct Row
{
    const char *name;
    QByteArray log;
};

void PrintTo(const Row &row, std::ostream *os)
{
    *os << row.name;
}

class InParts : public testing::TestWithParam<Row>
{
};

std::unique_ptr<QIODevice> partOf(const QByteArray &bytes, qint64 from, qint64 to)
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(bytes.mid(from, to < 0 ? -1 : to - from));
    buffer->open(QIODevice::ReadOnly);
    return buffer;
}

TEST_P(InParts, ReadLikeOneReadingInOrder)
{
    const QByteArray &log = GetParam().log;
    QByteArray copy = log;
    QBuffer whole(&copy);
    whole.open(QIODevice::ReadOnly);
    History inOrderDays(Period::Day);
    const Analysis inOrder = core::analysis::analyse(whole, 5, &inOrderDays);

    for (qint64 near = 0; near <= log.size(); ++near) {
        History days(Period::Day);
        const Analysis a = core::analysis::analyseInParts(
            [&log](qint64 from, qint64 to) { return partOf(log, from, to); }, near, &days);
        const std::string at = "split near byte " + std::to_string(near);
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
        Row {"ALineMissing", kHalves.left(kHalves.indexOf("#1999-11-19#")) + kHalves.mid(kHalves.indexOf("#10:00:00#", kHalves.indexOf("#1999-11-19#")))},
        Row {"ALineTooMany", kHalves.left(100) + "\"----------\"\r\n" + kHalves.mid(100)}));

} // namespace
