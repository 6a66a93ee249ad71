// SPDX-License-Identifier: MIT
#pragma once
// Places a control in its parent at a position and size given in twips.

#include "twips.h"

#include <QWidget>

namespace forms {

inline void place(QWidget &w, int left, int top, int width, int height)
{
    w.setGeometry(core::twips::toPixels(left), core::twips::toPixels(top), core::twips::toPixels(width),
        core::twips::toPixels(height));
}

} // namespace forms
