// SPDX-License-Identifier: MIT
#pragma once
// Pairs the sessions of LogData.log with their lines in LogAway.log while the
// log is read, in one pass over each file and in memory that does not grow
// with either.
//
// Both logs get their sessions in the same order, except that sessions from
// before LogAway.log existed have no line and a hand-edited file can hold
// lines of no session. So the lines are merged in as a stream: a window of
// the next few thousand lines, found by session in a small hash table. A
// session takes the first line of the window that stands for it, and the
// lines before that one are dropped as orphans; a session with no line in
// the window was away 0 seconds. Usually the next line is the session's own,
// and that costs one comparison of the texts that name the session.

#include <QByteArrayView>
#include <QString>
#include <QtEndian>

#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

namespace core::analysis {

// How many lines ahead a session's line is looked for.
inline constexpr int kAwayWindow = 4096;

// No key: a record whose start or end is not a time pairs with no line, and
// a line whose date, start or end is none pairs with no record.
inline constexpr qint64 kNoSessionKey = -1;

// Eight bytes from `p`, the first in the lowest: read as one, a field of a
// fixed form is checked and taken apart at once.
Q_ALWAYS_INLINE std::uint64_t eightAt(const char *p)
{
    return qFromLittleEndian<quint64>(p);
}

// The top bit of every byte of `x` above 9.
Q_ALWAYS_INLINE std::uint64_t aboveNine(std::uint64_t x)
{
    return (((x & 0x7F7F7F7F7F7F7F7Full) + 0x7676767676767676ull) | x) & 0x8080808080808080ull;
}

// hh:mm:ss read as eightAt reads it, as seconds since midnight, the way
// session::parseDataTime reads it between its #s; -1 when it is no time.
Q_ALWAYS_INLINE qint64 secondsOfDay(std::uint64_t text)
{
    // Digits become 0 to 9 and the colons 0.
    const std::uint64_t x = text ^ 0x30303A30303A3030ull;
    if ((aboveNine(x) | (x & 0x0000FF0000FF0000ull)) != 0)
        return -1;
    const auto digit = [x](int i) { return static_cast<unsigned>(x >> (8 * i) & 0xFF); };
    const unsigned h = digit(0) * 10 + digit(1), m = digit(3) * 10 + digit(4), s = digit(6) * 10 + digit(7);
    if (h > 23 || m > 59 || s > 59)
        return -1;
    return qint64(h) * 3600 + m * 60 + s;
}

// A session's date, start and end as a line writes them
// (yyyy-mm-dd,hh:mm:ss,hh:mm:ss), kept as they are: two sessions named alike
// compare equal without either being parsed.
struct SessionText
{
    std::uint64_t yearMonth = 0; // yyyy-mm-
    std::uint64_t start = 0;
    std::uint64_t end = 0;
    std::uint16_t day = 0;

    friend bool operator==(const SessionText &, const SessionText &) = default;
};

// The text at `date` (yyyy-mm-dd), `start` and `end` (hh:mm:ss).
Q_ALWAYS_INLINE SessionText sessionTextAt(const char *date, const char *start, const char *end)
{
    return {eightAt(date), eightAt(start), eightAt(end), qFromLittleEndian<quint16>(date + 8)};
}

// The Julian day of the month met last: the lines of a month follow each other.
struct MonthCache
{
    std::uint64_t yearMonth = 0;
    qint64 firstDay = -1;
    int days = 0;
};

// The session::sessionKey of a session so named; kNoSessionKey when its
// date, start or end is none.
qint64 sessionKeyOf(const SessionText &text, MonthCache &months);

struct AwayLine
{
    SessionText text;
    qint64 away = 0;   // seconds away within the session's length
    qint64 offset = 0; // where the line starts in the file
    qint64 key = 0;    // worked out only when it is needed
};

// A line without its line end: true when session::parseAwayLine reads it as
// one, with its key and its seconds away within the session's length.
bool readAwayLine(QByteArrayView line, qint64 &key, qint64 &away);

// The lines of LogAway.log one after the other, skipping what is not one;
// whether its date, start and end are such is left to the merge. A last line
// without its line end may be one still being written, and is not read.
class AwayLines
{
public:
    // `device` reads the file from `from`, the start of a line.
    AwayLines(std::unique_ptr<QIODevice> device, qint64 from, qsizetype blockSize);
    ~AwayLines();
    AwayLines(const AwayLines &) = delete;
    AwayLines &operator=(const AwayLines &) = delete;

    bool next(AwayLine &line);
    // Where the line after the last one read starts: once `next` has run
    // out, where reading stopped.
    qint64 endOffset() const { return lineAt_; }
    bool failed() const { return !error_.isEmpty(); }
    QString errorString() const { return error_; }

private:
    bool nextSlowly(AwayLine &line);
    bool refill();

    std::unique_ptr<QIODevice> device_;
    qsizetype blockSize_;
    std::unique_ptr<char[]> buffer_;
    qsizetype begin_ = 0;    // the next line starts here
    qsizetype end_ = 0;
    qint64 base_;            // the file offset of buffer_[0]
    qint64 lineAt_;          // the file offset of the line begin_ is in
    bool eof_ = false;
    bool skipping_ = false;  // inside a line too long to be one, until its end
    bool pendingCr_ = false; // the last line ended in a CR at the end of the buffer
    QString error_;
};

class AwayMerge
{
public:
    AwayMerge(std::unique_ptr<QIODevice> device, qint64 from, int window, qsizetype blockSize);

    // The session with `key`, named by `text` when its record has the usual
    // form, takes its line: true with the line's seconds away and offset.
    bool take(qint64 key, const SessionText *text, qint64 &away, qint64 &offset)
    {
        if (head_ == tail_ && !readAhead(1))
            return false;
        // Usually the next line is the session's own. Alike texts are alike
        // dates and times: the record's were read as such already.
        const qint64 line = text && at(head_).text == *text ? head_ : missed(key);
        if (line < 0)
            return false;
        away = at(line).away;
        offset = at(line).offset;
        head_ = line + 1;
        return true;
    }

    // What the merge would do next, without doing it. Two merges of the same
    // file with the same origin pair every session alike from there on.
    qint64 origin();
    bool isEmpty();
    // Where the first line of the window for `key` starts; -1 when none is.
    qint64 firstOffsetOf(qint64 key);

    bool failed() const { return lines_.failed(); }
    QString errorString() const { return lines_.errorString(); }

private:
    // Reads lines until the window holds `lines` of them, or the file ends:
    // false when it holds none. The window is read no further ahead than a
    // session needs: its next line, or all of it once a session misses.
    bool readAhead(qint64 lines);
    qint64 missed(qint64 key);
    void startIndex();
    void index(qint64 line);
    qint64 find(qint64 key) const;
    AwayLine &at(qint64 i) { return ring_[static_cast<std::size_t>(i) & ringMask_]; }
    const AwayLine &at(qint64 i) const { return ring_[static_cast<std::size_t>(i) & ringMask_]; }

    AwayLines lines_;
    qint64 window_;
    std::vector<AwayLine> ring_; // a power of two, at least the window
    std::size_t ringMask_ = 0;
    // The window holds lines head_ to tail_ - 1, counted from the first read.
    qint64 head_ = 0;
    qint64 tail_ = 0;
    bool linesDone_ = false;
    // Line numbers + 1 by key (0: a free slot), kept only while sessions
    // miss the front line: usually none does, and neither the table nor the
    // lines' keys cost anything. A dropped line's slot is not freed but
    // passed over; the table is made anew once such slots add up.
    std::vector<qint64> table_;
    std::uint64_t tableMask_ = 0;
    int tableShift_ = 0;
    qint64 indexed_ = 0;
    bool indexing_ = false;
    qint64 quietFrom_ = 0; // no miss until this line is read: the table is let go
    MonthCache months_;
};

} // namespace core::analysis
