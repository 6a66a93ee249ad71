// SPDX-License-Identifier: MIT
#include "core/analysis/history.h"

#include <algorithm>
#include <iterator>

namespace core::analysis {

QDate periodStart(const QDate &date, Period by)
{
    switch (by) {
    case Period::Day:
        break;
    case Period::Week:
        return date.addDays(1 - date.dayOfWeek()); // Monday is day 1
    case Period::Month:
        return QDate(date.year(), date.month(), 1);
    }
    return date;
}

QDate nextPeriodStart(const QDate &start, Period by)
{
    switch (by) {
    case Period::Day:
        break;
    case Period::Week:
        return start.addDays(7);
    case Period::Month:
        return start.addMonths(1);
    }
    return start.addDays(1);
}

History::History(Period by, QDate since, QDate until)
    : by_(by)
    , sinceDay_(since.isValid() ? since.toJulianDay() : std::numeric_limits<std::int64_t>::min())
    , untilDay_(until.isValid() ? until.toJulianDay() : std::numeric_limits<std::int64_t>::max())
{
}

void History::startSlot(std::int32_t key)
{
    firstKey_ = std::min(firstKey_, key);
    lastKey_ = std::max(lastKey_, key);
    // Dates that go back and forth would add a slot for every record; merging
    // whenever the slots have doubled keeps them near one per period.
    if (!sorted_ && slots_.size() > 2 * compactedSize_ + 4096)
        compact();
    if (!slots_.empty()) {
        Slot &back = slots_.back();
        if (back.key == key && back.sessions < std::numeric_limits<std::uint32_t>::max()) {
            last_.slot = &back;
            return;
        }
        if (key < back.key)
            sorted_ = false;
    }
    slots_.push_back({key, 0, 0});
    last_.slot = &slots_.back();
}

void History::adjust(const QDate &date, std::int64_t seconds)
{
    const std::int64_t day = date.toJulianDay();
    if (day < sinceDay_ || day > untilDay_)
        return;
    const auto key = static_cast<std::int32_t>(periodStart(date, by_).toJulianDay());
    // The period's slot is there already; in order, it is found without
    // adding one out of order, which would cost a sort of them all.
    if (sorted_) {
        const auto after = std::upper_bound(slots_.begin(), slots_.end(), key,
                                            [](std::int32_t k, const Slot &slot) { return k < slot.key; });
        if (after != slots_.begin() && std::prev(after)->key == key) {
            std::prev(after)->seconds += seconds;
            return;
        }
    }
    startSlot(key);
    last_.slot->seconds += seconds;
    last_ = LastSeen(); // the slot may be a new one with no session
}

void History::append(History &&later)
{
    // Slot by slot off the front, so the memory they leave is given back as
    // this one grows, and the two together never take more than one does.
    for (; !later.slots_.empty(); later.slots_.pop_front()) {
        const Slot &slot = later.slots_.front();
        if (!slots_.empty() && slot.key < slots_.back().key)
            sorted_ = false;
        slots_.push_back(slot);
        firstKey_ = std::min(firstKey_, slot.key);
        lastKey_ = std::max(lastKey_, slot.key);
    }
    later.clear();
    last_ = LastSeen();
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

void History::compact() const
{
    if (!sorted_) {
        std::stable_sort(slots_.begin(), slots_.end(), [](const Slot &a, const Slot &b) { return a.key < b.key; });
        auto out = slots_.begin();
        for (auto in = std::next(out); in != slots_.end(); ++in) {
            if (in->key == out->key && in->sessions <= std::numeric_limits<std::uint32_t>::max() - out->sessions) {
                out->sessions += in->sessions;
                out->seconds += in->seconds;
            } else {
                *++out = *in;
            }
        }
        slots_.erase(std::next(out), slots_.end());
        sorted_ = true;
    }
    compactedSize_ = slots_.size();
    last_ = LastSeen();
}

std::int64_t History::rowCount() const
{
    if (slots_.empty())
        return 0;
    switch (by_) {
    case Period::Day:
        break;
    case Period::Week:
        return (std::int64_t(lastKey_) - firstKey_) / 7 + 1;
    case Period::Month: {
        const QDate first = QDate::fromJulianDay(firstKey_);
        const QDate last = QDate::fromJulianDay(lastKey_);
        return (std::int64_t(last.year()) - first.year()) * 12 + last.month() - first.month() + 1;
    }
    }
    return std::int64_t(lastKey_) - firstKey_ + 1;
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
    compact();
    for (const Slot &slot : slots_) {
        const auto key = static_cast<std::int32_t>(periodStart(QDate::fromJulianDay(slot.key), by).toJulianDay());
        out.startSlot(key);
        if (out.last_.slot->sessions > std::numeric_limits<std::uint32_t>::max() - slot.sessions) {
            out.slots_.push_back({key, 0, 0});
            out.last_.slot = &out.slots_.back();
        }
        out.last_.slot->sessions += slot.sessions;
        out.last_.slot->seconds += slot.seconds;
    }
    out.last_ = LastSeen();
    return out;
}

} // namespace core::analysis
