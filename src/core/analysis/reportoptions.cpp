// SPDX-License-Identifier: MIT
#include "core/analysis/reportoptions.h"

#include "core/desktop/folders.h"
#include "core/session/record.h"

#include <QFileInfo>

#include <array>
#include <string_view>

namespace core::analysis {

const char kReportUsage[] =
    "Usage: tallio-report [--by day|week|month] [--since YYYY-MM-DD] [--until YYYY-MM-DD]\n"
    "                     [--format text|csv|json] [LOGFILE]\n"
    "Prints the report on the session log LOGFILE (by default LogData.log in the\n"
    "current folder).\n"
    "  --by day|week|month     print instead the sessions, the time and the time away\n"
    "                          (from LogAway.log beside LOGFILE) of every day, week\n"
    "                          (from Monday) or month from the first session to the\n"
    "                          last, by the day each session ended\n"
    "  --since YYYY-MM-DD      with --by: only sessions that ended on that day or later\n"
    "  --until YYYY-MM-DD      with --by: only sessions that ended on that day or earlier\n"
    "  --format text|csv|json  with --by: aligned columns with a total (the default),\n"
    "                          CSV (period,sessions,seconds,away) or a JSON array\n"
    "  --help                  print this and exit\n"
    "  --version               print the version and exit\n"
    "Each option may be given once. Exits with 0 when the whole log was read, 1 when\n"
    "it could not be read whole (the reason on standard error) and 2 on wrong\n"
    "arguments.\n";

namespace {

QString shown(std::string_view text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

ReportCommand refused(const QString &why)
{
    ReportCommand command;
    command.action = ReportCommand::Action::Refuse;
    command.refusal = why;
    return command;
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

constexpr std::array<std::string_view, 4> kValueOptions{"--by", "--since", "--until", "--format"};

// Sets the option `name` from `value`; empty when that went well, else why not.
QString take(ReportOptions &options, std::string_view name, std::string_view value)
{
    if (name == "--by") {
        options.by = periodNamed(value);
        if (!options.by)
            return QStringLiteral("--by takes day, week or month, not \"%1\"").arg(shown(value));
        return {};
    }
    if (name == "--format") {
        const auto format = historyFormatNamed(value);
        if (!format)
            return QStringLiteral("--format takes text, csv or json, not \"%1\"").arg(shown(value));
        options.format = *format;
        return {};
    }
    bool wellFormed = false;
    const std::optional<QDate> day = isoDay(value, wellFormed);
    const QString option = shown(name);
    if (!day && wellFormed)
        return QStringLiteral("%1: there is no day %2 in the calendar").arg(option, shown(value));
    if (!day)
        return QStringLiteral("%1 takes a day as YYYY-MM-DD, such as 2026-12-07, not \"%2\"").arg(option, shown(value));
    (name == "--since" ? options.since : options.until) = day;
    return {};
}

// A path that a shell takes as one word, quoted only when it has to be.
QString shellWord(const QString &path)
{
    static const QString plain = QStringLiteral("/._-+,:@%=");
    for (const QChar c : path) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && !plain.contains(c)) {
            QString quoted = path;
            quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
            return QLatin1Char('\'') + quoted + QLatin1Char('\'');
        }
    }
    return path;
}

} // namespace

ReportCommand readReportArguments(int argc, const char *const *argv)
{
    ReportCommand command;
    ReportOptions &options = command.options;
    std::array<bool, kValueOptions.size()> given{};
    bool optionsEnd = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (optionsEnd || arg.size() < 2 || arg[0] != '-') {
            if (options.path)
                return refused(QStringLiteral("only one log file, please"));
            options.path = shown(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            command.action = ReportCommand::Action::Help;
            return command;
        }
        if (arg == "--version" || arg == "-V") {
            command.action = ReportCommand::Action::Version;
            return command;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        std::size_t which = 0;
        while (which < kValueOptions.size() && kValueOptions[which] != name)
            ++which;
        if (which == kValueOptions.size())
            return refused(QStringLiteral("unknown option %1").arg(shown(arg)));
        // Twice is a slip (a second --since meant as --until, a script that
        // adds its own --by): taking either would report on what was not asked.
        if (given[which])
            return refused(QStringLiteral("%1 is given twice; give it once").arg(shown(name)));
        given[which] = true;
        std::string_view value;
        if (equals != std::string_view::npos)
            value = arg.substr(equals + 1);
        else if (i + 1 < argc)
            value = argv[++i];
        else
            return refused(QStringLiteral("%1 needs a value").arg(shown(name)));
        if (const QString wrong = take(options, name, value); !wrong.isEmpty())
            return refused(wrong);
    }
    // Without --by the report is of the whole log: a choice of days would be
    // quietly ignored, and a total taken for theirs.
    if (!options.by && (options.since || options.until))
        return refused(QStringLiteral("--since and --until choose the sessions of --by; add --by day, week or month"));
    if (options.since && options.until && *options.since > *options.until)
        return refused(QStringLiteral("--since is after --until: no day is in between"));
    return command;
}

QString desktopLogNote(const ReportOptions &options, const Analysis &analysis)
{
    if (options.path || analysis.fault.kind != Fault::Kind::Missing)
        return {};
    const QString folder = desktop::logFolder();
    const QString log = folder + QLatin1Char('/') + QLatin1String(session::kDataLogFileName);
    if (!QFileInfo(log).isFile())
        return {};
    return QStringLiteral("Tocka started from the desktop menu or at login logs in %1, and there is a %2 there: "
                          "tallio-report %3")
        .arg(folder, QLatin1String(session::kDataLogFileName), shellWord(log));
}

} // namespace core::analysis
