// Bouncing: the clock window drifts across the screen and turns at its edges.

#include "form1.h"

void Form1::Bounce_Timer()
{
}
