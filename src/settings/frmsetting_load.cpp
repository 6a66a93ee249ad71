// Loading the settings window, its key handlers, the apply procedures and
// closing it.

#include "frmsetting.h"

#include "boxnumbers.h"
#include "form1.h"
#include "numbers.h"
#include "numericentry.h"
#include "tockaapp.h"

#include <QWindow>

#include <limits>

using numericentry::OnlyHex;
using numericentry::OnlyNum;
using numericentry::OnlyNumDec;

namespace {

// Enter runs the box's action and stays 13; every other key goes through the
// box's filter.
template<class Action>
void numberBoxKey(std::int16_t &KeyAscii, std::int16_t (*filter)(std::int16_t &), Action enter)
{
    if (KeyAscii == 13)
        enter();
    else
        filter(KeyAscii);
}

// Keeps a window above all others, or stops doing so, without re-creating,
// moving or hiding it: the native window that is mapped only changes its
// window-manager state. A window not yet shown takes the flag when it is.
void keepAbove(QWidget &window, bool above)
{
    Qt::WindowFlags flags = window.windowFlags();
    flags.setFlag(Qt::WindowStaysOnTopHint, above);
    if (flags != window.windowFlags()) {
        window.overrideWindowFlags(flags);
        if (QWindow *handle = window.windowHandle())
            handle->setFlags(flags);
    }
    if (above && window.isVisible())
        window.raise();
}

double int32Limit(double v)
{
    return std::clamp(v, double(std::numeric_limits<std::int32_t>::min()),
                      double(std::numeric_limits<std::int32_t>::max()));
}

int timerInterval(double v)
{
    return num::toInt32(std::clamp(v, 0.0, 65535.0)).value_or(0);
}

} // namespace

void FrmSetting::wireLoadAndApply()
{
    using Handler = void (FrmSetting::*)(std::int16_t &);
    const std::pair<TextBoxControl *, Handler> boxes[] = {
        {&ForRed, &FrmSetting::ForRed_KeyPress},
        {&ForGreen, &FrmSetting::ForGreen_KeyPress},
        {&ForBlue, &FrmSetting::ForBlue_KeyPress},
        {&BacRed, &FrmSetting::BacRed_KeyPress},
        {&BacGreen, &FrmSetting::BacGreen_KeyPress},
        {&BacBlue, &FrmSetting::BacBlue_KeyPress},
        {&ForeHex, &FrmSetting::ForeHex_KeyPress},
        {&BackHex, &FrmSetting::BackHex_KeyPress},
        {&BunInt, &FrmSetting::BunInt_KeyPress},
        {&BunXM, &FrmSetting::BunXM_KeyPress},
        {&BunYM, &FrmSetting::BunYM_KeyPress},
        {&FadeInterval, &FrmSetting::FadeInterval_KeyPress},
        {&FadeMag, &FrmSetting::FadeMag_KeyPress},
        {&ContrastOffset, &FrmSetting::ContrastOffset_KeyPress},
        {&AlarmInterval, &FrmSetting::AlarmInterval_KeyPress},
        {&tockUntil, &FrmSetting::tockUntil_KeyPress},
        {&TockBreakLenth, &FrmSetting::TockBreakLenth_KeyPress},
        {&TockaAlarmResolution, &FrmSetting::TockaAlarmResolution_KeyPress},
    };
    for (const auto &[box, handler] : boxes)
        box->onKeyPress = [this, h = handler](std::int16_t &KeyAscii) { (this->*h)(KeyAscii); };
    BunInt.onChange = [this] { BunInt_Change(); };
    chkOnTop.onClick = [this] { chkOnTop_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
}

void FrmSetting::Form_Load()
{
    Form1 &clock = app_.form1();
    // A colour's own hex digits read blue, green, red; the boxes show red,
    // green, blue. Pad first, so that a colour without blue keeps its place.
    auto hexOf = [](Colour colour) -> QString {
        return numericentry::Bin2Hex(numericentry::Dec2Bin(colour)).rightJustified(6, QLatin1Char('0'));
    };
    auto toRedGreenBlue = [](const QString &bgr) -> QString { return bgr.mid(4, 2) + bgr.mid(2, 2) + bgr.mid(0, 2); };
    ForeHex.setTextFromCode(hexOf(clock.Label1.ForeColor()));
    BackHex.setTextFromCode(hexOf(clock.Label1.BackColor()));
    BackHex.setTextFromCode(toRedGreenBlue(BackHex.Text()));
    ForeHex.setTextFromCode(toRedGreenBlue(ForeHex.Text()));
    ViewChange(QStringLiteral("hex"));

    BunInt.setTextFromCode(QString::number(clock.Bounce.Interval()));
    BunXM.setTextFromCode(QString::number(clock.SpeedX));
    BunYM.setTextFromCode(QString::number(clock.SpeedY));
    FadeInterval.setTextFromCode(QString::number(SettingFormTimer.Interval()));
    if (numericentry::numberOf(FadeMag.Text()).value_or(0) == 0) {
        FadeMag.setTextFromCode(QStringLiteral("20"));
        ActiveFadeMag = QStringLiteral("20");
    }
}

void FrmSetting::Form_Unload()
{
    Form1 &clock = app_.form1();
    clock.AlwaysTop = chkOnTop.Value();

    // What the user last saw in the fade boxes, in a form the next start can
    // read: a box left holding pasted text stands for the value in force.
    auto shown = [](const TextBoxControl &box, double inForce) {
        return numericentry::numberOf(box.Text()) ? box.Text() : numericentry::numberText(inForce);
    };
    Form1::FadeSettings fade;
    fade.FadeInterval = shown(FadeInterval, SettingFormTimer.Interval());
    fade.FadeMagnitude = shown(FadeMag, numericentry::numberOf(ActiveFadeMag).value_or(20));
    fade.ContrastOffset = shown(ContrastOffset, ActiveContrastOffset);
    fade.AllowFading = ChkFade.Value();
    fade.ClockBackFade = ChkClockFade.Value();
    fade.ClockFrontFade = ChkClockFaceFade.Value();
    fade.SettingFormFade = ChkSettingFormFade.Value();
    fade.SettingFrameFade = ChkSettingFrameFade.Value();
    clock.LastFadeSettings = fade;
}

// ---- Key handlers ----

void FrmSetting::ForRed_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ViewChange(QStringLiteral("num")); });
}

void FrmSetting::ForGreen_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ViewChange(QStringLiteral("num")); });
}

void FrmSetting::ForBlue_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ViewChange(QStringLiteral("num")); });
}

void FrmSetting::BacRed_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ViewChange(QStringLiteral("num")); });
}

void FrmSetting::BacGreen_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ViewChange(QStringLiteral("num")); });
}

void FrmSetting::BacBlue_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ViewChange(QStringLiteral("num")); });
}

void FrmSetting::ForeHex_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyHex, [this] { ViewChange(QStringLiteral("hex")); });
}

void FrmSetting::BackHex_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyHex, [this] { ViewChange(QStringLiteral("hex")); });
}

void FrmSetting::BunInt_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ApplyBounceSettings(); });
}

void FrmSetting::BunXM_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ApplyBounceSettings(); });
}

void FrmSetting::BunYM_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ApplyBounceSettings(); });
}

void FrmSetting::FadeInterval_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ApplyFadeSettings(); });
}

void FrmSetting::FadeMag_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ApplyFadeSettings(); });
}

void FrmSetting::ContrastOffset_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ApplyFadeSettings(); });
}

void FrmSetting::AlarmInterval_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNumDec, [this] { ApplyAlarmSettings(); });
}

void FrmSetting::tockUntil_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNumDec, [this] { ApplyAlarmSettings(); });
}

void FrmSetting::TockBreakLenth_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNumDec, [this] { ApplyAlarmSettings(); });
}

void FrmSetting::TockaAlarmResolution_KeyPress(std::int16_t &KeyAscii)
{
    numberBoxKey(KeyAscii, OnlyNum, [this] { ApplyAlarmSettings(); });
}

// ---- Apply procedures ----

void FrmSetting::ApplyBounceSettings()
{
    Form1 &clock = app_.form1();
    const double interval = boxnumbers::take(BunInt, clock.Bounce.Interval());
    clock.Bounce.setInterval(num::toInt32(int32Limit(interval)).value_or(0));
    clock.SpeedX = num::toInt16Clamped(boxnumbers::take(BunXM, clock.SpeedX));
    clock.SpeedY = num::toInt16Clamped(boxnumbers::take(BunYM, clock.SpeedY));
}

void FrmSetting::BunInt_Change()
{
    const QString text = BunInt.Text();
    if (text.isEmpty())
        return;
    // Pasted text that is no number applies nothing until it is corrected.
    const auto value = numericentry::numberOf(text);
    if (!value)
        return;
    // Rewriting the text runs this handler again, which applies the limit;
    // this run then goes on with the text as it now stands.
    if (*value > 65535)
        BunInt.setTextFromCode(QStringLiteral("65535"));
    else if (*value < 0)
        BunInt.setTextFromCode(QStringLiteral("0"));
    const double now = numericentry::numberOf(BunInt.Text()).value_or(0);
    app_.form1().Bounce.setInterval(timerInterval(now));
}

void FrmSetting::ApplyFadeSettings()
{
    // A timer cannot take more than 65535 ms: the box is limited like the
    // other boxes are, so it shows the interval in force.
    double interval = boxnumbers::take(FadeInterval, SettingFormTimer.Interval());
    interval = boxnumbers::limit(FadeInterval, interval, 0, 65535);
    SettingFormTimer.setInterval(timerInterval(interval));

    boxnumbers::take(FadeMag, numericentry::numberOf(ActiveFadeMag).value_or(20));
    ActiveFadeMag = FadeMag.Text();

    double contrast = boxnumbers::take(ContrastOffset, ActiveContrastOffset);
    contrast = boxnumbers::limit(ContrastOffset, contrast, 0, 255);
    ActiveContrastOffset = contrast;
}

void FrmSetting::ApplyAlarmSettings()
{
    constexpr double kDesignMinutes = 20;
    for (TextBoxControl *minutes : {&AlarmInterval, &tockUntil}) {
        const double v = boxnumbers::take(*minutes, kDesignMinutes);
        boxnumbers::limit(*minutes, v, 0, 86400);
    }
    Form1 &clock = app_.form1();
    double resolution = boxnumbers::take(TockaAlarmResolution, clock.TockaAlarmTimer.Interval());
    resolution = boxnumbers::limit(TockaAlarmResolution, resolution, 0, 65535);
    clock.TockaAlarmTimer.setInterval(timerInterval(resolution));
}

// ---- Always on top, closing ----

void FrmSetting::chkOnTop_Click()
{
    const int value = chkOnTop.Value();
    if (value == 2)
        return;
    keepAbove(app_.form1(), value == 1);
}

void FrmSetting::Command1_Click()
{
    Unload();
    // The clock window's unload handler logs the session and saves the
    // settings; once it is gone the program ends.
    if (app_.isForm1Loaded())
        app_.form1().Unload();
}
