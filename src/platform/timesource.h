// SPDX-License-Identifier: MIT
#pragma once
// The clock as the programs read it. Handlers never ask the system for the
// time themselves, so tests drive a fake one.

#include <QDate>
#include <QDateTime>
#include <QTime>

namespace platform {

class TimeSource
{
public:
    virtual ~TimeSource() = default;

    // The timer reading: seconds since midnight, single precision, back to 0
    // at midnight.
    virtual float secondsSinceMidnight() const = 0;
    virtual QDate today() const = 0;
    virtual QTime timeOfDay() const = 0;
    // The moment in absolute time (UTC), for ordering what outlives a run;
    // the local readings above can repeat when the zone or the clock
    // changes.
    virtual QDateTime currentUtc() const = 0;
    // Milliseconds since some moment before this run began. The monotonic
    // clock stands still while the machine is suspended or hibernated, the
    // boot clock runs on, so the growth of the one beyond the other between
    // two readings is the time the machine slept. Setting the wall clock moves
    // neither.
    virtual qint64 monotonicMs() const = 0;
    virtual qint64 bootMs() const = 0;
};

} // namespace platform
