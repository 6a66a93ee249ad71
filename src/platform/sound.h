// SPDX-License-Identifier: MIT
#pragma once

namespace platform {
// The alarm's voice.

class Sound
{
public:
    virtual ~Sound() = default;

    virtual void beep() = 0;
};

} // namespace platform
