#pragma once
// Reading the settings window's number boxes when their values are applied.

#include "numericentry.h"
#include "textboxcontrol.h"

namespace boxnumbers {

// The box's number; a text that is none is rewritten first (see
// numericentry::appliedNumber), so what the box shows is what is in force.
inline double take(TextBoxControl &box, double fallback)
{
    const numericentry::Applied a = numericentry::appliedNumber(box.Text(), fallback);
    if (a.rewrite)
        box.setTextFromCode(numericentry::numberText(a.value));
    return a.value;
}

// Rewrites the box to a limit when its number lies beyond it.
inline double limit(TextBoxControl &box, double value, double lo, double hi)
{
    if (value > hi) {
        box.setTextFromCode(numericentry::numberText(hi));
        return hi;
    }
    if (value < lo) {
        box.setTextFromCode(numericentry::numberText(lo));
        return lo;
    }
    return value;
}

} // namespace boxnumbers
