// SPDX-License-Identifier: MIT
// tallio-report: Tallio's report on standard output, for scripts and
// terminals. It reads LogData.log in the current folder, or the log named on
// the command line, and prints the same thirteen lines as the window, or
// with --by the sessions and time of every day, week or month.
// When the log cannot be read whole it prints nothing on standard output, so
// no script takes a partial report for the real one: what went wrong, and
// what the whole records before it give, go to standard error.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"
#include "core/analysis/historyformat.h"
#include "core/analysis/outcome.h"
#include "core/desktop/commandline.h"
#include "core/session/record.h"

#include <QDate>
#include <QDir>
#include <QString>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

namespace {

const char kUsage[] =
    "Usage: tallio-report [--by day|week|month] [--since YYYY-MM-DD] [--until YYYY-MM-DD]\n"
    "                     [--format text|csv|json] [LOGFILE]\n"
    "Prints the report on the session log LOGFILE (by default LogData.log in the\n"
    "current folder).\n"
    "  --by day|week|month     print instead the sessions and the time of every day,\n"
    "                          week (from Monday) or month from the first session to\n"
    "                          the last, by the day each session ended\n"
    "  --since YYYY-MM-DD      with --by: only sessions that ended on that day or later\n"
    "  --until YYYY-MM-DD      with --by: only sessions that ended on that day or earlier\n"
    "  --format text|csv|json  with --by: aligned columns with a total (the default),\n"
    "                          CSV (period,sessions,seconds) or a JSON array\n"
    "  --help                  print this and exit\n"
    "  --version               print the version and exit\n"
    "Exits with 0 when the whole log was read, 1 when it could not be read whole\n"
    "(the reason on standard error) and 2 on wrong arguments.\n";

int badArguments(const QString &what)
{
    std::fprintf(stderr, "tallio-report: %s\n", what.toLocal8Bit().constData());
    std::fputs(kUsage, stderr);
    return 2;
}

void printLines(std::FILE *out, const QStringList &lines)
{
    for (const QString &line : lines) {
        const QByteArray bytes = line.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
        std::fputc('\n', out);
    }
}

// A day as YYYY-MM-DD exactly; nothing else passes for one. `wellFormed`
// tells a day that is not in the calendar (2026-02-30) from a wrong form.
std::optional<QDate> isoDay(std::string_view text, bool &wellFormed)
{
    wellFormed = false;
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
    }
    wellFormed = true;
    auto number = [&text](std::size_t at, std::size_t length) {
        int v = 0;
        for (std::size_t i = at; i < at + length; ++i)
            v = v * 10 + (text[i] - '0');
        return v;
    };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    if (!date.isValid())
        return std::nullopt;
    return date;
}

struct Options
{
    std::optional<core::analysis::Period> by;
    std::optional<QDate> since;
    std::optional<QDate> until;
    core::analysis::HistoryFormat format = core::analysis::HistoryFormat::Text;
    std::optional<QString> path;
};

} // namespace

int main(int argc, char *argv[])
{
    Options options;
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            if (options.path)
                return badArguments(QStringLiteral("only one log file, please"));
            options.path = QString::fromLocal8Bit(argv[i]);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        if (arg == "--version" || arg == "-V") {
            core::desktop::printVersion("tallio-report", stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        }
        // --name value or --name=value
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        if (name != "--by" && name != "--since" && name != "--until" && name != "--format")
            return badArguments(QStringLiteral("unknown option %1").arg(QString::fromLocal8Bit(argv[i])));
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            return badArguments(QStringLiteral("%1 needs a value").arg(QLatin1String(name.data(), name.size())));
        }
        const QString shown = QString::fromLocal8Bit(value.data(), static_cast<qsizetype>(value.size()));
        if (name == "--by") {
            options.by = core::analysis::periodNamed(value);
            if (!options.by)
                return badArguments(QStringLiteral("--by takes day, week or month, not \"%1\"").arg(shown));
        } else if (name == "--format") {
            const auto format = core::analysis::historyFormatNamed(value);
            if (!format)
                return badArguments(QStringLiteral("--format takes text, csv or json, not \"%1\"").arg(shown));
            options.format = *format;
        } else {
            bool wellFormed = false;
            const std::optional<QDate> day = isoDay(value, wellFormed);
            const QLatin1String option(name.data(), static_cast<qsizetype>(name.size()));
            if (!day && wellFormed)
                return badArguments(QStringLiteral("%1: there is no day %2 in the calendar").arg(option, shown));
            if (!day)
                return badArguments(
                    QStringLiteral("%1 takes a day as YYYY-MM-DD, such as 2026-12-07, not \"%2\"").arg(option, shown));
            (name == "--since" ? options.since : options.until) = day;
        }
    }
    // Without --by the report is of the whole log: a choice of days would be
    // quietly ignored, and a total taken for theirs.
    if (!options.by && (options.since || options.until))
        return badArguments(QStringLiteral("--since and --until choose the sessions of --by; add --by day, week or month"));
    if (options.since && options.until && *options.since > *options.until)
        return badArguments(QStringLiteral("--since is after --until: no day is in between"));

    const QString path = QDir::current().absoluteFilePath(
        options.path.value_or(QString::fromLatin1(core::session::kDataLogFileName)));
    std::optional<core::analysis::History> history;
    if (options.by)
        history.emplace(*options.by, options.since.value_or(QDate()), options.until.value_or(QDate()));
    const core::analysis::Analysis analysis = core::analysis::analyseFile(path, history ? &*history : nullptr);
    const core::analysis::Outcome outcome = core::analysis::outcome(analysis, path);
    if (!outcome.complete()) {
        std::fputs("tallio-report: ", stderr);
        printLines(stderr, outcome.problem);
        if (!outcome.report.isEmpty()) {
            std::fputc('\n', stderr);
            printLines(stderr, outcome.report);
        }
        return 1;
    }
    if (history) {
        const bool written = core::analysis::writeHistory(*history, options.format, [](std::string_view chunk) {
            return std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size();
        });
        return written && std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    printLines(stdout, outcome.report);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}
