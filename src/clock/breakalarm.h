// SPDX-License-Identifier: MIT
#pragma once

namespace links { class TockaWindows; }

namespace clockwindow {
// The break alarm: counts down a period of minutes, shows what is left in the
// settings window, and beeps for five seconds when the period runs out.

class Form1;

class BreakAlarm
{
public:
    BreakAlarm(Form1 &clock, links::TockaWindows &app)
        : clock_(clock)
        , app_(app)
    {
    }

    // Starts a period from now, as long as the "Time Until Tock" box says.
    void init();
    // The period ran out: the next one starts from the interval box, then
    // the beeping.
    void activate();
    // One tick of the alarm timer.
    void tick();
    bool beeping() const { return beeping_; }

private:
    double secondsSinceStart() const;
    void beepForFiveSeconds();

    Form1 &clock_;
    links::TockaWindows &app_;
    double minutes_ = 20; // the running period's length as a number
    bool beeping_ = false;
};

} // namespace clockwindow
