// SPDX-License-Identifier: MIT
#include "clock/form1.h"

#include "clock/sessionmessages.h"
#include "core/session/record.h"
#include "core/session/sessionkeeper.h"
#include "core/units/colour.h"
#include "core/units/twips.h"
#include "forms/fonts.h"
#include "links/tockawindows.h"
#include "platform/platform.h"

#include <QDir>
#include <QTimer>
#include <QWindow>

#include <cstdio>

namespace clockwindow {

namespace {

// Design-time look of the clock face.
constexpr core::units::Colour kDesignForeColour = 0x00C0C000; // red 0, green 192, blue 192

void toStandardError(const QString &message)
{
    std::fprintf(stderr, "tocka: %s\n", qPrintable(message));
}

} // namespace

Form1::Form1(links::TockaWindows &app)
    : forms::Form(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , Label1(this, QStringLiteral("Time On:"))
    , Timer1(this, 1000, false) // started once the window has loaded
    , TockaAlarmTimer(this, 2000, false)
    , Bounce(this, 60, false)
    , app_(app)
    , bounce_(*this, app)
    , gestures_(*this, app)
    , alarm_(*this, app)
{
    setObjectName(QStringLiteral("Form1"));
    setCaption(QStringLiteral("Been On Since"));
    setAccessibleName(QStringLiteral("Tocka"));
    setAccessibleDescription(QStringLiteral("How long this session at the computer has run"));

    Label1.setObjectName(QStringLiteral("Label1"));
    Label1.setGeometry(0, 0, core::units::twipsToPixels(1215), core::units::twipsToPixels(275));
    Label1.setBackColor(0);
    Label1.setForeColor(kDesignForeColour);
    Label1.setAccessibleDescription(QStringLiteral("Session time"));
    applyBigLook();

    Timer1.onTimer = [this] { Timer1_Timer(); };
    Bounce.onTimer = [this] { Bounce_Timer(); };
    TockaAlarmTimer.onTimer = [this] { TockaAlarmTimer_Timer(); };
    gestures_.wire();
}

Form1::~Form1() = default;

void Form1::applyBigLook()
{
    Label1.setFont(forms::fonts::font(QStringLiteral("Verdana"), 12, true));
    Label1.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void Form1::Form_Load()
{
    platform::Platform &platform = app_.platform();
    if (!platform.claimSingleInstance()) {
        refused_ = true;
        const QString problem = platform.singleInstanceProblem();
        platform.messageBox(problem.isEmpty() ? QStringLiteral("Its not Tocka yet! Quit Being so fiesty, damnit!") : problem,
                            links::TockaWindows::title());
        platform.endProcessNow();
    }
    session.start(platform.secondsSinceMidnight(), platform.timeOfDay(), platform.today());
    keeper_ = std::make_unique<core::session::SessionKeeper>(app_.journalFolders(), QDir::currentPath(),
                                                             [this] { return recordNow(); });
    const core::session::SessionKeeper::Started started = keeper_->start(
        {platform.currentUtc().toMSecsSinceEpoch(), platform.monotonicMs(), platform.bootMs(), false});
    if (!started.journalProblem.isEmpty())
        toStandardError(started.journalProblem);
    tellWhenShown(owedSessionMessages(started.owed));
    setHeight(kBigHeight);
    setWidth(kBigWidth);
    LoadSettings();
    SettingVersion = QStringLiteral("2.0");
    if (countingAway())
        watchPresence();
    Timer1.setEnabled(true);
}

// The screen lock, from now on; nothing of the desktop's is asked for while
// time away is not counted.
void Form1::watchPresence()
{
    if (watchingPresence_)
        return;
    watchingPresence_ = true;
    platform::Platform &platform = app_.platform();
    platform.watchLock([this](bool locked, qint64 monotonicMs) {
        if (keeper_)
            keeper_->setLocked(locked, monotonicMs);
    });
    if (platform.screenLocked())
        keeper_->setLocked(true, platform.monotonicMs());
}

// The readings time away is counted from, at a tick or as the session ends.
// The idle time only when a stretch could have reached the threshold since
// it was last read, and whether idleness is held off only when it has: so
// while someone works, the desktop is asked a few times an hour.
std::optional<core::session::AwayTally::Reading> Form1::awayReading(bool atTick)
{
    if (!keeper_->countingAway())
        return std::nullopt;
    platform::Platform &platform = app_.platform();
    core::session::AwayTally::Reading r;
    r.monotonicMs = platform.monotonicMs();
    r.bootMs = platform.bootMs();
    // As the session ends, a stretch under way is read once more, to close it.
    r.idleRead = atTick ? keeper_->wantsIdleAt(r.monotonicMs) : keeper_->idleStretch();
    if (r.idleRead) {
        r.idleMs = platform.idleMs();
        // Also at the reading that finds a stretch ended: its answer may
        // have come only since.
        if (r.idleMs && idleMinutes_ > 0 && (*r.idleMs >= idleMinutes_ * 60000.0 || keeper_->idleStretch()))
            r.idleInhibited = platform.idleInhibited();
    }
    return r;
}

void Form1::moveWindow(QPoint topLeft)
{
    app_.platform().moveWindow(*this, topLeft);
}

void Form1::Timer1_Timer()
{
    platform::Platform &platform = app_.platform();
    session.Timer1_Timer(platform.secondsSinceMidnight(), platform.today(), Timer1.Interval());
    FormatClockFace();
    if (const QString problem = keeper_->tick(session.ElapsedSecs, awayReading(true)); !problem.isEmpty())
        toStandardError(problem); // said once; the session is still logged at exit as usual
}

void Form1::FormatClockFace()
{
    Label1.setCaption(session.ClockText);
    setCaption(QStringLiteral("Zemlo:  ") + session.ClockText);
}

core::session::SessionRecord Form1::recordNow() const
{
    platform::Platform &platform = app_.platform();
    return {platform.today(), session.StartTime, platform.timeOfDay(), session.ElapsedSecs, session.ClockText};
}

core::session::AwaySeconds Form1::awayNow() const
{
    return keeper_ ? keeper_->away() : core::session::AwaySeconds{};
}

bool Form1::countingAway() const
{
    return keeper_ && keeper_->countingAway();
}

void Form1::setCountingAway(bool counting)
{
    if (!keeper_ || counting == keeper_->countingAway())
        return;
    keeper_->setCountingAway(counting);
    if (counting && Timer1.Enabled()) {
        // Switched back on: counted from now, not from before it was off.
        platform::Platform &platform = app_.platform();
        watchPresence();
        keeper_->restartAway(platform.monotonicMs(), platform.bootMs(), platform.screenLocked());
    }
}

void Form1::setIdleMinutes(double minutes)
{
    idleMinutes_ = minutes;
    if (keeper_)
        keeper_->setIdleThresholdMs(static_cast<qint64>(minutes * 60000.0 + 0.5));
}

// Sessions that earlier runs left owed are reported as soon as the window is
// up: on standard error at once, in a message box once the event loop runs.
void Form1::tellWhenShown(const QStringList &messages)
{
    if (messages.isEmpty())
        return;
    for (const QString &message : messages)
        toStandardError(message);
    QTimer::singleShot(0, this, [this, text = messages.join(QLatin1String("\n\n"))] { app_.tellUser(text); });
}

void Form1::Form_Unload()
{
    Timer1.setEnabled(false);
    // A refused second copy that is told to end while its message is still
    // up has no session, and the settings belong to the copy that runs.
    if (!keeper_)
        return;
    writeSessionLogs();
    SaveSettings();
}

void Form1::writeSessionLogs()
{
    app_.platform().watchLock({});
    const core::session::SessionKeeper::Finished finished = keeper_->finish(awayReading(false));
    for (const QString &message : owedSessionMessages(finished.owed))
        toStandardError(message);
    if (const QString message = endedSessionMessage(finished.session); !message.isEmpty()) {
        toStandardError(message);
        app_.tellUser(message);
    }
}

// Keeps the window above all others, or stops doing so, without re-creating,
// moving or hiding it: the native window that is mapped only changes its
// window-manager state. A window not yet shown takes the flag when it is.
void Form1::keepAbove(bool above)
{
    Qt::WindowFlags flags = windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, above);
    if (flags != windowFlags()) {
        overrideWindowFlags(flags);
        if (QWindow *handle = windowHandle())
            handle->setFlags(flags);
    }
    if (above && isVisible())
        raise();
}

} // namespace clockwindow
