// SPDX-License-Identifier: MIT
#include "settings/keyfilters.h"

#include "core/text/numericentry.h"
#include "settings/frmsetting.h"

#include <cstdint>

namespace settings {

namespace {

using Filter = std::int16_t (*)(std::int16_t &);
using Enter = void (*)(FrmSetting &);

struct BoxKeys
{
    forms::TextBoxControl FrmSetting::*box;
    Filter filter;
    Enter enter;
};

void colourNumbers(FrmSetting &s)
{
    s.ViewChange(QStringLiteral("num"));
}

void colourHex(FrmSetting &s)
{
    s.ViewChange(QStringLiteral("hex"));
}

void bounce(FrmSetting &s)
{
    s.ApplyBounceSettings();
}

void fading(FrmSetting &s)
{
    s.ApplyFadeSettings();
}

void alarm(FrmSetting &s)
{
    s.ApplyAlarmSettings();
}

using core::text::OnlyHex;
using core::text::OnlyNum;
using core::text::OnlyNumDec;

// ForRed_KeyPress to TockaAlarmResolution_KeyPress, one row each.
const BoxKeys kBoxes[] = {
    {&FrmSetting::ForRed, OnlyNum, colourNumbers},
    {&FrmSetting::ForGreen, OnlyNum, colourNumbers},
    {&FrmSetting::ForBlue, OnlyNum, colourNumbers},
    {&FrmSetting::BacRed, OnlyNum, colourNumbers},
    {&FrmSetting::BacGreen, OnlyNum, colourNumbers},
    {&FrmSetting::BacBlue, OnlyNum, colourNumbers},
    {&FrmSetting::ForeHex, OnlyHex, colourHex},
    {&FrmSetting::BackHex, OnlyHex, colourHex},
    {&FrmSetting::BunInt, OnlyNum, bounce},
    {&FrmSetting::BunXM, OnlyNum, bounce},
    {&FrmSetting::BunYM, OnlyNum, bounce},
    {&FrmSetting::FadeInterval, OnlyNum, fading},
    {&FrmSetting::FadeMag, OnlyNum, fading},
    {&FrmSetting::ContrastOffset, OnlyNum, fading},
    {&FrmSetting::AlarmInterval, OnlyNumDec, alarm},
    {&FrmSetting::tockUntil, OnlyNumDec, alarm},
    {&FrmSetting::TockBreakLenth, OnlyNumDec, alarm},
    {&FrmSetting::TockaAlarmResolution, OnlyNum, alarm},
};

} // namespace

KeyFilters::KeyFilters(FrmSetting &window)
{
    for (const BoxKeys &keys : kBoxes) {
        (window.*keys.box).onKeyPress = [&window, keys](std::int16_t &KeyAscii) {
            // Enter runs the box's action and stays 13.
            if (KeyAscii == 13)
                keys.enter(window);
            else
                keys.filter(KeyAscii);
        };
    }
}

} // namespace settings
