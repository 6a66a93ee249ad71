// SPDX-License-Identifier: MIT
#pragma once
// The settings window: it shows and edits the clock window's colours, fading,
// bouncing, break alarm and always-on-top. Its controls are where the fade and
// alarm settings live while the program runs.

#include "alarmpanel.h"
#include "bouncepanel.h"
#include "checkboxcontrol.h"
#include "colour.h"
#include "colourfade.h"
#include "colourschemeeditor.h"
#include "fadepanel.h"
#include "form.h"
#include "keyfilters.h"
#include "labelcontrol.h"
#include "othercontrols.h"
#include "settingspanel.h"
#include "textboxcontrol.h"
#include "timercontrol.h"

#include <QString>

#include <cstdint>

class TockaWindows;

class FrmSetting : public Form, public SettingsPanel
{
    Q_OBJECT
public:
    explicit FrmSetting(TockaWindows &app);
    ~FrmSetting() override;

    Colour BackColor() const { return back_; }
    void setBackColor(Colour colour);

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
    Form &window() override { return *this; }
    TextBoxControl &bounceIntervalBox() override { return BunInt; }
    TextBoxControl &speedXBox() override { return BunXM; }
    TextBoxControl &speedYBox() override { return BunYM; }
    TextBoxControl &alarmIntervalBox() override { return AlarmInterval; }
    TextBoxControl &alarmUntilBox() override { return tockUntil; }
    MemoControl &alarmNote() override { return WARN; }
    TextBoxControl &fadeIntervalBox() override { return FadeInterval; }
    TextBoxControl &fadeMagnitudeBox() override { return FadeMag; }
    TextBoxControl &contrastOffsetBox() override { return ContrastOffset; }
    CheckBoxControl &allowFadingBox() override { return ChkFade; }
    CheckBoxControl &clockBackFadeBox() override { return ChkClockFade; }
    CheckBoxControl &clockFrontFadeBox() override { return ChkClockFaceFade; }
    CheckBoxControl &settingFormFadeBox() override { return ChkSettingFormFade; }
    CheckBoxControl &settingFrameFadeBox() override { return ChkSettingFrameFade; }
    FadeSettings fadeSettingsShown() const override;
    TextBoxControl &foreHexBox() override { return ForeHex; }
    TextBoxControl &backHexBox() override { return BackHex; }
    CheckBoxControl &onTopBox() override { return chkOnTop; }

    // ---- Frames (constructed first: the controls inside are their children) ----
    FrameControl FrameColor{this, QStringLiteral("  Color Scheme")};
    FrameControl FrameFade{this, QStringLiteral("  Colour Fade")};
    FrameControl FrameBounce{this, QStringLiteral("Bounce  ")};
    FrameControl FrameAlarm{this, QStringLiteral(" Alarm Mode:  Tocka!")};
    LabelControl LabelColor{&FrameColor, QStringLiteral("Color Scheme")};
    LabelControl LabelFade{&FrameFade, QStringLiteral("Colour Fade")};
    LabelControl LabelBounce{&FrameBounce, QStringLiteral("Bounce")};
    LabelControl LabelTocka{&FrameAlarm, QStringLiteral(" Alarm Mode:  Tocka!")};

    // ---- Colour scheme ----
    LabelControl Label1{&FrameColor, QStringLiteral("Fore G")};
    LabelControl Label2{&FrameColor, QStringLiteral("Back G")};
    LabelControl Label3{&FrameColor, QStringLiteral("Red")};
    LabelControl Label4{&FrameColor, QStringLiteral("Green")};
    LabelControl Label5{&FrameColor, QStringLiteral("Blue")};
    TextBoxControl ForRed{&FrameColor, QStringLiteral("0"), 3};
    TextBoxControl ForGreen{&FrameColor, QStringLiteral("0"), 3};
    TextBoxControl ForBlue{&FrameColor, QStringLiteral("0"), 3};
    TextBoxControl BacRed{&FrameColor, QStringLiteral("0"), 3};
    TextBoxControl BacGreen{&FrameColor, QStringLiteral("0"), 3};
    TextBoxControl BacBlue{&FrameColor, QStringLiteral("0"), 3};
    LabelControl Label10{&FrameColor, QStringLiteral("Colour Scheme Hex")};
    LabelControl Label11{&FrameColor, QStringLiteral("Fore G")};
    LabelControl Label12{&FrameColor, QStringLiteral("Back G")};
    TextBoxControl ForeHex{&FrameColor, QStringLiteral("0"), 6};
    TextBoxControl BackHex{&FrameColor, QStringLiteral("0"), 6};

    // ---- Colour fade ----
    LabelControl Label14{&FrameFade, QStringLiteral("Update Interval")};
    LabelControl Label15{&FrameFade, QStringLiteral("Fade Magnitude")};
    LabelControl Label16{&FrameFade, QStringLiteral("Contrast Offset")};
    TextBoxControl FadeInterval{&FrameFade, QStringLiteral("0"), 5};
    TextBoxControl FadeMag{&FrameFade, QStringLiteral("0"), 3};
    TextBoxControl ContrastOffset{&FrameFade, QStringLiteral("0"), 3};
    CheckBoxControl ChkFade{&FrameFade, QStringLiteral("Allow Fading"), 0};
    CheckBoxControl ChkClockFade{&FrameFade, QStringLiteral("Clock Back Fade"), 0};
    CheckBoxControl ChkClockFaceFade{&FrameFade, QStringLiteral("Clock Front Fade"), 0};
    CheckBoxControl ChkSettingFormFade{&FrameFade, QStringLiteral("Settings Form Fade"), 0};
    CheckBoxControl ChkSettingFrameFade{&FrameFade, QStringLiteral("Setting Frame Fade"), 0};

    // ---- Bounce ----
    LabelControl Label6{&FrameBounce, QStringLiteral("Update Interval")};
    LabelControl Label7{&FrameBounce, QStringLiteral("Horizontal Movement")};
    LabelControl Label8{&FrameBounce, QStringLiteral("Vertical Movement")};
    TextBoxControl BunInt{&FrameBounce, QStringLiteral("0"), 5};
    TextBoxControl BunXM{&FrameBounce, QStringLiteral("0"), 3};
    TextBoxControl BunYM{&FrameBounce, QStringLiteral("0"), 3};

    // ---- Alarm ----
    CheckBoxControl TockaMode{&FrameAlarm, QStringLiteral("Tock Enabled"), 1};
    CheckBoxControl TockForceBreak{&FrameAlarm, QStringLiteral("Force Break"), 0};
    LabelControl Label9{&FrameAlarm, QStringLiteral("Tocka Interval")};
    LabelControl Label13{&FrameAlarm, QStringLiteral("Time Until Tock")};
    LabelControl Label17{&FrameAlarm, QStringLiteral("Break Duration")};
    LabelControl Label18{&FrameAlarm, QStringLiteral("Resolution")};
    TextBoxControl AlarmInterval{&FrameAlarm, QStringLiteral("20"), 8};
    TextBoxControl tockUntil{&FrameAlarm, QStringLiteral("20"), 8};
    TextBoxControl TockBreakLenth{&FrameAlarm, QStringLiteral("0"), 5};
    TextBoxControl TockaAlarmResolution{&FrameAlarm, QStringLiteral("2000"), 5};

    // ---- Outside the frames ----
    CheckBoxControl chkOnTop{this, QStringLiteral("Always On Top"), 1};
    LabelControl Image1{this};
    MemoControl WARN{this, QString()};
    ButtonControl Command1{this, QStringLiteral("Command1")};
    TimerControl SettingFormTimer{this, 150, false};

    // ---- Form-level values ----
    QString ActiveFadeMag;          // text taken as a number where it divides
    double ActiveContrastOffset = 0;
    ColourFade fade;                // the fading colour and its targets
    QString PokeMessage;            // the picture's last message, empty before any

private:
    void layOutControls();
    void layOutColourScheme();
    void layOutFade();
    void layOutBounce();
    void layOutAlarm();
    void describeControls();

    TockaWindows &app_;
    Colour back_ = rgbColour(0, 192, 192);
    // The parts of the window with behaviour of their own; constructed after
    // the controls they work on.
    ColourSchemeEditor colours_{*this, app_};
    FadePanel fading_{*this, app_};
    BouncePanel bounce_{*this, app_};
    AlarmPanel alarm_{*this, app_};
    KeyFilters keys_{*this};
};
