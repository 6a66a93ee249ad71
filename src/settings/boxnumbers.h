// SPDX-License-Identifier: MIT
#pragma once
// Reading the settings window's number boxes when their values are applied.

#include "core/text/numbers.h"
#include "core/text/numericentry.h"
#include "forms/textboxcontrol.h"

#include <algorithm>

namespace settings {

namespace boxnumbers {

// The box's number; a text that is none is rewritten first (see
// text::appliedNumber), so what the box shows is what is in force.
inline double take(forms::TextBoxControl &box, double fallback)
{
    const core::text::Applied a = core::text::appliedNumber(box.Text(), fallback);
    if (a.rewrite)
        box.setTextFromCode(core::text::boxText(a.value));
    return a.value;
}

// Rewrites the box to a limit when its number lies beyond it.
inline double limit(forms::TextBoxControl &box, double value, double lo, double hi)
{
    if (value > hi) {
        box.setTextFromCode(core::text::boxText(hi));
        return hi;
    }
    if (value < lo) {
        box.setTextFromCode(core::text::boxText(lo));
        return lo;
    }
    return value;
}

// A timer's interval from a box's number: 0 to 65535 ms.
inline int timerInterval(double v)
{
    return core::text::toInt32(std::clamp(v, 0.0, 65535.0)).value_or(0);
}

} // namespace boxnumbers

} // namespace settings
