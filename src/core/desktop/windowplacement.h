// SPDX-License-Identifier: MIT
#pragma once
// Where a window opened from another one goes: beside its opener, so that
// both can be read at once, on the opener's screen.

#include <QRect>
#include <QSize>

namespace core::desktop {

// The frame of a window opened from the window whose frame is `opener`,
// within `area` (the usable part of the opener's screen), `gap` pixels away
// from the opener: right of it, left, below or above, the first of them
// with room for the window at its `preferred` size; else where the most
// room is, narrowed to it but not below its `minimum` size. Where no side
// has room even for that, at its minimum size wherever it covers the least
// of the opener, then grown towards its preferred size as far as that
// covers no more of it. Level with the opener's top (or left) edge as far as
// the area allows; never past the area.
QRect placeBeside(const QRect &opener, QSize preferred, QSize minimum, const QRect &area, int gap = 8);

} // namespace core::desktop
