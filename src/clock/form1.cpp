// SPDX-License-Identifier: MIT
#include "clock/form1.h"

#include "core/session/journal.h"
#include "core/session/logappender.h"
#include "core/session/record.h"
#include "core/units/colour.h"
#include "core/units/twips.h"
#include "forms/fonts.h"
#include "links/tockawindows.h"
#include "platform/platform.h"

#include <QDir>
#include <QSet>
#include <QWindow>

#include <cstdio>

namespace clockwindow {

namespace {

// Design-time look of the clock face.
constexpr core::units::Colour kDesignForeColour = 0x00C0C000; // red 0, green 192, blue 192
constexpr int kCheckpointEverySecs = 60;

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
        const QString problem = platform.singleInstanceProblem();
        platform.messageBox(problem.isEmpty() ? QStringLiteral("Its not Tocka yet! Quit Being so fiesty, damnit!") : problem,
                            links::TockaWindows::title());
        platform.endProcessNow();
    }
    session.start(platform.secondsSinceMidnight(), platform.timeOfDay(), platform.today());
    sessionStarted_ = true;
    logFolder_ = QDir::currentPath();
    // The session is owed to the logs from its first moment: killed before
    // its first tick, it is still logged, with no length. The first tick
    // saves it again with its length.
    saveCheckpoint();
    if (lastCheckpointAt_ >= 0)
        lastCheckpointAt_ = -1;
    setHeight(kBigHeight);
    setWidth(kBigWidth);
    LoadSettings();
    SettingVersion = QStringLiteral("2.0");
    Timer1.setEnabled(true);
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
    const double elapsed = session.ElapsedSecs.value_or(0.0);
    if (lastCheckpointAt_ < 0 || elapsed - lastCheckpointAt_ >= kCheckpointEverySecs || elapsed < lastCheckpointAt_)
        saveCheckpoint();
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

void Form1::saveCheckpoint()
{
    QString error;
    bool saved = false;
    if (journalEntry_) {
        saved = journalEntry_->update(recordNow(), &error);
    } else {
        journalEntry_ = app_.journal().begin(recordNow(), logFolder_, &error);
        saved = journalEntry_ != nullptr;
    }
    if (saved) {
        lastCheckpointAt_ = session.ElapsedSecs.value_or(0.0);
    } else if (lastCheckpointAt_ != -2) {
        // Said once; the session is still logged at exit as usual.
        std::fprintf(stderr, "tocka: %s\n", qPrintable(error));
        lastCheckpointAt_ = -2;
    }
}

void Form1::Form_Unload()
{
    Timer1.setEnabled(false);
    // A refused second copy that is told to end while its message is still
    // up has no session, and the settings belong to the copy that runs.
    if (!sessionStarted_)
        return;
    writeSessionLogs();
    SaveSettings();
}

void Form1::writeSessionLogs()
{
    // Sessions of earlier runs still owed go first, so each log keeps its
    // order; a log one of them cannot reach holds this session back too.
    QSet<QString> blocked;
    const core::session::Journal::Delivery owed = app_.journal().deliverOwed(QLocale(), &blocked);
    for (const QString &message : owed.messages)
        std::fprintf(stderr, "tocka: %s\n", qPrintable(message));

    if (!journalEntry_) {
        QString error;
        journalEntry_ = app_.journal().begin(recordNow(), logFolder_, &error);
    }
    // Each log takes the date and time afresh, as they stand when it is written.
    const auto render = [this](const QString &name) {
        const core::session::SessionRecord r = recordNow();
        return name == QLatin1String(core::session::kDataLogFileName) ? core::session::dataForm(r)
                                                                    : core::session::displayForm(r);
    };
    QStringList errors;
    bool parked = false;
    if (journalEntry_) {
        const bool delivered = journalEntry_->deliver(render, &blocked);
        errors = journalEntry_->errors();
        // The session is over: what is left of its entry belongs to whichever
        // copy starts next.
        journalEntry_.reset();
        if (delivered) {
            logged_ = true;
            return;
        }
        parked = true;
    } else {
        // No journal to keep it in: straight into the logs, come what may.
        for (const char *name : {core::session::kLogFileName, core::session::kDataLogFileName}) {
            const QString file = QString::fromLatin1(name);
            const auto result = core::session::appendRecord(QDir(logFolder_).filePath(file), render(file));
            if (!result.ok)
                errors << result.error;
        }
        if (errors.isEmpty()) {
            logged_ = true;
            return;
        }
    }
    logged_ = parked;
    QString message = QStringLiteral("Tocka could not write this session to the log: %1.")
                          .arg(errors.join(QLatin1String("; ")));
    message += parked ? QStringLiteral(" The session is kept and will be written at the next start.")
                      : QStringLiteral(" Keeping it for the next start failed as well.");
    std::fprintf(stderr, "tocka: %s\n", qPrintable(message));
    app_.tellUser(message);
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
