// SPDX-License-Identifier: MIT
#pragma once
// Tallio's reading of the session log: which records count, how the total
// adds up, and where reading had to stop when the log is damaged. No widgets
// here: the window and the command-line report both build on it.

#include "core/analysis/awaymerge.h"
#include "core/session/logreader.h"
#include "core/text/numbers.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QIODevice;

namespace core::analysis {

struct Totals
{
    std::int32_t totalSeconds = 0;
    std::int64_t sessionCount = 0;
    QDate firstDate; // value 2 of the first record
    QDate lastDate;  // value 2 of the last record read
};

// Adds records up by the log's rules: the first record always counts, later
// ones only with a length above 0, and every record moves the last date.
class Tally
{
public:
    enum class Added { Counted, Skipped, OutOfRange };

    // OutOfRange leaves the tally as it was: the record is not taken at all.
    Added add(const QDate &endDate, std::optional<double> elapsedSecs);

    // Takes a stretch of records after the first one at once, whose rise of
    // the total was worked out elsewhere, record by record, and checked to
    // end in range. The rise itself may not fit 32 bits (from a total far
    // below zero).
    void addStretch(qint64 records, std::int64_t counted, std::int64_t rise, const QDate &lastDate);

    qint64 records() const { return records_; }
    const Totals &totals() const { return totals_; }

private:
    Totals totals_;
    // The same total as a double, whole and exact. Each record's sum waits
    // on the one before, so the chain from one to the next is kept to three
    // additions, with no conversion between integer and floating point.
    double total_ = 0;
    qint64 records_ = 0;
};

// Inline: it runs once for every record of the log.
inline Tally::Added Tally::add(const QDate &endDate, std::optional<double> elapsedSecs)
{
    const bool first = records_ == 0;
    // The first record counts whatever its length (an empty one adds 0);
    // later records with none, 0 or less are left out of the total and count.
    const bool counted = first || (elapsedSecs && *elapsedSecs > 0);
    if (counted) {
        // The sum is rounded, halves to even, at every record, not once at the end.
        const double sum = total_ + elapsedSecs.value_or(0.0);
        // Whatever rounds into the 32-bit range lies within it widened by a
        // half; the edges themselves are ties that go to the even neighbour.
        // NaN fails both.
        if (!(sum >= -2147483648.5 && sum < 2147483647.5))
            return Added::OutOfRange;
        // Adding 1.5 * 2^52 leaves no bits below the units, so the addition
        // itself rounds to a whole number, halves to even (the processor's
        // rounding, never changed here); taking it off again is exact.
        constexpr double kUnitsOnly = 6755399441055744.0;
        total_ = (sum + kUnitsOnly) - kUnitsOnly;
        totals_.totalSeconds = static_cast<std::int32_t>(total_);
        ++totals_.sessionCount;
    }
    if (first)
        totals_.firstDate = endDate;
    totals_.lastDate = endDate;
    ++records_;
    return counted ? Added::Counted : Added::Skipped;
}

inline void Tally::addStretch(qint64 records, std::int64_t counted, std::int64_t rise, const QDate &lastDate)
{
    if (records == 0)
        return;
    totals_.totalSeconds = static_cast<std::int32_t>(totals_.totalSeconds + rise);
    total_ = totals_.totalSeconds;
    totals_.sessionCount += counted;
    totals_.lastDate = lastDate;
    records_ += records;
}

struct Fault
{
    enum class Kind {
        None,
        Missing,         // no LogData.log where Tallio looked
        Unreadable,      // it is there but cannot be opened
        Empty,           // it holds no record
        TornRecord,      // the file ends inside a record
        NotADate,        // value 2 of a record
        NotANumber,      // value 5 of a record
        TotalOutOfRange, // the total would leave the signed 32-bit range
        ReadFailed,      // the system failed while reading
    };
    Kind kind = Kind::None;
    qint64 line = 0;       // the line at fault (1-based), 0 when there is none
    qint64 recordLine = 0; // the first line of the record that could not be counted
    QByteArray value;      // the value at fault, as far as it was kept
    bool valueCut = false; // `value` is only the start of a longer line
    int valuesPresent = 0; // how much of a torn record the file holds
    QString systemError;
};

// LogAway.log could not be read, or not to its end. It never stops the
// reading of the log: the sessions it could not pair are away 0 seconds.
struct AwayFault
{
    enum class Kind { None, Unreadable, ReadFailed };
    Kind kind = Kind::None;
    QString systemError;
};

struct Analysis
{
    // The totals of the whole records before any fault; none when there are
    // no such records.
    std::optional<Totals> totals;
    qint64 records = 0; // whole records in `totals`
    Fault fault;
    AwayFault awayFault;

    bool complete() const { return fault.kind == Fault::Kind::None; }
};

class History;

// Opens a device of its own reading bytes [from, to) of one file (to -1: on
// to its end), or null when it cannot.
using PartOpener = std::function<std::unique_ptr<QIODevice>(qint64 from, qint64 to)>;

// LogAway.log, whose lines give the history each session's time away.
struct AwaySource
{
    PartOpener open;
    qint64 size = 0;
    int window = kAwayWindow;
    qsizetype blockSize = 64 * 1024;
    // Where the later part of a log read in two parts starts reading
    // LogAway.log. Left empty it is found from the part's first session;
    // tests set it to try every place.
    std::optional<qint64> laterFrom;
};

// Reads a log from an open device, streaming. With `history`, every counted
// session also goes into it, with the rise of the total it made and, with
// `away`, its time away, in the same pass.
Analysis analyse(QIODevice &device, qsizetype blockSize = session::LogReader::kDefaultBlockSize,
                 History *history = nullptr,
                 session::LogReader::ReadAhead ahead = session::LogReader::ReadAhead::No,
                 const AwaySource *away = nullptr);
// The same reading as `analyse`, to the last bit, in two parts at once: the
// log from a record that starts near `splitNear` is read on a second thread
// while this one reads up to it. Whatever the later part holds that its
// reading alone cannot settle is read again after the earlier part, in order.
Analysis analyseInParts(const PartOpener &openPart, qint64 splitNear, History *history = nullptr,
                        const AwaySource *away = nullptr);
// Opens and reads the log at `path`; a long one in two parts at once. With
// `history`, LogAway.log beside it gives the time away; the totals never
// read it.
Analysis analyseFile(const QString &path, History *history = nullptr);
// LogAway.log in the folder of the log at `logPath`.
QString awayLogPath(const QString &logPath);

} // namespace core::analysis
