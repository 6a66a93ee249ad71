#pragma once
// Everything the programs ask of the machine. Handlers reach the clock, the
// screen, sound, message boxes, links, the random generator and the
// single-copy check only through this seam, so tests run them over a fake.

#include <QDate>
#include <QSizeF>
#include <QString>
#include <QTime>

class QUrl;
class QWidget;

class Platform
{
public:
    virtual ~Platform() = default;

    // The timer reading: seconds since midnight, single precision, back to 0
    // at midnight.
    virtual float secondsSinceMidnight() const = 0;
    virtual QDate today() const = 0;
    virtual QTime timeOfDay() const = 0;

    // Size of the screen that `widget` is on (the primary one without it).
    virtual QSizeF screenTwips(const QWidget *widget = nullptr) const = 0;

    // Modal, OK only.
    virtual void messageBox(const QString &text, const QString &title) = 0;
    virtual void beep() = 0;
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

    virtual void randomize(float seed) = 0;
    // Uniform in [0, 1).
    virtual float rnd() = 0;

    virtual bool openUrl(const QUrl &url) = 0;

    // True when this process is the only running copy; the answer holds for
    // the life of the process.
    virtual bool claimSingleInstance() = 0;
    // Ends the process at once: no window is unloaded, no handler runs.
    [[noreturn]] virtual void endProcessNow() = 0;

    // Folder the program keeps its settings in.
    virtual QString programFolder() const = 0;
};
