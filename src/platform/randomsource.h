// SPDX-License-Identifier: MIT
#pragma once

namespace platform {
// The pseudo-random generator that bouncing, fading and the picture draw from.

class RandomSource
{
public:
    virtual ~RandomSource() = default;

    virtual void randomize(float seed) = 0;
    // Uniform in [0, 1).
    virtual float rnd() = 0;
};

} // namespace platform
