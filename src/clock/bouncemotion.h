// SPDX-License-Identifier: MIT
#pragma once

namespace links { class TockaWindows; }

namespace clockwindow {
// Bouncing: the clock window drifts across the screen and turns at its edges.

class Form1;

class BounceMotion
{
public:
    BounceMotion(Form1 &clock, links::TockaWindows &app)
        : clock_(clock)
        , app_(app)
    {
    }

    // One tick of the bounce timer.
    void tick();

private:
    Form1 &clock_;
    links::TockaWindows &app_;
};

} // namespace clockwindow
