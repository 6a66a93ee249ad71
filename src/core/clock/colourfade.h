// SPDX-License-Identifier: MIT
#pragma once
// The fading colour: it drifts in twenty steps from where it is towards a
// random target, then draws the next target. Red and green keep their
// fractions between steps; blue is rounded to a whole number at every step,
// so a blue step below one half never moves it.

#include "core/units/colour.h"

#include <QString>

#include <cstdint>
#include <functional>

namespace core::clock {

class ColourFade
{
public:
    // The divisor of each step for the magnitude text in force. A magnitude
    // that is empty, not a number or 0 divides as the default 20, the same
    // value the settings window puts in place of a 0 when it opens.
    static double divisor(const QString &activeFadeMag, QChar decimalPoint);

    // A target component from a uniform draw: a whole number from 1 to 255.
    static int targetFromDraw(float r);

    // One tick. On every twentieth tick `draw` is asked for red, green and
    // blue targets first; then every channel takes its step.
    void tick(double divisor, const std::function<float()> &draw);

    // The colour as painted: red and green rounded half to even, components
    // above 255 shown as 255.
    units::Colour colour() const;
    // The contrast rule for the clock face's text: each component's distance
    // from the offset, so 255 gives the complement and 0 the colour itself.
    units::Colour contrastColour(double offset) const;

    int counter = 0;
    int targetRed = 0;
    int targetGreen = 0;
    int targetBlue = 0;
    double startRed = 0;
    double startGreen = 0;
    std::int16_t startBlue = 0;
    double red = 0;
    double green = 0;
    std::int16_t blue = 0;
};

} // namespace core::clock
