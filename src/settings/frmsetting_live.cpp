// The option panels, colour fading and the picture.

#include "frmsetting.h"

#include "form1.h"
#include "frmabout.h"
#include "platform.h"
#include "pokemessages.h"
#include "regional.h"
#include "tockaapp.h"
#include "tockapicture.h"
#include "twips.h"

#include <array>

namespace {

// Greyed out together, in this order, when the alarm is switched off.
std::array<QWidget *, 9> alarmControls(FrmSetting &s)
{
    return {&s.AlarmInterval, &s.tockUntil, &s.TockForceBreak, &s.TockBreakLenth, &s.TockaAlarmResolution,
            &s.Label18,       &s.Label9,    &s.Label13,        &s.Label17};
}

template<class Control>
void paintBack(Control &control, Colour colour)
{
    // Repainting a frame repaints everything in it: skip what would not change.
    if (control.BackColor() != colour)
        control.setBackColor(colour);
}

} // namespace

void FrmSetting::wireLiveBehaviour()
{
    TockaMode.onClick = [this] { TockaMode_Click(); };
    ChkFade.onClick = [this] { ChkFade_Click(); };
    SettingFormTimer.onTimer = [this] { SettingFormTimer_Timer(); };

    Image1.setObjectName(QStringLiteral("Image1"));
    Image1.setPixmap(tockaPicture(QSize(24, 22)));
    Image1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1.setAutoFillBackground(false); // the picture sits on the window's colour
    Image1.setGeometry(twips::toPixels(120), twips::toPixels(3000), twips::toPixels(1335), twips::toPixels(1095));
    Image1.setCursor(Qt::PointingHandCursor);
    Image1.setAccessibleName(QStringLiteral("Tocka picture"));
    Image1.setAccessibleDescription(QStringLiteral("Poke it with a click, or with Space or Enter"));
    Image1.onClick = [this] { Image1_Click(); };

    // A poke before any fade or bounce tick has reseeded the generator still
    // answers differently from one start to the next.
    Platform &platform = app_.platform();
    platform.randomize(platform.secondsSinceMidnight());
}

void FrmSetting::TockaMode_Click()
{
    switch (TockaMode.Value()) {
    case 0:
        app_.form1().TockaAlarmTimer.setEnabled(false);
        for (QWidget *control : alarmControls(*this))
            control->setEnabled(false);
        break;
    case 1:
        app_.form1().TockaAlarmTimer.setEnabled(true);
        for (QWidget *control : alarmControls(*this))
            control->setEnabled(true);
        app_.form1().InitAlarm();
        break;
    default: // grayed: leave everything as it is
        break;
    }
}

void FrmSetting::ChkFade_Click()
{
    const int value = ChkFade.Value();
    if (value != 0 && value != 1)
        return;
    const bool on = value == 1;
    SettingFormTimer.setEnabled(on);
    for (CheckBoxControl *target : {&ChkClockFade, &ChkClockFaceFade, &ChkSettingFormFade, &ChkSettingFrameFade})
        target->setEnabled(on);
}

void FrmSetting::SettingFormTimer_Timer()
{
    Platform &platform = app_.platform();
    platform.randomize(platform.secondsSinceMidnight());
    fade.tick(ColourFade::divisor(ActiveFadeMag, regional::decimalPoint()), [&platform] { return platform.rnd(); });

    const Colour colour = fade.colour();
    // Fading paints the clock face only while it is there: a tick must never
    // bring a closed clock window back.
    Form1 *clock = app_.isForm1Loaded() ? &app_.form1() : nullptr;
    if (ChkClockFade.Value() == 1 && clock)
        paintBack(clock->Label1, colour);
    if (ChkClockFaceFade.Value() == 1 && clock) {
        const Colour fore = fade.contrastColour(ActiveContrastOffset);
        if (clock->Label1.ForeColor() != fore)
            clock->Label1.setForeColor(fore);
    }
    if (ChkSettingFormFade.Value() == 1 && BackColor() != colour)
        setBackColor(colour);
    if (ChkSettingFrameFade.Value() == 1) {
        paintBack(FrameColor, colour);
        paintBack(FrameBounce, colour);
        paintBack(FrameAlarm, colour);
        paintBack(FrameFade, colour);
        paintBack(ChkFade, colour);
        paintBack(ChkClockFade, colour);
        paintBack(ChkClockFaceFade, colour);
        paintBack(ChkSettingFormFade, colour);
        paintBack(ChkSettingFrameFade, colour);
    }
}

void FrmSetting::Image1_Click()
{
    Platform &platform = app_.platform();
    const int pokeNumber = poke::numberFromDraw(platform.rnd());
    if (pokeNumber == 1)
        app_.frmAbout().ShowOver(this);
    else
        PokeMessage = poke::message(pokeNumber);
    platform.messageBox(PokeMessage, TockaApp::title());
}
