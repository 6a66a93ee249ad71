#pragma once
// Tocka's clock window: a borderless strip whose one label shows how long the
// session has run. It starts the session, ticks the session clock, and when it
// unloads writes the session into the logs.

#include "form.h"
#include "labelcontrol.h"
#include "sessionclock.h"
#include "timercontrol.h"

#include <QString>

#include <cstdint>
#include <optional>

class TockaApp;

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
    void LoadSettings();

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

    // True once the session is safely in both logs (or parked in the
    // checkpoint for the next start).
    bool sessionLogged() const { return logged_; }

private:
    void saveCheckpoint();
    void writeSessionLogs();

    TockaApp &app_;
    QString logFolder_;
    double lastCheckpointAt_ = -1;
    bool logged_ = false;
};
