// SPDX-License-Identifier: MIT
#pragma once
// The break alarm's arithmetic: whole seconds elapsed in a period across any
// number of midnights, the period length read from a box, and the countdown
// text written back into that box.

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>

namespace core::clock {

// Whole seconds since a period began: calendar days between its start date
// and today times 86400, plus the difference of the two seconds-since-midnight
// readings taken in single precision, rounded half to even. The readings fall
// back by 86400 exactly when the day count grows, so midnight needs no case.
std::int32_t alarmElapsedSeconds(qint64 daysSinceStart, float secondsNow, float startSeconds);

// A period length in minutes as typed: a number with the user's decimal
// separator or a full stop. Nothing for an empty text, a separator alone or
// anything else that is not one finite number.
std::optional<double> parseAlarmMinutes(const QString &text, QChar decimalPoint);

// The minutes left as the countdown box shows them: the number's text, padded
// with zeros after its decimal separator to fill `width` characters
// (19.5 -> "19.50000"). A whole number gets a separator first (18 ->
// "18.00000"), so the padding never changes the value a later switch-on reads
// back; a text that cannot take a separator and a zero, or that is already as
// wide or wider, or in exponent form, is shown as it is.
QString alarmCountdownText(double minutesLeft, int width, QChar decimalPoint);

} // namespace core::clock
