// SPDX-License-Identifier: MIT
#pragma once
// How much of a session was spent away from the computer, and why: asleep
// (suspended or hibernated), locked (the screen locked) or idle (no input
// for a while). Each second counts once, under the first cause that holds.
//
// Pure arithmetic on readings the caller passes in, at the clock's ticks and
// when the lock changes, so every edge can be driven by a fake clock:
// - asleep is how far the boot-time clock, which runs on through a suspend,
//   got ahead of the monotonic clock, which stops; neither moves when the
//   wall clock is set, so setting it is never taken for a suspend;
// - locked and idle are measured on the monotonic clock, so a suspend while
//   locked or idle counts as asleep only;
// - an idle stretch starts at the last input, not when the threshold is
//   reached, and it counts nothing while a program holds idleness off (a
//   film, a talk) or the screen is locked.

#include "core/session/awayline.h"

#include <QtGlobal>

#include <optional>
#include <vector>

namespace core::session {

class AwayTally
{
public:
    struct Reading
    {
        qint64 monotonicMs = 0;
        qint64 bootMs = 0;
        bool idleRead = true;               // false: not asked at this tick (wantsIdleAt said so)
        std::optional<qint64> idleMs;       // since the last input; none when the desktop says nothing
        std::optional<bool> idleInhibited;  // none while the answer is being asked for
    };

    void start(qint64 monotonicMs, qint64 bootMs, bool locked);
    // The screen was locked or unlocked at `monotonicMs`.
    void setLocked(bool locked, qint64 monotonicMs);
    // A tick. `idleThresholdMs` 0: idle time is not counted.
    void tick(const Reading &now, qint64 idleThresholdMs);

    AwaySeconds seconds() const;

    // Whether the idle reading is needed at a tick at `monotonicMs`: not
    // while the last one showed that no idle stretch can reach the threshold
    // before then, so the desktop is asked only a few times an hour while
    // someone works; every few seconds while nobody does (the end of a
    // stretch is then known to within that); and never while the screen is
    // locked, when locked time counts and idle time cannot.
    bool wantsIdleAt(qint64 monotonicMs) const { return monotonicMs >= nextIdleCheck_ && !lockedSince_; }
    // How often the idle time is read while a stretch goes on.
    static constexpr qint64 kStretchReadEveryMs = 5000;
    // Whether an idle stretch is under way and asks whether idleness is held
    // off (also at the reading that finds it ended).
    bool idleStretch() const { return stretch_; }

private:
    qint64 lockedWithin(qint64 from, qint64 to) const;
    void addLocked(qint64 from, qint64 to);
    void countIdle(qint64 from, qint64 to);

    bool started_ = false;
    qint64 lastMonotonic_ = 0;
    qint64 lastBoot_ = 0;
    qint64 asleepMs_ = 0;
    qint64 lockedMs_ = 0;
    qint64 idleMs_ = 0;
    std::optional<qint64> lockedSince_;        // monotonic
    std::vector<std::pair<qint64, qint64>> lockedSpans_; // closed spans not yet behind idleConsidered_
    qint64 idleConsidered_ = 0; // idle time before this (monotonic) is settled
    qint64 nextIdleCheck_ = 0;
    bool stretch_ = false;
    std::optional<qint64> unsettledFrom_; // a stretch's last input, while the inhibitors' answer is awaited
};

} // namespace core::session
