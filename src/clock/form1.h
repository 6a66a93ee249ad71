#pragma once
// Tocka's clock window: a borderless strip whose one label shows how long the
// session has run. It starts the session, ticks the session clock, and when it
// unloads writes the session into the logs.

#include "form.h"
#include "labelcontrol.h"
#include "record.h"
#include "sessionclock.h"
#include "timercontrol.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

class TockaApp;
namespace sessionlog {
class JournalEntry;
}

class Form1 : public Form
{
    Q_OBJECT
public:
    explicit Form1(TockaApp &app);
    ~Form1() override;

    void Form_Load() override;
    void Form_Unload() override;
    void Timer1_Timer();
    void FormatClockFace();

    // Settings file: read at start-up, written at exit.
    void LoadSettings();
    void SaveSettings();

    // Mouse on the clock face.
    void Label1_MouseDown(int Button, int Shift, float X, float Y);
    void Label1_MouseMove(int Button, int Shift, float X, float Y);
    void Label1_MouseUp(int Button, int Shift, float X, float Y);
    void Label1_Click();
    void Label1_DblClick();
    void CycleClockColour();

    // Bouncing.
    void Bounce_Timer();

    // Break alarm.
    void InitAlarm();
    void AlarmActivate();
    void TockaAlarmTimer_Timer();

    // Big and small looks of the clock face.
    void applyBigLook();

    // Controls.
    LabelControl Label1;
    TimerControl Timer1;
    TimerControl TockaAlarmTimer;
    TimerControl Bounce;

    // The session.
    SessionClock session;

    // Settings held by the window.
    QString SettingVersion;
    QString WindowSizeMode = QStringLiteral("BIG");
    std::int16_t ColourMode = 0;

    // Shared with the settings window.
    std::int16_t DirX = 0;
    std::int16_t SpeedX = 0;
    std::int16_t DirY = 0;
    std::int16_t SpeedY = 0;
    std::optional<int> AlwaysTop; // empty until the settings window stores it

    // The fade settings as the settings window showed them when it last
    // closed. Closing that window destroys its boxes, and the exit save would
    // otherwise read a fresh window's design-time values instead of what the
    // user set.
    struct FadeSettings
    {
        QString FadeInterval;
        QString FadeMagnitude;
        QString ContrastOffset;
        int AllowFading = 0;
        int ClockBackFade = 0;
        int ClockFrontFade = 0;
        int SettingFormFade = 0;
        int SettingFrameFade = 0;
    };
    std::optional<FadeSettings> LastFadeSettings;

    // True once the session is safely in both logs (or kept in the journal
    // for the next start).
    bool sessionLogged() const { return logged_; }

    // Mouse state.
    float DragStartX = 0;
    float DragStartY = 0;
    std::int16_t Dragging = 0; // true = -1
    std::int16_t LastMouseButton = 0;

    // Break alarm: the period running now.
    float AlarmStartTimer = 0;
    QDate AlarmStartDate;
    QString AlarmUntil; // the text the period's length was taken from
    std::int32_t AlarmElapsedSecs = 0;
    std::optional<double> AlarmRemaining; // minutes; empty until the first tick
    // True while the alarm beeps; ticks that run inside the beeping raise no
    // alarm of their own.
    bool alarmBeeping() const { return alarmBeeping_; }

private:
    void wireMouseAndMotion();
    void saveCheckpoint();
    void writeSessionLogs();
    sessionlog::SessionRecord recordNow() const;

    TockaApp &app_;
    QString logFolder_;
    double lastCheckpointAt_ = -1;
    std::unique_ptr<sessionlog::JournalEntry> journalEntry_; // this session's, held while it runs
    bool logged_ = false;
    bool sessionStarted_ = false; // false in a copy that was refused

    // Clock face looks and the break alarm.
    void stepColourFrom(int mode);
    void switchWindowSize();
    double alarmSecondsSinceStart() const;
    void beepForFiveSeconds();
    double alarmMinutes_ = 20; // the running period's length as a number
    bool alarmBeeping_ = false;
};
