// SPDX-License-Identifier: MIT
#include "core/text/numericentry.h"

#include "core/text/numbers.h"
#include "core/text/regional.h"

#include <cmath>
#include <limits>

namespace core::text {

namespace {

constexpr char16_t kDigits[] = u"0123456789ABCDEF";

bool isControlKey(std::int16_t code)
{
    return code == 8 || code == 9 || code == 10 || code == 13;
}

std::int16_t filter(std::int16_t &keyAscii, QStringView accepted)
{
    if (!isControlKey(keyAscii)) {
        // Codes are compared as they are: a negative code or one beyond the
        // set's characters is simply not in it.
        const bool known = keyAscii > 0 && accepted.contains(QChar(static_cast<char16_t>(keyAscii)));
        if (!known)
            keyAscii = 0;
    }
    return keyAscii;
}

// Stores a floating-point sum back into 32 bits the way the conversions
// define it, but never overflows: the nearest limit stands in for what
// cannot be held.
std::int32_t storeInt32(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double lo = std::numeric_limits<std::int32_t>::min();
    constexpr double hi = std::numeric_limits<std::int32_t>::max();
    if (value <= lo)
        return std::numeric_limits<std::int32_t>::min();
    if (value >= hi)
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(text::roundHalfEven(value));
}

int digitValue(QChar c)
{
    for (int i = 0; i < 16; ++i) {
        if (c.unicode() == kDigits[i])
            return i;
    }
    return -1;
}

} // namespace

std::int16_t OnlyNum(std::int16_t &KeyAscii)
{
    return filter(KeyAscii, u"0123456789");
}

std::int16_t OnlyNumDec(std::int16_t &KeyAscii)
{
    return filter(KeyAscii, u"0123456789.");
}

std::int16_t OnlyHex(std::int16_t &KeyAscii)
{
    return filter(KeyAscii, u"0123456789ABCDEFabcdef");
}

std::int32_t Hex2Dec(QStringView sHex)
{
    std::int32_t value = 0;
    const qsizetype length = sHex.size();
    for (qsizetype i = length; i >= 1; --i) {
        const int d = digitValue(sHex[i - 1]);
        const double power = std::pow(16.0, static_cast<double>(length - i));
        value = storeInt32(static_cast<double>(value) + d * power);
    }
    return value;
}

QString Dec2Bin(std::int32_t nDec)
{
    const QString hex = hexText(nDec);
    QString result;
    result.reserve(hex.size() * 4);
    for (const QChar c : hex) {
        int d = std::max(0, digitValue(c));
        for (int p : {8, 4, 2, 1}) {
            result.append(QLatin1Char(static_cast<char>('0' + d / p)));
            d %= p;
        }
    }
    const qsizetype firstOne = result.indexOf(QLatin1Char('1'));
    return firstOne < 0 ? result : result.mid(firstOne);
}

QString Bin2Hex(QStringView sBin)
{
    QString padded(static_cast<qsizetype>(4 - sBin.size() % 4), QLatin1Char('0'));
    padded.append(sBin);
    std::int32_t value = 0;
    const qsizetype length = padded.size();
    for (qsizetype i = 1; i <= length; ++i) {
        const QChar c = padded[length - i];
        const int b = c.isDigit() && c.unicode() < 128 ? c.unicode() - '0' : 0;
        // Past 2^62 every further digit only pushes the sum past the limit.
        const double power = i > 64 ? std::numeric_limits<double>::infinity() : std::pow(2.0, static_cast<double>(i - 1));
        if (b != 0)
            value = storeInt32(static_cast<double>(value) + b * power);
    }
    QString h = hexText(value);
    if (h.size() % 2 != 0)
        h.prepend(QLatin1Char('0'));
    return h;
}

QString hexText(std::int32_t value)
{
    return QString::number(static_cast<std::uint32_t>(value), 16).toUpper();
}

bool isHexText(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool hex = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'F') || (u >= 'a' && u <= 'f');
        if (!hex)
            return false;
    }
    return true;
}

std::optional<double> numberOf(QStringView text)
{
    if (auto v = text::parseNumber(text, text::decimalPoint()))
        return v;
    return text::parseNumber(text, QLatin1Char('.'));
}

std::optional<double> leadingNumber(QStringView text)
{
    if (auto whole = numberOf(text))
        return whole;
    const QChar point = text::decimalPoint();
    const QStringView t = text.trimmed();
    qsizetype end = 0;
    bool seenPoint = false;
    bool seenDigit = false;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+')))
        ++end;
    while (end < t.size()) {
        const QChar c = t[end];
        if (c.unicode() >= '0' && c.unicode() <= '9') {
            seenDigit = true;
        } else if (!seenPoint && (c == point || c == QLatin1Char('.'))) {
            seenPoint = true;
        } else {
            break;
        }
        ++end;
    }
    if (!seenDigit)
        return std::nullopt;
    QString prefix = t.left(end).toString();
    prefix.replace(point, QLatin1Char('.'));
    if (prefix.endsWith(QLatin1Char('.')))
        prefix.chop(1);
    return text::parseNumber(prefix, QLatin1Char('.'));
}

Applied appliedNumber(QStringView text, double fallback)
{
    if (auto v = numberOf(text))
        return {*v, false};
    if (auto lead = leadingNumber(text))
        return {*lead, true};
    return {fallback, true};
}

QString boxText(double value)
{
    return text::numberText(value, text::decimalPoint());
}

} // namespace core::text
