// SPDX-License-Identifier: MIT
#pragma once
// What the clock window reaches of the settings window: the boxes that hold
// the bounce, alarm and fade settings while Tocka runs, the colour editor it
// loads the saved colours through, and the window itself.

#include "fadesettings.h"

#include <QString>

class CheckBoxControl;
class Form;
class MemoControl;
class TextBoxControl;

class SettingsPanel
{
public:
    virtual ~SettingsPanel() = default;

    virtual Form &window() = 0;

    // Bounce.
    virtual TextBoxControl &bounceIntervalBox() = 0;
    virtual TextBoxControl &speedXBox() = 0;
    virtual TextBoxControl &speedYBox() = 0;

    // Break alarm.
    virtual TextBoxControl &alarmIntervalBox() = 0;
    virtual TextBoxControl &alarmUntilBox() = 0;
    virtual MemoControl &alarmNote() = 0;

    // Fading.
    virtual TextBoxControl &fadeIntervalBox() = 0;
    virtual TextBoxControl &fadeMagnitudeBox() = 0;
    virtual TextBoxControl &contrastOffsetBox() = 0;
    virtual CheckBoxControl &allowFadingBox() = 0;
    virtual CheckBoxControl &clockBackFadeBox() = 0;
    virtual CheckBoxControl &clockFrontFadeBox() = 0;
    virtual CheckBoxControl &settingFormFadeBox() = 0;
    virtual CheckBoxControl &settingFrameFadeBox() = 0;
    // The fade settings as the boxes show them; a box holding pasted text
    // stands for the value in force.
    virtual FadeSettings fadeSettingsShown() const = 0;

    // Colours and stacking.
    virtual TextBoxControl &foreHexBox() = 0;
    virtual TextBoxControl &backHexBox() = 0;
    virtual void ViewChange(const QString &VCCallFrom) = 0;
    virtual CheckBoxControl &onTopBox() = 0;
    virtual void chkOnTop_Click() = 0;

protected:
    SettingsPanel() = default;
    SettingsPanel(const SettingsPanel &) = default;
    SettingsPanel &operator=(const SettingsPanel &) = default;
};
