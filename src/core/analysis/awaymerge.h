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
// and that costs one comparison.

#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;

namespace core::analysis {

// How many lines ahead a session's line is looked for.
inline constexpr int kAwayWindow = 4096;

// No key: a record whose start or end is not a time pairs with no line.
inline constexpr qint64 kNoSessionKey = -1;

struct AwayEntry {
    qint64 key = kNoSessionKey; // session::sessionKey of its date, start and end
    qint64 away = 0; // seconds away within the session's length
    qint64 offset = 0; // where its line starts in the file
};

// Day numbers of the months met last: the lines of one month follow each other.
struct MonthCache {
    char text[7] = {}; // yyyy-mm
    qint64 firstDay = -1;
    int days = 0;
};

// A line without its line end, read exactly as session::parseAwayLine reads
// it, straight to its key and its seconds away within the length. False for
// anything that is not such a line.
bool readAwayLine(QByteArrayView line, AwayEntry &entry, MonthCache &months);

// The lines of LogAway.log one after the other, skipping what is not one.
// A last line without its line end may be one that is still being written,
// and is not read.
class AwayLines {
public:
    // `device` reads the file from `from`, the start of a line.
    AwayLines(std::unique_ptr<QIODevice> device, qint64 from, qsizetype blockSize);
    ~AwayLines();
    AwayLines(const AwayLines &) = delete;
    AwayLines &operator=(const AwayLines &) = delete;

    bool next(AwayEntry &entry);
    // Where the line after the last one read starts: once `next` has run
    // out, where reading stopped.
    qint64 endOffset() const { return lineAt_; }
    bool failed() const { return !error_.isEmpty(); }
    QString errorString() const { return error_; }

private:
    bool refill();

    std::unique_ptr<QIODevice> device_;
    qsizetype blockSize_;
    std::unique_ptr<char[]> buffer_;
    qsizetype begin_ = 0; // the next line starts here
    qsizetype end_ = 0;
    qint64 base_; // the file offset of buffer_[0]
    qint64 lineAt_; // the file offset of the line begin_ is in
    bool eof_ = false;
    bool skipping_ = false; // inside a line too long to be one, until its end
    bool pendingCr_ = false; // the last line ended in a CR at the end of the buffer
    MonthCache months_;
    QString error_;
};

class AwayMerge {
public:
    AwayMerge(std::unique_ptr<QIODevice> device, qint64 from, int window, qsizetype blockSize);

    // The session with `key` takes its line: true with the line in `taken`.
    bool take(qint64 key, AwayEntry &taken);
    qint64 take(qint64 key)
    {
        AwayEntry taken;
        return take(key, taken) ? taken.away : 0;
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
    void fill();
    void index(qint64 at);
    qint64 find(qint64 key) const;
    const AwayEntry &at(qint64 i) const { return ring_[static_cast<std::size_t>(i % window_)]; }

    AwayLines lines_;
    qint64 window_;
    std::vector<AwayEntry> ring_;
    // The window holds lines head_ to tail_ - 1, counted from the first read.
    qint64 head_ = 0;
    qint64 tail_ = 0;
    bool linesDone_ = false;
    // Line numbers + 1 by key (0: a free slot). A dropped line's slot is not
    // freed but passed over; the table is made anew once such slots add up.
    std::vector<qint64> table_;
    std::uint64_t tableMask_ = 0;
    int tableShift_ = 0;
    qint64 indexed_ = 0;
};

} // namespace core::analysis
