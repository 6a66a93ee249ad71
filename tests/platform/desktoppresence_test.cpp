// SPDX-License-Identifier: MIT
// What the desktop says about the user being there, read from a login manager
// and screensavers that python3-dbusmock plays on two private buses.

#include "platform/desktoppresence.h"
#include "platform/systemcalls.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <memory>
#include <stdexcept>
#include <sys/prctl.h>
#include <vector>

namespace {

using platform::DesktopPresence;

const QString kLogin1 = QStringLiteral("org.freedesktop.login1");
const QString kManagerPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kSessionIface = QStringLiteral("org.freedesktop.login1.Session");
const QString kMock = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kFreedesktopSaver = QStringLiteral("org.freedesktop.ScreenSaver");
const QString kFreedesktopSaverPath = QStringLiteral("/org/freedesktop/ScreenSaver");
const QString kGnomeSaver = QStringLiteral("org.gnome.ScreenSaver");
const QString kGnomeSaverPath = QStringLiteral("/org/gnome/ScreenSaver");
const QString kGnomeSession = QStringLiteral("org.gnome.SessionManager");
const QString kGnomeSessionPath = QStringLiteral("/org/gnome/SessionManager");
const QString kPower = QStringLiteral("org.freedesktop.PowerManagement");
const QString kPowerPath = QStringLiteral("/org/freedesktop/PowerManagement/Inhibit");
const QString kPowerIface = QStringLiteral("org.freedesktop.PowerManagement.Inhibit");
const QString kSessionPath = QStringLiteral("/org/freedesktop/login1/session/c1");

bool waitUntil(const std::function<bool()> &done)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > 20000)
            return false;
        // Sleeps until something happens, looking again every 10 ms.
        QTimer wake;
        wake.start(10);
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// Children that end with the test binary, however it ends.
void endWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

struct Bus
{
    QProcess daemon;
    QString address;
    QString name; // of the test's own connection to it

    QString start(const QString &connectionName)
    {
        endWithParent(daemon);
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                      QStringLiteral("--print-address=1")});
        if (!daemon.waitForStarted())
            return QStringLiteral("dbus-daemon does not start (scripts/install-deps.sh test)");
        waitUntil([&] { return daemon.canReadLine() || daemon.state() != QProcess::Running; });
        address = QString::fromUtf8(daemon.readLine()).trimmed();
        if (address.isEmpty())
            return QStringLiteral("dbus-daemon gave no address");
        name = connectionName;
        if (!QDBusConnection::connectToBus(address, name).isConnected())
            return QStringLiteral("cannot connect to the private bus");
        return {};
    }
    QDBusConnection connection() const { return QDBusConnection(name); }
};

struct Mock
{
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    Bus *bus = nullptr;
    QString service;
    QString path;
};

class DesktopPresenceTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        system_ = new Bus;
        session_ = new Bus;
        for (Bus *bus : {system_, session_}) {
            problem_ = bus->start(bus == system_ ? QStringLiteral("test-system") : QStringLiteral("test-session"));
            if (!problem_.isEmpty())
                return;
        }
        mocks_ = new std::vector<Mock>;
        const auto mock = [](Bus *bus, const QString &service, const QString &path, const QStringList &arguments) {
            Mock m;
            m.bus = bus;
            m.service = service;
            m.path = path;
            endWithParent(*m.process);
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), system_->address);
            environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), session_->address);
            m.process->setProcessEnvironment(environment);
            m.process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
            m.process->start(QStringLiteral("/usr/bin/python3"),
                             QStringList{QStringLiteral("-m"), QStringLiteral("dbusmock")} + arguments);
            mocks_->push_back(std::move(m));
        };
        const QString templ = QStringLiteral("--template");
        mock(system_, kLogin1, kManagerPath, {QStringLiteral("--system"), templ, QStringLiteral("logind")});
        mock(session_, kGnomeSaver, kGnomeSaverPath, {templ, QStringLiteral("gnome_screensaver")});
        mock(session_, kFreedesktopSaver, kFreedesktopSaverPath,
             {kFreedesktopSaver, kFreedesktopSaverPath, kFreedesktopSaver});
        mock(session_, kGnomeSession, kGnomeSessionPath, {kGnomeSession, kGnomeSessionPath, kGnomeSession});
        mock(session_, kPower, kPowerPath, {kPower, kPowerPath, kPowerIface});
        for (Mock &m : *mocks_) {
            const bool up = waitUntil([&] {
                return m.process->state() == QProcess::NotRunning
                    || m.bus->connection().interface()->isServiceRegistered(m.service).value();
            });
            if (!up || m.process->state() == QProcess::NotRunning) {
                problem_ = QStringLiteral("python3-dbusmock does not serve %1 (scripts/install-deps.sh test)")
                               .arg(m.service);
                return;
            }
        }
    }

    static void TearDownTestSuite()
    {
        if (mocks_) {
            for (Mock &m : *mocks_) {
                m.process->terminate();
                m.process->waitForFinished();
            }
        }
        delete mocks_;
        mocks_ = nullptr;
        for (Bus *bus : {system_, session_}) {
            if (!bus)
                continue;
            QDBusConnection::disconnectFromBus(bus->name);
            bus->daemon.terminate();
            bus->daemon.waitForFinished();
            delete bus;
        }
        system_ = session_ = nullptr;
    }

    void SetUp() override
    {
        if (!problem_.isEmpty())
            GTEST_SKIP() << qPrintable(problem_);
        for (Mock &m : *mocks_)
            control(m, kMock, QStringLiteral("Reset"));
        control(system_, kLogin1, kManagerPath, kMock, QStringLiteral("AddSession"),
                {QStringLiteral("c1"), QStringLiteral("seat0"), QVariant::fromValue(platform::systemcalls::userId()),
                 QStringLiteral("someone"), true});
        // The template answers for any id; logind refuses an unknown one.
        addMethod(system_, kLogin1, kManagerPath, kManager, QStringLiteral("GetSession"), QStringLiteral("s"),
                  QStringLiteral("o"),
                  QStringLiteral("if args[0] != 'c1': raise dbus.exceptions.DBusException('no such session', "
                                 "name='org.freedesktop.login1.NoSuchSession')\n"
                                 "ret = '/org/freedesktop/login1/session/c1'"));
        // The template's own fails on its number argument.
        addMethod(system_, kLogin1, kManagerPath, kManager, QStringLiteral("GetUser"), QStringLiteral("u"),
                  QStringLiteral("o"), QStringLiteral("ret = '/org/freedesktop/login1/user/%d' % args[0]"));
        for (Mock &m : *mocks_)
            control(m, kMock, QStringLiteral("ClearCalls"));
    }

    void TearDown() override
    {
        presence_.reset();
        for (const QString &name : presenceConnections_)
            QDBusConnection::disconnectFromBus(name);
        presenceConnections_.clear();
    }

    // A presence on connections of its own, so that what it asks of the
    // buses can be told apart from the test's own calls.
    DesktopPresence &makePresence(const QString &sessionId = QStringLiteral("c1"),
                                  std::function<std::optional<qint64>()> inputIdle = {}, bool watchLock = true)
    {
        const QString suffix = QString::number(++connectionCount_);
        const QString systemName = QStringLiteral("presence-system-") + suffix;
        const QString sessionName = QStringLiteral("presence-session-") + suffix;
        presenceConnections_ = {systemName, sessionName};
        QDBusConnection::connectToBus(system_->address, systemName);
        QDBusConnection::connectToBus(session_->address, sessionName);
        DesktopPresence::Sources sources;
        sources.systemBus = [systemName] { return QDBusConnection(systemName); };
        sources.sessionBus = [sessionName] { return QDBusConnection(sessionName); };
        sources.inputIdleMs = std::move(inputIdle);
        sources.monotonicMs = [this] { return clockMs_; };
        sources.userId = platform::systemcalls::userId();
        sources.processId = platform::systemcalls::processId();
        sources.sessionId = sessionId;
        presence_ = std::make_unique<DesktopPresence>(std::move(sources));
        if (watchLock)
            presence_->watchLock([this](bool locked, qint64 ms) { lockCalls_.push_back({locked, ms}); });
        return *presence_;
    }
    // The same without watching the lock: nothing asked but what a test asks.
    DesktopPresence &makeQuietPresence(std::function<std::optional<qint64>()> inputIdle = {})
    {
        return makePresence(QStringLiteral("c1"), std::move(inputIdle), false);
    }

    // Lets everything the mocks sent before now reach the presence: a
    // reply from a mock comes after all it sent earlier, on the same
    // connection, and is handled after them. Rounds for the chains of
    // calls (finding the session, then reading it).
    void settle(int rounds = 6)
    {
        for (int round = 0; round < rounds; ++round) {
            for (const Mock &m : *mocks_) {
                const QDBusConnection bus(presenceConnections_.at(m.bus == system_ ? 0 : 1));
                bus.call(QDBusMessage::createMethodCall(m.service, m.path, QStringLiteral("org.freedesktop.DBus.Peer"),
                                                        QStringLiteral("Ping")));
            }
            QCoreApplication::sendPostedEvents();
            QCoreApplication::processEvents();
        }
    }

    static QDBusMessage control(Bus *bus, const QString &service, const QString &path, const QString &interface,
                                const QString &method, const QVariantList &arguments = {})
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = bus->connection().call(message);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << qPrintable(method) << ": " << qPrintable(reply.errorMessage());
        return reply;
    }
    static QDBusMessage control(const Mock &m, const QString &interface, const QString &method,
                                const QVariantList &arguments = {})
    {
        return control(m.bus, m.service, m.path, interface, method, arguments);
    }
    static void addMethod(Bus *bus, const QString &service, const QString &path, const QString &interface,
                          const QString &name, const QString &in, const QString &out, const QString &code)
    {
        control(bus, service, path, kMock, QStringLiteral("AddMethod"), {interface, name, in, out, code});
    }
    static const Mock &mock(const QString &service)
    {
        for (const Mock &m : *mocks_)
            if (m.service == service)
                return m;
        throw std::logic_error("no such mock");
    }
    static void setSession(const QVariantMap &properties)
    {
        control(system_, kLogin1, kSessionPath, kMock, QStringLiteral("UpdateProperties"), {kSessionIface, properties});
    }
    static void sessionSignal(const char *name)
    {
        control(system_, kLogin1, kSessionPath, kMock, QStringLiteral("EmitSignal"),
                {QString(), QString::fromLatin1(name), QString(), QVariantList()});
    }
    static void screenSaverActive(const QString &service, bool active)
    {
        control(mock(service), kMock, QStringLiteral("EmitSignal"),
                {QString(), QStringLiteral("ActiveChanged"), QStringLiteral("b"), QVariantList{active}});
    }
    static int callsOf(const Mock &m, const QString &method)
    {
        const QDBusMessage reply = control(m, kMock, QStringLiteral("GetCalls"));
        int count = 0;
        const QDBusArgument calls = qvariant_cast<QDBusArgument>(reply.arguments().value(0));
        calls.beginArray();
        while (!calls.atEnd()) {
            quint64 when = 0;
            QString name;
            calls.beginStructure();
            calls >> when >> name;
            QVariantList ignored;
            calls >> ignored;
            calls.endStructure();
            count += name == method;
        }
        calls.endArray();
        return count;
    }
    // Match rules the bus holds for the presence's connection.
    static quint32 matchRules(Bus *bus, const QString &connectionName)
    {
        const QString unique = QDBusConnection(connectionName).baseService();
        const QDBusMessage reply
            = control(bus, QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                      QStringLiteral("org.freedesktop.DBus.Debug.Stats"), QStringLiteral("GetConnectionStats"),
                      {unique});
        return qdbus_cast<QVariantMap>(reply.arguments().value(0)).value(QStringLiteral("MatchRules")).toUInt();
    }

    struct LockCall
    {
        bool locked;
        qint64 ms;
        bool operator==(const LockCall &) const = default;
        friend void PrintTo(const LockCall &call, std::ostream *os)
        {
            *os << (call.locked ? "locked at " : "unlocked at ") << call.ms;
        }
    };

    static inline QString problem_;
    static inline Bus *system_ = nullptr;
    static inline Bus *session_ = nullptr;
    static inline std::vector<Mock> *mocks_ = nullptr;
    static inline int connectionCount_ = 0;

    QStringList presenceConnections_;
    std::unique_ptr<DesktopPresence> presence_;
    qint64 clockMs_ = 1000;
    std::vector<LockCall> lockCalls_;
};

TEST_F(DesktopPresenceTest, LockedWhileAnySourceSaysSoAndTheWatcherHearsEachChange)
{
    DesktopPresence &presence = makePresence();
    settle();
    ASSERT_TRUE(lockCalls_.empty());
    ASSERT_FALSE(presence.screenLocked());

    struct Step
    {
        const char *what;
        std::function<void()> act;
        bool locked;
    };
    const auto hint = [](bool locked) { return [locked] { setSession({{QStringLiteral("LockedHint"), locked}}); }; };
    const auto signal = [](const char *name) { return [name] { sessionSignal(name); }; };
    const auto saver = [](const QString &service, bool active) {
        return [service, active] { screenSaverActive(service, active); };
    };
    const Step steps[] = {
        {"LockedHint true", hint(true), true},
        {"Lock while the hint holds", signal("Lock"), true},
        {"LockedHint false ends the Lock request too", hint(false), false},
        {"Lock", signal("Lock"), true},
        {"Unlock", signal("Unlock"), false},
        {"Lock again", signal("Lock"), true},
        {"LockedHint false", hint(false), false},
        {"freedesktop screensaver active", saver(kFreedesktopSaver, true), true},
        {"GNOME screensaver active too", saver(kGnomeSaver, true), true},
        {"freedesktop inactive, GNOME still active", saver(kFreedesktopSaver, false), true},
        {"GNOME inactive", saver(kGnomeSaver, false), false},
        {"Lock", signal("Lock"), true},
        {"a screensaver over it", saver(kFreedesktopSaver, true), true},
        {"Unlock, the screensaver still active", signal("Unlock"), true},
        {"the screensaver gone", saver(kFreedesktopSaver, false), false},
    };
    std::vector<LockCall> expected;
    bool locked = false;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        clockMs_ += 1000;
        step.act();
        settle(1);
        if (step.locked != locked)
            expected.push_back({step.locked, clockMs_});
        locked = step.locked;
        EXPECT_EQ(presence.screenLocked(), step.locked);
        EXPECT_EQ(lockCalls_, expected);
    }
}

TEST_F(DesktopPresenceTest, StartsFromWhatEachSourceSaysAtStart)
{
    struct Row
    {
        const char *what;
        std::function<void()> prepare;
        bool locked;
    };
    const auto getActive = [](const QString &service, bool active) {
        return [service, active] {
            const Mock &m = mock(service);
            if (service == kGnomeSaver)
                control(m, kGnomeSaver, QStringLiteral("SetActive"), {active});
            else
                addMethod(m.bus, m.service, m.path, m.service, QStringLiteral("GetActive"), QString(),
                          QStringLiteral("b"), active ? QStringLiteral("ret = True") : QStringLiteral("ret = False"));
        };
    };
    const Row rows[] = {
        {"nothing locked", [] {}, false},
        {"the session's LockedHint", [] { setSession({{QStringLiteral("LockedHint"), true}}); }, true},
        {"the freedesktop screensaver", getActive(kFreedesktopSaver, true), true},
        {"the GNOME screensaver", getActive(kGnomeSaver, true), true},
        {"both screensavers say no",
         [&] {
             getActive(kFreedesktopSaver, false)();
             getActive(kGnomeSaver, false)();
         },
         false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        row.prepare();
        lockCalls_.clear();
        DesktopPresence &presence = makePresence();
        settle();
        EXPECT_EQ(presence.screenLocked(), row.locked);
        std::vector<LockCall> told;
        if (row.locked)
            told.push_back({true, clockMs_});
        EXPECT_EQ(lockCalls_, told);
        TearDown();
    }
}

TEST_F(DesktopPresenceTest, TheSessionIsFoundByItsIdByOurProcessOrAsTheUsersDisplay)
{
    struct Row
    {
        const char *what;
        QString sessionId;
        bool byProcess;
        bool asDisplay;
        bool found;
    };
    const Row rows[] = {
        {"by $XDG_SESSION_ID", QStringLiteral("c1"), false, false, true},
        {"by process, no id", QString(), true, false, true},
        {"by process, the id unknown", QStringLiteral("c9"), true, false, true},
        {"the user's display session", QString(), false, true, true},
        {"nowhere", QStringLiteral("c9"), false, false, false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        setSession({{QStringLiteral("LockedHint"), true}});
        if (row.byProcess)
            addMethod(system_, kLogin1, kManagerPath, kManager, QStringLiteral("GetSessionByPID"), QStringLiteral("u"),
                      QStringLiteral("o"),
                      QStringLiteral("ret = '%1' if args[0] == %2 else '/nowhere'")
                          .arg(kSessionPath)
                          .arg(platform::systemcalls::processId()));
        if (row.asDisplay) {
            QDBusArgument display;
            display.beginStructure();
            display << QStringLiteral("c1") << QDBusObjectPath(kSessionPath);
            display.endStructure();
            const QString user = QStringLiteral("/org/freedesktop/login1/user/%1").arg(platform::systemcalls::userId());
            control(system_, kLogin1, user, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"),
                    {QStringLiteral("org.freedesktop.login1.User"), QStringLiteral("Display"),
                     QVariant::fromValue(QDBusVariant(QVariant::fromValue(display)))});
        }
        lockCalls_.clear();
        DesktopPresence &presence = makePresence(row.sessionId);
        settle();
        EXPECT_EQ(presence.screenLocked(), row.found);
        TearDown();
    }
}

TEST_F(DesktopPresenceTest, IdleInhibitorsFromTheLoginManagerTheSessionManagerOrThePowerManager)
{
    const quint32 me = platform::systemcalls::userId();
    const auto inhibitor = [](const char *what, const char *mode, quint32 uid) {
        return [=] {
            addMethod(system_, kLogin1, kManagerPath, kManager, QStringLiteral("ListInhibitors"), QString(),
                      QStringLiteral("a(ssssuu)"),
                      QStringLiteral("ret = [('sleep', 'backup', 'x', 'delay', 0, 1), "
                                     "('%1', 'film', 'x', '%2', %3, 2)]")
                          .arg(QLatin1String(what), QLatin1String(mode))
                          .arg(uid));
        };
    };
    const auto desktop = [](const QString &service, const QString &method, const QString &in, const QString &code) {
        return [=] {
            const Mock &m = mock(service);
            addMethod(m.bus, m.service, m.path, service == kPower ? kPowerIface : service, method, in,
                      QStringLiteral("b"), code);
        };
    };
    const auto sessionManager = [&](const QString &code) {
        return desktop(kGnomeSession, QStringLiteral("IsInhibited"), QStringLiteral("u"), code);
    };
    struct Row
    {
        const char *what;
        std::function<void()> prepare;
        bool inhibited;
    };
    const Row rows[] = {
        {"none anywhere", [] {}, false},
        {"ours, idle among others, blocking", inhibitor("sleep:idle:shutdown", "block", me), true},
        {"ours, idle, delaying only", inhibitor("idle", "delay", me), false},
        {"ours, not idle", inhibitor("sleep:shutdown", "block", me), false},
        {"another user's", inhibitor("idle", "block", me + 1), false},
        // 8 is idleness; 4, suspending, must not count.
        {"the session manager, asked for idleness", sessionManager(QStringLiteral("ret = args[0] == 8")), true},
        {"the session manager, only suspending", sessionManager(QStringLiteral("ret = args[0] == 4")), false},
        {"the power manager",
         desktop(kPower, QStringLiteral("HasInhibit"), QString(), QStringLiteral("ret = True")), true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        row.prepare();
        DesktopPresence &presence = makeQuietPresence();
        EXPECT_EQ(presence.idleInhibited(), std::nullopt) << "asked, not yet answered";
        ASSERT_TRUE(waitUntil([&] { return presence.idleInhibited().has_value(); }));
        EXPECT_EQ(presence.idleInhibited(), row.inhibited);
        TearDown();
    }
}

TEST_F(DesktopPresenceTest, InhibitorsAreAskedAgainOnlyOnceTheAnswerHasStoodAWhile)
{
    const Mock &logind = mock(kLogin1);
    const auto list = [](bool idle) {
        addMethod(system_, kLogin1, kManagerPath, kManager, QStringLiteral("ListInhibitors"), QString(),
                  QStringLiteral("a(ssssuu)"),
                  idle ? QStringLiteral("ret = [('idle', 'film', 'x', 'block', %1, 2)]")
                             .arg(platform::systemcalls::userId())
                       : QStringLiteral("ret = []"));
    };
    list(false);
    DesktopPresence &presence = makeQuietPresence();
    ASSERT_TRUE(waitUntil([&] { return presence.idleInhibited().has_value(); }));
    EXPECT_EQ(presence.idleInhibited(), false);
    EXPECT_EQ(callsOf(logind, QStringLiteral("ListInhibitors")), 1);

    list(true);
    clockMs_ += DesktopPresence::kInhibitorAnswerMs - 1;
    EXPECT_EQ(presence.idleInhibited(), false);
    settle();
    EXPECT_EQ(callsOf(logind, QStringLiteral("ListInhibitors")), 1) << "the answer still stands";

    clockMs_ += 1;
    EXPECT_EQ(presence.idleInhibited(), false) << "the last answer while the next is asked for";
    ASSERT_TRUE(waitUntil([&] { return presence.idleInhibited() == true; }));
    EXPECT_EQ(callsOf(logind, QStringLiteral("ListInhibitors")), 2);

    // Asked again only at the next idle stretch, an hour on: the film that
    // held idleness off then is long over, and what was said of it is no
    // answer for now.
    list(false);
    clockMs_ += 3600 * 1000;
    EXPECT_EQ(presence.idleInhibited(), std::nullopt) << "an answer an hour old";
    ASSERT_TRUE(waitUntil([&] { return presence.idleInhibited().has_value(); }));
    EXPECT_EQ(presence.idleInhibited(), false);
    EXPECT_EQ(callsOf(logind, QStringLiteral("ListInhibitors")), 3);
}

TEST_F(DesktopPresenceTest, IdleFromTheDisplayServerElseFromTheSessionsIdleHint)
{
    // The display server's count is all that is read where it answers:
    // nothing is asked of the buses, and no match rule is added.
    {
        DesktopPresence &presence = makeQuietPresence([] { return std::optional<qint64>(1234); });
        const quint32 rules = matchRules(system_, presenceConnections_.at(0));
        EXPECT_EQ(presence.idleMs(), 1234);
        settle();
        EXPECT_EQ(callsOf(mock(kLogin1), QStringLiteral("GetSession")), 0);
        EXPECT_EQ(matchRules(system_, presenceConnections_.at(0)), rules);
        TearDown();
    }

    // Without one, the session's hint: none until a desktop sets it; then 0
    // while not idle, and the time since the desktop declared it idle.
    SetUp();
    DesktopPresence &presence = makeQuietPresence([] { return std::nullopt; });
    EXPECT_EQ(presence.idleMs(), std::nullopt);
    settle();
    EXPECT_EQ(presence.idleMs(), std::nullopt) << "the hint was never set";

    struct Step
    {
        bool idle;
        quint64 sinceUs;
        qint64 now;
        std::optional<qint64> idleMs;
    };
    const Step steps[] = {
        {false, 2'000'000, 3000, 0},
        {true, 5'000'000, 9000, 4000},
        {true, 5'000'000, 9500, 4500},
        {false, 9'600'000, 9700, 0},
        {true, 9'600'000, 9000, 0}, // a clock behind the hint's counts nothing, never less
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.now);
        setSession({{QStringLiteral("IdleHint"), step.idle},
                    {QStringLiteral("IdleSinceHintMonotonic"), QVariant::fromValue(step.sinceUs)}});
        settle(1);
        clockMs_ = step.now;
        EXPECT_EQ(presence.idleMs(), step.idleMs);
    }
}

TEST_F(DesktopPresenceTest, OnlyWhatIsWatchedHasMatchRules)
{
    DesktopPresence &presence = makeQuietPresence();
    const quint32 systemRules = matchRules(system_, presenceConnections_.at(0));
    const quint32 sessionRules = matchRules(session_, presenceConnections_.at(1));
    ASSERT_TRUE(waitUntil([&] { return presence.idleInhibited().has_value(); }));
    EXPECT_EQ(matchRules(system_, presenceConnections_.at(0)), systemRules) << "asking needs no match rule";
    EXPECT_EQ(matchRules(session_, presenceConnections_.at(1)), sessionRules);

    presence.screenLocked();
    settle();
    EXPECT_GT(matchRules(system_, presenceConnections_.at(0)), systemRules);
    EXPECT_GT(matchRules(session_, presenceConnections_.at(1)), sessionRules);
}

TEST(DesktopPresenceWithoutBuses, NeverLockedNorInhibitedAndNoIdleTime)
{
    DesktopPresence::Sources sources;
    sources.systemBus = [] { return QDBusConnection(QStringLiteral("no such bus")); };
    sources.monotonicMs = [] { return qint64(5000); };
    DesktopPresence presence(std::move(sources));
    int calls = 0;
    presence.watchLock([&](bool, qint64) { ++calls; });
    QCoreApplication::processEvents();
    EXPECT_FALSE(presence.screenLocked());
    EXPECT_EQ(presence.idleMs(), std::nullopt);
    EXPECT_EQ(presence.idleInhibited(), false) << "nobody to ask: answered at once";
    EXPECT_EQ(calls, 0);
}

} // namespace
