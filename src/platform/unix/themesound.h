// SPDX-License-Identifier: MIT
#pragma once
// The desktop's own event sound. QApplication::beep() rings the X bell, which
// most Linux desktops keep silent, so the sound theme's "bell" goes through
// libcanberra whenever the sound system takes it.

#include <memory>

namespace platform {

class ThemeSound
{
public:
    ThemeSound();
    ~ThemeSound();
    ThemeSound(const ThemeSound &) = delete;
    ThemeSound &operator=(const ThemeSound &) = delete;

    // True when the sound system accepted the sound.
    bool play();

private:
    struct Context;
    std::unique_ptr<Context> context_;
};

} // namespace platform
