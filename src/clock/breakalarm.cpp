// SPDX-License-Identifier: MIT
#include "clock/breakalarm.h"

#include "clock/form1.h"
#include "core/clock/alarmcount.h"
#include "core/text/numbers.h"
#include "core/text/regional.h"
#include "forms/othercontrols.h"
#include "forms/textboxcontrol.h"
#include "links/settingspanel.h"
#include "links/tockawindows.h"
#include "platform/platform.h"

#include <QPointer>

#include <cmath>

namespace clockwindow {

namespace {

constexpr double kBeepForSecs = 5.0;
// A 0.14 s bell every half second reads as an alarm without running the
// sounds into each other.
constexpr double kBeepEverySecs = 0.5;
// Long enough to leave the processor idle between events, short enough that
// the beeps keep their pace.
constexpr int kWaitMs = 50;

} // namespace

void BreakAlarm::init()
{
    platform::Platform &platform = app_.platform();
    clock_.AlarmStartTimer = platform.secondsSinceMidnight();
    clock_.AlarmStartDate = platform.today();
    clock_.AlarmUntil = app_.FrmSetting().alarmUntilBox().Text();
    // A box that holds no number (emptied, a separator alone) cannot give a
    // length; the alarm then keeps the length of the period it ran last,
    // 20 minutes before any, rather than stop or beep without end.
    if (const auto minutes = core::clock::parseAlarmMinutes(clock_.AlarmUntil, core::text::decimalPoint()))
        minutes_ = *minutes;
}

double BreakAlarm::secondsSinceStart() const
{
    const platform::Platform &platform = app_.platform();
    const float e = platform.secondsSinceMidnight() - clock_.AlarmStartTimer;
    return static_cast<double>(clock_.AlarmStartDate.daysTo(platform.today())) * 86400.0 + static_cast<double>(e);
}

void BreakAlarm::activate()
{
    links::SettingsPanel &settings = app_.FrmSetting();
    settings.alarmUntilBox().setTextFromCode(settings.alarmIntervalBox().Text());
    init();
    beepForFiveSeconds();
}

void BreakAlarm::beepForFiveSeconds()
{
    // Pending events run inside the loop, and one of them may close this
    // window for good: nothing here may touch it once it is gone.
    const QPointer<Form1> self(&clock_);
    platform::Platform &platform = app_.platform();
    beeping_ = true;
    double nextBeepAt = 0;
    for (;;) {
        const double elapsed = secondsSinceStart();
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
        if (clock_.isUnloaded())
            break;
    }
    beeping_ = false;
}

void BreakAlarm::tick()
{
    const platform::Platform &platform = app_.platform();
    clock_.AlarmElapsedSecs = core::clock::alarmElapsedSeconds(clock_.AlarmStartDate.daysTo(platform.today()),
                                                               platform.secondsSinceMidnight(),
                                                               clock_.AlarmStartTimer);
    const double remaining = minutes_ - static_cast<double>(clock_.AlarmElapsedSecs) / 60.0;
    clock_.AlarmRemaining = remaining;

    forms::TextBoxControl &until = app_.FrmSetting().alarmUntilBox();
    until.setTextFromCode(
        core::clock::alarmCountdownText(remaining, until.MaxLength(), core::text::decimalPoint()));

    if (remaining <= 0 && !beeping_) {
        const QPointer<Form1> self(&clock_);
        activate();
        if (!self)
            return;
    }
    // After an alarm this is the new period's length less the seconds of the
    // one just ended, until the next tick sets it right.
    app_.FrmSetting().alarmNote().setTextFromCode(core::text::numberText(
        minutes_ * 60.0 - static_cast<double>(clock_.AlarmElapsedSecs), core::text::decimalPoint()));
}

} // namespace clockwindow
