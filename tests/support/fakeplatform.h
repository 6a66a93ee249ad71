// SPDX-License-Identifier: MIT
#pragma once
// A platform for tests: a wall clock, a monotonic and a boot clock that only
// move when told, a fixed screen, recorded message boxes, beeps and links, a
// random generator that hands out the values a test queues, and a desktop
// that reports the idle time, lock and inhibitors a test sets.

#include "platform/platform.h"

#include <QDateTime>
#include <QStringList>
#include <QUrl>

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>

struct ProcessEnded : std::runtime_error
{
    ProcessEnded()
        : std::runtime_error("process ended")
    {
    }
};

class FakePlatform : public platform::Platform
{
public:
    QDateTime now{QDate(2026, 12, 7), QTime(9, 0, 0)}; // the wall clock, in the zone below
    int utcOffsetSecs = 0;                              // the zone: east of UTC
    QSizeF screen{1280 * 15.0, 800 * 15.0};
    QStringList messages;
    QStringList messageTitles;
    std::function<void()> onMessageBox; // runs inside the "modal" box
    int beeps = 0;
    int pendingEventRuns = 0;
    std::function<void()> onProcessPendingEvents;
    std::deque<float> randomValues; // rnd() takes from the front; 0 when empty
    std::vector<float> seeds;
    QList<QUrl> openedUrls;
    bool anotherCopyRunning = false;
    QString folder = QStringLiteral(".");
    qint64 monotonic = 1'000'000; // milliseconds, as after some time since boot
    qint64 boot = 1'000'000;
    std::optional<qint64> idle;     // what idleMs() reports
    bool locked = false;            // set through lock() to tell the watcher
    std::optional<bool> inhibited;  // what idleInhibited() reports
    int inhibitedAsks = 0;
    std::function<void(bool, qint64)> lockWatcher;

    // Time passing: the wall clock and, forward only, the monotonic and boot
    // clocks. Going back it is a clock setting, which they never follow (so
    // is set()).
    void advance(double seconds)
    {
        const qint64 ms = static_cast<qint64>(seconds * 1000.0 + (seconds < 0 ? -0.5 : 0.5));
        now = now.addMSecs(ms);
        if (ms > 0) {
            monotonic += ms;
            boot += ms;
        }
    }
    // The machine asleep: the wall and boot clocks run on, the monotonic one
    // stands still.
    void suspend(double seconds)
    {
        const qint64 ms = static_cast<qint64>(seconds * 1000.0 + 0.5);
        now = now.addMSecs(ms);
        boot += ms;
    }
    void set(const QDate &date, const QTime &time) { now = QDateTime(date, time); }
    // Locks or unlocks the screen, telling the watcher as the desktop would.
    void lock(bool isLocked)
    {
        if (isLocked == locked)
            return;
        locked = isLocked;
        if (lockWatcher)
            lockWatcher(locked, monotonic);
    }

    float secondsSinceMidnight() const override
    {
        return static_cast<float>(now.time().msecsSinceStartOfDay() / 1000.0);
    }
    QDate today() const override { return now.date(); }
    QTime timeOfDay() const override
    {
        const QTime t = now.time();
        return QTime(t.hour(), t.minute(), t.second());
    }
    QDateTime currentUtc() const override
    {
        return QDateTime(now.date(), now.time(), Qt::OffsetFromUTC, utcOffsetSecs).toUTC();
    }
    qint64 monotonicMs() const override { return monotonic; }
    qint64 bootMs() const override { return boot; }
    QSizeF screenTwips(const QWidget * = nullptr) const override { return screen; }
    void messageBox(const QString &text, const QString &title) override
    {
        messages << text;
        messageTitles << title;
        if (onMessageBox)
            onMessageBox();
    }
    void beep() override { ++beeps; }
    void processPendingEvents() override
    {
        ++pendingEventRuns;
        if (onProcessPendingEvents)
            onProcessPendingEvents();
    }
    void randomize(float seed) override { seeds.push_back(seed); }
    float rnd() override
    {
        if (randomValues.empty())
            return 0.0f;
        const float r = randomValues.front();
        randomValues.pop_front();
        return r;
    }
    bool openUrl(const QUrl &url) override
    {
        openedUrls << url;
        return true;
    }
    bool claimSingleInstance() override { return !anotherCopyRunning; }
    [[noreturn]] void endProcessNow() override { throw ProcessEnded(); }
    QString programFolder() const override { return folder; }
    std::optional<qint64> idleMs() override { return idle; }
    bool screenLocked() override { return locked; }
    std::optional<bool> idleInhibited() override
    {
        ++inhibitedAsks;
        return inhibited;
    }
    void watchLock(std::function<void(bool, qint64)> changed) override { lockWatcher = std::move(changed); }
};
