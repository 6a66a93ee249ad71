// SPDX-License-Identifier: MIT
#pragma once

namespace links { class TockaWindows; }

namespace settings {
// The colour fade panel: the master switch and its four targets, the fade
// timer, and applying the three fade boxes.

class FrmSetting;

class FadePanel
{
public:
    FadePanel(FrmSetting &window, links::TockaWindows &app)
        : s_(window)
        , app_(app)
    {
    }

    void ChkFade_Click();
    void SettingFormTimer_Timer();
    void ApplyFadeSettings();

private:
    FrmSetting &s_;
    links::TockaWindows &app_;
};

} // namespace settings
