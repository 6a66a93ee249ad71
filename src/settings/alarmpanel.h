// SPDX-License-Identifier: MIT
#pragma once
// The alarm panel: switching the break alarm on and off, and applying its
// four boxes.

class FrmSetting;
class TockaWindows;

class AlarmPanel
{
public:
    AlarmPanel(FrmSetting &window, TockaWindows &app)
        : s_(window)
        , app_(app)
    {
    }

    void TockaMode_Click();
    void ApplyAlarmSettings();

private:
    FrmSetting &s_;
    TockaWindows &app_;
};
