// SPDX-License-Identifier: MIT
#pragma once
// The arithmetic of the clock face's motion and looks, kept apart from the
// window so every edge and every random draw can be checked by itself:
// bouncing draws, one step of a drag with its edge pull and hold, and the
// colour cycle of a double click. All positions are twips in single
// precision, as the window keeps them.

#include "core/units/colour.h"

#include <cstdint>
#include <optional>

namespace core::clock {

// A direction from a uniform draw r in [0, 1): r * 3 rounded half to even, so
// 0 (1/6), 1 (1/3), 2 (1/3) or 3 (1/6). Only 1 moves down or right.
std::int16_t directionFromDraw(float r);

// A speed from a uniform draw: whole fifths of the draw times 65 twips, so
// 0, 65, 130, 195 or 260, each 1/5.
std::int16_t speedFromDraw(float r);

struct Axis
{
    float position; // Top or Left
    std::int16_t direction; // DirX or DirY
};

// One bounce step along one axis: move by `speed` (forward only for
// direction 1), then turn at the edges of [0, room], room being screen size
// minus window size. The far edge is tested last and wins.
Axis bounceStep(Axis axis, std::int16_t speed, float room);

struct Place
{
    float left;
    float top;
};

// How far the edges pull a dragged window and how far the pointer must go to
// tear it off again.
inline constexpr float kEdgePull = 200.0f;

// One mouse move of a drag: pull onto any edge closer than kEdgePull, then
// follow the pointer's offset (dX, dY) from where it pressed the label,
// unless that would leave the window within the hold distance.
Place dragStep(Place from, float width, float height, float screenWidth, float screenHeight, float dX, float dY);

// The colour cycle: fore colour of the clock face for cycle positions 0 to 5,
// nothing for any other position.
std::optional<units::Colour> cycleColour(int mode);

// One step of the cycle from `mode`: the position after the step and the
// colour it shows. Past the last colour the position becomes -1 so the next
// step starts over. The position saturates at the 16-bit limits instead of
// overflowing, so it always saves and reads back as the number it is.
struct CycleStep
{
    std::int16_t mode;
    std::optional<units::Colour> colour;
};
CycleStep cycleStep(int mode);

} // namespace core::clock
