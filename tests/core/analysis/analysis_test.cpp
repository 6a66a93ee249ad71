// SPDX-License-Identifier: MIT
// The report built from a log, line by line, over one table: the worked
// example, the rounding and padding rules, which records count, the day
// span, the user's formats and the line ends a log may have. And the faults
// a log may have, over a second table.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"
#include "core/analysis/outcome.h"
#include "core/analysis/report.h"
#include "core/session/awayline.h"
#include "core/session/record.h"
#include "support/memoryparts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QLocale>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <optional>

#include <sys/stat.h>

using core::analysis::Fault;

namespace {

struct Rec
{
    QDate date;
    std::optional<double> secs;
};

// A log as Tocka writes it, through the same writer.
QByteArray logOf(std::initializer_list<Rec> records)
{
    QByteArray out;
    for (const Rec &r : records)
        out += core::session::dataForm(
            { r.date, QTime(9, 0), QTime(10, 0), r.secs, r.secs ? QStringLiteral("1:00:00") : QString() });
    return out;
}

QByteArray replaced(QByteArray bytes, const char *from, const char *to)
{
    return bytes.replace(from, to);
}

using Ahead = core::session::LogReader::ReadAhead;

core::analysis::Analysis analyseBytes(const QByteArray &bytes, qsizetype blockSize = 4096, Ahead ahead = Ahead::No)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return core::analysis::analyse(buffer, blockSize, nullptr, ahead);
}

const QDate kNov16(1999, 11, 16);
const QDate kNov17(1999, 11, 17);
const QDate kNov18(1999, 11, 18);
const QDate kNov20(1999, 11, 20);
const QByteArray kWorkedExample = logOf({{kNov16, 3600}, {kNov18, 5430}});
const QLocale kC = QLocale::c();
const QLocale kGerman(QLocale::German, QLocale::Germany);
const QString kNote = QStringLiteral(
    "Note: to reduce cpu usage, current session is not included. Count is updated everytime you shutdown.");

struct ReportRow
{
    const char *name;
    QByteArray log;
    QLocale locale;
    std::map<int, QString> lines; // report line number (1-based) -> text
};

void PrintTo(const ReportRow &row, std::ostream *os)
{
    *os << row.name;
}

class Report : public testing::TestWithParam<ReportRow>
{
};

TEST_P(Report, ReadsAs)
{
    const ReportRow &row = GetParam();
    // Tiny blocks as well as large ones: the report must not depend on where
    // the reads cut the file.
    for (const auto &[block, ahead] : {std::pair {qsizetype(3), Ahead::No}, std::pair {qsizetype(4096), Ahead::No},
                                       std::pair {qsizetype(3), Ahead::OnThread}}) {
        const core::analysis::Analysis a = analyseBytes(row.log, block, ahead);
        ASSERT_TRUE(a.complete()) << "fault " << static_cast<int>(a.fault.kind) << " at line " << a.fault.line;
        ASSERT_TRUE(a.totals.has_value());
        const QStringList lines = core::analysis::reportLines(*a.totals, row.locale);
        ASSERT_EQ(lines.size(), core::analysis::kReportLineCount);
        for (const auto &[number, text] : row.lines)
            EXPECT_EQ(lines.at(number - 1).toStdString(), text.toStdString()) << "line " << number << ", block " << block << (ahead == Ahead::OnThread ? ", read ahead" : "");
    }
}

const std::map<int, QString> kWorkedExampleLines = {
    {1, QStringLiteral("9030 Secs")},
    {2, QStringLiteral("0 days / 2:30:30")},
    {3, QStringLiteral("-------------")},
    {4, QStringLiteral("0.1 Days")},
    {5, QStringLiteral("2.5 Hours")},
    {6, QStringLiteral("151 Minutes")},
    {7, QStringLiteral("-------------")},
    {8, QStringLiteral("2 runs Since 16 Nov 1999")},
    {9, QStringLiteral("Avg Length: 1:15:15")},
    {10, QStringLiteral("Sessions per Day: 1")},
    {11, QStringLiteral("-------------")},
    {12, QStringLiteral("Last Updated on: 18 Nov 1999")},
    {13, kNote},
};

INSTANTIATE_TEST_SUITE_P(
    Analysis, Report,
    testing::Values(
        ReportRow {"WorkedExample", kWorkedExample, kC, kWorkedExampleLines},
        ReportRow {"WorkedExampleGerman",
                   kWorkedExample,
                   kGerman,
                   {{4, QStringLiteral("0,1 Days")},
                    {5, QStringLiteral("2,5 Hours")},
                    {8, QStringLiteral("2 runs Since 16.11.1999")},
                    {12, QStringLiteral("Last Updated on: 18.11.1999")}}},
        ReportRow {"MinutesAndSecondsPadded", logOf({{kNov16, 3605}}), kC, {{2, QStringLiteral("0 days / 1:00:05")}}},
        ReportRow {"DaysStayPlural", logOf({{kNov16, 90061}}), kC, {{2, QStringLiteral("1 days / 1:01:01")}}},
        ReportRow {"DayAndAHalf", logOf({{kNov16, 129600}}), kC, {{4, QStringLiteral("1.5 Days")}}},
        ReportRow {"WholeValuesHaveNoPoint",
                   logOf({{kNov16, 86400}}),
                   kC,
                   {{4, QStringLiteral("1 Days")}, {5, QStringLiteral("24 Hours")}, {6, QStringLiteral("1440 Minutes")}}},
        ReportRow {"AverageSecondsAreCut",
                   logOf({{kNov16, 60}, {kNov16, 60}, {kNov16, 60}, {kNov16, 60}, {kNov16, 60}, {kNov16, 60},
                          {kNov16, 60}, {kNov16, 60}, {kNov16, 60}, {kNov16, 59}}),
                   kC,
                   {{1, QStringLiteral("599 Secs")}, {9, QStringLiteral("Avg Length: 0:00:59")}}},
        ReportRow {"AverageHoursAboveADay",
                   logOf({{kNov16, 100000}}),
                   kC,
                   {{9, QStringLiteral("Avg Length: 27:46:40")}}},
        ReportRow {"FirstRecordOfZeroCounts",
                   logOf({{kNov16, 0}, {kNov18, 100}}),
                   kC,
                   {{1, QStringLiteral("100 Secs")}, {8, QStringLiteral("2 runs Since 16 Nov 1999")}}},
        ReportRow {"FirstRecordEmptyCounts",
                   logOf({{kNov16, std::nullopt}, {kNov18, 100}}),
                   kC,
                   {{1, QStringLiteral("100 Secs")}, {8, QStringLiteral("2 runs Since 16 Nov 1999")}}},
        ReportRow {"FirstRecordNegativeIsAdded",
                   logOf({{kNov16, -100}}),
                   kC,
                   {{1, QStringLiteral("-100 Secs")},
                    {2, QStringLiteral("-1 days / 23:58:20")},
                    {4, QStringLiteral("0 Days")},
                    {6, QStringLiteral("-2 Minutes")},
                    {9, QStringLiteral("Avg Length: -1:58:20")}}},
        ReportRow {"LaterZeroEmptyOrNegativeNotCounted",
                   logOf({{kNov16, 100}, {kNov17, 0}, {kNov17, std::nullopt}, {kNov18, -50}}),
                   kC,
                   {{1, QStringLiteral("100 Secs")},
                    {8, QStringLiteral("1 runs Since 16 Nov 1999")},
                    {10, QStringLiteral("Sessions per Day: 0.5")},
                    {12, QStringLiteral("Last Updated on: 18 Nov 1999")}}},
        ReportRow {"LaterZeroStillMovesTheLastDate",
                   logOf({{kNov16, 3600}, {kNov17, 3600}, {kNov20, 0}}),
                   kC,
                   {{8, QStringLiteral("2 runs Since 16 Nov 1999")},
                    {10, QStringLiteral("Sessions per Day: 0.5")},
                    {12, QStringLiteral("Last Updated on: 20 Nov 1999")}}},
        ReportRow {"HalvesRoundToEvenAtEveryRecord", logOf({{kNov16, 1800.5}, {kNov16, 1800.5}}), kC,
                   {{1, QStringLiteral("3600 Secs")}}},
        ReportRow {"HalvesRoundToEvenUp", logOf({{kNov16, 1801.5}, {kNov16, 1801.5}}), kC,
                   {{1, QStringLiteral("3604 Secs")}}},
        ReportRow {"SessionsPerDayTwoDecimals",
                   logOf({{kNov16, 10}, {kNov17, 10}, {kNov18, 10}, {kNov18, 10}, {QDate(1999, 11, 19), 10}}),
                   kC,
                   {{10, QStringLiteral("Sessions per Day: 1.67")}}},
        ReportRow {"SpanOfZeroGivesTheSessionsOfThatDay",
                   logOf({{kNov16, 10}, {kNov16, 10}, {kNov16, 10}}),
                   kC,
                   {{10, QStringLiteral("Sessions per Day: 3")}}},
        ReportRow {"NegativeSpanCountsItsDays",
                   logOf({{kNov20, 10}, {kNov16, 10}}),
                   kC,
                   {{8, QStringLiteral("2 runs Since 20 Nov 1999")},
                    {10, QStringLiteral("Sessions per Day: 0.5")},
                    {12, QStringLiteral("Last Updated on: 16 Nov 1999")}}},
        ReportRow {"LineFeedsOnly", replaced(kWorkedExample, "\r\n", "\n"), kC, kWorkedExampleLines},
        ReportRow {"CarriageReturnsOnly", replaced(kWorkedExample, "\r\n", "\r"), kC, kWorkedExampleLines},
        ReportRow {"NoLineEndAfterTheLastValue", kWorkedExample.chopped(2), kC, kWorkedExampleLines},
        ReportRow {"BlankLinesAfterTheLastRecord", kWorkedExample + "\r\n\n  \r\n", kC, kWorkedExampleLines},
        ReportRow {"ManyBlankLinesAfterTheLastRecord", kWorkedExample + QByteArray("\r\n").repeated(25), kC,
                   kWorkedExampleLines},
        ReportRow {"BlanksAroundValues",
                   replaced(replaced(kWorkedExample, "#1999-11-18#", " #1999-11-18#\t"), "5430", " 5430 "),
                   kC, kWorkedExampleLines},
        ReportRow {"SeparatorAndTimesAreNotChecked",
                   replaced(replaced(kWorkedExample, "\"----------\"", "whatever"), "#09:00:00#", ""), kC,
                   kWorkedExampleLines},
        ReportRow {"LargestTotal", logOf({{kNov16, 2147483647}}), kC, {{1, QStringLiteral("2147483647 Secs")}}}),
    [](const testing::TestParamInfo<ReportRow> &p) { return std::string(p.param.name); });

TEST(ReportText, LinesJoinedByALoneCarriageReturn)
{
    const core::analysis::Analysis a = analyseBytes(kWorkedExample);
    ASSERT_TRUE(a.totals);
    const QString text = core::analysis::reportText(*a.totals, kC);
    EXPECT_EQ(text.count(QChar(13)), core::analysis::kReportLineCount - 1);
    EXPECT_FALSE(text.contains(QChar(10)));
    EXPECT_TRUE(text.startsWith(QStringLiteral("9030 Secs\r0 days / 2:30:30\r")));
    EXPECT_TRUE(text.endsWith(kNote));
}

struct FaultRow
{
    const char *name;
    QByteArray log;
    Fault::Kind kind;
    qint64 line;        // 0: not checked
    qint64 records;     // whole records before the fault
    const char *said;   // a part of what the user is told
};

void PrintTo(const FaultRow &row, std::ostream *os)
{
    *os << row.name;
}

class Faults : public testing::TestWithParam<FaultRow>
{
};

TEST_P(Faults, AreReportedWithWhatCameBefore)
{
    const FaultRow &row = GetParam();
    for (const auto &[block, ahead] : {std::pair {qsizetype(1), Ahead::No}, std::pair {qsizetype(7), Ahead::No},
                                       std::pair {qsizetype(4096), Ahead::No}, std::pair {qsizetype(1), Ahead::OnThread},
                                       std::pair {qsizetype(7), Ahead::OnThread}}) {
        const core::analysis::Analysis a = analyseBytes(row.log, block, ahead);
        EXPECT_EQ(a.fault.kind, row.kind) << "block " << block << (ahead == Ahead::OnThread ? ", read ahead" : "");
        if (row.line) {
            EXPECT_EQ(a.fault.line, row.line) << "block " << block;
        }
        EXPECT_EQ(a.records, row.records);
        EXPECT_EQ(a.totals.has_value(), row.records > 0);

        const core::analysis::Outcome o = core::analysis::outcome(a, QStringLiteral("/logs/LogData.log"), kC);
        ASSERT_FALSE(o.complete());
        const QString caption = core::analysis::captionText(o);
        EXPECT_TRUE(caption.contains(QLatin1String(row.said))) << caption.toStdString();
        EXPECT_TRUE(caption.contains(QLatin1String("LogData.log in the folder /logs")));
        // Never a partial report that looks like the whole one: the problem
        // comes first, and says what the report below leaves out.
        EXPECT_FALSE(caption.startsWith(o.report.value(0, QStringLiteral("?"))));
        if (row.records > 0) {
            EXPECT_EQ(o.report.size(), core::analysis::kReportLineCount);
            EXPECT_TRUE(caption.contains(QLatin1String("The report below counts only")));
        } else {
            EXPECT_TRUE(o.report.isEmpty());
        }
    }
}

const QByteArray kOneRecord = logOf({{kNov16, 3600}});

INSTANTIATE_TEST_SUITE_P(
    Analysis, Faults,
    testing::Values(
        FaultRow {"EmptyFile", "", Fault::Kind::Empty, 0, 0, "holds no session yet"},
        FaultRow {"BlankLinesOnly", "\r\n\r\n", Fault::Kind::Empty, 0, 0, "holds no session yet"},
        FaultRow {"BlankLinesBeforeARecord", kOneRecord + QByteArray("\r\n").repeated(6) + kOneRecord,
                  Fault::Kind::NotADate, 8, 1, "but it is empty"},
        FaultRow {"TornLastRecord", kOneRecord + "\"----------\"\r\n#1999-11-18#\r\n#09:1", Fault::Kind::TornRecord,
                  9, 1, "the record that starts on line 7 has only 3 of its 6 lines"},
        FaultRow {"TornFirstRecord", kOneRecord.left(30), Fault::Kind::TornRecord, 0, 0,
                  "There is no whole record before it"},
        FaultRow {"NulBytesLeftByACrash", kOneRecord + QByteArray(40, '\0'), Fault::Kind::TornRecord, 7, 1,
                  "starts on line 7 has only 1 of its 6"},
        FaultRow {"DateThatIsNoDate", kOneRecord + replaced(kOneRecord, "#1999-11-16#", "yesterday"),
                  Fault::Kind::NotADate, 8, 1, "line 8 should hold the date a session ended, such as #1999-11-18#, "
                                                "but it holds \"yesterday\""},
        FaultRow {"DateThatDoesNotExist", kOneRecord + replaced(kOneRecord, "#1999-11-16#", "#1999-02-30#"),
                  Fault::Kind::NotADate, 8, 1, "\"#1999-02-30#\""},
        FaultRow {"EmptyDate", replaced(kOneRecord, "#1999-11-16#", ""), Fault::Kind::NotADate, 2, 0,
                  "but it is empty"},
        FaultRow {"LengthThatIsNoNumber", kOneRecord + replaced(kOneRecord, "3600", "12x"), Fault::Kind::NotANumber,
                  11, 1, "line 11 should hold the length of a session in seconds"},
        FaultRow {"LengthNotANumber", kOneRecord + replaced(kOneRecord, "3600", "nan"), Fault::Kind::NotANumber, 11,
                  1, "\"nan\""},
        FaultRow {"LengthInfinite", kOneRecord + replaced(kOneRecord, "3600", "1e999"), Fault::Kind::NotANumber, 11,
                  1, "\"1e999\""},
        FaultRow {"LengthWithAComma", kOneRecord + replaced(kOneRecord, "3600", "3600,5"), Fault::Kind::NotANumber,
                  11, 1, "\"3600,5\""},
        FaultRow {"ControlBytesShownSafely", kOneRecord + replaced(kOneRecord, "3600", "1\x1b[2J<b>"),
                  Fault::Kind::NotANumber, 11, 1, "\"1\\x1b[2J<b>\""},
        FaultRow {"OverlongLineIsCut", kOneRecord + replaced(kOneRecord, "3600", QByteArray(5000, '7').constData()),
                  Fault::Kind::NotANumber, 11, 1, "7777777...\""},
        FaultRow {"TotalPastTheTop", logOf({{kNov16, 2147483647}, {kNov17, 1}}), Fault::Kind::TotalOutOfRange, 11, 1,
                  "adding the session length 1 on line 11 takes the total outside"},
        FaultRow {"HalfPastTheTopRoundsOut", logOf({{kNov16, 2147483647}, {kNov17, 0.5}}),
                  Fault::Kind::TotalOutOfRange, 11, 1, "more than Tallio can count"},
        FaultRow {"TotalPastTheBottom", logOf({{kNov16, -2147483649.0}}), Fault::Kind::TotalOutOfRange, 5, 0,
                  "There is no whole record before it"},
        FaultRow {"RecordsShiftedByATornOneInside",
                  kOneRecord + "\"----------\"\r\n#1999-11-1\r\n" + logOf({{kNov18, 60}}), Fault::Kind::NotADate, 8,
                  1, "\"#1999-11-1\""}),
    [](const testing::TestParamInfo<FaultRow> &p) { return std::string(p.param.name); });

TEST(Faults, TotalKeepsTheRecordsBeforeTheOverflow)
{
    const core::analysis::Analysis a = analyseBytes(logOf({{kNov16, 2147483000}, {kNov17, 600}, {kNov18, 100}}));
    ASSERT_EQ(a.fault.kind, Fault::Kind::TotalOutOfRange);
    ASSERT_TRUE(a.totals);
    EXPECT_EQ(a.totals->totalSeconds, 2147483600);
    EXPECT_EQ(a.totals->sessionCount, 2);
    EXPECT_EQ(a.totals->lastDate, kNov17); // the record that overflowed is not taken at all
}

} // namespace

// The log named is not a file: a FIFO would block the reading for ever and
// /dev/zero never end it. Each is named, as a folder is.
TEST(AnalyseFile, WhatIsNotAFileIsNamedNotRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo.log"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = dir.filePath(QStringLiteral("zero.log"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const struct
    {
        QString path;
        Fault::Kind kind;
        const char *says;
    } rows[] = {
        {fifo, Fault::Kind::Unreadable, "it is a FIFO (named pipe)"},
        {zero, Fault::Kind::Unreadable, "it is a character device"},
        {dir.path(), Fault::Kind::Unreadable, "it is a folder"},
        {dir.filePath(QStringLiteral("none.log")), Fault::Kind::Missing, "it is not there"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.path.toStdString());
        const core::analysis::Analysis a = core::analysis::analyseFile(row.path);
        EXPECT_EQ(a.fault.kind, row.kind);
        const QString problem = core::analysis::outcome(a, row.path, kC).problem.join(QLatin1Char(' '));
        EXPECT_TRUE(problem.contains(QLatin1String(row.says), Qt::CaseInsensitive)) << problem.toStdString();
    }
}

// LogAway.log beside the log gives the history its time away, read in two
// parts as the log is once the log is long; when it cannot be read, that is
// said, and nothing but the time away changes.
TEST(AnalyseFile, ReadsLogAwayBesideTheLogForTheHistoryAlone)
{
    QTemporaryDir dir;
    const QString logPath = dir.filePath(QStringLiteral("LogData.log"));
    const QString awayPath = core::analysis::awayLogPath(logPath);
    ASSERT_EQ(awayPath, dir.filePath(QStringLiteral("LogAway.log")));
    // Long enough to be read in two parts; a line for every third session.
    QByteArray log, away;
    std::int64_t awayWritten = 0;
    for (int i = 0; i < 40000; ++i) {
        const core::session::SessionRecord r {QDate(2000, 1, 1).addDays(i / 4), QTime(i % 4 * 6, 0, 0),
                                              QTime(i % 4 * 6 + 1, i % 60, 0), 3600.0 + i % 60 * 60, QString()};
        log += core::session::dataForm(r);
        if (i % 3 == 0) {
            away += core::session::awayLine({r.endDate, r.startTime, r.endTime, {5, 60, i % 7}});
            awayWritten += 60 + i % 7;
        }
    }
    ASSERT_GT(log.size(), 8 * core::session::LogReader::kDefaultBlockSize);
    QFile logFile(logPath);
    ASSERT_TRUE(logFile.open(QIODevice::WriteOnly) && logFile.write(log) == log.size());
    logFile.close();

    // The same reading in order, from memory.
    core::analysis::AwaySource source = awaySourceOf(away);
    QBuffer inMemory(&log);
    inMemory.open(QIODevice::ReadOnly);
    core::analysis::History expected(core::analysis::Period::Day);
    core::analysis::analyse(inMemory, 4096, &expected, core::session::LogReader::ReadAhead::No, &source);
    std::int64_t awayInAll = 0;
    for (const core::analysis::HistoryRow &row : expected.rows())
        awayInAll += row.away;
    ASSERT_EQ(awayInAll, awayWritten);

    const auto read = [&logPath](core::analysis::History *history) {
        const core::analysis::Analysis a = core::analysis::analyseFile(logPath, history);
        EXPECT_TRUE(a.complete());
        EXPECT_EQ(a.totals->sessionCount, 40000);
        return a;
    };
    struct Row
    {
        const char *name;
        std::function<void()> make;
        bool withAway;
        const char *says;
    };
    const Row rows[] = {
        {"none", [] {}, false, ""},
        {"the lines", [&] {
             QFile file(awayPath);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(away) == away.size());
         },
         true, ""},
        {"a folder",
         [&] {
             QFile::remove(awayPath);
             QDir(dir.path()).mkdir(QStringLiteral("LogAway.log"));
         },
         false, "The time away is left out: LogAway.log in the folder "},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        row.make();
        core::analysis::History days(core::analysis::Period::Day);
        const core::analysis::Analysis a = read(&days);
        std::vector<core::analysis::HistoryRow> want = expected.rows();
        if (!row.withAway) {
            for (core::analysis::HistoryRow &r : want)
                r.away = 0;
        }
        EXPECT_EQ(days.rows(), want);
        const QString problem = core::analysis::awayProblem(a, logPath);
        if (*row.says == 0) {
            EXPECT_EQ(problem, QString());
        } else {
            EXPECT_TRUE(problem.startsWith(QLatin1String(row.says))) << problem.toStdString();
            EXPECT_TRUE(problem.contains(QLatin1String("it is a folder"))) << problem.toStdString();
        }
        EXPECT_EQ(read(nullptr).awayFault.kind, core::analysis::AwayFault::Kind::None) << "the report read LogAway.log";
    }
}
