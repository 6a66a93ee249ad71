// SPDX-License-Identifier: MIT
#pragma once
// Tells the program that its session is ending so it can close the normal way:
// SIGTERM, SIGINT and SIGHUP (carried into the event loop through a pipe), the
// session manager's request to save at logout, and the system's announcement
// of a shutdown (while a delay lock holds the shutdown back for us).
// `ending` is emitted once, whichever comes first.

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace platform {

class SessionEndWatcher : public QObject
{
    Q_OBJECT
public:
    enum class Reason { Signal, Logout, Shutdown };

    explicit SessionEndWatcher(QObject *parent = nullptr);
    ~SessionEndWatcher() override;

    // Catches SIGTERM, SIGINT and SIGHUP from now on, keeping them in a pipe
    // until watchSignals() reads it: call it first thing in main, before the
    // session starts, so no signal that comes early ends the program unlogged.
    // False if the pipe could not be made.
    static bool catchSignals();
    // Delivers the caught signals as `ending` once the event loop runs
    // (catching them first if catchSignals() was not called).
    bool watchSignals();
    // Hooks the session manager of the running desktop, if any.
    void watchSessionManager();
    // Asks the system for a shutdown delay lock; false where there is no
    // system bus or no login manager (containers, CI).
    bool watchShutdown();
    // Lets the held-back shutdown go on (call after the session is saved).
    void releaseShutdownLock();

    static const char *reasonName(Reason reason);

Q_SIGNALS:
    void ending(SessionEndWatcher::Reason reason, int signalNumber);

private:
    void fire(Reason reason, int signalNumber);
    void readSignalPipe();

private Q_SLOTS:
    void onPrepareForShutdown(bool starting);

private:

    QSocketNotifier *notifier_ = nullptr;
    int shutdownLockFd_ = -1;
    bool fired_ = false;
};

} // namespace platform
