#pragma once
// The settings window: it shows and edits the clock window's colours, fading,
// bouncing, break alarm and always-on-top. Its controls are where the fade and
// alarm settings live while the program runs.

#include "checkboxcontrol.h"
#include "colour.h"
#include "form.h"
#include "labelcontrol.h"
#include "othercontrols.h"
#include "textboxcontrol.h"
#include "timercontrol.h"

#include <QString>

#include <cstdint>

class TockaApp;

class FrmSetting : public Form
{
    Q_OBJECT
public:
    explicit FrmSetting(TockaApp &app);
    ~FrmSetting() override;

    Colour BackColor() const { return back_; }
    void setBackColor(Colour colour);

    // ---- Load, key handlers, apply procedures, colour editor, close ----
    void Form_Load() override;
    void Form_Unload() override;
    void ViewChange(const QString &VCCallFrom);
    void chkOnTop_Click();
    void BunInt_Change();
    void Command1_Click();

    // Key handlers of the number boxes: Enter applies, anything else goes
    // through the box's filter (0 throws the key away).
    void ForRed_KeyPress(std::int16_t &KeyAscii);
    void ForGreen_KeyPress(std::int16_t &KeyAscii);
    void ForBlue_KeyPress(std::int16_t &KeyAscii);
    void BacRed_KeyPress(std::int16_t &KeyAscii);
    void BacGreen_KeyPress(std::int16_t &KeyAscii);
    void BacBlue_KeyPress(std::int16_t &KeyAscii);
    void ForeHex_KeyPress(std::int16_t &KeyAscii);
    void BackHex_KeyPress(std::int16_t &KeyAscii);
    void BunInt_KeyPress(std::int16_t &KeyAscii);
    void BunXM_KeyPress(std::int16_t &KeyAscii);
    void BunYM_KeyPress(std::int16_t &KeyAscii);
    void FadeInterval_KeyPress(std::int16_t &KeyAscii);
    void FadeMag_KeyPress(std::int16_t &KeyAscii);
    void ContrastOffset_KeyPress(std::int16_t &KeyAscii);
    void AlarmInterval_KeyPress(std::int16_t &KeyAscii);
    void tockUntil_KeyPress(std::int16_t &KeyAscii);
    void TockBreakLenth_KeyPress(std::int16_t &KeyAscii);
    void TockaAlarmResolution_KeyPress(std::int16_t &KeyAscii);

    // ---- Option panels, fading, picture ----
    void TockaMode_Click();
    void ChkFade_Click();
    void SettingFormTimer_Timer();
    void Image1_Click();

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

private:
    // Each part of the window connects its own handlers.
    void wireLoadAndApply();
    void wireLiveBehaviour();
    void layOutControls();
    void describeControls();

    void ApplyBounceSettings();
    void ApplyFadeSettings();
    void ApplyAlarmSettings();

    TockaApp &app_;
    Colour back_ = rgbColour(0, 192, 192);
};
