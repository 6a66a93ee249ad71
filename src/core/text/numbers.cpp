// SPDX-License-Identifier: MIT
#include "core/text/numbers.h"

#include <QByteArray>

#include <charconv>
#include <cmath>
#include <limits>

namespace core::text {

namespace {

QString formatted(double value, int digits, QChar decimalPoint)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Infinity") : QStringLiteral("Infinity");
    if (value == 0.0)
        return QStringLiteral("0"); // also for -0
    // to_chars, unlike printf, never looks at the C locale's separator.
    char buffer[64];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    QString out = QString::fromLatin1(buffer, res.ptr - buffer);
    const qsizetype e = out.indexOf(QLatin1Char('e'));
    if (e >= 0) {
        // "1e+15" -> "1E+15", "1.5e-07" -> "1.5E-07"
        out[e] = QLatin1Char('E');
    }
    if (decimalPoint != QLatin1Char('.'))
        out.replace(QLatin1Char('.'), decimalPoint);
    return out;
}

} // namespace

QString numberText(double value, QChar decimalPoint)
{
    return formatted(value, 15, decimalPoint);
}

QString singleText(float value, QChar decimalPoint)
{
    return formatted(static_cast<double>(value), 7, decimalPoint);
}

double roundHalfEven(double value)
{
    // Plain arithmetic rather than nearbyint: that follows the current
    // rounding mode, and asking for the mode at every call cost more than
    // the rounding itself where millions of sums are rounded (the log
    // analysis). On the magnitude, value - floor(value) is exact.
    const double magnitude = std::fabs(value);
    const double below = std::floor(magnitude);
    const double fraction = magnitude - below;
    double r = below;
    if (fraction > 0.5)
        r = below + 1;
    else if (!(fraction < 0.5)) // a tie, or NaN and infinity, which pass through
        r = std::floor(below / 2) * 2 == below ? below : below + 1;
    return std::copysign(r, value);
}

double floorInt(double value)
{
    return std::floor(value);
}

std::optional<std::int16_t> toInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = roundHalfEven(value);
    if (r < std::numeric_limits<std::int16_t>::min() || r > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::int16_t toInt16Clamped(double value)
{
    if (std::isnan(value))
        return 0;
    const double r = roundHalfEven(value);
    if (r <= std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (r >= std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(r);
}

std::optional<double> parseNumber(QStringView input, QChar decimalPoint)
{
    const QStringView t = input.trimmed();
    if (t.isEmpty() || t.size() > 400)
        return std::nullopt;
    QByteArray ascii;
    ascii.reserve(t.size());
    qsizetype i = 0;
    auto at = [&](qsizetype k) { return k < t.size() ? t[k] : QChar(); };
    if (at(i) == QLatin1Char('+') || at(i) == QLatin1Char('-'))
        ascii.append(static_cast<char>(t[i++].unicode()));
    int digits = 0;
    while (at(i).isDigit() && at(i).unicode() < 128) {
        ascii.append(static_cast<char>(t[i++].unicode()));
        ++digits;
    }
    if (at(i) == decimalPoint) {
        ascii.append('.');
        ++i;
        while (at(i).isDigit() && at(i).unicode() < 128) {
            ascii.append(static_cast<char>(t[i++].unicode()));
            ++digits;
        }
    }
    if (digits == 0)
        return std::nullopt;
    if (at(i) == QLatin1Char('e') || at(i) == QLatin1Char('E')) {
        ascii.append('e');
        ++i;
        if (at(i) == QLatin1Char('+') || at(i) == QLatin1Char('-'))
            ascii.append(static_cast<char>(t[i++].unicode()));
        int expDigits = 0;
        while (at(i).isDigit() && at(i).unicode() < 128) {
            ascii.append(static_cast<char>(t[i++].unicode()));
            ++expDigits;
        }
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != t.size())
        return std::nullopt;
    double v = 0;
    const char *first = ascii.constData();
    if (*first == '+')
        ++first; // from_chars takes no plus sign
    const auto res = std::from_chars(first, ascii.constData() + ascii.size(), v);
    if (res.ec != std::errc() || res.ptr != ascii.constData() + ascii.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace core::text
