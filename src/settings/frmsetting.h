// SPDX-License-Identifier: MIT
#pragma once
// The settings window: it shows and edits the clock window's colours, fading,
// bouncing, break alarm and always-on-top. Its controls are where the fade and
// alarm settings live while the program runs.

#include "core/clock/colourfade.h"
#include "core/units/colour.h"
#include "forms/checkboxcontrol.h"
#include "forms/form.h"
#include "forms/labelcontrol.h"
#include "forms/othercontrols.h"
#include "forms/textboxcontrol.h"
#include "forms/timercontrol.h"
#include "links/settingspanel.h"
#include "settings/alarmpanel.h"
#include "settings/bouncepanel.h"
#include "settings/colourschemeeditor.h"
#include "settings/fadepanel.h"
#include "settings/keyfilters.h"

#include <QString>

#include <cstdint>

namespace links { class TockaWindows; }

namespace settings {

class FrmSetting : public forms::Form, public links::SettingsPanel
{
    Q_OBJECT
public:
    explicit FrmSetting(links::TockaWindows &app);
    ~FrmSetting() override;

    core::units::Colour BackColor() const { return back_; }
    void setBackColor(core::units::Colour colour);

    // ---- Load, apply, close ----
    void Form_Load() override;
    void Form_Unload() override;
    void ViewChange(const QString &VCCallFrom) override { colours_.ViewChange(VCCallFrom); }
    void chkOnTop_Click() override;
    void BunInt_Change() { bounce_.BunInt_Change(); }
    void Command1_Click();

    // ---- Option panels, fading, picture ----
    void TockaMode_Click() { alarm_.TockaMode_Click(); }
    void ChkFade_Click() { fading_.ChkFade_Click(); }
    void SettingFormTimer_Timer() { fading_.SettingFormTimer_Timer(); }
    void Image1_Click();
    void ApplyBounceSettings() { bounce_.ApplyBounceSettings(); }
    void ApplyFadeSettings() { fading_.ApplyFadeSettings(); }
    void ApplyAlarmSettings() { alarm_.ApplyAlarmSettings(); }

    // ---- What the clock window reaches ----
    forms::Form &window() override { return *this; }
    forms::TextBoxControl &bounceIntervalBox() override { return BunInt; }
    forms::TextBoxControl &speedXBox() override { return BunXM; }
    forms::TextBoxControl &speedYBox() override { return BunYM; }
    forms::TextBoxControl &alarmIntervalBox() override { return AlarmInterval; }
    forms::TextBoxControl &alarmUntilBox() override { return tockUntil; }
    forms::MemoControl &alarmNote() override { return WARN; }
    forms::TextBoxControl &fadeIntervalBox() override { return FadeInterval; }
    forms::TextBoxControl &fadeMagnitudeBox() override { return FadeMag; }
    forms::TextBoxControl &contrastOffsetBox() override { return ContrastOffset; }
    forms::CheckBoxControl &allowFadingBox() override { return ChkFade; }
    forms::CheckBoxControl &clockBackFadeBox() override { return ChkClockFade; }
    forms::CheckBoxControl &clockFrontFadeBox() override { return ChkClockFaceFade; }
    forms::CheckBoxControl &settingFormFadeBox() override { return ChkSettingFormFade; }
    forms::CheckBoxControl &settingFrameFadeBox() override { return ChkSettingFrameFade; }
    links::FadeSettings fadeSettingsShown() const override;
    forms::TextBoxControl &foreHexBox() override { return ForeHex; }
    forms::TextBoxControl &backHexBox() override { return BackHex; }
    forms::CheckBoxControl &onTopBox() override { return chkOnTop; }

    // ---- Frames (constructed first: the controls inside are their children) ----
    forms::FrameControl FrameColor{this, QStringLiteral("  Color Scheme")};
    forms::FrameControl FrameFade{this, QStringLiteral("  Colour Fade")};
    forms::FrameControl FrameBounce{this, QStringLiteral("Bounce  ")};
    forms::FrameControl FrameAlarm{this, QStringLiteral(" Alarm Mode:  Tocka!")};
    forms::LabelControl LabelColor{&FrameColor, QStringLiteral("Color Scheme")};
    forms::LabelControl LabelFade{&FrameFade, QStringLiteral("Colour Fade")};
    forms::LabelControl LabelBounce{&FrameBounce, QStringLiteral("Bounce")};
    forms::LabelControl LabelTocka{&FrameAlarm, QStringLiteral(" Alarm Mode:  Tocka!")};

    // ---- Colour scheme ----
    forms::LabelControl Label1{&FrameColor, QStringLiteral("Fore G")};
    forms::LabelControl Label2{&FrameColor, QStringLiteral("Back G")};
    forms::LabelControl Label3{&FrameColor, QStringLiteral("Red")};
    forms::LabelControl Label4{&FrameColor, QStringLiteral("Green")};
    forms::LabelControl Label5{&FrameColor, QStringLiteral("Blue")};
    forms::TextBoxControl ForRed{&FrameColor, QStringLiteral("0"), 3};
    forms::TextBoxControl ForGreen{&FrameColor, QStringLiteral("0"), 3};
    forms::TextBoxControl ForBlue{&FrameColor, QStringLiteral("0"), 3};
    forms::TextBoxControl BacRed{&FrameColor, QStringLiteral("0"), 3};
    forms::TextBoxControl BacGreen{&FrameColor, QStringLiteral("0"), 3};
    forms::TextBoxControl BacBlue{&FrameColor, QStringLiteral("0"), 3};
    forms::LabelControl Label10{&FrameColor, QStringLiteral("Colour Scheme Hex")};
    forms::LabelControl Label11{&FrameColor, QStringLiteral("Fore G")};
    forms::LabelControl Label12{&FrameColor, QStringLiteral("Back G")};
    forms::TextBoxControl ForeHex{&FrameColor, QStringLiteral("0"), 6};
    forms::TextBoxControl BackHex{&FrameColor, QStringLiteral("0"), 6};

    // ---- Colour fade ----
    forms::LabelControl Label14{&FrameFade, QStringLiteral("Update Interval")};
    forms::LabelControl Label15{&FrameFade, QStringLiteral("Fade Magnitude")};
    forms::LabelControl Label16{&FrameFade, QStringLiteral("Contrast Offset")};
    forms::TextBoxControl FadeInterval{&FrameFade, QStringLiteral("0"), 5};
    forms::TextBoxControl FadeMag{&FrameFade, QStringLiteral("0"), 3};
    forms::TextBoxControl ContrastOffset{&FrameFade, QStringLiteral("0"), 3};
    forms::CheckBoxControl ChkFade{&FrameFade, QStringLiteral("Allow Fading"), 0};
    forms::CheckBoxControl ChkClockFade{&FrameFade, QStringLiteral("Clock Back Fade"), 0};
    forms::CheckBoxControl ChkClockFaceFade{&FrameFade, QStringLiteral("Clock Front Fade"), 0};
    forms::CheckBoxControl ChkSettingFormFade{&FrameFade, QStringLiteral("Settings Form Fade"), 0};
    forms::CheckBoxControl ChkSettingFrameFade{&FrameFade, QStringLiteral("Setting Frame Fade"), 0};

    // ---- Bounce ----
    forms::LabelControl Label6{&FrameBounce, QStringLiteral("Update Interval")};
    forms::LabelControl Label7{&FrameBounce, QStringLiteral("Horizontal Movement")};
    forms::LabelControl Label8{&FrameBounce, QStringLiteral("Vertical Movement")};
    forms::TextBoxControl BunInt{&FrameBounce, QStringLiteral("0"), 5};
    forms::TextBoxControl BunXM{&FrameBounce, QStringLiteral("0"), 3};
    forms::TextBoxControl BunYM{&FrameBounce, QStringLiteral("0"), 3};

    // ---- Alarm ----
    forms::CheckBoxControl TockaMode{&FrameAlarm, QStringLiteral("Tock Enabled"), 1};
    forms::CheckBoxControl TockForceBreak{&FrameAlarm, QStringLiteral("Force Break"), 0};
    forms::LabelControl Label9{&FrameAlarm, QStringLiteral("Tocka Interval")};
    forms::LabelControl Label13{&FrameAlarm, QStringLiteral("Time Until Tock")};
    forms::LabelControl Label17{&FrameAlarm, QStringLiteral("Break Duration")};
    forms::LabelControl Label18{&FrameAlarm, QStringLiteral("Resolution")};
    forms::TextBoxControl AlarmInterval{&FrameAlarm, QStringLiteral("20"), 8};
    forms::TextBoxControl tockUntil{&FrameAlarm, QStringLiteral("20"), 8};
    forms::TextBoxControl TockBreakLenth{&FrameAlarm, QStringLiteral("0"), 5};
    forms::TextBoxControl TockaAlarmResolution{&FrameAlarm, QStringLiteral("2000"), 5};

    // ---- Outside the frames ----
    forms::CheckBoxControl chkOnTop{this, QStringLiteral("Always On Top"), 1};
    forms::LabelControl Image1{this};
    forms::MemoControl WARN{this, QString()};
    forms::ButtonControl Command1{this, QStringLiteral("Command1")};
    forms::TimerControl SettingFormTimer{this, 150, false};

    // ---- Form-level values ----
    QString ActiveFadeMag;          // text taken as a number where it divides
    double ActiveContrastOffset = 0;
    core::clock::ColourFade fade;                // the fading colour and its targets
    QString PokeMessage;            // the picture's last message, empty before any

protected:
    void showEvent(QShowEvent *event) override;

private:
    void sizeWindow();
    void styleControls();
    void layOutControls();
    void layOutColourScheme();
    void layOutFade();
    void layOutBounce();
    void layOutAlarm();
    void describeControls();

    links::TockaWindows &app_;
    core::units::Colour back_ = core::units::rgbColour(0, 192, 192);
    bool laidOut_ = false;
    // The parts of the window with behaviour of their own; constructed after
    // the controls they work on.
    ColourSchemeEditor colours_{*this, app_};
    FadePanel fading_{*this, app_};
    BouncePanel bounce_{*this, app_};
    AlarmPanel alarm_{*this, app_};
    KeyFilters keys_{*this};
};

} // namespace settings
