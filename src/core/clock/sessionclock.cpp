// SPDX-License-Identifier: MIT
#include "core/clock/sessionclock.h"

#include "core/text/numbers.h"

namespace core::clock {

namespace {

QString padded(double value)
{
    QString t = text::numberText(value);
    if (t.size() < 2)
        t.prepend(QLatin1Char('0'));
    return t;
}

} // namespace

void SessionClock::start(float secondsNow, const QTime &timeNow, const QDate &dateNow)
{
    StartTimer = static_cast<double>(secondsNow);
    StartTime = timeNow;
    StartDate = dateNow;
}

bool SessionClock::Timer1_Timer(float secondsNow, const QDate &today, int intervalMs)
{
    DaysOn = StartDate.daysTo(today);
    RawElapsed = (static_cast<double>(secondsNow) - StartTimer)
        + 86400.0 * static_cast<double>(DaysOn + DayCorrection);

    const double interval = intervalMs / 1000.0;
    const double held = ElapsedSecs.value_or(0.0);
    const bool accepted = held < RawElapsed && held > RawElapsed - interval - 1.5;
    if (accepted) {
        ElapsedSecs = RawElapsed;
    } else {
        // The system clock jumped or the tick came late: keep the time shown
        // and measure on from here, taking whole days up in DayCorrection.
        StartTimer = static_cast<double>(secondsNow) - held;
        const double days = text::floorInt((held + 0.5 - RawElapsed + interval) / 86400.0);
        DayCorrection = text::toInt16Clamped(static_cast<double>(DayCorrection) + days);
    }
    FormatClockFace();
    return accepted;
}

void SessionClock::FormatClockFace()
{
    const double e = ElapsedSecs.value_or(0.0);
    ClockHours = text::floorInt(e / 3600.0);
    const double minutes = text::floorInt((e - 3600.0 * ClockHours) / 60.0);
    const double seconds = text::floorInt(e - 3600.0 * ClockHours - 60.0 * minutes);
    ClockSeconds = padded(seconds);
    ClockMinutes = padded(minutes);
    ClockText = text::numberText(ClockHours) + QLatin1Char(':') + ClockMinutes + QLatin1Char(':') + ClockSeconds;
}

QString clockFaceText(double elapsedSecs)
{
    SessionClock c;
    c.ElapsedSecs = elapsedSecs;
    c.FormatClockFace();
    return c.ClockText;
}

} // namespace core::clock
