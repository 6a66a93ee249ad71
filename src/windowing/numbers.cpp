#include "numbers.h"

#include <QByteArray>

#include <charconv>
#include <cfenv>
#include <cmath>
#include <limits>

namespace num {
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

QString text(double value, QChar decimalPoint)
{
    return formatted(value, 15, decimalPoint);
}

QString singleText(float value, QChar decimalPoint)
{
    return formatted(static_cast<double>(value), 7, decimalPoint);
}

double roundHalfEven(double value)
{
    // nearbyint honours the current rounding mode; round-to-nearest is what
    // gives ties to even, so make sure of it rather than assume it.
    const int previous = std::fegetround();
    if (previous != FE_TONEAREST)
        std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    if (previous != FE_TONEAREST)
        std::fesetround(previous);
    return r;
}

double floorInt(double value)
{
    return std::floor(value);
}

std::optional<std::int32_t> toInt32(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = roundHalfEven(value);
    if (r < static_cast<double>(std::numeric_limits<std::int32_t>::min())
        || r > static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::nullopt;
    return static_cast<std::int32_t>(r);
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

std::optional<double> parse(QStringView input, QChar decimalPoint)
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

} // namespace num
