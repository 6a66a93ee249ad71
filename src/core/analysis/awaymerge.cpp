// SPDX-License-Identifier: MIT
#include "core/analysis/awaymerge.h"

#include <QDate>
#include <QIODevice>

#include <algorithm>
#include <bit>
#include <cstring>

namespace core::analysis {

namespace {

// Longer than any line LogAway.log can hold with its line end
// (yyyy-mm-dd,hh:mm:ss,hh:mm:ss and three counts of up to 12 digits).
constexpr qsizetype kLongestLine = 80;

// No session lasts longer than the 32-bit total lets it: anything more is
// not a true count, and capping it keeps any number of such lines from
// overflowing a sum.
constexpr qint64 kMostAway = qint64(1) << 32;

Q_ALWAYS_INLINE unsigned digitOf(char c)
{
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
}

// A count of 1 to 12 digits at `p`: where it ends, or null when there is none.
Q_ALWAYS_INLINE const char *countAt(const char *p, qint64 &value)
{
    const std::uint64_t x = eightAt(p) ^ 0x3030303030303030ull;
    if (const std::uint64_t over = aboveNine(x); over != 0) {
        const int digits = std::countr_zero(over) >> 3;
        if (digits == 0)
            return nullptr;
        // Up to seven digits at once: moved to the top, the bytes below
        // them are leading zeros; then pairs, fours and the eight are summed.
        std::uint64_t v = x << (64 - 8 * digits);
        v = v * 10 + (v >> 8);
        v = ((v & 0x000000FF000000FFull) * 0x000F424000000064ull
             + ((v >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull)
            >> 32;
        value = static_cast<qint64>(v);
        return p + digits;
    }
    qint64 v = 0;
    int n = 0;
    for (; n < 13 && digitOf(p[n]) <= 9; ++n)
        v = v * 10 + digitOf(p[n]);
    if (n > 12)
        return nullptr; // a thirteenth digit already makes it no count
    value = v;
    return p + n;
}

// Reads a line's content from `p` on, which must have kLongestLine bytes to
// read: where it ends (the byte after its last count), or null when the bytes
// are no line's. The date, start and end are only taken as they are; the
// caller checks that a line end follows.
Q_ALWAYS_INLINE const char *parseLine(const char *p, AwayLine &line)
{
    // yyyy-mm-dd,hh:mm:ss,hh:mm:ss,asleep,locked,idle
    if (p[10] != ',' || p[19] != ',' || p[28] != ',')
        return nullptr;
    // No line end (nor any other control byte) within the date and times,
    // which are not read yet: the line must not run on into the next.
    constexpr std::uint64_t kSpaces = 0x2020202020202020ull, kTops = 0x8080808080808080ull;
    const auto control = [](std::uint64_t x) { return (x - kSpaces) & ~x & kTops; };
    if ((control(eightAt(p)) | control(eightAt(p + 8)) | control(eightAt(p + 16)) | control(eightAt(p + 21))) != 0)
        return nullptr;
    // Most sessions were never away: their counts are read at once.
    constexpr std::uint64_t kNoneAway = 0x0A0D302C302C302Cull; // ",0,0,0\r\n"
    if (eightAt(p + 28) == kNoneAway) {
        line.text = sessionTextAt(p, p + 11, p + 20);
        line.away = 0;
        return p + 34;
    }
    // Asleep time lies outside the length: only its form matters. It is
    // mostly none.
    const char *at = p + 30;
    if (p[29] != '0' || *at != ',') {
        qint64 asleep = 0;
        at = countAt(p + 29, asleep);
        if (!at || *at != ',')
            return nullptr;
    }
    qint64 locked = 0, idle = 0;
    if (!(at = countAt(at + 1, locked)) || *at != ',' || !(at = countAt(at + 1, idle)))
        return nullptr;
    line.text = sessionTextAt(p, p + 11, p + 20);
    line.away = std::min(locked + idle, kMostAway);
    return at;
}

// The same for a line's content alone, copied where it can be read so.
Q_ALWAYS_INLINE bool parseContent(const char *content, qsizetype size, AwayLine &line)
{
    // Anything longer is no line.
    if (size > kLongestLine - 10)
        return false;
    char padded[2 * kLongestLine] = {};
    std::memcpy(padded, content, static_cast<std::size_t>(size));
    padded[size] = '\n';
    return parseLine(padded, line) == padded + size;
}

} // namespace

qint64 sessionKeyOf(const SessionText &text, MonthCache &months)
{
    if (months.firstDay < 0 || text.yearMonth != months.yearMonth) {
        // Digits become 0 to 9 and the hyphens 0.
        const std::uint64_t x = text.yearMonth ^ 0x2D30302D30303030ull;
        months.firstDay = -1;
        if ((aboveNine(x) | (x & 0xFF0000FF00000000ull)) != 0)
            return kNoSessionKey;
        const auto digit = [x](int i) { return static_cast<int>(x >> (8 * i) & 0xFF); };
        const QDate first(digit(0) * 1000 + digit(1) * 100 + digit(2) * 10 + digit(3), digit(5) * 10 + digit(6), 1);
        if (!first.isValid())
            return kNoSessionKey;
        months.yearMonth = text.yearMonth;
        months.firstDay = first.toJulianDay();
        months.days = first.daysInMonth();
    }
    const unsigned d1 = (text.day & 0xFF) - 0x30u, d2 = (text.day >> 8) - 0x30u;
    const unsigned day = d1 * 10 + d2;
    const qint64 start = secondsOfDay(text.start);
    const qint64 end = secondsOfDay(text.end);
    if (d1 > 9 || d2 > 9 || day < 1 || day > static_cast<unsigned>(months.days) || start < 0 || end < 0)
        return kNoSessionKey;
    return ((months.firstDay + day - 1) * 86400 + start) * 86400 + end;
}

bool readAwayLine(QByteArrayView content, qint64 &key, qint64 &away)
{
    AwayLine line;
    MonthCache months;
    if (!parseContent(content.data(), content.size(), line))
        return false;
    key = sessionKeyOf(line.text, months);
    away = line.away;
    return key != kNoSessionKey;
}

AwayLines::AwayLines(std::unique_ptr<QIODevice> device, qint64 from, qsizetype blockSize)
    : device_(std::move(device))
    , blockSize_(std::max<qsizetype>(1, blockSize))
    , buffer_(new char[static_cast<std::size_t>(blockSize_ + kLongestLine)])
    , base_(from)
    , lineAt_(from)
{
    if (!device_) {
        error_ = QStringLiteral("it cannot be opened");
        eof_ = true;
    }
}

AwayLines::~AwayLines() = default;

bool AwayLines::refill()
{
    if (begin_ > 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, static_cast<std::size_t>(end_ - begin_));
        base_ += begin_;
        end_ -= begin_;
        begin_ = 0;
    }
    const qint64 got = device_->read(buffer_.get() + end_, blockSize_);
    if (got < 0) {
        error_ = device_->errorString();
        if (error_.isEmpty())
            error_ = QStringLiteral("the read failed");
        // Nothing more is taken, not even what the buffer still holds.
        end_ = begin_;
        eof_ = true;
        return false;
    }
    eof_ = got == 0;
    end_ += got;
    return true;
}

bool AwayLines::next(AwayLine &entry)
{
    // The usual line, whole in the buffer with its line end: a count takes
    // at most 13 digits to refuse, so parsing stops well before the end.
    if (end_ - begin_ >= kLongestLine && !pendingCr_ && !skipping_) {
        const char *const line = buffer_.get() + begin_;
        const char *const eol = parseLine(line, entry);
        if (eol && (*eol == '\n' || *eol == '\r')) {
            entry.offset = lineAt_;
            const qsizetype next = eol + 1 - buffer_.get() + (eol[0] == '\r' && eol[1] == '\n');
            lineAt_ = base_ + next;
            begin_ = next;
            return true;
        }
    }
    return nextSlowly(entry);
}

bool AwayLines::nextSlowly(AwayLine &entry)
{
    for (;;) {
        // A whole line fits in what is held, unless the file ends first.
        if (!eof_ && end_ - begin_ < kLongestLine) {
            if (!refill())
                return false;
            continue;
        }
        if (pendingCr_) {
            // A line ended in CR; an LF right after it belongs to that end.
            if (begin_ == end_)
                return false;
            if (buffer_[static_cast<std::size_t>(begin_)] == '\n') {
                ++begin_;
                ++lineAt_;
            }
            pendingCr_ = false;
            continue;
        }
        if (begin_ == end_)
            return false;
        const char *const line = buffer_.get() + begin_;
        const char *const stop = buffer_.get() + end_;
        const char *eol = line;
        while (eol != stop && *eol != '\r' && *eol != '\n')
            ++eol;
        const bool whole = !skipping_ && eol != stop && parseContent(line, eol - line, entry);
        if (eol == stop) {
            // The last line without its line end is not read; a longer
            // line than any line is passed over to its end.
            if (eof_)
                return false;
            skipping_ = true;
            begin_ = end_;
            continue;
        }
        skipping_ = false;
        entry.offset = lineAt_;
        qsizetype next = eol + 1 - buffer_.get();
        if (*eol == '\r') {
            if (next == end_)
                pendingCr_ = true;
            else if (buffer_[static_cast<std::size_t>(next)] == '\n')
                ++next;
        }
        lineAt_ = base_ + next;
        begin_ = next;
        if (whole)
            return true;
    }
}

AwayMerge::AwayMerge(std::unique_ptr<QIODevice> device, qint64 from, int window, qsizetype blockSize)
    : lines_(std::move(device), from, blockSize)
    , window_(std::max(1, window))
{
    std::size_t ring = 1;
    while (ring < static_cast<std::size_t>(window_))
        ring *= 2;
    ring_.resize(ring);
    ringMask_ = ring - 1;
    // At most twice the window's lines are in the table at once: it stays
    // at most half full.
    int bits = 4;
    while ((qint64(1) << bits) < 4 * window_)
        ++bits;
    table_.assign(std::size_t(1) << bits, 0);
    tableMask_ = (std::uint64_t(1) << bits) - 1;
    tableShift_ = 64 - bits;
}

bool AwayMerge::readAhead(qint64 lines)
{
    // With no table to keep, an empty window starts at the ring's first slot
    // again: the lines that follow each other through it stay in the cache.
    if (!indexing_ && head_ == tail_)
        head_ = tail_ = 0;
    while (!linesDone_ && tail_ - head_ < lines) {
        if (!lines_.next(at(tail_))) {
            linesDone_ = true;
            break;
        }
        if (indexing_)
            index(tail_);
        ++tail_;
    }
    // A window's worth of lines without a session missing its front one:
    // the next miss builds the table anew.
    if (indexing_ && tail_ >= quietFrom_)
        indexing_ = false;
    return head_ < tail_;
}

void AwayMerge::startIndex()
{
    if (!indexing_) {
        std::fill(table_.begin(), table_.end(), 0);
        indexed_ = 0;
        for (qint64 i = head_; i < tail_; ++i)
            index(i);
        indexing_ = true;
    }
    quietFrom_ = tail_ + window_;
}

void AwayMerge::index(qint64 line)
{
    AwayLine &l = at(line);
    l.key = sessionKeyOf(l.text, months_);
    // A line that names no session pairs with none.
    if (l.key == kNoSessionKey)
        return;
    if (indexed_ >= 2 * window_) {
        std::fill(table_.begin(), table_.end(), 0);
        indexed_ = 0;
        for (qint64 i = head_; i < line; ++i)
            index(i);
    }
    std::uint64_t slot = (static_cast<std::uint64_t>(l.key) * 0x9E3779B97F4A7C15ull) >> tableShift_;
    while (table_[slot] != 0)
        slot = (slot + 1) & tableMask_;
    table_[slot] = line + 1;
    ++indexed_;
}

qint64 AwayMerge::find(qint64 key) const
{
    qint64 first = -1;
    for (std::uint64_t slot = (static_cast<std::uint64_t>(key) * 0x9E3779B97F4A7C15ull) >> tableShift_;
         table_[slot] != 0; slot = (slot + 1) & tableMask_) {
        const qint64 line = table_[slot] - 1;
        // Lines before the window are gone: their slots in the ring hold others now.
        if (line >= head_ && at(line).key == key && (first < 0 || line < first))
            first = line;
    }
    return first;
}

qint64 AwayMerge::missed(qint64 key)
{
    readAhead(window_);
    startIndex();
    return find(key);
}

qint64 AwayMerge::origin()
{
    return readAhead(1) ? at(head_).offset : lines_.endOffset();
}

bool AwayMerge::isEmpty()
{
    return !readAhead(1);
}

qint64 AwayMerge::firstOffsetOf(qint64 key)
{
    readAhead(window_);
    startIndex();
    const qint64 line = find(key);
    return line < 0 ? -1 : at(line).offset;
}

} // namespace core::analysis
