// Bouncing: the clock window drifts across the screen and turns at its edges.

#include "form1.h"

#include "clockmotion.h"
#include "frmsetting.h"
#include "numbers.h"
#include "platform.h"
#include "tockaapp.h"

void Form1::Bounce_Timer()
{
    Platform &platform = app_.platform();
    platform.randomize(platform.secondsSinceMidnight());
    // Draws only for what is still unchosen, always in this order.
    if (DirX == 0)
        DirX = motion::directionFromDraw(platform.rnd());
    if (DirY == 0)
        DirY = motion::directionFromDraw(platform.rnd());
    if (SpeedX == 0) {
        SpeedX = motion::speedFromDraw(platform.rnd());
        app_.FrmSetting().BunXM.setTextFromCode(num::text(SpeedX));
    }
    if (SpeedY == 0) {
        SpeedY = motion::speedFromDraw(platform.rnd());
        app_.FrmSetting().BunYM.setTextFromCode(num::text(SpeedY));
    }

    // X is the vertical axis: SpeedX and DirX move Top.
    const QSizeF screen = platform.screenTwips(this);
    const motion::Axis vertical
        = motion::bounceStep({Top(), DirX}, SpeedX, static_cast<float>(screen.height()) - Height());
    const motion::Axis horizontal
        = motion::bounceStep({Left(), DirY}, SpeedY, static_cast<float>(screen.width()) - Width());
    DirX = vertical.direction;
    DirY = horizontal.direction;
    if (vertical.position != Top() || horizontal.position != Left())
        setPosition(horizontal.position, vertical.position);
}
