// SPDX-License-Identifier: MIT
#pragma once
// The session clock: how long the session has run, guarded against jumps of
// the system clock and carried across midnight. Pure arithmetic on readings
// the caller passes in, so every edge can be driven by a fake clock.

#include <QDate>
#include <QString>
#include <QTime>

#include <cstdint>
#include <optional>

namespace core::clock {

class SessionClock
{
public:
    // Session start: the timer reading, the time of day and the date.
    void start(float secondsNow, const QTime &timeNow, const QDate &dateNow);

    // One tick of the clock timer with interval `intervalMs`. Returns whether
    // the new elapsed time was accepted; either way the clock face is rebuilt.
    bool Timer1_Timer(float secondsNow, const QDate &today, int intervalMs);

    // Fills the clock-face values from ElapsedSecs.
    void FormatClockFace();

    // Seconds since midnight at the start, moved when a jump is taken up.
    double StartTimer = 0;
    QTime StartTime;
    QDate StartDate;
    std::int64_t DaysOn = 0;
    std::int16_t DayCorrection = 0;
    double RawElapsed = 0;
    std::optional<double> ElapsedSecs; // empty until the first tick
    double ClockHours = 0;
    QString ClockMinutes;
    QString ClockSeconds;
    QString ClockText; // empty until the first tick
};

// "h:mm:ss" for a number of seconds: hours unpadded and unbounded, the
// fraction of a second dropped.
QString clockFaceText(double elapsedSecs);

} // namespace core::clock
