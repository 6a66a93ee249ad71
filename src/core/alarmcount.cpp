// SPDX-License-Identifier: MIT
#include "alarmcount.h"

#include "numbers.h"

#include <cmath>
#include <limits>

namespace core {

namespace alarmcount {

std::int32_t elapsedSeconds(qint64 daysSinceStart, float secondsNow, float startSeconds)
{
    const float e = secondsNow - startSeconds;
    const double total = static_cast<double>(daysSinceStart) * 86400.0 + static_cast<double>(e);
    if (const auto whole = num::toInt32(total))
        return *whole;
    return total < 0 ? std::numeric_limits<std::int32_t>::min() : std::numeric_limits<std::int32_t>::max();
}

std::optional<double> parseMinutes(const QString &text, QChar decimalPoint)
{
    if (auto value = num::parse(text, decimalPoint))
        return value;
    if (decimalPoint != QLatin1Char('.'))
        return num::parse(text, QLatin1Char('.'));
    return std::nullopt;
}

QString countdownText(double minutesLeft, int width, QChar decimalPoint)
{
    QString t = num::text(minutesLeft, decimalPoint);
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

} // namespace alarmcount

} // namespace core
