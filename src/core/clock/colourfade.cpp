// SPDX-License-Identifier: MIT
#include "core/clock/colourfade.h"

#include "core/text/numbers.h"

#include <cmath>

namespace core::clock {

namespace {

constexpr int kStepsPerFade = 20;
constexpr double kDefaultDivisor = 20;
// A fade overshoots to about 20 * 255 / magnitude. A magnitude pasted in as a
// small fraction would carry blue past its 16 bits and red and green far
// beyond, so all three are held within the 16-bit range, where the colour
// shows as 255 anyway.
constexpr double kChannelLimit = 32767;

double held(double channel)
{
    return std::isfinite(channel) ? std::min(channel, kChannelLimit) : kChannelLimit;
}

int shown(double channel)
{
    // Rounded first, so 255.5 shows as 255 by the clamp and not by rounding.
    if (!(channel < 256))
        return 255;
    if (!(channel > 0))
        return 0;
    return std::min(255, static_cast<int>(text::roundHalfEven(channel)));
}

} // namespace

double ColourFade::divisor(const QString &activeFadeMag, QChar decimalPoint)
{
    const auto value = text::parseNumber(activeFadeMag, decimalPoint);
    return value && *value != 0 ? *value : kDefaultDivisor;
}

int ColourFade::targetFromDraw(float r)
{
    const float scaled = r * 255.0f;
    return static_cast<int>(text::floorInt(static_cast<double>(scaled))) + 1;
}

void ColourFade::tick(double divisor, const std::function<float()> &draw)
{
    ++counter;
    if (counter > kStepsPerFade - 1) {
        counter = 0;
        targetRed = targetFromDraw(draw());
        targetGreen = targetFromDraw(draw());
        targetBlue = targetFromDraw(draw());
        startRed = red;
        startGreen = green;
        startBlue = blue;
    }
    red = held(std::fabs(red + (targetRed - startRed) / divisor));
    green = held(std::fabs(green + (targetGreen - startGreen) / divisor));
    const double b = held(std::fabs(blue + (targetBlue - startBlue) / divisor));
    blue = static_cast<std::int16_t>(text::roundHalfEven(b));
}

units::Colour ColourFade::colour() const
{
    return units::rgbColour(shown(red), shown(green), shown(blue));
}

units::Colour ColourFade::contrastColour(double offset) const
{
    return units::rgbColour(shown(std::fabs(offset - red)), shown(std::fabs(offset - green)),
                     shown(std::fabs(offset - blue)));
}

} // namespace core::clock
