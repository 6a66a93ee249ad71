// SPDX-License-Identifier: MIT
#include "settings/fadepanel.h"

#include "core/text/numbers.h"
#include "core/text/numericentry.h"
#include "core/text/regional.h"
#include "links/clockface.h"
#include "links/tockawindows.h"
#include "platform/platform.h"
#include "settings/boxnumbers.h"
#include "settings/frmsetting.h"

namespace settings {

namespace {

template<class Control>
void paintBack(Control &control, core::units::Colour colour)
{
    // Repainting a frame repaints everything in it: skip what would not change.
    if (control.BackColor() != colour)
        control.setBackColor(colour);
}

} // namespace

void FadePanel::ChkFade_Click()
{
    FrmSetting &s = s_;
    const int value = s.ChkFade.Value();
    if (value != 0 && value != 1)
        return;
    const bool on = value == 1;
    s.SettingFormTimer.setEnabled(on);
    for (forms::CheckBoxControl *target :
        { &s.ChkClockFade, &s.ChkClockFaceFade, &s.ChkSettingFormFade, &s.ChkSettingFrameFade })
        target->setEnabled(on);
}

void FadePanel::SettingFormTimer_Timer()
{
    FrmSetting &s = s_;
    platform::Platform &platform = app_.platform();
    platform.randomize(platform.secondsSinceMidnight());
    s.fade.tick(core::clock::ColourFade::divisor(s.ActiveFadeMag, core::text::decimalPoint()),
        [&platform] { return platform.rnd(); });

    const core::units::Colour colour = s.fade.colour();
    // Fading paints the clock face only while it is there: a tick must never
    // bring a closed clock window back.
    forms::LabelControl *face = app_.isForm1Loaded() ? &app_.form1().faceLabel() : nullptr;
    if (s.ChkClockFade.Value() == 1 && face)
        paintBack(*face, colour);
    if (s.ChkClockFaceFade.Value() == 1 && face) {
        const core::units::Colour fore = s.fade.contrastColour(s.ActiveContrastOffset);
        if (face->ForeColor() != fore)
            face->setForeColor(fore);
    }
    if (s.ChkSettingFormFade.Value() == 1 && s.BackColor() != colour)
        s.setBackColor(colour);
    if (s.ChkSettingFrameFade.Value() == 1) {
        paintBack(s.FrameColor, colour);
        paintBack(s.FrameBounce, colour);
        paintBack(s.FrameAlarm, colour);
        paintBack(s.FrameFade, colour);
        paintBack(s.ChkFade, colour);
        paintBack(s.ChkClockFade, colour);
        paintBack(s.ChkClockFaceFade, colour);
        paintBack(s.ChkSettingFormFade, colour);
        paintBack(s.ChkSettingFrameFade, colour);
    }
}

void FadePanel::ApplyFadeSettings()
{
    FrmSetting &s = s_;
    // A timer cannot take more than 65535 ms: the box is limited like the
    // other boxes are, so it shows the interval in force.
    double interval = boxnumbers::take(s.FadeInterval, s.SettingFormTimer.Interval());
    interval = boxnumbers::limit(s.FadeInterval, interval, 0, 65535);
    s.SettingFormTimer.setInterval(boxnumbers::timerInterval(interval));

    boxnumbers::take(s.FadeMag, core::text::numberOf(s.ActiveFadeMag).value_or(20));
    s.ActiveFadeMag = s.FadeMag.Text();

    double contrast = boxnumbers::take(s.ContrastOffset, s.ActiveContrastOffset);
    contrast = boxnumbers::limit(s.ContrastOffset, contrast, 0, 255);
    s.ActiveContrastOffset = contrast;
}

} // namespace settings
