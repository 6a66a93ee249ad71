// SPDX-License-Identifier: MIT
#pragma once
// A timer as the programs use it: an interval of 0 to 65535 ms and an enabled
// flag. It ticks only while enabled with an interval above 0; changing the
// interval keeps the enabled flag.

#include <QObject>
#include <QTimer>

#include <functional>

namespace forms {

class TimerControl : public QObject
{
    Q_OBJECT
public:
    TimerControl(QObject *parent, int intervalMs, bool enabled);

    int Interval() const { return interval_; }
    // Values outside 0 to 65535 are clamped.
    void setInterval(int ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);

    // True when a tick is scheduled (enabled and a non-zero interval).
    bool isTicking() const { return timer_.isActive(); }

    std::function<void()> onTimer;

private:
    void update(bool restart);

    QTimer timer_;
    int interval_;
    bool enabled_;
};

} // namespace forms
