// SPDX-License-Identifier: MIT
#pragma once
// The colour fade panel: the master switch and its four targets, the fade
// timer, and applying the three fade boxes.

class FrmSetting;
class TockaWindows;

class FadePanel
{
public:
    FadePanel(FrmSetting &window, TockaWindows &app)
        : s_(window)
        , app_(app)
    {
    }

    void ChkFade_Click();
    void SettingFormTimer_Timer();
    void ApplyFadeSettings();

private:
    FrmSetting &s_;
    TockaWindows &app_;
};
