// SPDX-License-Identifier: MIT
// tallio-report's usage, one row per command line: what it asks for, or the
// one line that says why it cannot be done (the program then exits with 2).

#include "core/analysis/reportoptions.h"

#include "support/qstringprint.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using core::analysis::HistoryFormat;
using core::analysis::Period;
using Action = core::analysis::ReportCommand::Action;

namespace {

QDate day(const char *iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

struct Row
{
    std::vector<const char *> args;
    Action action;
    // With Report: what was asked for.
    std::optional<Period> by = std::nullopt;
    QDate since = {}, until = {};
    HistoryFormat format = HistoryFormat::Text;
    std::optional<QString> path = std::nullopt;
    // With Refuse: a part of the reason.
    const char *refusal = "";
};

} // namespace

TEST(ReportArguments, EachCommandLineAsksForOneThingOrIsRefusedWithItsReason)
{
    const Row rows[] = {
        {{}, Action::Report},
        {{"old.log"}, Action::Report, {}, {}, {}, HistoryFormat::Text, QStringLiteral("old.log")},
        {{"-"}, Action::Report, {}, {}, {}, HistoryFormat::Text, QStringLiteral("-")},
        {{"--", "--by"}, Action::Report, {}, {}, {}, HistoryFormat::Text, QStringLiteral("--by")},
        {{"--by", "week"}, Action::Report, Period::Week},
        {{"--by=month", "--format=json"}, Action::Report, Period::Month, {}, {}, HistoryFormat::Json},
        {{"x.log", "--format", "csv", "--until", "2026-12-31", "--by", "day", "--since", "2026-02-28"},
         Action::Report, Period::Day, day("2026-02-28"), day("2026-12-31"), HistoryFormat::Csv,
         QStringLiteral("x.log")},
        {{"--by", "day", "--since", "2024-02-29", "--until", "2024-02-29"}, Action::Report, Period::Day,
         day("2024-02-29"), day("2024-02-29")},
        // --format alone changes nothing but is no mistake.
        {{"--format", "text"}, Action::Report},

        {{"--help"}, Action::Help},
        {{"-h", "--frobnicate"}, Action::Help},
        {{"--by", "day", "-V"}, Action::Version},
        {{"--version"}, Action::Version},

        {{"--frobnicate"}, Action::Refuse, {}, {}, {}, {}, {}, "unknown option --frobnicate"},
        {{"-x"}, Action::Refuse, {}, {}, {}, {}, {}, "unknown option -x"},
        {{"--by-day"}, Action::Refuse, {}, {}, {}, {}, {}, "unknown option --by-day"},
        {{"--frobnicate", "--help"}, Action::Refuse, {}, {}, {}, {}, {}, "unknown option"},
        {{"--by"}, Action::Refuse, {}, {}, {}, {}, {}, "--by needs a value"},
        {{"--by", "year"}, Action::Refuse, {}, {}, {}, {}, {}, "--by takes day, week or month, not \"year\""},
        {{"--by="}, Action::Refuse, {}, {}, {}, {}, {}, "not \"\""},
        {{"--format", "xml", "--by", "day"}, Action::Refuse, {}, {}, {}, {}, {}, "--format takes text, csv or json"},
        {{"--by", "day", "--since", "18.11.1999"}, Action::Refuse, {}, {}, {}, {}, {}, "takes a day as YYYY-MM-DD"},
        {{"--by", "day", "--until", "1999-1-18"}, Action::Refuse, {}, {}, {}, {}, {}, "--until takes a day"},
        {{"--by", "day", "--since", "1999-11-31"}, Action::Refuse, {}, {}, {}, {}, {}, "no day 1999-11-31"},
        {{"--by", "day", "--since", "2026-02-29"}, Action::Refuse, {}, {}, {}, {}, {}, "in the calendar"},
        {{"--since", "1999-11-16"}, Action::Refuse, {}, {}, {}, {}, {}, "add --by"},
        {{"--until=1999-11-16", "LogData.log"}, Action::Refuse, {}, {}, {}, {}, {}, "add --by"},
        {{"--by", "day", "--since", "1999-11-18", "--until", "1999-11-16"}, Action::Refuse, {}, {}, {}, {}, {},
         "--since is after --until"},
        {{"a.log", "b.log"}, Action::Refuse, {}, {}, {}, {}, {}, "only one log file"},
        {{"a.log", "--", "b.log"}, Action::Refuse, {}, {}, {}, {}, {}, "only one log file"},
        {{"--by", "day", "--by", "day"}, Action::Refuse, {}, {}, {}, {}, {}, "--by is given twice"},
        {{"--by", "day", "--since", "2026-01-01", "--since=2026-02-01"}, Action::Refuse, {}, {}, {}, {}, {},
         "--since is given twice"},
        {{"--by", "day", "--until", "2026-01-01", "--until", "2026-02-01"}, Action::Refuse, {}, {}, {}, {}, {},
         "--until is given twice"},
        {{"--format", "csv", "--by", "day", "--format", "json"}, Action::Refuse, {}, {}, {}, {}, {},
         "--format is given twice"},
    };
    for (const Row &row : rows) {
        std::vector<const char *> argv{"tallio-report"};
        QString line;
        for (const char *arg : row.args) {
            argv.push_back(arg);
            line += QLatin1Char(' ') + QString::fromUtf8(arg);
        }
        SCOPED_TRACE(line.toStdString());
        const auto command = core::analysis::readReportArguments(static_cast<int>(argv.size()), argv.data());
        if (command.action != row.action) {
            ADD_FAILURE() << "action " << static_cast<int>(command.action) << ", not " << static_cast<int>(row.action)
                          << ": " << command.refusal.toStdString();
            continue;
        }
        if (row.action == Action::Refuse) {
            EXPECT_TRUE(command.refusal.contains(QString::fromUtf8(row.refusal))) << command.refusal.toStdString();
            EXPECT_FALSE(command.refusal.contains(QLatin1Char('\n')));
            continue;
        }
        if (row.action != Action::Report)
            continue;
        const auto &options = command.options;
        EXPECT_EQ(options.by, row.by);
        EXPECT_EQ(options.since.value_or(QDate()), row.since);
        EXPECT_EQ(options.until.value_or(QDate()), row.until);
        EXPECT_EQ(options.format, row.format);
        EXPECT_EQ(options.path, row.path);
    }
}
