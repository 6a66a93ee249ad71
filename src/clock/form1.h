// SPDX-License-Identifier: MIT
#pragma once
// Tocka's clock window: a borderless strip whose one label shows how long the
// session has run. It starts the session, ticks the session clock, and when it
// unloads writes the session into the logs. Bouncing, the mouse on the face
// and the break alarm are classes of their own that the window owns; the
// handlers keep the names the window has always had and hand over to them.

#include "clock/bouncemotion.h"
#include "clock/breakalarm.h"
#include "clock/facegestures.h"
#include "core/clock/sessionclock.h"
#include "core/session/awayline.h"
#include "core/session/awaytally.h"
#include "core/session/record.h"
#include "forms/form.h"
#include "forms/labelcontrol.h"
#include "forms/timercontrol.h"
#include "links/clockface.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>

namespace links { class TockaWindows; }

namespace core::session { class SessionKeeper; }

namespace clockwindow {

class Form1 : public forms::Form, public links::ClockFace
{
    Q_OBJECT
public:
    explicit Form1(links::TockaWindows &app);
    ~Form1() override;

    // The two looks of the face, in twips.
    static constexpr float kBigWidth = 1220;
    static constexpr float kBigHeight = 275;
    static constexpr float kSmallWidth = 450;
    static constexpr float kSmallHeight = 130;

    void Form_Load() override;
    void Form_Unload() override;
    void Timer1_Timer();
    void FormatClockFace();

    // Settings file: read at start-up, written at exit (settingsfile.cpp).
    void LoadSettings();
    void SaveSettings();

    // Mouse on the clock face.
    void Label1_MouseDown(int Button, int /*Shift*/, float X, float Y) { gestures_.mouseDown(Button, X, Y); }
    void Label1_MouseMove(int /*Button*/, int /*Shift*/, float X, float Y) { gestures_.mouseMove(X, Y); }
    void Label1_MouseUp(int /*Button*/, int /*Shift*/, float /*X*/, float /*Y*/) { gestures_.mouseUp(); }
    void Label1_Click() { gestures_.click(); }
    void Label1_DblClick() { gestures_.doubleClick(); }
    void CycleClockColour() { gestures_.cycleColour(); }

    // Bouncing.
    void Bounce_Timer() { bounce_.tick(); }

    // Break alarm.
    void InitAlarm() override { alarm_.init(); }
    void AlarmActivate() { alarm_.activate(); }
    void TockaAlarmTimer_Timer() { alarm_.tick(); }
    // True while the alarm beeps; ticks that run inside the beeping raise no
    // alarm of their own.
    bool alarmBeeping() const { return alarm_.beeping(); }

    // The big look of the face's text.
    void applyBigLook();

    // What the settings window reaches.
    forms::Form &window() override { return *this; }
    forms::LabelControl &faceLabel() override { return Label1; }
    forms::TimerControl &bounceTimer() override { return Bounce; }
    forms::TimerControl &alarmTimer() override { return TockaAlarmTimer; }
    std::int16_t &speedX() override { return SpeedX; }
    std::int16_t &speedY() override { return SpeedY; }
    void keepAbove(bool above) override;
    void storeAlwaysTop(int value) override { AlwaysTop = value; }
    void storeFadeSettings(const links::FadeSettings &shown) override { LastFadeSettings = shown; }

    // Controls.
    forms::LabelControl Label1;
    forms::TimerControl Timer1;
    forms::TimerControl TockaAlarmTimer;
    forms::TimerControl Bounce;

    // The session.
    core::clock::SessionClock session;

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
    std::optional<links::FadeSettings> LastFadeSettings;

    // Time away from the computer in this session, as it would be logged
    // now; whether it is counted, and after how long without input the
    // time is idle (0: idle is not counted).
    core::session::AwaySeconds awayNow() const;
    bool countingAway() const;
    void setCountingAway(bool counting);
    void setIdleMinutes(double minutes);
    double idleMinutes() const { return idleMinutes_; }

    // True in a copy refused because another one runs: it has no session
    // and is only showing the user why it ends.
    bool refusedAsSecondCopy() const { return refused_; }

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

protected:
    // Bouncing moves the window sixteen times a second: through the platform,
    // which knows the cheap way to.
    void moveWindow(QPoint topLeft) override;

private:
    void writeSessionLogs();
    void tellWhenShown(const QStringList &messages);
    void watchPresence();
    std::optional<core::session::AwayTally::Reading> awayReading(bool atTick);
    core::session::SessionRecord recordNow() const;

    links::TockaWindows &app_;
    BounceMotion bounce_;
    FaceGestures gestures_;
    BreakAlarm alarm_;
    // The session's way to the logs; none in a copy that was refused.
    std::unique_ptr<core::session::SessionKeeper> keeper_;
    bool refused_ = false;
    double idleMinutes_ = 5;
    bool watchingPresence_ = false;
};

} // namespace clockwindow
