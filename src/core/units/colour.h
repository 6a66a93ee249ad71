// SPDX-License-Identifier: MIT
#pragma once
// A colour as the programs store and log it: red + 256 * green + 65536 * blue.

#include <algorithm>
#include <cstdint>

namespace core::units {

using Colour = std::int32_t;

// Components above 255 count as 255, below 0 as 0.
inline Colour rgbColour(int red, int green, int blue)
{
    auto c = [](int v) { return std::clamp(v, 0, 255); };
    return c(red) + 256 * c(green) + 65536 * c(blue);
}

} // namespace core::units
