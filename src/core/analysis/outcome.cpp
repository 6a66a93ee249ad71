// SPDX-License-Identifier: MIT
#include "core/analysis/outcome.h"

#include "core/analysis/report.h"
#include "core/session/record.h"

#include <QDir>
#include <QFileInfo>

namespace core::analysis {

QString shownValue(QByteArrayView value, bool cut, int limit)
{
    QString out;
    for (const char c : value) {
        if (out.size() >= limit) {
            cut = true;
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7F)
            out += QLatin1Char(c);
        else
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
    }
    return QLatin1Char('"') + out + (cut ? QStringLiteral("...\"") : QStringLiteral("\""));
}

namespace {

QString holds(const Fault &f)
{
    if (!f.valueCut && session::isEmptyValue(f.value))
        return QStringLiteral("but it is empty");
    return QStringLiteral("but it holds ") + shownValue(f.value, f.valueCut);
}

} // namespace

Outcome outcome(const Analysis &analysis, const QString &logPath, const QLocale &locale)
{
    Outcome o;
    if (analysis.totals)
        o.report = reportLines(*analysis.totals, locale);
    if (analysis.complete())
        return o;

    const QFileInfo info(logPath);
    const QString name = info.fileName();
    const QString folder = QDir::toNativeSeparators(info.absolutePath());
    const QString log = QStringLiteral("The session log %1 in the folder %2").arg(name, folder);
    const Fault &f = analysis.fault;
    const QString line = QString::number(f.line);

    switch (f.kind) {
    case Fault::Kind::None:
        break;
    case Fault::Kind::Missing:
        o.problem << QStringLiteral("No session log to report on.")
                  << QStringLiteral("Tallio looked for %1 in the folder %2 and it is not there.").arg(name, folder)
                  << QStringLiteral("Tocka writes that file in the folder it runs in each time it closes; start "
                                    "Tallio in that same folder.");
        break;
    case Fault::Kind::Unreadable:
        o.problem << QStringLiteral("%1 cannot be read: %2.").arg(log, f.systemError);
        break;
    case Fault::Kind::Empty:
        o.problem << QStringLiteral("%1 holds no session yet.").arg(log)
                  << QStringLiteral("Tocka adds one to it each time it closes.");
        break;
    case Fault::Kind::TornRecord:
        o.problem << QStringLiteral("%1 ends in the middle of a record: the record that starts on line %2 has only "
                                    "%3 of its %4 lines, as a crash while it was written would leave. It is not "
                                    "counted.")
                         .arg(log, QString::number(f.recordLine))
                         .arg(f.valuesPresent)
                         .arg(session::kValuesPerRecord);
        break;
    case Fault::Kind::NotADate:
        o.problem << QStringLiteral("%1 is damaged: line %2 should hold the date a session ended, such as "
                                    "#1999-11-18#, %3.")
                         .arg(log, line, holds(f));
        break;
    case Fault::Kind::NotANumber:
        o.problem << QStringLiteral("%1 is damaged: line %2 should hold the length of a session in seconds, such as "
                                    "3723.4609375, or nothing, %3.")
                         .arg(log, line, holds(f));
        break;
    case Fault::Kind::TotalOutOfRange:
        o.problem << QStringLiteral("%1 adds up to more than Tallio can count: adding the session length %2 on line "
                                    "%3 takes the total outside -2147483648 to 2147483647 seconds (about 68 years).")
                         .arg(log, shownValue(f.value, f.valueCut).mid(1).chopped(1), line);
        break;
    case Fault::Kind::ReadFailed:
        o.problem << QStringLiteral("Reading %1 failed after line %2: %3.").arg(log, line, f.systemError);
        break;
    }

    if (f.recordLine > 0) {
        if (analysis.totals)
            o.problem << QStringLiteral("The report below counts only %1 on lines 1 to %2; everything from line %3 "
                                        "on is left out.")
                             .arg(analysis.records == 1
                                      ? QStringLiteral("the one whole record")
                                      : QStringLiteral("the %1 whole records").arg(analysis.records),
                                  QString::number(f.recordLine - 1), QString::number(f.recordLine));
        else
            o.problem << QStringLiteral("There is no whole record before it, so there is nothing to report.");
    }
    return o;
}

QString awayProblem(const Analysis &analysis, const QString &logPath)
{
    const QFileInfo info(awayLogPath(logPath));
    const QString file = QStringLiteral("%1 in the folder %2")
                             .arg(info.fileName(), QDir::toNativeSeparators(info.absolutePath()));
    const AwayFault &f = analysis.awayFault;
    switch (f.kind) {
    case AwayFault::Kind::None:
        break;
    case AwayFault::Kind::Unreadable:
        return QStringLiteral("The time away is left out: %1 cannot be read: %2.").arg(file, f.systemError);
    case AwayFault::Kind::ReadFailed:
        return QStringLiteral("Reading %1 failed: %2. Sessions after the lines read show no time away.")
            .arg(file, f.systemError);
    }
    return {};
}

QString captionText(const Outcome &o)
{
    if (o.complete())
        return o.report.join(kReportLineBreak);
    QStringList lines = o.problem;
    if (!o.report.isEmpty())
        lines << QString() << o.report;
    return lines.join(kReportLineBreak);
}

} // namespace core::analysis
