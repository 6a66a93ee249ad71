// SPDX-License-Identifier: MIT
#include "core/clock/clockmotion.h"

#include "core/text/numbers.h"

#include <cmath>
#include <limits>

namespace core::clock {

std::int16_t directionFromDraw(float r)
{
    // The product is single precision like the draw, which decides the
    // boundary cases (r just above 1/6 lands on 0.5 exactly and gives 0).
    const float scaled = r * 3.0f;
    return static_cast<std::int16_t>(text::roundHalfEven(static_cast<double>(scaled)));
}

std::int16_t speedFromDraw(float r)
{
    const float scaled = r * 5.0f;
    return static_cast<std::int16_t>(text::floorInt(static_cast<double>(scaled)) * 65);
}

Axis bounceStep(Axis axis, std::int16_t speed, float room)
{
    axis.position = axis.direction == 1 ? axis.position + static_cast<float>(speed)
                                        : axis.position - static_cast<float>(speed);
    // The window moves first and is tested afterwards, so it may stand one
    // step beyond an edge for a tick.
    if (axis.position < 0.0f)
        axis.direction = 1;
    if (room < axis.position)
        axis.direction = 2;
    return axis;
}

Place dragStep(Place p, float width, float height, float screenWidth, float screenHeight, float dX, float dY)
{
    if (std::fabs(p.top) < kEdgePull)
        p.top = 0.0f;
    if (std::fabs(p.left) < kEdgePull)
        p.left = 0.0f;
    if (std::fabs(screenWidth - p.left - width) < kEdgePull)
        p.left = screenWidth - width;
    if (std::fabs(screenHeight - p.top - height) < kEdgePull)
        p.top = screenHeight - height;

    // The hold tests take the pointer's offset with the sign opposite to the
    // move's: on an edge they reduce to "the pointer is kEdgePull away".
    const float t = p.top;
    if (std::fabs(dY - t) >= kEdgePull && std::fabs(screenHeight - t - height + dY) >= kEdgePull)
        p.top = t + dY;
    const float l = p.left;
    if (std::fabs(dX - l) >= kEdgePull && std::fabs(screenWidth - l - width + dX) >= kEdgePull)
        p.left = l + dX;
    return p;
}

std::optional<units::Colour> cycleColour(int mode)
{
    switch (mode) {
    case 0:
        return units::rgbColour(0, 192, 192);
    case 1:
        return units::rgbColour(0, 255, 0);
    case 2:
        return units::rgbColour(0, 255, 255);
    case 3:
        return units::rgbColour(255, 255, 0);
    case 4:
        return units::rgbColour(255, 200, 100);
    case 5:
        return units::rgbColour(255, 255, 255);
    default:
        return std::nullopt;
    }
}

CycleStep cycleStep(int mode)
{
    const int next = mode + 1;
    if (next == 5)
        return {-1, cycleColour(5)};
    constexpr int lo = std::numeric_limits<std::int16_t>::min();
    constexpr int hi = std::numeric_limits<std::int16_t>::max();
    return {static_cast<std::int16_t>(next < lo ? lo : next > hi ? hi : next), cycleColour(next)};
}

} // namespace core::clock
