// SPDX-License-Identifier: MIT
#pragma once
// The screen the windows live on and the queue of their events.

#include <QPoint>
#include <QSizeF>
#include <QWidget>

namespace platform {

class WindowSystem
{
public:
    virtual ~WindowSystem() = default;

    // Size of the screen that `widget` is on (the primary one without it).
    virtual QSizeF screenTwips(const QWidget *widget = nullptr) const = 0;

    // Moves the window `window` to `topLeft`, in pixels, as QWidget::move
    // does; for a window that moves many times a second.
    virtual void moveWindow(QWidget &window, QPoint topLeft) { window.move(topLeft); }

    // Runs whatever is queued, timer ticks included, and returns.
    virtual void processPendingEvents() = 0;
    // The same, but when nothing is queued waits up to `maxWaitMs` for
    // something to come, so a loop that lets events run does not keep the
    // processor busy.
    virtual void waitForEvents(int maxWaitMs)
    {
        (void)maxWaitMs;
        processPendingEvents();
    }
};

} // namespace platform
