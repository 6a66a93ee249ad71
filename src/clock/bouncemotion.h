// SPDX-License-Identifier: MIT
#pragma once
// Bouncing: the clock window drifts across the screen and turns at its edges.

class Form1;
class TockaWindows;

class BounceMotion
{
public:
    BounceMotion(Form1 &clock, TockaWindows &app)
        : clock_(clock)
        , app_(app)
    {
    }

    // One tick of the bounce timer.
    void tick();

private:
    Form1 &clock_;
    TockaWindows &app_;
};
