// SPDX-License-Identifier: MIT
#pragma once

namespace links { class TockaWindows; }

namespace settings {
// The alarm panel: switching the break alarm on and off, and applying its
// four boxes.

class FrmSetting;

class AlarmPanel
{
public:
    AlarmPanel(FrmSetting &window, links::TockaWindows &app)
        : s_(window)
        , app_(app)
    {
    }

    void TockaMode_Click();
    void ApplyAlarmSettings();

private:
    FrmSetting &s_;
    links::TockaWindows &app_;
};

} // namespace settings
