// SPDX-License-Identifier: MIT
#include "bouncemotion.h"

#include "clockmotion.h"
#include "form1.h"
#include "numbers.h"
#include "platform.h"
#include "settingspanel.h"
#include "textboxcontrol.h"
#include "tockawindows.h"

namespace clockwindow {

void BounceMotion::tick()
{
    platform::Platform &platform = app_.platform();
    Form1 &c = clock_;
    platform.randomize(platform.secondsSinceMidnight());
    // Draws only for what is still unchosen, always in this order.
    if (c.DirX == 0)
        c.DirX = core::motion::directionFromDraw(platform.rnd());
    if (c.DirY == 0)
        c.DirY = core::motion::directionFromDraw(platform.rnd());
    if (c.SpeedX == 0) {
        c.SpeedX = core::motion::speedFromDraw(platform.rnd());
        app_.FrmSetting().speedXBox().setTextFromCode(core::num::text(c.SpeedX));
    }
    if (c.SpeedY == 0) {
        c.SpeedY = core::motion::speedFromDraw(platform.rnd());
        app_.FrmSetting().speedYBox().setTextFromCode(core::num::text(c.SpeedY));
    }

    // X is the vertical axis: SpeedX and DirX move Top.
    const QSizeF screen = platform.screenTwips(&c);
    const core::motion::Axis vertical
        = core::motion::bounceStep({c.Top(), c.DirX}, c.SpeedX, static_cast<float>(screen.height()) - c.Height());
    const core::motion::Axis horizontal
        = core::motion::bounceStep({c.Left(), c.DirY}, c.SpeedY, static_cast<float>(screen.width()) - c.Width());
    c.DirX = vertical.direction;
    c.DirY = horizontal.direction;
    if (vertical.position != c.Top() || horizontal.position != c.Left())
        c.setPosition(horizontal.position, vertical.position);
}

} // namespace clockwindow
