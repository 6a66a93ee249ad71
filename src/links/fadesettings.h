// SPDX-License-Identifier: MIT
#pragma once
// The eight fade settings as the settings window shows them: what the exit
// saves, and what the clock window keeps when the settings window closes
// (closing it destroys its boxes).

#include <QString>

namespace links {

struct FadeSettings
{
    QString FadeInterval;
    QString FadeMagnitude;
    QString ContrastOffset;
    int AllowFading = 0;
    int ClockBackFade = 0;
    int ClockFrontFade = 0;
    int SettingFormFade = 0;
    int SettingFrameFade = 0;
};

} // namespace links
