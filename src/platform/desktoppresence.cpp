// SPDX-License-Identifier: MIT
#include "platform/desktoppresence.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

#include <algorithm>

namespace platform {

namespace {

const QString kLogin1 = QStringLiteral("org.freedesktop.login1");
const QString kLogin1Path = QStringLiteral("/org/freedesktop/login1");
const QString kLogin1Manager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kLogin1Session = QStringLiteral("org.freedesktop.login1.Session");
const QString kLogin1User = QStringLiteral("org.freedesktop.login1.User");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

struct ScreenSaver
{
    QString service;
    QString path;
    const char *slot;
};

// A hung service must not hold an answer back for the 25 s of D-Bus's default.
constexpr int kCallTimeoutMs = 5000;

QDBusMessage methodCall(const QString &service, const QString &path, const QString &interface,
                        const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    return message;
}

// The desktop's services are asked only when they run: a call to a name
// nobody owns would otherwise start whatever the bus can activate under it.
QDBusMessage desktopCall(const QString &service, const QString &path, const QString &interface,
                         const QString &method, const QVariantList &arguments = {})
{
    QDBusMessage message = methodCall(service, path, interface, method, arguments);
    message.setAutoStartService(false);
    return message;
}

bool isReply(const QDBusMessage &reply)
{
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty();
}

// The session object in a user's Display property, a (so) of its id and
// path; empty where the user has no graphical session.
QString displaySession(const QDBusMessage &reply)
{
    if (!isReply(reply))
        return {};
    const QDBusArgument value
        = qvariant_cast<QDBusArgument>(qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant());
    QString id;
    QDBusObjectPath path;
    value.beginStructure();
    value >> id >> path;
    value.endStructure();
    return id.isEmpty() ? QString() : path.path();
}

bool replyIsTrue(const QDBusMessage &reply)
{
    return isReply(reply) && reply.arguments().constFirst().toBool();
}

// Whether an a(ssssuu) list of login-manager inhibitors has one of `userId`'s
// that blocks idleness: another user's film keeps nobody at this session.
bool blocksIdle(const QDBusArgument &list, quint32 userId)
{
    bool found = false;
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, mode;
        quint32 uid = 0, pid = 0;
        list.beginStructure();
        list >> what >> who >> why >> mode >> uid >> pid;
        list.endStructure();
        if (uid == userId && mode == QLatin1String("block")
            && what.split(QLatin1Char(':')).contains(QLatin1String("idle")))
            found = true;
    }
    list.endArray();
    return found;
}

} // namespace

DesktopPresence::DesktopPresence(Sources sources, QObject *parent)
    : QObject(parent)
    , sources_(std::move(sources))
{
}

DesktopPresence::~DesktopPresence() = default;

QDBusConnection &DesktopPresence::systemBus()
{
    if (!systemBus_)
        systemBus_ = sources_.systemBus ? sources_.systemBus() : QDBusConnection(QString());
    return *systemBus_;
}

QDBusConnection &DesktopPresence::sessionBus()
{
    if (!sessionBus_)
        sessionBus_ = sources_.sessionBus ? sources_.sessionBus() : QDBusConnection(QString());
    return *sessionBus_;
}

bool DesktopPresence::call(QDBusConnection &bus, const QDBusMessage &message,
                           std::function<void(const QDBusMessage &)> done)
{
    if (!bus.isConnected())
        return false;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [watcher, done = std::move(done)] {
                watcher->deleteLater();
                done(watcher->reply());
            });
    return true;
}

// --- idle ------------------------------------------------------------------

std::optional<qint64> DesktopPresence::idleMs()
{
    if (sources_.inputIdleMs) {
        if (const std::optional<qint64> idle = sources_.inputIdleMs())
            return idle;
    }
    startSessionWatch(false, true);
    // A session whose desktop never set the hint has no time for it.
    if (!idleHintKnown_ || idleSinceMonotonicUs_ == 0)
        return std::nullopt;
    if (!idleHint_)
        return 0;
    // The hint's time is when the desktop declared the session idle.
    return std::max<qint64>(0, sources_.monotonicMs() - static_cast<qint64>(idleSinceMonotonicUs_ / 1000));
}

// --- lock ------------------------------------------------------------------

bool DesktopPresence::screenLocked()
{
    startLockWatch();
    return locked_;
}

void DesktopPresence::watchLock(std::function<void(bool, qint64)> changed)
{
    lockChanged_ = std::move(changed);
    startLockWatch();
}

void DesktopPresence::startLockWatch()
{
    startSessionWatch(true, false);
    if (screenSaversWatched_)
        return;
    screenSaversWatched_ = true;
    QDBusConnection &bus = sessionBus();
    if (!bus.isConnected())
        return;
    // KDE sends ActiveChanged from /ScreenSaver as well as from the
    // freedesktop path: any path of the service counts.
    const ScreenSaver savers[] = {
        {QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("/org/freedesktop/ScreenSaver"),
         SLOT(onFreedesktopScreenSaverActive(bool))},
        {QStringLiteral("org.gnome.ScreenSaver"), QStringLiteral("/org/gnome/ScreenSaver"),
         SLOT(onGnomeScreenSaverActive(bool))},
    };
    for (const ScreenSaver &saver : savers) {
        // The interface is named as the service is.
        bus.connect(saver.service, QString(), saver.service, QStringLiteral("ActiveChanged"), this, saver.slot);
        const bool gnome = saver.service.startsWith(QLatin1String("org.gnome"));
        call(bus, desktopCall(saver.service, saver.path, saver.service, QStringLiteral("GetActive")),
             [this, gnome](const QDBusMessage &reply) {
                 if (!isReply(reply))
                     return;
                 (gnome ? gnomeActive_ : freedesktopActive_) = reply.arguments().constFirst().toBool();
                 updateLock();
             });
    }
}

void DesktopPresence::onFreedesktopScreenSaverActive(bool active)
{
    freedesktopActive_ = active;
    updateLock();
}

void DesktopPresence::onGnomeScreenSaverActive(bool active)
{
    gnomeActive_ = active;
    updateLock();
}

void DesktopPresence::onSessionLock()
{
    lockRequested_ = true;
    updateLock();
}

void DesktopPresence::onSessionUnlock()
{
    lockRequested_ = false;
    updateLock();
}

void DesktopPresence::updateLock()
{
    const bool locked = lockedHint_ || lockRequested_ || freedesktopActive_ || gnomeActive_;
    if (locked == locked_)
        return;
    locked_ = locked;
    // A copy: the watcher may replace itself.
    if (const auto changed = lockChanged_)
        changed(locked, sources_.monotonicMs());
}

// --- the login manager's session --------------------------------------------

void DesktopPresence::startSessionWatch(bool lock, bool idleHint)
{
    const bool more = (lock && !wantLock_) || (idleHint && !wantIdleHint_);
    wantLock_ = wantLock_ || lock;
    wantIdleHint_ = wantIdleHint_ || idleHint;
    if (lookup_ == Lookup::NotStarted) {
        lookup_ = Lookup::Asking;
        findSession(0);
    } else if (lookup_ == Lookup::Found && more) {
        watchSession();
        readSessionProperties();
    }
}

// Our session's object: by the id the session gave us, else by our process,
// else the user's graphical session (a program started by the user's service
// manager, as some desktops start them, belongs to no session itself).
void DesktopPresence::findSession(int step)
{
    QDBusConnection &bus = systemBus();
    const auto next = [this, step](const QDBusMessage &) { findSession(step + 1); };
    const auto found = [this, step](const QDBusMessage &reply) {
        if (isReply(reply))
            sessionFound(qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst()).path());
        else
            findSession(step + 1);
    };
    bool asked = false;
    switch (step) {
    case 0:
        if (sources_.sessionId.isEmpty())
            return findSession(step + 1);
        asked = call(bus,
                     methodCall(kLogin1, kLogin1Path, kLogin1Manager, QStringLiteral("GetSession"),
                                {sources_.sessionId}),
                     found);
        break;
    case 1:
        asked = call(bus, methodCall(kLogin1, kLogin1Path, kLogin1Manager, QStringLiteral("GetSessionByPID"),
                                     {QVariant::fromValue(sources_.processId)}),
                     found);
        break;
    case 2:
        asked = call(bus, methodCall(kLogin1, kLogin1Path, kLogin1Manager, QStringLiteral("GetUser"),
                                     {QVariant::fromValue(sources_.userId)}),
                     [this, next](const QDBusMessage &user) {
                         const auto displayRead = [this, next](const QDBusMessage &display) {
                             const QString path = displaySession(display);
                             if (path.isEmpty())
                                 next(display);
                             else
                                 sessionFound(path);
                         };
                         const QString path = isReply(user)
                             ? qvariant_cast<QDBusObjectPath>(user.arguments().constFirst()).path()
                             : QString();
                         const bool asking = !path.isEmpty()
                             && call(systemBus(),
                                     methodCall(kLogin1, path, kProperties, QStringLiteral("Get"),
                                                {kLogin1User, QStringLiteral("Display")}),
                                     displayRead);
                         if (!asking)
                             next(user);
                     });
        break;
    default:
        break;
    }
    if (!asked)
        lookup_ = Lookup::None;
}

void DesktopPresence::sessionFound(const QString &path)
{
    lookup_ = Lookup::Found;
    sessionPath_ = path;
    watchSession();
    readSessionProperties();
}

// Watched before the properties are read: an answer and a signal from the
// login manager reach us in the order it sent them, so whichever is last
// holds.
void DesktopPresence::watchSession()
{
    QDBusConnection &bus = systemBus();
    if (wantLock_ && !lockSignalsWatched_) {
        lockSignalsWatched_ = true;
        bus.connect(kLogin1, sessionPath_, kLogin1Session, QStringLiteral("Lock"), this, SLOT(onSessionLock()));
        bus.connect(kLogin1, sessionPath_, kLogin1Session, QStringLiteral("Unlock"), this, SLOT(onSessionUnlock()));
    }
    if (!propertiesWatched_) {
        propertiesWatched_ = true;
        bus.connect(kLogin1, sessionPath_, kProperties, QStringLiteral("PropertiesChanged"), {kLogin1Session},
                    QString(), this, SLOT(onSessionPropertiesChanged(QString, QVariantMap, QStringList)));
    }
}

void DesktopPresence::readSessionProperties()
{
    call(systemBus(), methodCall(kLogin1, sessionPath_, kProperties, QStringLiteral("GetAll"), {kLogin1Session}),
         [this](const QDBusMessage &reply) {
             if (isReply(reply))
                 applySessionProperties(qdbus_cast<QVariantMap>(reply.arguments().constFirst()));
         });
}

void DesktopPresence::onSessionPropertiesChanged(const QString &interface, const QVariantMap &changed,
                                                 const QStringList &invalidated)
{
    if (interface != kLogin1Session)
        return;
    applySessionProperties(changed);
    const QStringList ours = {QStringLiteral("LockedHint"), QStringLiteral("IdleHint"),
                              QStringLiteral("IdleSinceHintMonotonic")};
    if (std::any_of(ours.begin(), ours.end(), [&](const QString &name) { return invalidated.contains(name); }))
        readSessionProperties();
}

void DesktopPresence::applySessionProperties(const QVariantMap &properties)
{
    if (const auto hint = properties.find(QStringLiteral("LockedHint")); hint != properties.end()) {
        lockedHint_ = hint->toBool();
        // The desktop says the screen is open again: whatever Lock asked is over.
        if (!lockedHint_)
            lockRequested_ = false;
        updateLock();
    }
    if (const auto hint = properties.find(QStringLiteral("IdleHint")); hint != properties.end()) {
        idleHintKnown_ = true;
        idleHint_ = hint->toBool();
    }
    if (const auto since = properties.find(QStringLiteral("IdleSinceHintMonotonic")); since != properties.end())
        idleSinceMonotonicUs_ = since->toULongLong();
}

// --- idle inhibitors ---------------------------------------------------------

std::optional<bool> DesktopPresence::idleInhibited()
{
    if (inhibitorAsksPending_ == 0
        && (!inhibited_ || sources_.monotonicMs() - inhibitedAnsweredAt_ >= kInhibitorAnswerMs))
        askInhibitors();
    // Nobody asks between idle stretches: an answer from the last one says
    // nothing of the programs that run now.
    if (inhibited_ && sources_.monotonicMs() - inhibitedAnsweredAt_ >= kInhibitorAnswerKeptMs)
        return std::nullopt;
    return inhibited_;
}

void DesktopPresence::askInhibitors()
{
    inhibitorFound_ = false;
    const auto answered = [this](const QDBusMessage &reply) { inhibitorAnswered(replyIsTrue(reply)); };
    int asked = 0;
    asked += call(systemBus(), methodCall(kLogin1, kLogin1Path, kLogin1Manager, QStringLiteral("ListInhibitors")),
                  [this](const QDBusMessage &reply) {
                      inhibitorAnswered(isReply(reply)
                                        && blocksIdle(qvariant_cast<QDBusArgument>(reply.arguments().constFirst()),
                                                      sources_.userId));
                  });
    // 8: idleness, in the session manager's flags.
    asked += call(sessionBus(),
                  desktopCall(QStringLiteral("org.gnome.SessionManager"), QStringLiteral("/org/gnome/SessionManager"),
                              QStringLiteral("org.gnome.SessionManager"), QStringLiteral("IsInhibited"),
                              {QVariant::fromValue(quint32(8))}),
                  answered);
    asked += call(sessionBus(),
                  desktopCall(QStringLiteral("org.freedesktop.PowerManagement"),
                              QStringLiteral("/org/freedesktop/PowerManagement/Inhibit"),
                              QStringLiteral("org.freedesktop.PowerManagement.Inhibit"), QStringLiteral("HasInhibit")),
                  answered);
    inhibitorAsksPending_ = asked;
    if (asked == 0) {
        inhibited_ = false;
        inhibitedAnsweredAt_ = sources_.monotonicMs();
    }
}

void DesktopPresence::inhibitorAnswered(bool inhibits)
{
    inhibitorFound_ = inhibitorFound_ || inhibits;
    if (--inhibitorAsksPending_ > 0)
        return;
    inhibited_ = inhibitorFound_;
    inhibitedAnsweredAt_ = sources_.monotonicMs();
}

} // namespace platform
