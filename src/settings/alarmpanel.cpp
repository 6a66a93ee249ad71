// SPDX-License-Identifier: MIT
#include "settings/alarmpanel.h"

#include "core/text/numbers.h"
#include "forms/timercontrol.h"
#include "links/clockface.h"
#include "links/tockawindows.h"
#include "settings/boxnumbers.h"
#include "settings/frmsetting.h"

#include <array>

namespace settings {

void AlarmPanel::TockaMode_Click()
{
    FrmSetting &s = s_;
    // Greyed out together, in this order, when the alarm is switched off.
    const std::array<QWidget *, 9> controls = {&s.AlarmInterval, &s.tockUntil, &s.TockForceBreak,
                                               &s.TockBreakLenth, &s.TockaAlarmResolution, &s.Label18,
                                               &s.Label9,        &s.Label13,   &s.Label17};
    switch (s.TockaMode.Value()) {
    case 0:
        app_.form1().alarmTimer().setEnabled(false);
        for (QWidget *control : controls)
            control->setEnabled(false);
        break;
    case 1:
        app_.form1().alarmTimer().setEnabled(true);
        for (QWidget *control : controls)
            control->setEnabled(true);
        app_.form1().InitAlarm();
        break;
    default: // grayed: leave everything as it is
        break;
    }
}

void AlarmPanel::ApplyAlarmSettings()
{
    FrmSetting &s = s_;
    constexpr double kDesignMinutes = 20;
    for (forms::TextBoxControl *minutes : {&s.AlarmInterval, &s.tockUntil}) {
        const double v = boxnumbers::take(*minutes, kDesignMinutes);
        boxnumbers::limit(*minutes, v, 0, 86400);
    }
    forms::TimerControl &timer = app_.form1().alarmTimer();
    double resolution = boxnumbers::take(s.TockaAlarmResolution, timer.Interval());
    resolution = boxnumbers::limit(s.TockaAlarmResolution, resolution, 0, 65535);
    timer.setInterval(boxnumbers::timerInterval(resolution));
}

} // namespace settings
