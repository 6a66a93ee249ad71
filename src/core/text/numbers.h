// SPDX-License-Identifier: MIT
#pragma once
// The exact number rules both programs share: number texts of at most 15
// significant digits, rounding halves to even, floor, and the checked
// narrowing into the fixed-width integers the stored values use.

#include <QChar>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>

namespace core::text {

// Shortest text of at most 15 significant digits, no trailing zeros, no
// leading blank, "-" when negative; exponent form ("1E+15") only where the
// plain form would need more digits. `decimalPoint` is '.' in the data log and
// the user's separator everywhere else.
QString numberText(double value, QChar decimalPoint = QLatin1Char('.'));

// The same for a single-precision value, at most 7 significant digits.
QString singleText(float value, QChar decimalPoint = QLatin1Char('.'));

// Nearest whole number, halves to even (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
double roundHalfEven(double value);

// Largest whole number not greater than the value.
double floorInt(double value);

// Rounds halves to even, then narrows; nullopt when the result is out of range
// or the value is not finite.
inline std::optional<std::int32_t> toInt32(double value); // defined below
std::optional<std::int16_t> toInt16(double value);

// Rounds halves to even and clamps into the 16-bit range; for counters whose
// overflow must not stop the program.
std::int16_t toInt16Clamped(double value);

// Reads a number as the user would type it: optional blanks around it, an
// optional sign, digits with at most one decimal separator (`decimalPoint`),
// an optional exponent. nullopt for anything else, the empty text included.
std::optional<double> parseNumber(QStringView text, QChar decimalPoint = QLatin1Char('.'));

// Inline: the log analysis rounds its running total at every record.
inline std::optional<std::int32_t> toInt32(double value)
{
    // Whatever rounds into the range lies within it widened by a half; the
    // edges themselves are ties that go to the even neighbour. NaN fails both.
    if (!(value >= -2147483648.5 && value < 2147483647.5))
        return std::nullopt;
    // Integer truncation instead of the general rounding: the log analysis
    // rounds a running total millions of times, each sum waiting on the one
    // before, so the few cycles of each step add up.
    const auto truncated = static_cast<std::int64_t>(value);
    const double fraction = value - static_cast<double>(truncated); // exact
    // Without branches: whether a fraction is above or below a half is a
    // coin toss for each session length, and a mispredicted branch costs
    // more than all of this.
    const std::int64_t odd = truncated & 1;
    const std::int64_t up = (fraction > 0.5) | ((fraction == 0.5) & odd);
    const std::int64_t down = (fraction < -0.5) | ((fraction == -0.5) & odd);
    return static_cast<std::int32_t>(truncated + up - down);
}

} // namespace core::text
