// SPDX-License-Identifier: MIT
#pragma once
// Places a control in its parent at a position and size given in twips.

#include "twips.h"

#include <QWidget>

inline void place(QWidget &w, int left, int top, int width, int height)
{
    w.setGeometry(twips::toPixels(left), twips::toPixels(top), twips::toPixels(width), twips::toPixels(height));
}
