// SPDX-License-Identifier: MIT
#pragma once
// Places a control in its parent at a position and size given in twips.

#include "core/units/twips.h"

#include <QWidget>

namespace forms {

inline void place(QWidget &w, int left, int top, int width, int height)
{
    w.setGeometry(core::units::twipsToPixels(left), core::units::twipsToPixels(top), core::units::twipsToPixels(width),
        core::units::twipsToPixels(height));
}

} // namespace forms
