// SPDX-License-Identifier: MIT
#pragma once
// The clock as the programs read it. Handlers never ask the system for the
// time themselves, so tests drive a fake one.

#include <QDate>
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
};

} // namespace platform
