// SPDX-License-Identifier: MIT
#include "core/session/awaytally.h"

#include <algorithm>

namespace core::session {

void AwayTally::start(qint64 monotonicMs, qint64 bootMs, bool locked)
{
    *this = AwayTally();
    started_ = true;
    lastMonotonic_ = monotonicMs;
    lastBoot_ = bootMs;
    idleConsidered_ = monotonicMs;
    nextIdleCheck_ = monotonicMs;
    if (locked)
        lockedSince_ = monotonicMs;
}

void AwayTally::setLocked(bool locked, qint64 monotonicMs)
{
    if (!started_ || locked == lockedSince_.has_value())
        return;
    if (locked) {
        // A desktop does not lock on idle while idleness is held off: a
        // stretch still waiting for the inhibitors' answer was idle.
        if (unsettledFrom_)
            countIdle(*unsettledFrom_, monotonicMs);
        unsettledFrom_.reset();
        lockedSince_ = monotonicMs;
        return;
    }
    const qint64 from = *lockedSince_;
    lockedSince_.reset();
    addLocked(from, monotonicMs);
}

void AwayTally::addLocked(qint64 from, qint64 to)
{
    if (to <= from)
        return;
    lockedMs_ += to - from;
    if (!lockedSpans_.empty() && lockedSpans_.back().second == from)
        lockedSpans_.back().second = to;
    else
        lockedSpans_.emplace_back(from, to);
}

qint64 AwayTally::lockedWithin(qint64 from, qint64 to) const
{
    qint64 total = 0;
    const auto overlap = [&](qint64 a, qint64 b) { total += std::max<qint64>(0, std::min(b, to) - std::max(a, from)); };
    for (const auto &[a, b] : lockedSpans_)
        overlap(a, b);
    if (lockedSince_)
        overlap(*lockedSince_, to);
    return total;
}

void AwayTally::countIdle(qint64 from, qint64 to)
{
    from = std::max(from, idleConsidered_);
    if (to > from)
        idleMs_ += (to - from) - lockedWithin(from, to);
    idleConsidered_ = std::max(idleConsidered_, to);
}

void AwayTally::tick(const Reading &now, qint64 idleThresholdMs)
{
    if (!started_)
        return;
    const qint64 monotonicStep = now.monotonicMs - lastMonotonic_;
    const qint64 bootStep = now.bootMs - lastBoot_;
    asleepMs_ += std::max<qint64>(0, bootStep - std::max<qint64>(0, monotonicStep));
    lastMonotonic_ = now.monotonicMs;
    lastBoot_ = now.bootMs;
    // A lock still on counts up to now, so the figures are whole at any time.
    if (lockedSince_ && now.monotonicMs > *lockedSince_) {
        addLocked(*lockedSince_, now.monotonicMs);
        lockedSince_ = now.monotonicMs;
    }

    if (!now.idleRead) {
        // Not asked: no stretch can have reached the threshold since the
        // last reading.
    } else if (idleThresholdMs <= 0 || !now.idleMs) {
        stretch_ = false;
        unsettledFrom_.reset();
        idleConsidered_ = now.monotonicMs;
        nextIdleCheck_ = now.monotonicMs;
    } else {
        const qint64 lastInput = now.monotonicMs - std::max<qint64>(0, *now.idleMs);
        if (*now.idleMs >= idleThresholdMs) {
            stretch_ = true;
            if (now.idleInhibited == std::optional<bool>(false))
                countIdle(lastInput, now.monotonicMs); // from the last input on
            else if (now.idleInhibited == std::optional<bool>(true))
                idleConsidered_ = std::max(idleConsidered_, now.monotonicMs); // someone is there all the same
            // Unknown yet: nothing is settled; the next reading counts from
            // the last input, as this one would have, or a lock or the answer
            // at the stretch's end settles it.
            if (now.idleInhibited)
                unsettledFrom_.reset();
            else if (!unsettledFrom_)
                unsettledFrom_ = lastInput;
            nextIdleCheck_ = now.idleInhibited ? now.monotonicMs + kStretchReadEveryMs : now.monotonicMs;
        } else {
            // Input since: a stretch under way ended after the last tick (what
            // came before is counted). A later stretch starts at a later input.
            // A stretch whose answer came only now counts up to that input.
            if (unsettledFrom_ && now.idleInhibited == std::optional<bool>(false))
                countIdle(*unsettledFrom_, lastInput);
            unsettledFrom_.reset();
            stretch_ = false;
            idleConsidered_ = std::max(idleConsidered_, lastInput);
            nextIdleCheck_ = lastInput + idleThresholdMs;
        }
    }
    // Spans wholly behind the settled idle time are never looked at again.
    std::erase_if(lockedSpans_, [this](const auto &span) { return span.second <= idleConsidered_; });
}

AwaySeconds AwayTally::seconds() const
{
    return {asleepMs_ / 1000, lockedMs_ / 1000, idleMs_ / 1000};
}

} // namespace core::session
