// SPDX-License-Identifier: MIT
#pragma once
// Everything the programs ask of the machine, one seam per concern. A window
// that needs several takes the whole platform; code that needs one concern
// takes only that one, and tests hand in a fake of the same shape.

#include "platform/dialogs.h"
#include "platform/presence.h"
#include "platform/process.h"
#include "platform/randomsource.h"
#include "platform/sound.h"
#include "platform/timesource.h"
#include "platform/windowsystem.h"

namespace platform {

class Platform : public TimeSource,
                 public RandomSource,
                 public WindowSystem,
                 public Dialogs,
                 public Sound,
                 public Process,
                 public Presence
{
};

} // namespace platform
