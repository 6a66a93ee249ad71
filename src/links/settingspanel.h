// SPDX-License-Identifier: MIT
#pragma once
// What the clock window reaches of the settings window: the boxes that hold
// the bounce, alarm and fade settings while Tocka runs, the colour editor it
// loads the saved colours through, and the window itself.

#include "links/fadesettings.h"

#include <QString>

namespace forms { class CheckBoxControl; }
namespace forms { class Form; }
namespace forms { class MemoControl; }
namespace forms { class TextBoxControl; }

namespace links {

class SettingsPanel
{
public:
    virtual ~SettingsPanel() = default;

    virtual forms::Form &window() = 0;

    // Bounce.
    virtual forms::TextBoxControl &bounceIntervalBox() = 0;
    virtual forms::TextBoxControl &speedXBox() = 0;
    virtual forms::TextBoxControl &speedYBox() = 0;

    // Break alarm.
    virtual forms::TextBoxControl &alarmIntervalBox() = 0;
    virtual forms::TextBoxControl &alarmUntilBox() = 0;
    virtual forms::MemoControl &alarmNote() = 0;

    // Fading.
    virtual forms::TextBoxControl &fadeIntervalBox() = 0;
    virtual forms::TextBoxControl &fadeMagnitudeBox() = 0;
    virtual forms::TextBoxControl &contrastOffsetBox() = 0;
    virtual forms::CheckBoxControl &allowFadingBox() = 0;
    virtual forms::CheckBoxControl &clockBackFadeBox() = 0;
    virtual forms::CheckBoxControl &clockFrontFadeBox() = 0;
    virtual forms::CheckBoxControl &settingFormFadeBox() = 0;
    virtual forms::CheckBoxControl &settingFrameFadeBox() = 0;
    // The fade settings as the boxes show them; a box holding pasted text
    // stands for the value in force.
    virtual FadeSettings fadeSettingsShown() const = 0;

    // Colours and stacking.
    virtual forms::TextBoxControl &foreHexBox() = 0;
    virtual forms::TextBoxControl &backHexBox() = 0;
    virtual void ViewChange(const QString &VCCallFrom) = 0;
    virtual forms::CheckBoxControl &onTopBox() = 0;
    virtual void chkOnTop_Click() = 0;

protected:
    SettingsPanel() = default;
    SettingsPanel(const SettingsPanel &) = default;
    SettingsPanel &operator=(const SettingsPanel &) = default;
};

} // namespace links
