// SPDX-License-Identifier: MIT
#pragma once
// The thirteen-line report built from the totals of the log, in the user's
// number and date formats.

#include "core/analysis/analysis.h"

#include <QLocale>
#include <QString>
#include <QStringList>

namespace core::analysis {

inline constexpr int kReportLineCount = 13;
// Report lines are joined by a lone carriage return, with none after the last.
inline constexpr QChar kReportLineBreak = QChar(13);

QStringList reportLines(const Totals &totals, const QLocale &locale = QLocale());
QString reportText(const Totals &totals, const QLocale &locale = QLocale());

// Whole calendar days from the first date to the last; negative when the last
// is earlier.
qint64 daySpan(const Totals &totals);

// Sessions per day to two decimals, halves up.
double sessionsPerDay(qint64 sessionCount, qint64 span);

} // namespace core::analysis
