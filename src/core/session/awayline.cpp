// SPDX-License-Identifier: MIT
#include "core/session/awayline.h"

#include "core/session/record.h"

namespace core::session {

namespace {

// The data form of a date or time without its #s.
QByteArray bare(const QByteArray &dataForm)
{
    return dataForm.mid(1, dataForm.size() - 2);
}

std::optional<qint64> count(QByteArrayView field)
{
    if (field.isEmpty() || field.size() > 12)
        return std::nullopt;
    qint64 value = 0;
    for (const char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A date or time field read through the data form's own parsers, #s added.
template<typename Parse>
auto withHashes(QByteArrayView field, Parse parse) -> decltype(parse(field))
{
    if (field.size() > 10)
        return std::nullopt;
    char buffer[12];
    buffer[0] = '#';
    std::copy(field.begin(), field.end(), buffer + 1);
    buffer[field.size() + 1] = '#';
    return parse(QByteArrayView(buffer, field.size() + 2));
}

} // namespace

QByteArray awayLine(const AwayLine &l)
{
    QByteArray out = bare(dataDate(l.endDate)) + ',' + bare(dataTime(l.startTime)) + ',' + bare(dataTime(l.endTime));
    for (const qint64 n : {l.away.asleep, l.away.locked, l.away.idle})
        out += ',' + QByteArray::number(n);
    return out + kLineEnd;
}

std::optional<AwayLine> parseAwayLine(QByteArrayView line)
{
    QByteArrayView fields[6];
    int n = 0;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] != ',')
            continue;
        if (n == 6)
            return std::nullopt;
        fields[n++] = line.sliced(from, i - from);
        from = i + 1;
    }
    if (n != 6)
        return std::nullopt;
    AwayLine out;
    const auto date = withHashes(fields[0], [](QByteArrayView v) { return parseDataDate(v); });
    const auto start = withHashes(fields[1], [](QByteArrayView v) { return parseDataTime(v); });
    const auto end = withHashes(fields[2], [](QByteArrayView v) { return parseDataTime(v); });
    const auto asleep = count(fields[3]), locked = count(fields[4]), idle = count(fields[5]);
    if (!date || !start || !end || !asleep || !locked || !idle)
        return std::nullopt;
    return AwayLine{*date, *start, *end, {*asleep, *locked, *idle}};
}

qint64 sessionKey(const QDate &endDate, const QTime &startTime, const QTime &endTime)
{
    return (endDate.toJulianDay() * 86400 + startTime.msecsSinceStartOfDay() / 1000) * 86400
        + endTime.msecsSinceStartOfDay() / 1000;
}

} // namespace core::session
