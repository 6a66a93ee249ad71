#include "analysis.h"

#include "numbers.h"
#include "record.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <cstring>

namespace analyser {

using sessionlog::RecordValue;

namespace {

// Most sessions end on the same day as the one before: parse each distinct
// date text once.
class DateCache
{
public:
    std::optional<QDate> parse(QByteArrayView text)
    {
        if (text.size() == length_ && std::memcmp(text.data(), text_.data(), kLength) == 0)
            return date_;
        date_ = sessionlog::parseDataDate(text);
        // Only the usual form is kept: a fixed length compares fastest.
        if (date_ && text.size() == kLength) {
            std::memcpy(text_.data(), text.data(), kLength);
            length_ = kLength;
        } else {
            length_ = -1;
        }
        return date_;
    }

private:
    static constexpr qsizetype kLength = 12; // #yyyy-mm-dd#
    std::array<char, kLength> text_ {};
    qsizetype length_ = -1;
    std::optional<QDate> date_;
};

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

Analysis analyse(QIODevice &device, qsizetype blockSize)
{
    Analysis result;
    sessionlog::LogReader reader(device, blockSize);
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
            if (!r.isCut(RecordValue::ElapsedSecs))
                elapsed = sessionlog::parseDataNumber(lengthText);
            // Blanks alone are an empty value too; they are rare, so test
            // for them only once the number failed.
            if (!elapsed && (r.isCut(RecordValue::ElapsedSecs) || !sessionlog::isEmptyValue(lengthText))) {
                result.fault = valueFault(Fault::Kind::NotANumber, r, RecordValue::ElapsedSecs);
                break;
            }
        }
        if (tally.add(*endDate, elapsed) == Tally::Added::OutOfRange) {
            result.fault = valueFault(Fault::Kind::TotalOutOfRange, r, RecordValue::ElapsedSecs);
            break;
        }
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

Analysis analyseFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        Analysis result;
        result.fault.kind = !QFileInfo::exists(path) ? Fault::Kind::Missing : Fault::Kind::Unreadable;
        result.fault.systemError = file.errorString();
        return result;
    }
    return analyse(file);
}

} // namespace analyser
