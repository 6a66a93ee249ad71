// SPDX-License-Identifier: MIT
#include "core/analysis/analysis.h"

#include "core/analysis/history.h"
#include "core/files/safefile.h"
#include "core/session/awayline.h"
#include "core/session/record.h"
#include "core/text/numbers.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>
#include <QScopeGuard>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>


namespace core::analysis {

using session::RecordValue;

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
        const std::optional<QDate> date = session::parseDataDate(text);
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

// Bytes [from, to) of an open file (to -1: on to its end), read with
// `pread`, so several threads can each read a part of one file at once.
class FilePart : public QIODevice
{
public:
    FilePart(const files::Handle &file, qint64 from, qint64 to)
        : file_(file)
        , at_(from)
        , to_(to)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        if (to_ >= 0)
            max = std::min(max, to_ - at_);
        if (max <= 0)
            return 0;
        int error = 0;
        const qint64 got = file_.readAt(data, max, at_, &error);
        if (got < 0) {
            setErrorString(qt_error_string(error));
            return -1;
        }
        at_ += got;
        return got;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    const files::Handle &file_;
    qint64 at_;
    qint64 to_;
};

Fault valueFault(Fault::Kind kind, const session::RecordView &r, RecordValue which)
{
    Fault f;
    f.kind = kind;
    f.line = r.lineOf(which);
    f.recordLine = r.firstLine();
    f.value = r.value(which).toByteArray();
    f.valueCut = r.isCut(which);
    return f;
}

enum class Parsed { Ok, NotADate, NotANumber };

// Value 2 and value 5 of a record.
struct Values
{
    QDate endDate;
    double length = 0;
    bool hasLength = false;

    std::optional<double> elapsed() const { return hasLength ? std::optional<double>(length) : std::nullopt; }
};

Q_ALWAYS_INLINE Parsed parseRecord(const session::RecordView &r, DateCache &dates, Values &v)
{
    const std::optional<QDate> endDate
        = r.isCut(RecordValue::EndDate) ? std::nullopt : dates.parse(r.value(RecordValue::EndDate));
    if (!endDate)
        return Parsed::NotADate;
    v.endDate = *endDate;
    v.hasLength = false;
    const QByteArrayView lengthText = r.value(RecordValue::ElapsedSecs);
    if (lengthText.isEmpty())
        return Parsed::Ok;
    if (plainNumber(lengthText, v.length)) {
        v.hasLength = true; // a cut value is far longer than 15 digits
    } else if (!r.isCut(RecordValue::ElapsedSecs)) {
        const std::optional<double> number = session::parseDataNumber(lengthText);
        v.hasLength = number.has_value();
        v.length = number.value_or(0.0);
    }
    // Blanks alone are an empty value too; they are rare, so test for them
    // only once the number failed.
    if (!v.hasLength && (r.isCut(RecordValue::ElapsedSecs) || !session::isEmptyValue(lengthText)))
        return Parsed::NotANumber;
    return Parsed::Ok;
}

// A time of day as a record holds it, as seconds since midnight; -1 when it
// is none. The usual form is read inline, the same as the full parser reads it.
Q_ALWAYS_INLINE qint64 recordTime(const session::RecordView &r, RecordValue which)
{
    if (r.isCut(which))
        return -1;
    const QByteArrayView v = r.value(which);
    if (v.size() == 10 && v[0] == '#' && v[9] == '#')
        return secondsOfDay(eightAt(v.data() + 1));
    const std::optional<QTime> time = session::parseDataTime(v);
    return time ? time->msecsSinceStartOfDay() / 1000 : -1;
}

// The session a record stands for, as its LogAway.log line names it: its
// key, and its texts as a line has them when the record has the usual form.
struct RecordName
{
    qint64 key = kNoSessionKey;
    bool plain = false;
    SessionText text;
};

Q_ALWAYS_INLINE RecordName recordName(const session::RecordView &r, const QDate &endDate)
{
    RecordName name;
    const qint64 start = recordTime(r, RecordValue::StartTime);
    const qint64 end = recordTime(r, RecordValue::EndTime);
    if (start < 0 || end < 0)
        return name;
    name.key = (endDate.toJulianDay() * 86400 + start) * 86400 + end;
    // The date was read as one already: twelve bytes of it are #yyyy-mm-dd#.
    const QByteArrayView date = r.value(RecordValue::EndDate);
    const QByteArrayView s = r.value(RecordValue::StartTime);
    const QByteArrayView e = r.value(RecordValue::EndTime);
    name.plain = date.size() == 12 && s.size() == 10 && s[0] == '#' && e.size() == 10 && e[0] == '#';
    if (name.plain)
        name.text = sessionTextAt(date.data() + 1, s.data() + 1, e.data() + 1);
    return name;
}

// The seconds away of the session a record stands for, taking its line.
Q_ALWAYS_INLINE std::int64_t takeAway(AwayMerge &away, const session::RecordView &r, const QDate &endDate,
                                      qint64 *offset = nullptr, qint64 *key = nullptr)
{
    const RecordName name = recordName(r, endDate);
    if (key)
        *key = name.key;
    qint64 seconds = 0, at = -1;
    if (name.key != kNoSessionKey)
        away.take(name.key, name.plain ? &name.text : nullptr, seconds, at);
    if (offset)
        *offset = at;
    return seconds;
}

// Adds up the reader's records until it runs out or one cannot be taken,
// which `fault` then names. With `away`, every record takes its line, counted
// or not, so that the lines after it stay in step.
void takeRecords(session::LogReader &reader, Tally &tally, History *history, Fault &fault, AwayMerge *away)
{
    DateCache dates;
    session::RecordView r;
    Values v;
    while (reader.next(r)) {
        switch (parseRecord(r, dates, v)) {
        case Parsed::Ok:
            break;
        case Parsed::NotADate:
            fault = valueFault(Fault::Kind::NotADate, r, RecordValue::EndDate);
            return;
        case Parsed::NotANumber:
            fault = valueFault(Fault::Kind::NotANumber, r, RecordValue::ElapsedSecs);
            return;
        }
        const std::int32_t before = tally.totals().totalSeconds;
        const Tally::Added added = tally.add(v.endDate, v.elapsed());
        if (added == Tally::Added::OutOfRange) {
            fault = valueFault(Fault::Kind::TotalOutOfRange, r, RecordValue::ElapsedSecs);
            return;
        }
        const std::int64_t awaySeconds = away ? takeAway(*away, r, v.endDate) : 0;
        if (history && added == Tally::Added::Counted)
            history->add(v.endDate, std::int64_t(tally.totals().totalSeconds) - before, awaySeconds);
    }
}

// How the log ended, once every record was taken.
void noteEnd(const session::LogReader &reader, const Tally &tally, Fault &fault)
{
    switch (reader.end()) {
    case session::LogReader::End::TornRecord:
        fault.kind = Fault::Kind::TornRecord;
        fault.line = reader.linesRead();
        fault.recordLine = reader.tornFirstLine();
        fault.valuesPresent = reader.tornValues();
        break;
    case session::LogReader::End::ReadError:
        fault.kind = Fault::Kind::ReadFailed;
        fault.line = reader.linesRead();
        fault.recordLine = tally.records() * session::kValuesPerRecord + 1;
        fault.systemError = reader.errorString();
        break;
    case session::LogReader::End::EndOfFile:
    case session::LogReader::End::NotYet:
        if (tally.records() == 0)
            fault.kind = Fault::Kind::Empty;
        break;
    }
}

Analysis concluded(const Tally &tally, Fault fault, const AwayMerge *away = nullptr)
{
    Analysis result;
    result.fault = std::move(fault);
    if (tally.records() > 0)
        result.totals = tally.totals();
    result.records = tally.records();
    if (away && away->failed())
        result.awayFault = {AwayFault::Kind::ReadFailed, away->errorString()};
    return result;
}

std::unique_ptr<AwayMerge> awayFrom(const AwaySource *source, qint64 from)
{
    if (!source)
        return nullptr;
    return std::make_unique<AwayMerge>(source->open(from, -1), from, source->window, source->blockSize);
}

// The first line of LogAway.log that starts at `near` or after it: after an
// LF, or after a CR that no LF follows, as the lines are read in order.
qint64 awayLineStart(const AwaySource &source, qint64 near)
{
    if (near <= 0)
        return 0;
    constexpr qint64 kChunk = 4096;
    for (qint64 at = near - 1;; at += kChunk) {
        const std::unique_ptr<QIODevice> device = source.open(at, at + kChunk + 1);
        const QByteArray bytes = device ? device->read(kChunk + 1) : QByteArray();
        const qsizetype scan = std::min<qsizetype>(bytes.size(), kChunk);
        for (qsizetype i = 0; i < scan; ++i) {
            if (bytes[i] == '\n')
                return at + i + 1;
            if (bytes[i] == '\r')
                return at + i + 1 + (i + 1 < bytes.size() && bytes[i + 1] == '\n');
        }
        if (bytes.size() <= kChunk)
            return at + bytes.size();
    }
}

// Where the later part starts reading LogAway.log when its first session with
// a key has `key`: a little before the first line whose key is not below it,
// as a search that takes the lines to be in the order of their keys finds it
// (they are, but for a clock set back). Only a guess: the join checks it.
qint64 awayStartNear(const AwaySource &source, qint64 key)
{
    constexpr qint64 kProbe = 512;
    qint64 low = 0;
    qint64 high = source.size;
    while (high - low > kProbe) {
        const qint64 mid = low + (high - low) / 2;
        const qint64 start = awayLineStart(source, mid);
        AwayLine line;
        AwayLines lines(source.open(start, start + kProbe), start, kProbe);
        MonthCache months;
        qint64 lineKey = kNoSessionKey;
        while (lineKey == kNoSessionKey && lines.next(line))
            lineKey = sessionKeyOf(line.text, months);
        if (lineKey == kNoSessionKey || line.offset >= high)
            high = mid;
        else if (lineKey < key)
            low = line.offset + 1;
        else
            high = mid;
    }
    // Lines a little out of order still fall within the window.
    return awayLineStart(source, std::max<qint64>(0, low - qint64(source.window) * 8));
}

// How the later part paired its sessions with LogAway.log, which it began to
// read at a place of its own: enough to tell after the join whether the
// reading in order would have paired them alike.
struct LaterAway
{
    static constexpr std::size_t kMostUnpaired = 65536;
    bool started = false; // a session of the part has a key: its merge began
    qint64 origin = 0;    // and this was its origin
    std::vector<qint64> unpaired; // keys of the sessions before its first pairing
    bool tooMany = false;         // more of them than are kept
    bool paired = false;
    qint64 firstKey = 0;
    qint64 firstOffset = 0; // the line the first pairing took
    bool failed = false;
};

// Whether the merge in order, as the earlier part leaves it, pairs the later
// part's sessions as the later part did. The same origin makes the two
// merges one. Otherwise the merge in order must find none of the sessions
// the later part left unpaired, and give its first pairing the same line:
// after that line the two read on from the same place.
bool pairsAlike(const LaterAway &later, AwayMerge &inOrder)
{
    if (!later.started)
        return true;
    if (later.failed)
        return false;
    if (later.origin == inOrder.origin())
        return true;
    if (later.tooMany)
        return !later.paired && inOrder.isEmpty();
    for (const qint64 key : later.unpaired) {
        if (inOrder.firstOffsetOf(key) >= 0)
            return false;
    }
    return !later.paired || inOrder.firstOffsetOf(later.firstKey) == later.firstOffset;
}

// The later part of a log, read before the total the earlier part ends
// with is known. A session's rise is its length rounded, halves to even, as
// it is added to the whole-second total: only whether that total is odd or
// even matters, and only for a length ending in exactly one half. Once such
// a record is added the total is even whatever it was before, so the parity
// of the earlier part's total moves only the first of them, by one second
// either way.
struct LaterPart
{
    bool usable = false;   // it read to the end of the log without a doubt
    qint64 records = 0;
    std::int64_t counted = 0;
    std::int64_t rise = 0; // with an even total before the part
    QDate lastDate;
    std::optional<QDate> firstHalf; // the date of the first record ending in a half
    int oddShift = 0;               // what that record adds more with an odd total before
    std::optional<History> history;
    LaterAway away;
};

// Anything above this is out of range whatever the total before it.
constexpr std::int64_t kRiseBeyondAnyRange = std::int64_t(1) << 33;

LaterPart readLaterPart(QIODevice &device, std::optional<History> history, const std::atomic<bool> &abandon,
                        const AwaySource *awaySource)
{
    LaterPart part;
    std::unique_ptr<AwayMerge> away;
    part.history = std::move(history);
    session::LogReader reader(device);
    DateCache dates;
    session::RecordView r;
    Values v;
    std::int64_t rise = 0;
    while (reader.next(r)) {
        if ((part.records & 0xFFF) == 0 && abandon.load(std::memory_order_relaxed))
            return {};
        if (parseRecord(r, dates, v) != Parsed::Ok)
            return {}; // its fault is named by the reading in order
        ++part.records;
        part.lastDate = v.endDate;
        std::int64_t awaySeconds = 0;
        if (awaySource && !away) {
            // The merge begins at the first session with a key.
            if (const qint64 key = recordName(r, v.endDate).key; key != kNoSessionKey) {
                const qint64 from = awaySource->laterFrom ? awayLineStart(*awaySource, *awaySource->laterFrom)
                                                          : awayStartNear(*awaySource, key);
                away = awayFrom(awaySource, from);
                part.away.started = true;
                part.away.origin = away->origin();
            }
        }
        if (away) {
            LaterAway &a = part.away;
            if (a.paired) {
                awaySeconds = takeAway(*away, r, v.endDate);
            } else {
                qint64 offset = -1, key = kNoSessionKey;
                awaySeconds = takeAway(*away, r, v.endDate, &offset, &key);
                if (offset >= 0) {
                    a.paired = true;
                    a.firstKey = key;
                    a.firstOffset = offset;
                } else if (key != kNoSessionKey) {
                    if (a.unpaired.size() < LaterAway::kMostUnpaired)
                        a.unpaired.push_back(key);
                    else
                        a.tooMany = true;
                }
            }
        }
        // Not the log's first record: only a length above 0 counts.
        if (!v.hasLength || !(v.length > 0))
            continue;
        const double length = v.length;
        // A total within the range plus such a length stays below 2^32, where
        // the sum keeps at least 21 bits below the units: a fraction further
        // than 2^-20 from a half rounds the same whatever the total. Longer
        // lengths, or fractions that close to a half, are left to the reading
        // in order.
        if (!(length < 1073741824.0))
            return {};
        const double whole = std::floor(length);
        const double fraction = length - whole;
        std::int64_t step = static_cast<std::int64_t>(whole);
        if (fraction == 0.5) {
            const std::int64_t evenCase = (rise + step) & 1; // the sum's whole part is odd: it goes up
            if (!part.firstHalf) {
                part.firstHalf = v.endDate;
                part.oddShift = static_cast<int>(((rise + step + 1) & 1) - evenCase);
            }
            step += evenCase;
        } else if (std::fabs(fraction - 0.5) <= 0x1p-20) {
            return {};
        } else {
            step += fraction > 0.5;
        }
        rise += step;
        if (rise > kRiseBeyondAnyRange)
            return {};
        ++part.counted;
        if (part.history)
            part.history->add(v.endDate, step, awaySeconds);
    }
    part.rise = rise;
    part.usable = reader.end() == session::LogReader::End::EndOfFile;
    part.away.failed = away && away->failed();
    return part;
}

// Where a record starts at `near` or within a little after it: a separator
// line as Tocka writes it, right behind a line end. -1 when none is found.
// Only a guess: the earlier part's reading tells whether it is right.
qint64 recordStartNear(const PartOpener &openPart, qint64 near)
{
    constexpr qint64 kLookAhead = 64 * 1024;
    if (near <= 0)
        return -1;
    const std::unique_ptr<QIODevice> device = openPart(near - 1, near - 1 + kLookAhead);
    if (!device)
        return -1;
    const QByteArray bytes = device->read(kLookAhead);
    const QByteArray separator = session::dataText(QString::fromLatin1(session::kSeparator));
    for (qsizetype at = bytes.indexOf(separator, 1); at > 0; at = bytes.indexOf(separator, at + 1)) {
        const qsizetype after = at + separator.size();
        const auto isLineEnd = [&bytes](qsizetype i) { return bytes[i] == '\r' || bytes[i] == '\n'; };
        if (isLineEnd(at - 1) && after < bytes.size() && isLineEnd(after))
            return near - 1 + at;
    }
    return -1;
}

} // namespace

Analysis analyse(QIODevice &device, qsizetype blockSize, History *history, session::LogReader::ReadAhead ahead,
                 const AwaySource *away)
{
    session::LogReader reader(device, blockSize, ahead);
    // The time away goes into the history alone.
    const std::unique_ptr<AwayMerge> merge = awayFrom(history ? away : nullptr, 0);
    Tally tally;
    Fault fault;
    takeRecords(reader, tally, history, fault, merge.get());
    if (fault.kind == Fault::Kind::None)
        noteEnd(reader, tally, fault);
    return concluded(tally, std::move(fault), merge.get());
}

Analysis analyseInParts(const PartOpener &openPart, qint64 splitNear, History *history, const AwaySource *away)
{
    if (!history)
        away = nullptr;
    const auto inOrder = [&] {
        const std::unique_ptr<QIODevice> whole = openPart(0, -1);
        if (!whole) {
            Analysis result;
            result.fault.kind = Fault::Kind::Unreadable;
            return result;
        }
        return analyse(*whole, session::LogReader::kDefaultBlockSize, history,
                       session::LogReader::ReadAhead::OnThread, away);
    };
    const qint64 split = recordStartNear(openPart, splitNear);
    std::unique_ptr<QIODevice> early = split > 0 ? openPart(0, split) : nullptr;
    std::unique_ptr<QIODevice> later = split > 0 ? openPart(split, -1) : nullptr;
    if (!early || !later)
        return inOrder();

    std::atomic<bool> abandon {false};
    LaterPart laterPart;
    std::optional<History> laterHistory = history ? std::optional<History>(history->blank()) : std::nullopt;
    std::thread worker([&] { laterPart = readLaterPart(*later, std::move(laterHistory), abandon, away); });
    const auto joined = qScopeGuard([&] {
        if (worker.joinable())
            worker.join();
    });

    Tally tally;
    Fault fault;
    session::LogReader reader(*early);
    const std::unique_ptr<AwayMerge> merge = awayFrom(away, 0);
    takeRecords(reader, tally, history, fault, merge.get());
    // The split is right when the earlier part ends cleanly with a whole
    // record; the later part is then read from the start of the next one.
    // Blank lines there ended the part, but they end the log only when
    // nothing follows them: every line must belong to a record taken.
    const bool splitRight = fault.kind == Fault::Kind::None && reader.end() == session::LogReader::End::EndOfFile
        && tally.records() > 0 && reader.linesRead() == tally.records() * session::kValuesPerRecord;
    if (!splitRight)
        abandon = true;
    worker.join();
    if (fault.kind != Fault::Kind::None)
        return concluded(tally, std::move(fault), merge.get());
    if (reader.end() == session::LogReader::End::ReadError) {
        noteEnd(reader, tally, fault);
        return concluded(tally, std::move(fault), merge.get());
    }
    if (!splitRight) {
        if (history)
            history->clear();
        return inOrder();
    }

    const std::int64_t before = tally.totals().totalSeconds;
    if (laterPart.usable && (!merge || pairsAlike(laterPart.away, *merge))) {
        const bool odd = (before & 1) != 0;
        const std::int64_t rise = laterPart.rise + (odd ? laterPart.oddShift : 0);
        if (before + rise <= std::int64_t(2147483646)) {
            tally.addStretch(laterPart.records, laterPart.counted, rise, laterPart.lastDate);
            if (history) {
                history->append(std::move(*laterPart.history));
                if (odd && laterPart.firstHalf)
                    history->adjust(*laterPart.firstHalf, laterPart.oddShift);
            }
            return concluded(tally, std::move(fault), merge.get());
        }
    }
    // Read it again, on from where the earlier part ended, as one reading
    // in order would have.
    const std::unique_ptr<QIODevice> rest = openPart(split, -1);
    if (!rest) {
        fault.kind = Fault::Kind::ReadFailed;
        fault.line = reader.linesRead();
        fault.recordLine = tally.records() * session::kValuesPerRecord + 1;
        return concluded(tally, std::move(fault), merge.get());
    }
    session::LogReader restReader(*rest);
    restReader.setLinesBefore(reader.linesRead());
    takeRecords(restReader, tally, history, fault, merge.get());
    if (fault.kind == Fault::Kind::None)
        noteEnd(restReader, tally, fault);
    return concluded(tally, std::move(fault), merge.get());
}

Analysis analyseFile(const QString &path, History *history)
{
    // Only a regular file: a FIFO would block the reading for ever, and a
    // device such as /dev/zero hand out bytes without end.
    files::Handle file;
    Analysis result;
    switch (files::openRegular(path, &file, &result.fault.systemError)) {
    case files::ReadResult::Missing:
        result.fault.kind = Fault::Kind::Missing;
        return result;
    case files::ReadResult::Failed:
        result.fault.kind = Fault::Kind::Unreadable;
        return result;
    case files::ReadResult::Ok:
        break;
    }
    // Only the history shows the time away; the totals never depend on it.
    files::Handle awayFile;
    std::optional<AwaySource> away;
    AwayFault awayFault;
    if (history) {
        switch (files::openRegular(awayLogPath(path), &awayFile, &awayFault.systemError)) {
        case files::ReadResult::Missing:
            break;
        case files::ReadResult::Failed:
            awayFault.kind = AwayFault::Kind::Unreadable;
            break;
        case files::ReadResult::Ok:
            away.emplace();
            away->open = [&awayFile](qint64 from, qint64 to) { return std::make_unique<FilePart>(awayFile, from, to); };
            away->size = awayFile.size();
            break;
        }
    }
    const AwaySource *const awaySource = away ? &*away : nullptr;
    const qint64 size = file.size();
    // A thread costs more than reading a few blocks takes.
    if (size > 8 * session::LogReader::kDefaultBlockSize) {
        result = analyseInParts(
            [&file](qint64 from, qint64 to) { return std::make_unique<FilePart>(file, from, to); }, size / 2, history,
            awaySource);
    } else {
        FilePart whole(file, 0, -1);
        result = analyse(whole, session::LogReader::kDefaultBlockSize, history, session::LogReader::ReadAhead::No,
                         awaySource);
    }
    if (awayFault.kind != AwayFault::Kind::None)
        result.awayFault = awayFault;
    return result;
}

QString awayLogPath(const QString &logPath)
{
    return QFileInfo(logPath).dir().filePath(QString::fromLatin1(session::kAwayLogFileName));
}

} // namespace core::analysis
