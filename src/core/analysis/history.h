// SPDX-License-Identifier: MIT
#pragma once
// How the total of the log spreads over the days, weeks or months: for each
// period, the sessions that ended in it, the seconds they added to the
// running total and how many of those they were away. Filled during the one
// pass of the analysis, so the periods' seconds add up to exactly the
// report's total. Memory grows with the time the log spans, at about three
// bytes a period (five where sessions were away), never with the number of
// records.

#include <QDate>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace core::analysis {

enum class Period { Day, Week, Month };

// What one period holds. A figure added here reaches the rows as it is;
// Chunk::add decides which sums are small enough for its three-byte cells.
struct PeriodSums
{
    std::int64_t sessions = 0;
    std::int64_t seconds = 0;
    std::int64_t away = 0; // the part of `seconds` spent away from the computer

    PeriodSums &operator+=(const PeriodSums &other)
    {
        sessions += other.sessions;
        seconds += other.seconds;
        away += other.away;
        return *this;
    }
    bool isEmpty() const { return sessions == 0 && seconds == 0 && away == 0; }

    friend bool operator==(const PeriodSums &, const PeriodSums &) = default;
};

struct HistoryRow : PeriodSums
{
    QDate period; // its first day

    friend bool operator==(const HistoryRow &, const HistoryRow &) = default;
};

class History
{
public:
    // Only sessions dated from `since` to `until` (both inclusive; a null
    // date leaves that end open) are taken.
    explicit History(Period by, QDate since = {}, QDate until = {});

    // One counted session that ended on `date`, raised the running total by
    // `seconds` and was away `away` seconds of them.
    void add(const QDate &date, std::int64_t seconds, std::int64_t away = 0);
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
    bool isEmpty() const { return first_ > last_; }
    // Periods from the earliest to the latest one holding a session, the
    // empty ones between included.
    std::int64_t rowCount() const { return isEmpty() ? 0 : last_ - first_ + 1; }

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
    // Periods are numbered one after the other: a day by its Julian day, a
    // week by its Monday's Julian day divided by 7 (Julian day 0 was a
    // Monday), a month by twelve times its year plus its month.
    std::int64_t numberOf(std::int64_t julianDay) const;
    QDate startOf(std::int64_t number) const;
    static QDate monthStartOf(std::int64_t number);

    // The sums of kCells consecutive periods; only the chunks that hold a
    // session exist. Most periods hold fewer than 255 sessions and from 0 to
    // 65535 seconds, and take three bytes, two more for the seconds away once
    // a period of the chunk has any; any other is marked kLarge and kept
    // whole, by index, in `large`.
    static constexpr int kCellsShift = 10;
    static constexpr std::int64_t kCells = std::int64_t(1) << kCellsShift;
    struct Chunk
    {
        static constexpr std::uint8_t kLarge = 0xFF;
        std::array<std::uint8_t, kCells> sessions {};
        std::array<std::uint16_t, kCells> seconds {};
        std::vector<std::uint16_t> away; // empty, or kCells of them
        std::vector<std::pair<std::uint16_t, PeriodSums>> large; // in the order of their index

        PeriodSums at(std::int64_t index) const;
        void add(std::int64_t index, const PeriodSums &sums);
    };
    static std::int64_t chunkOf(std::int64_t number) { return number >> kCellsShift; }

    void enterDay(std::int64_t day);
    // Adds to a period other than the pending one.
    void store(std::int64_t number, const PeriodSums &sums);
    // Sums for `number` from now on go to the pending period.
    void startPending(std::int64_t number);
    void addToPeriod(std::int64_t number, const PeriodSums &sums);

    Period by_;
    std::int64_t sinceDay_;
    std::int64_t untilDay_;
    std::map<std::int64_t, Chunk> chunks_; // by chunkOf()
    // The first and last period holding a session; first_ > last_ when none does.
    std::int64_t first_ = std::numeric_limits<std::int64_t>::max();
    std::int64_t last_ = std::numeric_limits<std::int64_t>::min();
    // Most sessions end in the same period as the one before: they are
    // summed here, on top of what the cells hold for that period, and stored
    // once the next period starts.
    std::int64_t pendingNumber_ = std::numeric_limits<std::int64_t>::min();
    PeriodSums pending_;
    // The day of the last session added, and whether it was in the range.
    static constexpr std::int64_t kNoDay = std::numeric_limits<std::int64_t>::min();
    std::int64_t day_ = kNoDay;
    bool dayTaken_ = false;
};

inline void History::add(const QDate &date, std::int64_t seconds, std::int64_t away)
{
    const std::int64_t day = date.toJulianDay();
    if (day != day_)
        enterDay(day);
    if (!dayTaken_)
        return;
    ++pending_.sessions;
    pending_.seconds += seconds;
    pending_.away += away;
}

inline PeriodSums History::Chunk::at(std::int64_t index) const
{
    const auto i = static_cast<std::size_t>(index);
    if (sessions[i] != kLarge)
        return {sessions[i], seconds[i], away.empty() ? 0 : away[i]};
    const auto found = std::lower_bound(large.begin(), large.end(), index,
                                        [](const auto &entry, std::int64_t at) { return entry.first < at; });
    return found != large.end() && found->first == index ? found->second : PeriodSums();
}

inline QDate History::startOf(std::int64_t number) const
{
    switch (by_) {
    case Period::Day:
        break;
    case Period::Week:
        return QDate::fromJulianDay(number * 7);
    case Period::Month:
        return monthStartOf(number);
    }
    return QDate::fromJulianDay(number);
}

template<typename F>
void History::forEachRow(F &&f) const
{
    if (isEmpty())
        return;
    auto chunk = chunks_.lower_bound(chunkOf(first_));
    HistoryRow row;
    for (std::int64_t number = first_; number <= last_; ++number) {
        const std::int64_t key = chunkOf(number);
        while (chunk != chunks_.end() && chunk->first < key)
            ++chunk;
        const bool stored = chunk != chunks_.end() && chunk->first == key;
        static_cast<PeriodSums &>(row) = stored ? chunk->second.at(number - (key << kCellsShift)) : PeriodSums();
        if (number == pendingNumber_)
            row += pending_;
        row.period = startOf(number);
        f(static_cast<const HistoryRow &>(row));
    }
}

} // namespace core::analysis
