// SPDX-License-Identifier: MIT
#include "settings/bouncepanel.h"

#include "core/text/numbers.h"
#include "core/text/numericentry.h"
#include "links/clockface.h"
#include "links/tockawindows.h"
#include "settings/boxnumbers.h"
#include "settings/frmsetting.h"

#include <limits>

namespace settings {

namespace {

double int32Limit(double v)
{
    return std::clamp(v, double(std::numeric_limits<std::int32_t>::min()),
                      double(std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void BouncePanel::ApplyBounceSettings()
{
    FrmSetting &s = s_;
    links::ClockFace &clock = app_.form1();
    const double interval = boxnumbers::take(s.BunInt, clock.bounceTimer().Interval());
    clock.bounceTimer().setInterval(core::text::toInt32(int32Limit(interval)).value_or(0));
    clock.speedX() = core::text::toInt16Clamped(boxnumbers::take(s.BunXM, clock.speedX()));
    clock.speedY() = core::text::toInt16Clamped(boxnumbers::take(s.BunYM, clock.speedY()));
}

void BouncePanel::BunInt_Change()
{
    FrmSetting &s = s_;
    const QString text = s.BunInt.Text();
    if (text.isEmpty())
        return;
    // Pasted text that is no number applies nothing until it is corrected.
    const auto value = core::text::numberOf(text);
    if (!value)
        return;
    // Rewriting the text runs this handler again, which applies the limit;
    // this run then goes on with the text as it now stands.
    if (*value > 65535)
        s.BunInt.setTextFromCode(QStringLiteral("65535"));
    else if (*value < 0)
        s.BunInt.setTextFromCode(QStringLiteral("0"));
    const double now = core::text::numberOf(s.BunInt.Text()).value_or(0);
    app_.form1().bounceTimer().setInterval(boxnumbers::timerInterval(now));
}

} // namespace settings
