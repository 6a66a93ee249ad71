// SPDX-License-Identifier: MIT
#pragma once
// Reads `LogData.log` back record by record, in blocks, so memory stays the
// same whatever the length of the log. Lines may end in CR LF (as Tocka writes
// them), LF or a lone CR (as other systems' editors leave them).

#include "core/session/record.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

class QIODevice;

namespace core::session {

// Where each value sits in a record, counted from 0.
enum class RecordValue : int { Separator = 0, EndDate, StartTime, EndTime, ElapsedSecs, ClockText };

// A whole record as the reader holds it; valid until the reader's next call.
class RecordView
{
public:
    // A value without its line end. A line longer than
    // `LogReader::kMaxValueLength` keeps only its start and is marked cut.
    QByteArrayView value(RecordValue v) const
    {
        const Span &s = spans_[static_cast<int>(v)];
        return QByteArrayView(base_ + s.start, s.length);
    }
    bool isCut(RecordValue v) const { return spans_[static_cast<int>(v)].cut; }
    // 1-based line numbers in the file.
    qint64 firstLine() const { return firstLine_; }
    qint64 lineOf(RecordValue v) const { return firstLine_ + static_cast<int>(v); }

private:
    friend class LogReader;
    struct Span
    {
        qsizetype start = 0;
        qsizetype length = 0;
        bool cut = false;
    };
    const char *base_ = nullptr;
    const Span *spans_ = nullptr;
    qint64 firstLine_ = 0;
};

class LogReader
{
public:
    static constexpr qsizetype kDefaultBlockSize = 256 * 1024;
    // No value of a record is anywhere near this long; a longer line is kept
    // only this far, so one damaged line cannot make memory grow.
    static constexpr qsizetype kMaxValueLength = 1024;

    enum class End {
        NotYet,      // `next` has not run out yet
        EndOfFile,   // every line belonged to a whole record (blank lines at the very end aside, however many)
        TornRecord,  // the file ends inside a record
        ReadError,   // the device failed; `errorString` says why
    };

    // Whether a second thread reads the next block while this one works
    // through the last: copying the file out of the page cache is a good
    // part of the work, and the other core can do it.
    enum class ReadAhead { No, OnThread };

    // `device` must be open for reading, and with read-ahead not be used by
    // anyone else until the reader is gone. `blockSize` is how much one read
    // asks for; tests make it tiny to cut lines at every possible place.
    explicit LogReader(QIODevice &device, qsizetype blockSize = kDefaultBlockSize, ReadAhead ahead = ReadAhead::No);
    ~LogReader();
    LogReader(const LogReader &) = delete;
    LogReader &operator=(const LogReader &) = delete;

    // The next whole record. Its views stay valid until the next call.
    // False when there is none; `end` tells why.
    bool next(RecordView &record);

    End end() const { return end_; }
    QString errorString() const { return error_; }
    // For a torn record: how many of its values the file holds, and the line
    // its first value is on.
    int tornValues() const { return tornValues_; }
    qint64 tornFirstLine() const { return tornFirstLine_; }
    // Lines read so far, including those of a torn record.
    qint64 linesRead() const { return lineNumber_; }
    // For a device that starts further into the log, at the start of a
    // line: how many lines come before it, so line numbers are the file's.
    void setLinesBefore(qint64 lines) { lineNumber_ = lines; }

private:
    using Span = RecordView::Span;

    bool refill();
    bool takeReadAhead();
    void readAheadLoop();
    void finishLine(qsizetype contentEnd, qsizetype nextLineStart);
    bool finishAtEof(RecordView &record);
    bool takeWhole(RecordView &record);
    bool isBlank(int values) const;
    void blankView(RecordView &record);
    void fillView(RecordView &record) const;

    QIODevice &device_;
    qsizetype blockSize_;
    qsizetype capacity_;
    std::unique_ptr<char[]> buffer_;
    qsizetype dataEnd_ = 0;     // bytes held in the buffer
    qsizetype lineStart_ = 0;   // first byte of the line being scanned
    qsizetype scan_ = 0;        // bytes before this are in `mask_` or done with
    std::uint64_t mask_ = 0;       // line ends not yet taken, bit i for byte maskBase_ + i
    std::uint64_t crBeforeLf_ = 0; // those of them that are the CR of a CR LF
    qsizetype maskBase_ = 0;
    bool lastWasCr_ = false;       // the byte before scan_ is a CR
    bool skipping_ = false;        // the current line passed kMaxValueLength: drop the rest of it
    bool eof_ = false;
    std::array<Span, kValuesPerRecord> spans_;
    int count_ = 0; // values of the current record found so far
    qint64 lineNumber_ = 0;
    End end_ = End::NotYet;
    QString error_;
    int tornValues_ = 0;
    qint64 tornFirstLine_ = 0;
    // Blank lines are the end of the log when nothing but blank lines comes
    // after them; so whole records of them wait to see what follows.
    bool blankRun_ = false;
    qint64 blankFirstLine_ = 0;
    bool held_ = false; // `spans_` hold the record that followed blank lines, for the next call

    // Read-ahead: the thread fills `spare_` behind room for what a record
    // carries over, while this one scans `buffer_`; then they swap.
    static constexpr qsizetype kCarryRoom = kValuesPerRecord * kMaxValueLength;
    std::unique_ptr<char[]> spare_;
    std::thread worker_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool wanted_ = false;   // the thread is to fill `spare_`
    bool ready_ = false;    // it has: `aheadGot_` bytes, or -1 with `aheadError_`
    bool stopping_ = false;
    qint64 aheadGot_ = 0;
    QString aheadError_;
};

} // namespace core::session
