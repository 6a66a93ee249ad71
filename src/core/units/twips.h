// SPDX-License-Identifier: MIT
#pragma once
// Positions and sizes are kept in twips; Qt works in logical pixels at 96 DPI,
// which makes 15 twips to the pixel. Every conversion goes through here.

#include <QtMath>

namespace core::units {

inline constexpr float kTwipsPerPixel = 15.0f;

inline int twipsToPixels(double t)
{
    return qRound(t / kTwipsPerPixel);
}

inline float pixelsToTwips(double px)
{
    return static_cast<float>(px * kTwipsPerPixel);
}

// Font points to twips are fixed too (20 twips to the point), so a label that
// is 275 twips high holds a 12 point line at any screen resolution.
inline constexpr float kTwipsPerPoint = 20.0f;

} // namespace core::units
