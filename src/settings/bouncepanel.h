// SPDX-License-Identifier: MIT
#pragma once

namespace links { class TockaWindows; }

namespace settings {
// The bounce panel: the interval and the two steps of the clock window's
// bouncing.

class FrmSetting;

class BouncePanel
{
public:
    BouncePanel(FrmSetting &window, links::TockaWindows &app)
        : s_(window)
        , app_(app)
    {
    }

    void ApplyBounceSettings();
    void BunInt_Change();

private:
    FrmSetting &s_;
    links::TockaWindows &app_;
};

} // namespace settings
