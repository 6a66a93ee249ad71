// SPDX-License-Identifier: MIT
#pragma once
// How the total of the log spreads over the days, weeks or months: for each
// period, the sessions that ended in it and the seconds they added to the
// running total. Filled during the one pass of the analysis, so the periods'
// seconds add up to exactly the report's total. Memory grows with the number
// of periods that hold a session, never with the number of records.

#include <QDate>

#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <vector>

namespace core::analysis {

enum class Period { Day, Week, Month };

// The first day of the period that holds `date`: the date itself, the Monday
// of its week, or the first of its month.
QDate periodStart(const QDate &date, Period by);
// The first day of the period after the one starting on `start`.
QDate nextPeriodStart(const QDate &start, Period by);

struct HistoryRow
{
    QDate period; // its first day
    std::int64_t sessions = 0;
    std::int64_t seconds = 0;

    friend bool operator==(const HistoryRow &, const HistoryRow &) = default;
};

class History
{
public:
    // Only sessions dated from `since` to `until` (both inclusive; a null
    // date leaves that end open) are taken.
    explicit History(Period by, QDate since = {}, QDate until = {});

    // One counted session that ended on `date` and raised the running total
    // by `seconds`.
    void add(const QDate &date, std::int64_t seconds);
    // Moves the seconds of the period holding `date` (a session already
    // added) by `seconds`, when the date is in the range.
    void adjust(const QDate &date, std::int64_t seconds);
    // Takes over the sessions of a history of the same kind, as if they had
    // been added here one by one; `later` is left empty.
    void append(History &&later);
    // An empty history of the same kind: the same periods and range.
    History blank() const;
    void clear();

    Period by() const { return by_; }
    bool isEmpty() const { return slots_.empty(); }
    // Periods from the earliest to the latest one holding a session, the
    // empty ones between included.
    std::int64_t rowCount() const;

    // Calls `f(const HistoryRow &)` for every row in date order, empty
    // periods included, without keeping them all at once.
    template<typename F>
    void forEachRow(F &&f) const;
    std::vector<HistoryRow> rows() const;

    // A history by day grouped again by week or month: the same sessions,
    // the same seconds. Only from days (a week can straddle two months);
    // nullopt otherwise.
    std::optional<History> regrouped(Period by) const;

private:
    // One period's sums. Sessions are 32 bits to keep a slot at 16 bytes;
    // a period that somehow holds more gets a second slot with the same key,
    // and rows add slots of equal keys together.
    struct Slot
    {
        std::int32_t key; // Julian day of the period's first day
        std::uint32_t sessions;
        std::int64_t seconds;
    };

    void startSlot(std::int32_t key);
    // Sorts the slots and merges those of one period. Lazy, so const: rows
    // are only ever read in date order.
    void compact() const;

    Period by_;
    std::int64_t sinceDay_;
    std::int64_t untilDay_;
    // Slots in the order their periods came up; out of order only when the
    // log's dates go back (a clock set back, logs joined). A deque, not a
    // vector: growing never copies what is there, so memory peaks at what
    // the slots need.
    mutable std::deque<Slot> slots_;
    mutable bool sorted_ = true;
    mutable std::size_t compactedSize_ = 0;
    std::int32_t firstKey_ = std::numeric_limits<std::int32_t>::max();
    std::int32_t lastKey_ = std::numeric_limits<std::int32_t>::min();
    // The date of the last session taken and the slot it went to; most
    // sessions end on the same day as the one before. Compacting moves the
    // slots, and a copy has slots of its own: both forget it.
    static constexpr std::int64_t kNoDay = std::numeric_limits<std::int64_t>::min();
    struct LastSeen
    {
        std::int64_t day = kNoDay;
        Slot *slot = nullptr; // null: the day was outside the range
        LastSeen() = default;
        LastSeen(const LastSeen &) {}
        LastSeen &operator=(const LastSeen &)
        {
            day = kNoDay;
            slot = nullptr;
            return *this;
        }
    };
    mutable LastSeen last_;
};

inline void History::add(const QDate &date, std::int64_t seconds)
{
    const std::int64_t day = date.toJulianDay();
    if (day != last_.day) {
        last_.slot = nullptr;
        if (day < sinceDay_ || day > untilDay_) {
            last_.day = day;
            return;
        }
        startSlot(static_cast<std::int32_t>(periodStart(date, by_).toJulianDay()));
        last_.day = day;
    } else if (!last_.slot) {
        return;
    }
    if (last_.slot->sessions == std::numeric_limits<std::uint32_t>::max())
        startSlot(last_.slot->key);
    ++last_.slot->sessions;
    last_.slot->seconds += seconds;
}

template<typename F>
void History::forEachRow(F &&f) const
{
    if (slots_.empty())
        return;
    compact();
    auto slot = slots_.cbegin();
    const QDate last = QDate::fromJulianDay(lastKey_);
    for (QDate start = QDate::fromJulianDay(firstKey_); start.isValid() && start <= last;
         start = nextPeriodStart(start, by_)) {
        HistoryRow row {start, 0, 0};
        for (; slot != slots_.cend() && slot->key == start.toJulianDay(); ++slot) {
            row.sessions += slot->sessions;
            row.seconds += slot->seconds;
        }
        f(static_cast<const HistoryRow &>(row));
    }
}

} // namespace core::analysis
