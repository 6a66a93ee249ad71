// SPDX-License-Identifier: MIT
#pragma once
// Dates, times and numbers in the user's regional format, decided in one place.

#include <QChar>
#include <QLocale>
#include <QString>

class QDate;
class QTime;

namespace core::text {

// The user's short date format, always with a four-digit year: a two-digit
// year ("11/18/99") is ambiguous in logs that are kept for years.
QString shortDate(const QDate &date, const QLocale &locale = QLocale());

// The user's time format, with seconds even where the short format has none.
QString timeWithSeconds(const QTime &time, const QLocale &locale = QLocale());

// The user's decimal separator (one character).
QChar decimalPoint(const QLocale &locale = QLocale());

} // namespace core::text
