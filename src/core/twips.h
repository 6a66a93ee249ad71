// SPDX-License-Identifier: MIT
#pragma once
// Positions and sizes are kept in twips; Qt works in logical pixels at 96 DPI,
// which makes 15 twips to the pixel. Every conversion goes through here.

#include <QtMath>

namespace core {

namespace twips {

inline constexpr float kPerPixel = 15.0f;

inline int toPixels(double t)
{
    return qRound(t / kPerPixel);
}

inline float fromPixels(double px)
{
    return static_cast<float>(px * kPerPixel);
}

// Font points to twips are fixed too (20 twips to the point), so a label that
// is 275 twips high holds a 12 point line at any screen resolution.
inline constexpr float kPerPoint = 20.0f;

} // namespace twips

} // namespace core
