// SPDX-License-Identifier: MIT
#include "core/analysis/report.h"

#include "core/text/numbers.h"
#include "core/text/regional.h"

#include <cmath>

namespace core::analysis {

namespace {

const QString kRule = QStringLiteral("-------------");

// Minutes and seconds get a leading "0" while their text is a single character.
QString padded(const QString &text)
{
    return text.size() < 2 ? QLatin1Char('0') + text : text;
}

} // namespace

qint64 daySpan(const Totals &totals)
{
    return totals.firstDate.daysTo(totals.lastDate);
}

double sessionsPerDay(qint64 sessionCount, qint64 span)
{
    // A span of 0 means every session ended on the first day: they all fall
    // on one day. A negative span (the last record dated before the first:
    // a clock set back, or logs joined out of order) still covers that many
    // days; a negative rate would only puzzle.
    const qint64 days = span == 0 ? 1 : std::llabs(span);
    return std::floor(static_cast<double>(sessionCount) / static_cast<double>(days) * 100 + 0.5) / 100;
}

QStringList reportLines(const Totals &t, const QLocale &locale)
{
    const QChar point = text::decimalPoint(locale);
    auto text = [point](double v) { return text::numberText(v, point); };
    const double total = t.totalSeconds;

    const double days = std::floor(total / 86400);
    const double remainder = total - days * 86400;
    const double hours = std::floor(remainder / 3600);
    const double minutes = std::floor((remainder - hours * 3600) / 60);
    const double seconds = std::floor(remainder - hours * 3600 - minutes * 60);

    const double average = total / static_cast<double>(t.sessionCount);
    const double avgHours = std::floor(average / 3600);
    const double avgMinutes = std::floor((average - avgHours * 3600) / 60);
    const double avgSeconds = std::floor(average - avgHours * 3600 - avgMinutes * 60);

    const double inDays = std::floor(total / 86400 * 100 + 0.5) / 100;
    const double inHours = std::floor(total / 3600 * 10 + 0.5) / 10;
    const double inMinutes = std::floor(total / 60 + 0.5);

    return {
        text(total) + QStringLiteral(" Secs"),
        text(days) + QStringLiteral(" days / ") + text(hours) + QLatin1Char(':') + padded(text(minutes))
            + QLatin1Char(':') + padded(text(seconds)),
        kRule,
        text(inDays) + QStringLiteral(" Days"),
        text(inHours) + QStringLiteral(" Hours"),
        text(inMinutes) + QStringLiteral(" Minutes"),
        kRule,
        QString::number(t.sessionCount) + QStringLiteral(" runs Since ") + text::shortDate(t.firstDate, locale),
        QStringLiteral("Avg Length: ") + text(avgHours) + QLatin1Char(':') + padded(text(avgMinutes))
            + QLatin1Char(':') + padded(text(avgSeconds)),
        QStringLiteral("Sessions per Day: ") + text(sessionsPerDay(t.sessionCount, daySpan(t))),
        kRule,
        QStringLiteral("Last Updated on: ") + text::shortDate(t.lastDate, locale),
        QStringLiteral("Note: to reduce cpu usage, current session is not included. Count is updated everytime you "
                       "shutdown."),
    };
}

QString reportText(const Totals &totals, const QLocale &locale)
{
    return reportLines(totals, locale).join(kReportLineBreak);
}

} // namespace core::analysis
