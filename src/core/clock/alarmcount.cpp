// SPDX-License-Identifier: MIT
#include "core/clock/alarmcount.h"

#include "core/text/numbers.h"

#include <cmath>
#include <limits>

namespace core::clock {

std::int32_t alarmElapsedSeconds(qint64 daysSinceStart, float secondsNow, float startSeconds)
{
    const float e = secondsNow - startSeconds;
    const double total = static_cast<double>(daysSinceStart) * 86400.0 + static_cast<double>(e);
    if (const auto whole = text::toInt32(total))
        return *whole;
    return total < 0 ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
}

std::optional<double> parseAlarmMinutes(const QString &text, QChar decimalPoint)
{
    if (auto value = text::parseNumber(text, decimalPoint))
        return value;
    if (decimalPoint != QLatin1Char('.'))
        return text::parseNumber(text, QLatin1Char('.'));
    return std::nullopt;
}

QString alarmCountdownText(double minutesLeft, int width, QChar decimalPoint)
{
    QString t = text::numberText(minutesLeft, decimalPoint);
    if (!std::isfinite(minutesLeft) || t.size() >= width || t.contains(QLatin1Char('E')))
        return t;
    if (!t.contains(decimalPoint)) {
        // A separator with no digit after it would read back fine but look
        // broken; leave a whole number that has no room for both alone.
        if (t.size() + 2 > width)
            return t;
        t += decimalPoint;
    }
    return t.leftJustified(width, QLatin1Char('0'));
}

} // namespace core::clock
