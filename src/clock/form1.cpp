#include "form1.h"

#include "checkpoint.h"
#include "colour.h"
#include "fonts.h"
#include "logappender.h"
#include "platform.h"
#include "record.h"
#include "tockawindows.h"
#include "twips.h"

#include <QDir>
#include <QWindow>

#include <cstdio>

namespace {

// Design-time look of the clock face.
constexpr Colour kDesignForeColour = 0x00C0C000; // red 0, green 192, blue 192
constexpr int kCheckpointEverySecs = 60;

} // namespace

Form1::Form1(TockaWindows &app)
    : Form(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
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
    Label1.setGeometry(0, 0, twips::toPixels(1215), twips::toPixels(275));
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
    Label1.setFont(fonts::font(QStringLiteral("Verdana"), 12, true));
    Label1.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
}

void Form1::Form_Load()
{
    Platform &platform = app_.platform();
    if (!platform.claimSingleInstance()) {
        platform.messageBox(QStringLiteral("Its not Tocka yet! Quit Being so fiesty, damnit!"), TockaWindows::title());
        platform.endProcessNow();
    }
    session.start(platform.secondsSinceMidnight(), platform.timeOfDay(), platform.today());
    sessionStarted_ = true;
    logFolder_ = QDir::currentPath();
    setHeight(kBigHeight);
    setWidth(kBigWidth);
    LoadSettings();
    SettingVersion = QStringLiteral("2.0");
    Timer1.setEnabled(true);
}

void Form1::Timer1_Timer()
{
    Platform &platform = app_.platform();
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

void Form1::saveCheckpoint()
{
    Platform &platform = app_.platform();
    sessionlog::Checkpoint c;
    c.record = {platform.today(), session.StartTime, platform.timeOfDay(), session.ElapsedSecs, session.ClockText};
    c.folder = logFolder_;
    c.pending = {QString::fromLatin1(sessionlog::kLogFileName), QString::fromLatin1(sessionlog::kDataLogFileName)};
    QString error;
    if (app_.checkpoints().save(c, &error)) {
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
    Platform &platform = app_.platform();
    // Each log takes the date and time afresh, as they stand when it is written.
    sessionlog::SessionRecord r{platform.today(), session.StartTime, platform.timeOfDay(), session.ElapsedSecs,
                                session.ClockText};
    QStringList errors;
    QStringList failed;
    auto append = [&](const char *name, const QByteArray &bytes) {
        const auto result = sessionlog::appendRecord(QDir(logFolder_).filePath(QString::fromLatin1(name)), bytes);
        if (!result.ok) {
            failed << QString::fromLatin1(name);
            errors << result.error;
        }
    };
    append(sessionlog::kLogFileName, sessionlog::displayForm(r));
    r.endDate = platform.today();
    r.endTime = platform.timeOfDay();
    append(sessionlog::kDataLogFileName, sessionlog::dataForm(r));

    const sessionlog::CheckpointStore &store = app_.checkpoints();
    if (failed.isEmpty()) {
        store.remove();
        logged_ = true;
        return;
    }
    // Park the record for the logs that refused it; the next start writes it.
    sessionlog::Checkpoint c{r, logFolder_, failed};
    QString parkError;
    const bool parked = store.save(c, &parkError);
    logged_ = parked;
    QString message = QStringLiteral("Tocka could not write this session to the log: %1.")
                          .arg(errors.join(QLatin1String("; ")));
    message += parked ? QStringLiteral(" The session is kept and will be written at the next start.")
                      : QStringLiteral(" Keeping it for the next start failed as well: %1.").arg(parkError);
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
