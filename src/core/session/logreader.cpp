// SPDX-License-Identifier: MIT
#include "core/session/logreader.h"

#include <QIODevice>

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core::session {

namespace {

constexpr qsizetype kChunk = 64;

struct Hits
{
    std::uint64_t cr = 0;
    std::uint64_t lf = 0;
};

// Bit i set where p[i] is a CR, or an LF, for i < n (n at most 64). Logs are
// short lines by the million, so the line ends of 64 bytes are found at once
// and then taken bit by bit, instead of testing byte after byte.
inline Hits findHits(const char *p, qsizetype n)
{
    Hits hits;
    if (n == kChunk) {
#if defined(__SSE2__)
        const __m128i cr = _mm_set1_epi8('\r');
        const __m128i lf = _mm_set1_epi8('\n');
        for (int i = 0; i < 4; ++i) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * i));
            hits.cr |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, cr)))) << (16 * i);
            hits.lf |= std::uint64_t(static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, lf)))) << (16 * i);
        }
        return hits;
#else
        if constexpr (std::endian::native == std::endian::little) {
            // 0x80 in every byte equal to the wanted one, exactly (no borrow
            // from a lower byte), then the eight top bits gathered into one byte.
            constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
            auto bits = [](std::uint64_t word, std::uint64_t byte) {
                const std::uint64_t x = word ^ (0x0101010101010101ULL * byte);
                const std::uint64_t top = ~(((x & kLow7) + kLow7) | x | kLow7);
                return ((top >> 7) * 0x0102040810204080ULL) >> 56;
            };
            for (int i = 0; i < 8; ++i) {
                std::uint64_t word;
                std::memcpy(&word, p + 8 * i, sizeof word);
                hits.cr |= bits(word, '\r') << (8 * i);
                hits.lf |= bits(word, '\n') << (8 * i);
            }
            return hits;
        }
#endif
    }
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] == '\r')
            hits.cr |= std::uint64_t(1) << i;
        else if (p[i] == '\n')
            hits.lf |= std::uint64_t(1) << i;
    }
    return hits;
}

} // namespace

LogReader::LogReader(QIODevice &device, qsizetype blockSize, ReadAhead ahead)
    : device_(device)
    , blockSize_(std::max<qsizetype>(1, blockSize))
    // Between reads the buffer keeps at most the values of one record, each
    // cut to kMaxValueLength, so a whole block always fits behind them.
    , capacity_(blockSize_ + kCarryRoom)
    , buffer_(new char[static_cast<size_t>(capacity_)])
{
    if (ahead == ReadAhead::OnThread) {
        spare_.reset(new char[static_cast<size_t>(capacity_)]);
        wanted_ = true;
        worker_ = std::thread([this] { readAheadLoop(); });
    }
}

LogReader::~LogReader()
{
    if (worker_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        worker_.join();
    }
}

void LogReader::readAheadLoop()
{
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return wanted_ || stopping_; });
        if (stopping_)
            return;
        wanted_ = false;
        char *target = spare_.get() + kCarryRoom;
        lock.unlock();
        const qint64 got = device_.read(target, blockSize_);
        QString error = got < 0 ? device_.errorString() : QString();
        lock.lock();
        aheadGot_ = got;
        aheadError_ = std::move(error);
        ready_ = true;
        wake_.notify_all();
        if (got <= 0)
            return; // nothing more will be asked for
    }
}

// The block the thread read goes in behind what the record being gathered
// carries over, which moves across to it; then the thread reads the next
// block into the buffer just left.
bool LogReader::takeReadAhead()
{
    qint64 got = 0;
    {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return ready_; });
        ready_ = false;
        got = aheadGot_;
        if (got < 0) {
            end_ = End::ReadError;
            error_ = aheadError_;
            return false;
        }
    }
    const char *from = buffer_.get();
    char *to = spare_.get();
    const qsizetype lineLength = skipping_ ? kMaxValueLength : dataEnd_ - lineStart_;
    qsizetype carried = lineLength;
    for (int i = 0; i < count_; ++i)
        carried += spans_[i].length;
    qsizetype write = kCarryRoom - carried;
    for (int i = 0; i < count_; ++i) {
        Span &s = spans_[i];
        std::memcpy(to + write, from + s.start, static_cast<size_t>(s.length));
        s.start = write;
        write += s.length;
    }
    std::memcpy(to + write, from + lineStart_, static_cast<size_t>(lineLength));
    lineStart_ = write;
    scan_ = kCarryRoom;
    dataEnd_ = kCarryRoom + static_cast<qsizetype>(got);
    mask_ = 0;
    std::swap(buffer_, spare_);
    if (got == 0) {
        eof_ = true;
    } else {
        {
            const std::lock_guard lock(mutex_);
            wanted_ = true;
        }
        wake_.notify_all();
    }
    return true;
}

bool LogReader::refill()
{
    if (spare_)
        return takeReadAhead();
    // Keep only what the record being gathered still needs: its finished
    // values and the start of the line in progress. A line already past
    // kMaxValueLength keeps no more than that.
    char *buf = buffer_.get();
    qsizetype write = 0;
    for (int i = 0; i < count_; ++i) {
        Span &s = spans_[i];
        std::memmove(buf + write, buf + s.start, static_cast<size_t>(s.length));
        s.start = write;
        write += s.length;
    }
    const qsizetype lineLength = skipping_ ? kMaxValueLength : dataEnd_ - lineStart_;
    std::memmove(buf + write, buf + lineStart_, static_cast<size_t>(lineLength));
    lineStart_ = write;
    dataEnd_ = write + lineLength;
    scan_ = dataEnd_;
    mask_ = 0;

    const qsizetype want = std::min(blockSize_, capacity_ - dataEnd_);
    const qint64 got = device_.read(buf + dataEnd_, want);
    if (got < 0) {
        end_ = End::ReadError;
        error_ = device_.errorString();
        return false;
    }
    if (got == 0)
        eof_ = true;
    dataEnd_ += static_cast<qsizetype>(got);
    return true;
}

inline void LogReader::finishLine(qsizetype contentEnd, qsizetype nextLineStart)
{
    const bool cut = skipping_ || contentEnd - lineStart_ > kMaxValueLength;
    spans_[count_] = {lineStart_, cut ? kMaxValueLength : contentEnd - lineStart_, cut};
    ++count_;
    ++lineNumber_;
    skipping_ = false;
    lineStart_ = nextLineStart;
}

void LogReader::fillView(RecordView &record) const
{
    record.base_ = buffer_.get();
    record.spans_ = spans_.data();
    record.firstLine_ = lineNumber_ - kValuesPerRecord + 1;
}

// Whether the first `values` lines of the record being gathered hold
// nothing but blanks.
bool LogReader::isBlank(int values) const
{
    const char *buf = buffer_.get();
    return std::all_of(spans_.begin(), spans_.begin() + values, [buf](const Span &s) {
        return !s.cut && isEmptyValue(QByteArrayView(buf + s.start, s.length));
    });
}

// The blank lines where they start, as a record of empty values.
void LogReader::blankView(RecordView &record)
{
    static const std::array<Span, kValuesPerRecord> kBlank {};
    blankRun_ = false;
    record.base_ = buffer_.get();
    record.spans_ = kBlank.data();
    record.firstLine_ = blankFirstLine_;
}

// A whole record has been gathered: true when it is the caller's now.
bool LogReader::takeWhole(RecordView &record)
{
    count_ = 0;
    // Every record starts with its separator: only one whose first line is
    // empty or starts with a blank can be all blank, and looking at that
    // line's first byte is all it costs the others.
    const Span &first = spans_[0];
    const char lead = first.length > 0 ? buffer_[first.start] : ' ';
    if ((lead == ' ' || lead == '\t') && isBlank(kValuesPerRecord)) {
        if (!blankRun_) {
            blankRun_ = true;
            blankFirstLine_ = lineNumber_ - kValuesPerRecord + 1;
        }
        return false;
    }
    if (blankRun_) {
        // Something after the blank lines: they are damage where they start.
        held_ = true;
        blankView(record);
        return true;
    }
    fillView(record);
    return true;
}

bool LogReader::next(RecordView &record)
{
    if (held_) {
        held_ = false;
        fillView(record);
        return true;
    }
    if (end_ != End::NotYet)
        return false;
    for (;;) {
        // The hot loop runs on locals: members would go through memory at
        // every line, and a log has millions of them.
        std::uint64_t mask = mask_;
        qsizetype lineStart = lineStart_;
        bool skipping = skipping_;
        int count = count_;
        while (mask != 0) {
            const int bit = std::countr_zero(mask);
            mask &= mask - 1;
            const qsizetype pos = maskBase_ + bit;
            const bool cut = skipping || pos - lineStart > kMaxValueLength;
            spans_[count] = {lineStart, cut ? kMaxValueLength : pos - lineStart, cut};
            skipping = false;
            // After a CR LF the next line starts behind the LF.
            lineStart = pos + 1 + static_cast<qsizetype>((crBeforeLf_ >> bit) & 1);
            if (++count == kValuesPerRecord)
                break;
        }
        lineNumber_ += count - count_;
        mask_ = mask;
        lineStart_ = lineStart;
        skipping_ = skipping;
        count_ = count;
        if (count == kValuesPerRecord) {
            if (takeWhole(record))
                return true;
            continue;
        }
        if (scan_ < dataEnd_) {
            const qsizetype n = std::min(kChunk, dataEnd_ - scan_);
            const Hits hits = findHits(buffer_.get() + scan_, n);
            // A CR and the LF right after it are one line end, taken at the CR.
            const std::uint64_t pairedLf = hits.lf & ((hits.cr << 1) | (lastWasCr_ ? 1 : 0));
            if (pairedLf & 1) {
                // Its CR closed the last chunk, and with it the line before.
                lineStart_ = scan_ + 1;
            }
            mask_ = hits.cr | (hits.lf & ~pairedLf);
            crBeforeLf_ = hits.cr & (hits.lf >> 1);
            lastWasCr_ = (hits.cr >> (n - 1)) & 1;
            maskBase_ = scan_;
            scan_ += n;
            continue;
        }
        if (!skipping_ && dataEnd_ - lineStart_ > kMaxValueLength)
            skipping_ = true;
        if (eof_)
            return finishAtEof(record);
        if (!refill())
            return false;
    }
}

bool LogReader::finishAtEof(RecordView &record)
{
    // A last line without a line end is still a line.
    if (lineStart_ < dataEnd_ || skipping_) {
        finishLine(dataEnd_, dataEnd_);
        if (count_ == kValuesPerRecord && takeWhole(record))
            return true;
    }
    end_ = End::EndOfFile;
    // Blank lines after the last record, however many, are what an editor
    // leaves, not a record.
    if (count_ == 0 || isBlank(count_))
        return false;
    end_ = End::TornRecord;
    tornValues_ = count_;
    tornFirstLine_ = lineNumber_ - count_ + 1;
    if (blankRun_) {
        // Blank lines before the torn end: damage where they start, first.
        blankView(record);
        return true;
    }
    return false;
}

} // namespace core::session
