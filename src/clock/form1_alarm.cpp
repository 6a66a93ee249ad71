// The break alarm: counts down a period of minutes and beeps when it runs out.

#include "form1.h"

#include "alarmcount.h"
#include "frmsetting.h"
#include "numbers.h"
#include "platform.h"
#include "regional.h"
#include "tockaapp.h"

#include <QPointer>

#include <cmath>

namespace {

constexpr double kBeepForSecs = 5.0;
// A 0.14 s bell every half second reads as an alarm without running the
// sounds into each other.
constexpr double kBeepEverySecs = 0.5;
// Long enough to leave the processor idle between events, short enough that
// the beeps keep their pace.
constexpr int kWaitMs = 50;

} // namespace

void Form1::InitAlarm()
{
    Platform &platform = app_.platform();
    AlarmStartTimer = platform.secondsSinceMidnight();
    AlarmStartDate = platform.today();
    AlarmUntil = app_.FrmSetting().tockUntil.Text();
    // A box that holds no number (emptied, a separator alone) cannot give a
    // length; the alarm then keeps the length of the period it ran last,
    // 20 minutes before any, rather than stop or beep without end.
    if (const auto minutes = alarmcount::parseMinutes(AlarmUntil, regional::decimalPoint()))
        alarmMinutes_ = *minutes;
}

double Form1::alarmSecondsSinceStart() const
{
    const Platform &platform = app_.platform();
    const float e = platform.secondsSinceMidnight() - AlarmStartTimer;
    return static_cast<double>(AlarmStartDate.daysTo(platform.today())) * 86400.0 + static_cast<double>(e);
}

void Form1::AlarmActivate()
{
    FrmSetting &settings = app_.FrmSetting();
    settings.tockUntil.setTextFromCode(settings.AlarmInterval.Text());
    InitAlarm();
    beepForFiveSeconds();
}

void Form1::beepForFiveSeconds()
{
    // Pending events run inside the loop, and one of them may close this
    // window for good: nothing here may touch it once it is gone.
    const QPointer<Form1> self(this);
    Platform &platform = app_.platform();
    alarmBeeping_ = true;
    double nextBeepAt = 0;
    for (;;) {
        const double elapsed = alarmSecondsSinceStart();
        // A clock set back during the beeping ends it rather than stretch it
        // to however far the clock went back.
        if (!(elapsed >= 0 && elapsed < kBeepForSecs))
            break;
        if (elapsed >= nextBeepAt) {
            platform.beep();
            nextBeepAt = (std::floor(elapsed / kBeepEverySecs) + 1) * kBeepEverySecs;
        }
        platform.waitForEvents(kWaitMs);
        if (!self)
            return;
        if (isUnloaded())
            break;
    }
    alarmBeeping_ = false;
}

void Form1::TockaAlarmTimer_Timer()
{
    const Platform &platform = app_.platform();
    AlarmElapsedSecs = alarmcount::elapsedSeconds(AlarmStartDate.daysTo(platform.today()),
                                                  platform.secondsSinceMidnight(), AlarmStartTimer);
    const double remaining = alarmMinutes_ - static_cast<double>(AlarmElapsedSecs) / 60.0;
    AlarmRemaining = remaining;

    TextBoxControl &until = app_.FrmSetting().tockUntil;
    until.setTextFromCode(alarmcount::countdownText(remaining, until.MaxLength(), regional::decimalPoint()));

    if (remaining <= 0 && !alarmBeeping_) {
        const QPointer<Form1> self(this);
        AlarmActivate();
        if (!self)
            return;
    }
    // After an alarm this is the new period's length less the seconds of the
    // one just ended, until the next tick sets it right.
    app_.FrmSetting().WARN.setTextFromCode(
        num::text(alarmMinutes_ * 60.0 - static_cast<double>(AlarmElapsedSecs), regional::decimalPoint()));
}
