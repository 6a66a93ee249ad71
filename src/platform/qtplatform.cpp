// SPDX-License-Identifier: MIT
#include "platform/qtplatform.h"

#include "core/desktop/folders.h"
#include "core/files/safefile.h"
#include "core/units/twips.h"
#include "platform/desktoppresence.h"
#include "platform/systemcalls.h"
#include "platform/unix/themesound.h"
#ifdef TOCKA_HAVE_XCB
#include "platform/x11/x11idletime.h"
#include "platform/x11/x11moveechoes.h"
#endif

#include <QApplication>
#include <QDBusConnection>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QUrl>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstring>

namespace platform {

QtPlatform::QtPlatform(QString instanceKey)
    : instanceKey_(std::move(instanceKey))
{
#ifdef TOCKA_HAVE_XCB
    // Before any window shows, so that a window manager's taking one into a
    // frame is seen.
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())
        && QGuiApplication::platformName() == QLatin1String("xcb")) {
        moveEchoes_ = std::make_unique<X11MoveEchoes>();
        QCoreApplication::instance()->installNativeEventFilter(moveEchoes_.get());
    }
#endif
}

QtPlatform::~QtPlatform() = default;

float QtPlatform::secondsSinceMidnight() const
{
    // Read at every bounce tick.
    return static_cast<float>(systemcalls::msecsSinceLocalMidnight() / 1000.0);
}

QDate QtPlatform::today() const
{
    return QDate::currentDate();
}

QTime QtPlatform::timeOfDay() const
{
    // Whole seconds, as the logs and the clock face show them.
    const QTime now = QTime::currentTime();
    return QTime(now.hour(), now.minute(), now.second());
}

QDateTime QtPlatform::currentUtc() const
{
    return QDateTime::currentDateTimeUtc();
}

qint64 QtPlatform::monotonicMs() const
{
    return systemcalls::monotonicMs();
}

qint64 QtPlatform::bootMs() const
{
    return systemcalls::bootMs();
}

QSizeF QtPlatform::screenTwips(const QWidget *widget) const
{
    QScreen *screen = widget ? widget->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QSize px = screen->geometry().size();
    return {core::units::pixelsToTwips(px.width()), core::units::pixelsToTwips(px.height())};
}

void QtPlatform::moveWindow(QWidget &window, QPoint topLeft)
{
    window.move(topLeft);
#ifdef TOCKA_HAVE_XCB
    if (moveEchoes_)
        moveEchoes_->expect(window);
#endif
}

void QtPlatform::messageBox(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok);
    box.setAccessibleName(title);
    box.setAccessibleDescription(text);
    box.exec();
}

void QtPlatform::beep()
{
    if (!sound_)
        sound_ = std::make_unique<ThemeSound>();
    const bool played = sound_->play();
    if (!played)
        QApplication::beep();
    // One line when the way the alarm sounds changes, not one per beep: it
    // tells whoever wonders why they hear nothing where to look.
    const SoundWay way = played ? SoundWay::Server : SoundWay::XBell;
    if (way != soundWay_) {
        soundWay_ = way;
        std::fputs(played ? "tocka: the alarm sounds through the sound server\n"
                          : "tocka: no sound server answers (PulseAudio or PipeWire, through libcanberra-pulse); "
                            "the alarm rings the X bell\n",
                   stderr);
    }
}

void QtPlatform::processPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtPlatform::waitForEvents(int maxWaitMs)
{
    // The single-shot wakes the wait up when nothing else does.
    QTimer wake;
    wake.setSingleShot(true);
    wake.start(std::max(0, maxWaitMs));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void QtPlatform::randomize(float seed)
{
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    generator_.seed(bits % 2147483646u + 1u); // its seed must not be 0 modulo 2^31 - 1
}

float QtPlatform::rnd()
{
    std::uniform_real_distribution<float> uniform(0.0f, 1.0f);
    float r = uniform(generator_);
    return r < 1.0f ? r : 0.0f; // some libraries can return the upper bound for float
}

bool QtPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

QString QtPlatform::lockFilePath(const QString &instanceKey)
{
    return core::desktop::runtimeLockPath(instanceKey);
}

bool QtPlatform::claimSingleInstance()
{
    if (claimed_)
        return lock_.held();
    claimed_ = true;
    // A copy that runs holds the lock file locked; the system drops that lock
    // when the copy ends in any way, so a copy that crashed never blocks the
    // next start, whatever its lock file says.
    QString problem;
    lock_ = core::files::LockFile::claim(QDir::toNativeSeparators(lockFilePath(instanceKey_)), &problem);
    if (!problem.isEmpty())
        lockProblem_ = QStringLiteral("Tocka cannot tell whether it is running already: %1. Start Tocka again "
                                      "once that is mended.")
                           .arg(problem);
    return lock_.held();
}

void QtPlatform::endProcessNow()
{
    systemcalls::exitNow(0);
}

QString QtPlatform::programFolder() const
{
    return QCoreApplication::applicationDirPath();
}

DesktopPresence &QtPlatform::presence()
{
    if (presence_)
        return *presence_;
    DesktopPresence::Sources sources;
    sources.systemBus = [] { return QDBusConnection::systemBus(); };
    sources.sessionBus = [] { return QDBusConnection::sessionBus(); };
    sources.monotonicMs = &systemcalls::monotonicMs;
    sources.userId = systemcalls::userId();
    sources.processId = systemcalls::processId();
    sources.sessionId = qEnvironmentVariable("XDG_SESSION_ID");
#ifdef TOCKA_HAVE_XCB
    // Under a Wayland compositor the X server (XWayland) sees only the input
    // that goes to X windows: typing into any other window would count as
    // idle. There the login manager's hint is all we have.
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
        || qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 && !wayland) {
        auto idle = std::make_shared<X11IdleTime>(x11->connection());
        sources.inputIdleMs = [idle] { return idle->idleMs(); };
    }
#endif
    presence_ = std::make_unique<DesktopPresence>(std::move(sources));
    return *presence_;
}

std::optional<qint64> QtPlatform::idleMs()
{
    return presence().idleMs();
}

bool QtPlatform::screenLocked()
{
    return presence().screenLocked();
}

std::optional<bool> QtPlatform::idleInhibited()
{
    return presence().idleInhibited();
}

void QtPlatform::watchLock(std::function<void(bool, qint64)> changed)
{
    presence().watchLock(std::move(changed));
}

} // namespace platform
