// SPDX-License-Identifier: MIT
#pragma once
// What the settings window reaches of the clock window: the face it colours,
// the timers and speeds it sets, the alarm it restarts, and the choices it
// hands back when it closes.

#include "links/fadesettings.h"

#include <cstdint>

namespace forms { class Form; }
namespace forms { class LabelControl; }
namespace forms { class TimerControl; }

namespace links {

class ClockFace
{
public:
    virtual ~ClockFace() = default;

    virtual forms::Form &window() = 0;
    virtual forms::LabelControl &faceLabel() = 0;
    virtual forms::TimerControl &bounceTimer() = 0;
    virtual forms::TimerControl &alarmTimer() = 0;
    virtual std::int16_t &speedX() = 0;
    virtual std::int16_t &speedY() = 0;

    virtual void InitAlarm() = 0;
    // Keeps the clock window above all others, or stops doing so.
    virtual void keepAbove(bool above) = 0;

    // Handed over when the settings window closes.
    virtual void storeAlwaysTop(int value) = 0;
    virtual void storeFadeSettings(const FadeSettings &shown) = 0;

protected:
    ClockFace() = default;
    ClockFace(const ClockFace &) = default;
    ClockFace &operator=(const ClockFace &) = default;
};

} // namespace links
