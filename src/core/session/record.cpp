// SPDX-License-Identifier: MIT
#include "core/session/record.h"

#include "core/text/numbers.h"
#include "core/text/regional.h"

#include <charconv>
#include <cstdint>

namespace core::session {

namespace {

// Always inlined: the analyser trims millions of values, nearly all of which
// have nothing to trim, and the call cost more than the work.
Q_ALWAYS_INLINE QByteArrayView trimmed(QByteArrayView v)
{
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r'))
        v.chop(1);
    return v;
}

bool digitsAt(QByteArrayView v, qsizetype pos, qsizetype count, int &out)
{
    if (pos + count > v.size())
        return false;
    int value = 0;
    for (qsizetype i = pos; i < pos + count; ++i) {
        const char c = v[i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    out = value;
    return true;
}

QByteArray twoDigits(int v)
{
    return QByteArray::number(v).rightJustified(2, '0');
}

} // namespace

QByteArray dataText(const QString &text)
{
    return '"' + text.toLatin1() + '"';
}

QByteArray dataDate(const QDate &date)
{
    return '#' + QByteArray::number(date.year()).rightJustified(4, '0') + '-' + twoDigits(date.month()) + '-'
        + twoDigits(date.day()) + '#';
}

QByteArray dataTime(const QTime &time)
{
    return '#' + twoDigits(time.hour()) + ':' + twoDigits(time.minute()) + ':' + twoDigits(time.second()) + '#';
}

QByteArray dataNumber(std::optional<double> v)
{
    if (!v)
        return {};
    return text::numberText(*v, QLatin1Char('.')).toLatin1();
}

QByteArray dataForm(const SessionRecord &r)
{
    QByteArray out;
    out.reserve(96);
    out += dataText(QString::fromLatin1(kSeparator)) + kLineEnd;
    out += dataDate(r.endDate) + kLineEnd;
    out += dataTime(r.startTime) + kLineEnd;
    out += dataTime(r.endTime) + kLineEnd;
    out += dataNumber(r.elapsedSecs) + kLineEnd;
    out += (r.clockText.isEmpty() ? QByteArray() : dataText(r.clockText)) + kLineEnd;
    return out;
}

QByteArray displayForm(const SessionRecord &r, const QLocale &locale)
{
    QByteArray out;
    out += QByteArray(kSeparator) + kLineEnd;
    out += text::shortDate(r.endDate, locale).toUtf8() + kLineEnd;
    out += text::timeWithSeconds(r.startTime, locale).toUtf8() + kLineEnd;
    out += text::timeWithSeconds(r.endTime, locale).toUtf8() + kLineEnd;
    out += dataNumber(r.elapsedSecs) + kLineEnd;
    out += r.clockText.toUtf8() + kLineEnd;
    return out;
}

std::optional<QDate> parseDataDate(QByteArrayView line)
{
    const QByteArrayView v = trimmed(line);
    // #yyyy-mm-dd#
    int y = 0, m = 0, d = 0;
    if (v.size() != 12 || v[0] != '#' || v[5] != '-' || v[8] != '-' || v[11] != '#')
        return std::nullopt;
    if (!digitsAt(v, 1, 4, y) || !digitsAt(v, 6, 2, m) || !digitsAt(v, 9, 2, d))
        return std::nullopt;
    const QDate date(y, m, d);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

std::optional<QTime> parseDataTime(QByteArrayView line)
{
    const QByteArrayView v = trimmed(line);
    int h = 0, m = 0, s = 0;
    if (v.size() != 10 || v[0] != '#' || v[3] != ':' || v[6] != ':' || v[9] != '#')
        return std::nullopt;
    if (!digitsAt(v, 1, 2, h) || !digitsAt(v, 4, 2, m) || !digitsAt(v, 7, 2, s))
        return std::nullopt;
    const QTime time(h, m, s);
    if (!time.isValid())
        return std::nullopt;
    return time;
}

bool isEmptyValue(QByteArrayView line)
{
    return trimmed(line).isEmpty();
}

std::optional<double> parseDataNumber(QByteArrayView line)
{
    const QByteArrayView v = trimmed(line);
    if (v.isEmpty() || v.size() > 64)
        return std::nullopt;
    // Optional sign, digits with an optional full stop, optional exponent;
    // from_chars alone would also take "inf" and "nan".
    qsizetype i = 0;
    const bool negative = v[i] == '-';
    if (v[i] == '-' || v[i] == '+')
        ++i;
    // The digits are gathered as a whole number on the way; past 19 digits
    // it wraps, but then it is not used.
    std::uint64_t mantissa = 0;
    auto digitAt = [&v](qsizetype k) { return static_cast<unsigned>(static_cast<unsigned char>(v[k]) - '0'); };
    const qsizetype intStart = i;
    for (; i < v.size() && digitAt(i) <= 9; ++i)
        mantissa = mantissa * 10 + digitAt(i);
    int digits = static_cast<int>(i - intStart);
    int fractionDigits = 0;
    if (i < v.size() && v[i] == '.') {
        const qsizetype fractionStart = ++i;
        for (; i < v.size() && digitAt(i) <= 9; ++i)
            mantissa = mantissa * 10 + digitAt(i);
        fractionDigits = static_cast<int>(i - fractionStart);
        digits += fractionDigits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i == v.size() && digits <= 15) {
        // Every number Tocka writes: at most 15 digits and no exponent. The
        // digits as a whole number and the power of ten are both exact
        // doubles, so one division rounds exactly as from_chars would, at a
        // fraction of its cost; the analyser reads millions of these.
        static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                  1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
        const double value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
        return negative ? -value : value;
    }
    if (i < v.size() && (v[i] == 'E' || v[i] == 'e')) {
        ++i;
        if (i < v.size() && (v[i] == '-' || v[i] == '+'))
            ++i;
        int expDigits = 0;
        for (; i < v.size() && v[i] >= '0' && v[i] <= '9'; ++i)
            ++expDigits;
        if (expDigits == 0)
            return std::nullopt;
    }
    if (i != v.size())
        return std::nullopt;
    const char *first = v.data();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto res = std::from_chars(first, v.data() + v.size(), value);
    if (res.ec != std::errc() || res.ptr != v.data() + v.size())
        return std::nullopt;
    return value;
}

} // namespace core::session
