// SPDX-License-Identifier: MIT
#include "analysis.h"

#include "history.h"
#include "numbers.h"
#include "record.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>

namespace core {

namespace analysis {

using sessionlog::RecordValue;

namespace {

// Most sessions end on the same day as the one before, or later in the same
// month: parse each distinct month once and take the day from its digits.
class DateCache
{
public:
    std::optional<QDate> parse(QByteArrayView text)
    {
        if (text.size() == length_ && std::memcmp(text.data(), text_.data(), kDayAt) == 0 && text[kLength - 1] == '#') {
            const unsigned tens = static_cast<unsigned char>(text[kDayAt]) - '0';
            const unsigned ones = static_cast<unsigned char>(text[kDayAt + 1]) - '0';
            const unsigned day = tens * 10 + ones;
            if (tens <= 9 && ones <= 9 && day >= 1 && day <= daysInMonth_)
                return QDate::fromJulianDay(monthStart_ + day - 1);
        }
        const std::optional<QDate> date = sessionlog::parseDataDate(text);
        // Only the usual form is kept: a fixed length compares fastest.
        if (date && text.size() == kLength) {
            std::memcpy(text_.data(), text.data(), kLength);
            length_ = kLength;
            monthStart_ = date->toJulianDay() - date->day() + 1;
            daysInMonth_ = static_cast<unsigned>(date->daysInMonth());
        } else {
            length_ = -1;
        }
        return date;
    }

private:
    static constexpr qsizetype kLength = 12; // #yyyy-mm-dd#
    static constexpr qsizetype kDayAt = 9;   // where dd starts
    std::array<char, kLength> text_ {};
    qsizetype length_ = -1;
    qint64 monthStart_ = 0;
    unsigned daysInMonth_ = 0;
};

// The numbers Tocka writes, read where they are read most: an optional
// minus, digits, an optional full stop and more digits, at most 15 digits in
// all. False for anything else, which the full parser then takes. Computed
// exactly as that parser computes the same form, so the results agree to the
// bit.
Q_ALWAYS_INLINE bool plainNumber(QByteArrayView v, double &out)
{
    const char *p = v.data();
    const char *end = p + v.size();
    const bool negative = p != end && *p == '-';
    p += negative;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool point = false;
    for (; p != end; ++p) {
        const unsigned d = static_cast<unsigned char>(*p) - '0';
        if (d <= 9) {
            mantissa = mantissa * 10 + d;
            ++digits;
            fractionDigits += point;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (digits == 0 || digits > 15)
        return false;
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const double value = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    out = negative ? -value : value;
    return true;
}

Fault valueFault(Fault::Kind kind, const sessionlog::RecordView &r, RecordValue which)
{
    Fault f;
    f.kind = kind;
    f.line = r.lineOf(which);
    f.recordLine = r.firstLine();
    f.value = r.value(which).toByteArray();
    f.valueCut = r.isCut(which);
    return f;
}

} // namespace

Analysis analyse(QIODevice &device, qsizetype blockSize, History *history, sessionlog::LogReader::ReadAhead ahead)
{
    Analysis result;
    sessionlog::LogReader reader(device, blockSize, ahead);
    Tally tally;
    DateCache dates;
    sessionlog::RecordView r;
    while (reader.next(r)) {
        const std::optional<QDate> endDate = r.isCut(RecordValue::EndDate)
            ? std::nullopt
            : dates.parse(r.value(RecordValue::EndDate));
        if (!endDate) {
            result.fault = valueFault(Fault::Kind::NotADate, r, RecordValue::EndDate);
            break;
        }
        const QByteArrayView lengthText = r.value(RecordValue::ElapsedSecs);
        std::optional<double> elapsed;
        if (!lengthText.isEmpty()) {
            double plain;
            if (plainNumber(lengthText, plain))
                elapsed = plain; // a cut value is far longer than 15 digits
            else if (!r.isCut(RecordValue::ElapsedSecs))
                elapsed = sessionlog::parseDataNumber(lengthText);
            // Blanks alone are an empty value too; they are rare, so test
            // for them only once the number failed.
            if (!elapsed && (r.isCut(RecordValue::ElapsedSecs) || !sessionlog::isEmptyValue(lengthText))) {
                result.fault = valueFault(Fault::Kind::NotANumber, r, RecordValue::ElapsedSecs);
                break;
            }
        }
        const std::int32_t before = tally.totals().totalSeconds;
        const Tally::Added added = tally.add(*endDate, elapsed);
        if (added == Tally::Added::OutOfRange) {
            result.fault = valueFault(Fault::Kind::TotalOutOfRange, r, RecordValue::ElapsedSecs);
            break;
        }
        if (history && added == Tally::Added::Counted)
            history->add(*endDate, std::int64_t(tally.totals().totalSeconds) - before);
    }

    if (result.complete()) {
        switch (reader.end()) {
        case sessionlog::LogReader::End::TornRecord:
            result.fault.kind = Fault::Kind::TornRecord;
            result.fault.line = reader.linesRead();
            result.fault.recordLine = reader.tornFirstLine();
            result.fault.valuesPresent = reader.tornValues();
            break;
        case sessionlog::LogReader::End::ReadError:
            result.fault.kind = Fault::Kind::ReadFailed;
            result.fault.line = reader.linesRead();
            result.fault.recordLine = tally.records() * sessionlog::kValuesPerRecord + 1;
            result.fault.systemError = reader.errorString();
            break;
        case sessionlog::LogReader::End::EndOfFile:
        case sessionlog::LogReader::End::NotYet:
            if (tally.records() == 0)
                result.fault.kind = Fault::Kind::Empty;
            break;
        }
    }
    if (tally.records() > 0)
        result.totals = tally.totals();
    result.records = tally.records();
    return result;
}

Analysis analyseFile(const QString &path, History *history)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        Analysis result;
        result.fault.kind = !QFileInfo::exists(path) ? Fault::Kind::Missing : Fault::Kind::Unreadable;
        result.fault.systemError = file.errorString();
        return result;
    }
    // A thread costs more than reading a few blocks takes.
    const auto ahead = file.size() > 8 * sessionlog::LogReader::kDefaultBlockSize
        ? sessionlog::LogReader::ReadAhead::OnThread
        : sessionlog::LogReader::ReadAhead::No;
    return analyse(file, sessionlog::LogReader::kDefaultBlockSize, history, ahead);
}

} // namespace analysis

} // namespace core
