// SPDX-License-Identifier: MIT
#include "core/analysis/history.h"

namespace core::analysis {

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return (a >= 0 ? a : a - (b - 1)) / b;
}

} // namespace

History::History(Period by, QDate since, QDate until)
    : by_(by)
    , sinceDay_(since.isValid() ? since.toJulianDay() : std::numeric_limits<std::int64_t>::min())
    , untilDay_(until.isValid() ? until.toJulianDay() : std::numeric_limits<std::int64_t>::max())
{
}

std::int64_t History::numberOf(std::int64_t julianDay) const
{
    switch (by_) {
    case Period::Day:
        break;
    case Period::Week:
        return floorDiv(julianDay, 7);
    case Period::Month: {
        int year = 0, month = 0, day = 0;
        QDate::fromJulianDay(julianDay).getDate(&year, &month, &day);
        // There is no year 0: 1 BC counts as 0, so that months stay consecutive.
        const std::int64_t counted = year > 0 ? year : year + 1;
        return counted * 12 + month - 1;
    }
    }
    return julianDay;
}

QDate History::monthStartOf(std::int64_t number)
{
    const std::int64_t counted = floorDiv(number, 12);
    const int month = static_cast<int>(number - counted * 12) + 1;
    return QDate(static_cast<int>(counted > 0 ? counted : counted - 1), month, 1);
}

void History::Chunk::add(std::int64_t index, const PeriodSums &sums)
{
    const auto i = static_cast<std::size_t>(index);
    const auto byIndex = [](const auto &entry, std::int64_t at) { return entry.first < at; };
    if (sessions[i] == kLarge) {
        std::lower_bound(large.begin(), large.end(), index, byIndex)->second += sums;
        return;
    }
    PeriodSums whole = at(index);
    whole += sums;
    constexpr std::int64_t kMost = std::numeric_limits<std::uint16_t>::max();
    if (whole.sessions >= 0 && whole.sessions < kLarge && whole.seconds >= 0 && whole.seconds <= kMost
        && whole.away >= 0 && whole.away <= kMost) {
        sessions[i] = static_cast<std::uint8_t>(whole.sessions);
        seconds[i] = static_cast<std::uint16_t>(whole.seconds);
        if (whole.away != 0 && away.empty())
            away.resize(kCells);
        if (!away.empty())
            away[i] = static_cast<std::uint16_t>(whole.away);
        return;
    }
    large.insert(std::lower_bound(large.begin(), large.end(), index, byIndex),
                 {static_cast<std::uint16_t>(index), whole});
    sessions[i] = kLarge;
    seconds[i] = 0;
    if (!away.empty())
        away[i] = 0;
}

void History::enterDay(std::int64_t day)
{
    day_ = day;
    dayTaken_ = day >= sinceDay_ && day <= untilDay_;
    if (!dayTaken_)
        return;
    const std::int64_t number = numberOf(day);
    if (number != pendingNumber_)
        startPending(number);
    first_ = std::min(first_, number);
    last_ = std::max(last_, number);
}

void History::store(std::int64_t number, const PeriodSums &sums)
{
    const std::int64_t key = chunkOf(number);
    // In date order the chunk is the last one, or a new one after it.
    auto chunk = chunks_.end();
    if (chunks_.empty() || std::prev(chunks_.end())->first < key)
        chunk = chunks_.try_emplace(chunks_.end(), key);
    else if (std::prev(chunks_.end())->first == key)
        chunk = std::prev(chunks_.end());
    else
        chunk = chunks_.try_emplace(key).first;
    chunk->second.add(number - (key << kCellsShift), sums);
}

void History::startPending(std::int64_t number)
{
    if (!pending_.isEmpty())
        store(pendingNumber_, pending_);
    pending_ = {};
    pendingNumber_ = number;
}

void History::addToPeriod(std::int64_t number, const PeriodSums &sums)
{
    if (number != pendingNumber_) {
        startPending(number);
        day_ = kNoDay; // its period is no longer the pending one
    }
    pending_ += sums;
    first_ = std::min(first_, number);
    last_ = std::max(last_, number);
}

void History::adjust(const QDate &date, std::int64_t seconds)
{
    const std::int64_t day = date.toJulianDay();
    if (day < sinceDay_ || day > untilDay_)
        return;
    addToPeriod(numberOf(day), {0, seconds});
}

void History::append(History &&later)
{
    startPending(pendingNumber_);
    // Chunk by chunk, moved rather than copied: the two histories together
    // never take more than they did apart.
    while (!later.chunks_.empty()) {
        auto node = later.chunks_.extract(later.chunks_.begin());
        const auto here = chunks_.insert(chunks_.end(), std::move(node));
        if (!node)
            continue;
        // Both hold periods of this chunk: where one part ended and the next began.
        for (std::int64_t i = 0; i < kCells; ++i) {
            const PeriodSums sums = node.mapped().at(i);
            if (!sums.isEmpty())
                here->second.add(i, sums);
        }
    }
    if (!later.pending_.isEmpty())
        store(later.pendingNumber_, later.pending_);
    first_ = std::min(first_, later.first_);
    last_ = std::max(last_, later.last_);
    later.clear();
}

History History::blank() const
{
    History out(by_);
    out.sinceDay_ = sinceDay_;
    out.untilDay_ = untilDay_;
    return out;
}

void History::clear()
{
    *this = blank();
}

std::vector<HistoryRow> History::rows() const
{
    std::vector<HistoryRow> out;
    out.reserve(static_cast<std::size_t>(rowCount()));
    forEachRow([&out](const HistoryRow &row) { out.push_back(row); });
    return out;
}

std::optional<History> History::regrouped(Period by) const
{
    if (by_ != Period::Day)
        return by == by_ ? std::optional<History>(*this) : std::nullopt;
    History out(by);
    forEachRow([&out](const HistoryRow &row) {
        if (!row.isEmpty())
            out.addToPeriod(out.numberOf(row.period.toJulianDay()), row);
    });
    return out;
}

} // namespace core::analysis
