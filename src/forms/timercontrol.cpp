// SPDX-License-Identifier: MIT
#include "forms/timercontrol.h"

#include <algorithm>

namespace forms {

TimerControl::TimerControl(QObject *parent, int intervalMs, bool enabled)
    : QObject(parent)
    , interval_(std::clamp(intervalMs, 0, 65535))
    , enabled_(enabled)
{
    // Precise: a coarse timer may fire up to 5% early, and a clock tick at
    // 0.996 s would show the session a second behind.
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (onTimer)
            onTimer();
    });
    update(true);
}

void TimerControl::setInterval(int ms)
{
    ms = std::clamp(ms, 0, 65535);
    if (ms == interval_)
        return;
    interval_ = ms;
    update(true);
}

void TimerControl::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    update(true);
}

void TimerControl::update(bool restart)
{
    if (enabled_ && interval_ > 0) {
        if (restart || !timer_.isActive())
            timer_.start(interval_);
    } else {
        timer_.stop();
    }
}

} // namespace forms
