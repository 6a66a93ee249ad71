// SPDX-License-Identifier: MIT
#pragma once
// What Tallio tells the user: the report when the whole log was read;
// otherwise first what went wrong and where, then whatever the whole records
// before the fault still give, marked as such so it cannot pass for the
// full report.

#include "core/analysis/analysis.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace core::analysis {

struct Outcome
{
    QStringList problem; // empty when the whole log was read
    QStringList report;  // the report lines; empty when nothing could be reported

    bool complete() const { return problem.isEmpty(); }
};

Outcome outcome(const Analysis &analysis, const QString &logPath, const QLocale &locale = QLocale());

// One line when LogAway.log, beside the log at `logPath`, could not be read
// whole, saying what then shows no time away; empty otherwise.
QString awayProblem(const Analysis &analysis, const QString &logPath);

// The text for the window's label: the report alone, lines joined by a lone
// CR, when complete; else the problem, a blank line and what could be reported.
QString captionText(const Outcome &outcome);

// A value from the log made fit to show: printable ASCII as is, other bytes
// as \xNN, at most `limit` characters.
QString shownValue(QByteArrayView value, bool cut, int limit = 40);

} // namespace core::analysis
