// SPDX-License-Identifier: MIT
#include "platform/sessionend.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include "platform/systemcalls.h"

namespace platform {

SessionEndWatcher::SessionEndWatcher(QObject *parent)
    : QObject(parent)
{
}

SessionEndWatcher::~SessionEndWatcher()
{
    releaseShutdownLock();
}

const char *SessionEndWatcher::reasonName(Reason reason)
{
    switch (reason) {
    case Reason::Signal:
        return "signal";
    case Reason::Logout:
        return "logout";
    case Reason::Shutdown:
        return "shutdown";
    }
    return "";
}

bool SessionEndWatcher::catchSignals()
{
    return systemcalls::watchEndSignals() >= 0;
}

bool SessionEndWatcher::watchSignals()
{
    // A signal caught before this point waits in the descriptor, and the
    // notifier reports it as soon as the event loop runs.
    const int descriptor = systemcalls::watchEndSignals();
    if (descriptor < 0)
        return false;
    notifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEndWatcher::readSignalPipe);
    return true;
}

void SessionEndWatcher::readSignalPipe()
{
    const int number = systemcalls::takeEndSignal(static_cast<int>(notifier_->socket()));
    if (number)
        fire(Reason::Signal, number);
}

void SessionEndWatcher::watchSessionManager()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!app)
        return;
    // At logout the session manager asks every client to save; after that it
    // may end us without a further word, so the session is recorded now.
    connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &manager) {
        manager.setRestartHint(QSessionManager::RestartNever);
        fire(Reason::Logout, 0);
    }, Qt::DirectConnection);
}

bool SessionEndWatcher::watchShutdown()
{
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return false;
    const QString service = QStringLiteral("org.freedesktop.login1");
    const QString path = QStringLiteral("/org/freedesktop/login1");
    const QString iface = QStringLiteral("org.freedesktop.login1.Manager");
    QDBusInterface manager(service, path, iface, bus);
    if (!manager.isValid())
        return false;
    QDBusReply<QDBusUnixFileDescriptor> reply
        = manager.call(QStringLiteral("Inhibit"), QStringLiteral("shutdown"), QStringLiteral("Tocka"),
                       QStringLiteral("Recording the session in the session log"), QStringLiteral("delay"));
    if (!reply.isValid() || !reply.value().isValid())
        return false;
    shutdownLockFd_ = systemcalls::duplicate(reply.value().fileDescriptor());
    return bus.connect(service, path, iface, QStringLiteral("PrepareForShutdown"), this,
                       SLOT(onPrepareForShutdown(bool)));
}

void SessionEndWatcher::onPrepareForShutdown(bool starting)
{
    if (starting)
        fire(Reason::Shutdown, 0);
}

void SessionEndWatcher::releaseShutdownLock()
{
    if (shutdownLockFd_ >= 0) {
        systemcalls::close(shutdownLockFd_);
        shutdownLockFd_ = -1;
    }
}

void SessionEndWatcher::fire(Reason reason, int signalNumber)
{
    if (fired_)
        return;
    fired_ = true;
    Q_EMIT ending(reason, signalNumber);
}

} // namespace platform
