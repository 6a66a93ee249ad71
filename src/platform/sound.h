// SPDX-License-Identifier: MIT
#pragma once
// The alarm's voice.

class Sound
{
public:
    virtual ~Sound() = default;

    virtual void beep() = 0;
};
