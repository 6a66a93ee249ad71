// SPDX-License-Identifier: MIT
// tallio-report: Tallio's report on standard output, for scripts and
// terminals. It reads LogData.log in the current folder, or the log named on
// the command line, and prints the same thirteen lines as the window, or
// with --by the sessions, time and time away of every day, week or month.
// When the log cannot be read whole it prints nothing on standard output, so
// no script takes a partial report for the real one: what went wrong, and
// what the whole records before it give, go to standard error.

#include "core/analysis/analysis.h"
#include "core/analysis/history.h"
#include "core/analysis/historyformat.h"
#include "core/analysis/outcome.h"
#include "core/analysis/reportoptions.h"
#include "core/desktop/commandline.h"
#include "core/session/record.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <optional>
#include <string_view>

namespace {

void printLines(std::FILE *out, const QStringList &lines)
{
    for (const QString &line : lines) {
        const QByteArray bytes = line.toLocal8Bit();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out);
        std::fputc('\n', out);
    }
}

bool flushed(std::FILE *out)
{
    return std::fflush(out) == 0 && !std::ferror(out);
}

} // namespace

int main(int argc, char *argv[])
{
    using core::analysis::ReportCommand;
    const ReportCommand command = core::analysis::readReportArguments(argc, argv);
    switch (command.action) {
    case ReportCommand::Action::Help:
        std::fputs(core::analysis::kReportUsage, stdout);
        return flushed(stdout) ? 0 : 1;
    case ReportCommand::Action::Version:
        core::desktop::printVersion("tallio-report", stdout);
        return flushed(stdout) ? 0 : 1;
    case ReportCommand::Action::Refuse:
        std::fprintf(stderr, "tallio-report: %s\n", command.refusal.toLocal8Bit().constData());
        std::fputs(core::analysis::kReportUsage, stderr);
        return 2;
    case ReportCommand::Action::Report:
        break;
    }
    const core::analysis::ReportOptions &options = command.options;

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
        if (const QString note = core::analysis::desktopLogNote(options, analysis); !note.isEmpty())
            printLines(stderr, {QStringLiteral("tallio-report: ") + note});
        if (!outcome.report.isEmpty()) {
            std::fputc('\n', stderr);
            printLines(stderr, outcome.report);
        }
        return 1;
    }
    if (history) {
        // Only the time away is missing then: the history itself is whole.
        if (const QString note = core::analysis::awayProblem(analysis, path); !note.isEmpty())
            printLines(stderr, {QStringLiteral("tallio-report: ") + note});
        const bool written = core::analysis::writeHistory(*history, options.format, [](std::string_view chunk) {
            return std::fwrite(chunk.data(), 1, chunk.size(), stdout) == chunk.size();
        });
        return written && flushed(stdout) ? 0 : 1;
    }
    printLines(stdout, outcome.report);
    return flushed(stdout) ? 0 : 1;
}
