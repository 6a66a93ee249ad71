// SPDX-License-Identifier: MIT
#include "core/analysis/awaymerge.h"

#include <QDate>
#include <QIODevice>

#include <algorithm>
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

// hh:mm:ss at `p` as seconds since midnight, -1 when it is not a time.
Q_ALWAYS_INLINE qint64 timeAt(const char *p)
{
    const unsigned h1 = digitOf(p[0]), h2 = digitOf(p[1]), m1 = digitOf(p[3]), m2 = digitOf(p[4]), s1 = digitOf(p[6]),
                   s2 = digitOf(p[7]);
    if (std::max({ h1, h2, m1, m2, s1, s2 }) > 9 || p[2] != ':' || p[5] != ':')
        return -1;
    const unsigned h = h1 * 10 + h2, m = m1 * 10 + m2, s = s1 * 10 + s2;
    if (h > 23 || m > 59 || s > 59)
        return -1;
    return qint64(h) * 3600 + m * 60 + s;
}

// The Julian day of yyyy-mm-dd at `p`, -1 when it is not a date.
Q_ALWAYS_INLINE qint64 dayAt(const char *p, MonthCache &months)
{
    const unsigned d1 = digitOf(p[8]), d2 = digitOf(p[9]);
    if (d1 > 9 || d2 > 9 || p[4] != '-' || p[7] != '-')
        return -1;
    const int day = static_cast<int>(d1 * 10 + d2);
    if (months.firstDay < 0 || std::memcmp(p, months.text, sizeof months.text) != 0) {
        const unsigned y1 = digitOf(p[0]), y2 = digitOf(p[1]), y3 = digitOf(p[2]), y4 = digitOf(p[3]),
                       m1 = digitOf(p[5]), m2 = digitOf(p[6]);
        months.firstDay = -1;
        if (std::max({ y1, y2, y3, y4, m1, m2 }) > 9)
            return -1;
        const QDate first(static_cast<int>(y1 * 1000 + y2 * 100 + y3 * 10 + y4), static_cast<int>(m1 * 10 + m2), 1);
        if (!first.isValid())
            return -1;
        std::memcpy(months.text, p, sizeof months.text);
        months.firstDay = first.toJulianDay();
        months.days = first.daysInMonth();
    }
    if (day < 1 || day > months.days)
        return -1;
    return months.firstDay + day - 1;
}

// Reads a line's content from `p` on: where it ends (the byte after its last
// count), or null when the bytes are no line's. The caller checks that a
// line end follows.
Q_ALWAYS_INLINE const char *parseAt(const char *p, const char *stop, AwayEntry &entry, MonthCache &months)
{
    // yyyy-mm-dd,hh:mm:ss,hh:mm:ss,a,l,i with counts of at least one digit.
    if (stop - p < 34 || p[10] != ',' || p[19] != ',' || p[28] != ',')
        return nullptr;
    const qint64 day = dayAt(p, months);
    const qint64 start = timeAt(p + 11);
    const qint64 end = timeAt(p + 20);
    if (day < 0 || start < 0 || end < 0)
        return nullptr;
    qint64 counts[3];
    const char *at = p + 29;
    for (int field = 0; field < 3; ++field) {
        const char *first = at;
        qint64 value = 0;
        // A thirteenth digit already makes it no count.
        for (unsigned d; at != stop && at - first < 13 && (d = digitOf(*at)) <= 9; ++at)
            value = value * 10 + d;
        if (at == first || at - first > 12)
            return nullptr;
        counts[field] = value;
        if (field < 2) {
            if (at == stop || *at != ',')
                return nullptr;
            ++at;
        }
    }
    entry.key = (day * 86400 + start) * 86400 + end;
    entry.away = std::min(counts[1] + counts[2], kMostAway);
    return at;
}

} // namespace

bool readAwayLine(QByteArrayView line, AwayEntry &entry, MonthCache &months)
{
    const char *end = line.data() + line.size();
    return parseAt(line.data(), end, entry, months) == end;
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

bool AwayLines::next(AwayEntry &entry)
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
        const char *eol = skipping_ ? nullptr : parseAt(line, stop, entry, months_);
        const bool whole = eol && eol != stop && (*eol == '\r' || *eol == '\n');
        if (!whole) {
            eol = line;
            while (eol != stop && *eol != '\r' && *eol != '\n')
                ++eol;
        }
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
    , ring_(static_cast<std::size_t>(window_))
{
    // At most twice the window's lines are in the table at once: it stays
    // at most half full.
    int bits = 4;
    while ((qint64(1) << bits) < 4 * window_)
        ++bits;
    table_.assign(std::size_t(1) << bits, 0);
    tableMask_ = (std::uint64_t(1) << bits) - 1;
    tableShift_ = 64 - bits;
}

void AwayMerge::fill()
{
    while (!linesDone_ && tail_ - head_ < window_) {
        AwayEntry entry;
        if (!lines_.next(entry)) {
            linesDone_ = true;
            break;
        }
        ring_[static_cast<std::size_t>(tail_ % window_)] = entry;
        index(tail_);
        ++tail_;
    }
}

void AwayMerge::index(qint64 line)
{
    if (indexed_ >= 2 * window_) {
        std::fill(table_.begin(), table_.end(), 0);
        indexed_ = 0;
        for (qint64 i = head_; i < line; ++i)
            index(i);
    }
    std::uint64_t slot = (static_cast<std::uint64_t>(at(line).key) * 0x9E3779B97F4A7C15ull) >> tableShift_;
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

bool AwayMerge::take(qint64 key, AwayEntry &taken)
{
    fill();
    if (head_ == tail_)
        return false;
    qint64 line = head_;
    if (at(line).key != key) {
        line = find(key);
        if (line < 0)
            return false;
    }
    taken = at(line);
    head_ = line + 1;
    fill();
    return true;
}

qint64 AwayMerge::origin()
{
    fill();
    return head_ < tail_ ? at(head_).offset : lines_.endOffset();
}

bool AwayMerge::isEmpty()
{
    fill();
    return head_ == tail_;
}

qint64 AwayMerge::firstOffsetOf(qint64 key)
{
    fill();
    const qint64 line = find(key);
    return line < 0 ? -1 : at(line).offset;
}

} // namespace core::analysis
