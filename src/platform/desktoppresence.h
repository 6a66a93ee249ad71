// SPDX-License-Identifier: MIT
#pragma once
// Presence as a Linux desktop tells it. Idle time comes from the X server's
// count where there is one, else from the login manager's idle hint; the lock
// from the login manager's session (Lock and Unlock, LockedHint) and the
// desktop's screensaver (ActiveChanged); idle inhibitors from the login
// manager, the GNOME session manager and the power manager.
//
// Nothing here runs by itself: each part starts on the first call that needs
// it, every D-Bus call is asynchronous, and only what is watched gets a match
// rule. A missing bus or service leaves its part silent (never locked, never
// inhibited, no idle time).

#include "platform/presence.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>

class QDBusMessage;

namespace platform {

class DesktopPresence : public QObject, public Presence
{
    Q_OBJECT
public:
    struct Sources
    {
        // Connected when first needed: the login manager's bus, and the one of
        // the desktop's screensaver and session manager.
        std::function<QDBusConnection()> systemBus;
        std::function<QDBusConnection()> sessionBus;
        // The display server's idle count; empty, or nullopt, where none can
        // be trusted.
        std::function<std::optional<qint64>()> inputIdleMs;
        std::function<qint64()> monotonicMs;
        quint32 userId = 0;
        quint32 processId = 0;
        QString sessionId; // the login manager's id of our session, if known
    };

    // How long an answer about idle inhibitors stands before it is asked again.
    static constexpr qint64 kInhibitorAnswerMs = 5000;
    // How long it is still given while the next answer is asked for; an
    // older one is no answer at all.
    static constexpr qint64 kInhibitorAnswerKeptMs = 3 * kInhibitorAnswerMs;

    explicit DesktopPresence(Sources sources, QObject *parent = nullptr);
    ~DesktopPresence() override;

    std::optional<qint64> idleMs() override;
    bool screenLocked() override;
    std::optional<bool> idleInhibited() override;
    void watchLock(std::function<void(bool locked, qint64 monotonicMs)> changed) override;

private Q_SLOTS:
    void onSessionLock();
    void onSessionUnlock();
    void onSessionPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                    const QStringList &invalidated);
    void onFreedesktopScreenSaverActive(bool active);
    void onGnomeScreenSaverActive(bool active);

private:
    enum class Lookup { NotStarted, Asking, Found, None };

    QDBusConnection &systemBus();
    QDBusConnection &sessionBus();
    // Sends `message` and hands its reply (or error) to `done` in the event
    // loop; false when the bus is not there, and then `done` never runs.
    bool call(QDBusConnection &bus, const QDBusMessage &message,
              std::function<void(const QDBusMessage &reply)> done);

    void startLockWatch();
    void startSessionWatch(bool lock, bool idleHint);
    void findSession(int step);
    void sessionFound(const QString &path);
    void watchSession();
    void readSessionProperties();
    void applySessionProperties(const QVariantMap &properties);
    void updateLock();

    void askInhibitors();
    void inhibitorAnswered(bool inhibits);

    Sources sources_;
    std::optional<QDBusConnection> systemBus_;
    std::optional<QDBusConnection> sessionBus_;

    // The login manager's session object.
    Lookup lookup_ = Lookup::NotStarted;
    QString sessionPath_;
    bool wantLock_ = false;
    bool wantIdleHint_ = false;
    bool lockSignalsWatched_ = false;
    bool propertiesWatched_ = false;

    // Each source of the lock, and what the watcher was told last.
    bool lockedHint_ = false;
    bool lockRequested_ = false;
    bool freedesktopActive_ = false;
    bool gnomeActive_ = false;
    bool screenSaversWatched_ = false;
    bool locked_ = false;
    std::function<void(bool, qint64)> lockChanged_;

    // The login manager's idle hint (desktops that set it).
    bool idleHintKnown_ = false;
    bool idleHint_ = false;
    quint64 idleSinceMonotonicUs_ = 0;

    std::optional<bool> inhibited_;
    qint64 inhibitedAnsweredAt_ = 0;
    int inhibitorAsksPending_ = 0;
    bool inhibitorFound_ = false;
};

} // namespace platform
