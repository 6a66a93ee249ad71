#include "sessionend.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDBusUnixFileDescriptor>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <cerrno>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void onSignal(int number)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

} // namespace

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
    if (signalPipe[0] >= 0)
        return true;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0)
        return false;
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
    return true;
}

bool SessionEndWatcher::watchSignals()
{
    if (!catchSignals())
        return false;
    // A signal that came before this point waits in the pipe, and the
    // notifier reports it as soon as the event loop runs.
    notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &SessionEndWatcher::readSignalPipe);
    return true;
}

void SessionEndWatcher::readSignalPipe()
{
    unsigned char byte = 0;
    int number = 0;
    while (::read(signalPipe[0], &byte, 1) == 1)
        number = byte;
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
    shutdownLockFd_ = ::dup(reply.value().fileDescriptor());
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
        ::close(shutdownLockFd_);
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
