// SPDX-License-Identifier: MIT
#include "clock/bouncemotion.h"

#include "clock/form1.h"
#include "core/clock/clockmotion.h"
#include "core/text/numbers.h"
#include "forms/textboxcontrol.h"
#include "links/settingspanel.h"
#include "links/tockawindows.h"
#include "platform/platform.h"

namespace clockwindow {

void BounceMotion::tick()
{
    platform::Platform &platform = app_.platform();
    Form1 &c = clock_;
    platform.randomize(platform.secondsSinceMidnight());
    // Draws only for what is still unchosen, always in this order.
    if (c.DirX == 0)
        c.DirX = core::clock::directionFromDraw(platform.rnd());
    if (c.DirY == 0)
        c.DirY = core::clock::directionFromDraw(platform.rnd());
    if (c.SpeedX == 0) {
        c.SpeedX = core::clock::speedFromDraw(platform.rnd());
        app_.FrmSetting().speedXBox().setTextFromCode(core::text::numberText(c.SpeedX));
    }
    if (c.SpeedY == 0) {
        c.SpeedY = core::clock::speedFromDraw(platform.rnd());
        app_.FrmSetting().speedYBox().setTextFromCode(core::text::numberText(c.SpeedY));
    }

    // X is the vertical axis: SpeedX and DirX move Top.
    const QSizeF screen = platform.screenTwips(&c);
    const core::clock::Axis vertical
        = core::clock::bounceStep({c.Top(), c.DirX}, c.SpeedX, static_cast<float>(screen.height()) - c.Height());
    const core::clock::Axis horizontal
        = core::clock::bounceStep({c.Left(), c.DirY}, c.SpeedY, static_cast<float>(screen.width()) - c.Width());
    c.DirX = vertical.direction;
    c.DirY = horizontal.direction;
    if (vertical.position != c.Top() || horizontal.position != c.Left())
        c.setPosition(horizontal.position, vertical.position);
}

} // namespace clockwindow
