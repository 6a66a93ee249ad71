// SPDX-License-Identifier: MIT
#pragma once
// The bounce panel: the interval and the two steps of the clock window's
// bouncing.

class FrmSetting;
class TockaWindows;

class BouncePanel
{
public:
    BouncePanel(FrmSetting &window, TockaWindows &app)
        : s_(window)
        , app_(app)
    {
    }

    void ApplyBounceSettings();
    void BunInt_Change();

private:
    FrmSetting &s_;
    TockaWindows &app_;
};
