// SPDX-License-Identifier: MIT
#pragma once
// Tocka's picture: a small clock face in a handful of plain colours, drawn
// rather than shipped, for the settings window and the about window.

#include <QPixmap>
#include <QSize>

namespace forms {

QPixmap tockaPicture(QSize size);

} // namespace forms
